#pragma once
// Opening files with the standard streams, and replacing a file safely.
// Paths are the system's own ("\\" or "/", any letter case); they reach the
// standard library only through the platform layer.

#include <fstream>
#include <string>

namespace zudo::io {

// Text mode writes line ends as the platform does ("\r\n" on Windows) and
// reads them back as "\n"; binary mode keeps every byte.
enum class StreamMode { Text, Binary };

std::ifstream openInputStream(const std::string& path, StreamMode mode = StreamMode::Text);
// Creates or truncates the file.
std::ofstream openOutputStream(const std::string& path, StreamMode mode = StreamMode::Text);
// Creates the file or writes after its end.
std::ofstream openAppendStream(const std::string& path, StreamMode mode = StreamMode::Text);

// The whole contents of a file (binary); false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& contents);

// Writes a new version of a file so that the old version stays intact until
// the new one is complete: the contents go to a file beside the target (its
// name with ".new" appended) and commit() renames that over the target. A
// crash, a full disk or an abandoned write leaves the old file as it was.
//
//     zudo::io::ReplacingFile out(path);
//     out.stream() << ...;
//     if (!out.commit()) { ... report; the old file is unchanged ... }
class ReplacingFile {
public:
    explicit ReplacingFile(std::string target, StreamMode mode = StreamMode::Text);
    // Removes the unfinished file when commit() was not called or failed.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Where the new contents go; a failed state makes commit() fail.
    std::ostream& stream() { return out_; }
    // Completes the file and puts it in the target's place. False when
    // anything failed (opening, writing, the rename); the target is then as it
    // was before.
    bool commit();

    const std::string& target() const { return target_; }
    // The file that holds the new contents until the commit.
    const std::string& pendingPath() const { return pending_; }

private:
    std::string target_;
    std::string pending_;
    std::ofstream out_;
    bool committed_ = false;
};

// Writes the whole contents through a ReplacingFile; false on failure.
bool replaceFileContents(const std::string& path, const std::string& contents,
                         StreamMode mode = StreamMode::Binary);

} // namespace zudo::io
