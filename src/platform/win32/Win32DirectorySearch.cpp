#include <io.h>

#include <cerrno>
#include <cstdint>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

namespace {

constexpr std::intptr_t noSearch = -1;

void fill(const __finddata64_t& found, FindData& entry)
{
    entry.name = found.name;
    entry.directory = (found.attrib & _A_SUBDIR) != 0;
    entry.size = found.size;
    entry.modified = found.time_write;
}

} // namespace

struct DirectorySearch::Impl {
    std::intptr_t handle = noSearch;
    int error = 0;
};

DirectorySearch::DirectorySearch() : impl_(std::make_unique<Impl>()) {}

DirectorySearch::~DirectorySearch() { close(); }

bool DirectorySearch::first(const std::string& pattern, FindData& entry)
{
    close();
    __finddata64_t found{};
    errno = 0;
    impl_->handle = ::_findfirst64(pattern.c_str(), &found);
    if (impl_->handle == noSearch) {
        impl_->error = errno != 0 ? errno : ENOENT;
        return false;
    }
    impl_->error = 0;
    fill(found, entry);
    return true;
}

bool DirectorySearch::next(FindData& entry)
{
    if (impl_->handle == noSearch) {
        impl_->error = ENOENT;
        return false;
    }
    __finddata64_t found{};
    errno = 0;
    if (::_findnext64(impl_->handle, &found) != 0) {
        impl_->error = errno != 0 ? errno : ENOENT;
        return false;
    }
    fill(found, entry);
    return true;
}

int DirectorySearch::errorNumber() const { return impl_->error; }

void DirectorySearch::close()
{
    if (impl_->handle != noSearch) {
        ::_findclose(impl_->handle);
        impl_->handle = noSearch;
    }
}

bool listFileNames(const std::string& directory, std::vector<std::string>& names, int& errorNumber,
                   std::vector<std::string>* directories)
{
    DirectorySearch search;
    FindData entry;
    bool more = search.first(directory + "\\*", entry);
    errorNumber = search.errorNumber();
    if (!more) {
        return false;
    }
    for (; more; more = search.next(entry)) {
        if (!entry.directory) {
            names.push_back(entry.name);
        } else if (directories != nullptr && entry.name != "." && entry.name != "..") {
            directories->push_back(entry.name);
        }
    }
    errorNumber = 0;
    return true;
}

} // namespace zudo::platform
