#pragma once
// Opening files with the standard streams, and replacing a file safely.
// Paths are the system's own ("\\" or "/", any letter case); they reach the
// standard library only through the platform layer.

#include <fstream>
#include <istream>
#include <sstream>
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

// One line of a text file the system wrote itself, from a stream opened in
// binary mode: the line end (LF, or the CRLF of Windows text files) is
// removed. Such files are read in binary because the Windows C runtime ends a
// text-mode read at a byte 0x1A (Ctrl-Z), which an older version could have
// written inside a saved name: everything after it would vanish.
bool readTextLine(std::istream& in, std::string& line);

// Writes a new version of a file so that the old version stays intact until
// the new one is complete: the contents are kept in memory, written to a file
// beside the target (its name with ".new" appended) and brought to the disk,
// and commit() renames that over the target. A crash, a full disk, a
// read-only target or one held open by another program leaves the old file as
// it was.
//
//     zudo::io::ReplacingFile out(path);
//     out.stream() << ...;
//     if (!out.commit()) { show(out.failure()); ... the old file is unchanged ... }
class ReplacingFile {
public:
    explicit ReplacingFile(std::string target, StreamMode mode = StreamMode::Text);
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Where the new contents go; a failed state makes commit() fail.
    std::ostream& stream() { return contents_; }
    // Puts the new contents in the target's place. False when anything failed
    // (writing, the rename); the target is then as it was before, the failure
    // is logged and failure() tells the player why.
    bool commit();
    // Why the last commit() failed, naming the file, e.g. "Could not write
    // Forest.prs: the disk is full"; empty while nothing failed.
    const std::string& failure() const { return failure_; }

    const std::string& target() const { return target_; }
    // The file that holds the new contents while they are written.
    const std::string& pendingPath() const { return pending_; }

private:
    bool fail(int errorNumber);

    std::string target_;
    std::string pending_;
    StreamMode mode_;
    std::ostringstream contents_;
    bool committed_ = false;
    std::string failure_;
};

// Writes the whole contents through a ReplacingFile. False on failure, with
// the reason in failure when it is given.
bool replaceFileContents(const std::string& path, const std::string& contents,
                         StreamMode mode = StreamMode::Binary, std::string* failure = nullptr);

} // namespace zudo::io
