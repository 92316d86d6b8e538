#include "platform/posix/PosixFileIo.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace zudo::platform::posix {

namespace {

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    bool close()
    {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

// False with errno telling why (ENOSPC, EFBIG past a file-size limit, ...).
bool writeAll(int descriptor, const std::string& content)
{
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t count = ::write(descriptor, content.data() + written, content.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            if (count == 0) {
                errno = EIO;
            }
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace

bool readWholeFile(const std::string& path, std::string& content, Stamp& stamp)
{
    // Not blocking: a named pipe must not hang the caller before it is refused.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status{};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false; // a directory, a device or a pipe holds no profile
    }
    stamp = stampOf(status);
    content.clear();
    content.resize(static_cast<std::size_t>(status.st_size) + 1); // one more byte notices growth
    std::size_t length = 0;
    for (;;) {
        if (length == content.size()) {
            content.resize(content.size() * 2);
        }
        const ssize_t count = ::read(file.get(), content.data() + length, content.size() - length);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return false;
        }
        if (count == 0) {
            break;
        }
        length += static_cast<std::size_t>(count);
    }
    content.resize(length);
    return true;
}

int writeFileSynced(const std::string& path, const std::string& content)
{
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.valid() || !writeAll(file.get(), content) || ::fsync(file.get()) != 0) {
        return errno;
    }
    // close() may be where a network file system reports the failed write.
    return file.close() ? 0 : errno;
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool replaceAtomically(const std::string& target, const std::string& content, const struct stat* existing,
                       Stamp& stamp)
{
    static std::atomic<unsigned> counter{0};
    const std::string directory = directoryOf(target);
    const std::string name = target.substr(target.rfind('/') + 1);
    const std::string temporary = directory + "/." + name + "." + std::to_string(::getpid()) + "-" +
                                  std::to_string(counter++) + ".tmp";
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file.valid()) {
        return false;
    }
    struct stat status{};
    const bool written = (existing == nullptr || ::fchmod(file.get(), existing->st_mode & 07777) == 0) &&
                         writeAll(file.get(), content) && ::fsync(file.get()) == 0 &&
                         ::fstat(file.get(), &status) == 0;
    if (!file.close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    stamp = stampOf(status); // a rename keeps the inode and its modification time
    return true;
}

} // namespace zudo::platform::posix
