#pragma once
// Listings of a directory pattern, read on first use.
//
//     zudo::io::DirList plugins(directory + "\\*.dll");
//     for (const zudo::io::File& file : plugins.files()) { ... }
//
// Entries come in the order the file system returns them; callers sort where
// they need an order.

#include <deque>
#include <string>

#include "io/File.hpp"

namespace zudo::io {

struct DirListSpec {
    // Descend into subdirectories with the same wildcard name.
    bool recursive = false;
    bool listDirectories = false;
    bool listFiles = true;
    // A directory and a wildcard name, e.g. directory + "\\*.srp".
    std::string pattern;
    // Entries whose name equals one of these (letter case ignored) are skipped.
    std::deque<File> excluded;
};

class DirList {
public:
    explicit DirList(const std::string& pattern);
    explicit DirList(DirListSpec spec);
    virtual ~DirList();

    const DirListSpec& spec() const { return spec_; }
    // The entries, read on the first call. A directory that does not exist
    // lists nothing; any other failure throws zudo::Exception.
    const std::deque<File>& files();
    // Reads the entries again, replacing what was read before.
    void readDir();

private:
    bool isExcluded(const std::string& name) const;
    void listSubdirectory(const File& directory, const std::string& wildcard);

    DirListSpec spec_;
    bool read_ = false;
    std::deque<File> files_;
};

} // namespace zudo::io
