#include "io/FileIdentity.hpp"

namespace zudo::io {

bool FileIdentity::open(const std::string& path)
{
    close();
    if (handle_.open(path) && handle_.info(opened_)) {
        return true;
    }
    close();
    return false;
}

bool FileIdentity::isValid() const
{
    platform::FileIdentityInfo current;
    return handle_.isOpen() && handle_.info(current);
}

bool FileIdentity::isUnchanged() const
{
    platform::FileIdentityInfo current;
    return handle_.isOpen() && handle_.info(current) && current == opened_;
}

void FileIdentity::close()
{
    handle_.close();
    opened_ = {};
}

} // namespace zudo::io
