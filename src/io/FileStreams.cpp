#include "io/FileStreams.hpp"

#include <sstream>
#include <utility>

#include "platform/Platform.hpp"

namespace zudo::io {

namespace {

std::ios::openmode withMode(std::ios::openmode base, StreamMode mode)
{
    return mode == StreamMode::Binary ? base | std::ios::binary : base;
}

} // namespace

std::ifstream openInputStream(const std::string& path, StreamMode mode)
{
    return std::ifstream(platform::nativePath(path), withMode(std::ios::in, mode));
}

std::ofstream openOutputStream(const std::string& path, StreamMode mode)
{
    return std::ofstream(platform::nativePath(path),
                         withMode(std::ios::out | std::ios::trunc, mode));
}

std::ofstream openAppendStream(const std::string& path, StreamMode mode)
{
    return std::ofstream(platform::nativePath(path),
                         withMode(std::ios::out | std::ios::app, mode));
}

bool readWholeFile(const std::string& path, std::string& contents)
{
    std::ifstream in = openInputStream(path, StreamMode::Binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    contents = std::move(buffer).str();
    return true;
}

ReplacingFile::ReplacingFile(std::string target, StreamMode mode)
    : target_(std::move(target)), pending_(target_ + ".new"),
      out_(openOutputStream(pending_, mode))
{
}

ReplacingFile::~ReplacingFile()
{
    if (!committed_) {
        out_.close();
        platform::removeFile(pending_);
    }
}

bool ReplacingFile::commit()
{
    if (committed_) {
        return true;
    }
    // close() flushes: a full disk shows up here as a failed stream. The new
    // contents reach the disk before the rename, so that a power loss cannot
    // leave an empty file in the old one's place.
    out_.close();
    if (out_.fail() || platform::flushFileToDisk(pending_) != 0 ||
        platform::replaceFile(pending_, target_) != 0) {
        platform::removeFile(pending_);
        return false;
    }
    committed_ = true;
    return true;
}

bool replaceFileContents(const std::string& path, const std::string& contents, StreamMode mode)
{
    ReplacingFile file(path, mode);
    file.stream().write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return file.commit();
}

} // namespace zudo::io

