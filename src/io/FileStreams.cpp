#include "io/FileStreams.hpp"

#include <cerrno>
#include <sstream>
#include <utility>

#include "io/File.hpp"
#include "platform/Platform.hpp"
#include "util/Log.hpp"

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

bool readTextLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

namespace {

// The reason of a failed write in the player's words.
std::string writeFailureReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EFBIG:
        return "the disk is full";
    case EACCES:
    case EPERM:
        return "the file is read-only or in use by another program";
    case ENOENT:
        return "its folder does not exist";
    default:
        return platform::errorText(errorNumber);
    }
}

} // namespace

ReplacingFile::ReplacingFile(std::string target, StreamMode mode)
    : target_(std::move(target)), pending_(target_ + ".new"), mode_(mode)
{
}

bool ReplacingFile::commit()
{
    if (committed_) {
        return true;
    }
    failure_.clear();
    if (contents_.fail()) {
        return fail(EIO); // the contents themselves could not be made
    }
    if (const int error = platform::writeFileToDisk(pending_, contents_.str(), mode_ == StreamMode::Text)) {
        platform::removeFile(pending_);
        return fail(error);
    }
    if (const int error = platform::replaceFile(pending_, target_)) {
        platform::removeFile(pending_);
        return fail(error);
    }
    committed_ = true;
    return true;
}

bool ReplacingFile::fail(int errorNumber)
{
    failure_ = "Could not write " + File(target_).name() + ": " + writeFailureReason(errorNumber);
    util::Log log;
    if (log.isEnabled()) {
        log << "zudo::io::ReplacingFile::commit() - " << failure_ << "  path = " << target_
            << "  errno = " << errorNumber << " - " << platform::errorText(errorNumber) << util::endLog;
    }
    return false;
}

bool replaceFileContents(const std::string& path, const std::string& contents, StreamMode mode,
                         std::string* failure)
{
    ReplacingFile file(path, mode);
    file.stream().write(contents.data(), static_cast<std::streamsize>(contents.size()));
    const bool written = file.commit();
    if (failure != nullptr) {
        *failure = file.failure();
    }
    return written;
}

} // namespace zudo::io
