#pragma once
// Notices that a file was replaced or rewritten since it was opened: the file
// stays open for reading (others may still read and replace it) and its
// identity (last write, volume, size, file index) is compared on demand.

#include <string>

#include "platform/Platform.hpp"

namespace zudo::io {

class FileIdentity {
public:
    FileIdentity() = default;
    FileIdentity(const FileIdentity&) = delete;
    FileIdentity& operator=(const FileIdentity&) = delete;

    // Opens an existing file and records its identity; false when either fails
    // (the identity is then not open).
    bool open(const std::string& path);
    // Open, and its identity can still be read.
    bool isValid() const;
    // Open, and last write, volume, size and file index are still those
    // recorded at opening.
    bool isUnchanged() const;
    // Lets go of the file (also done on destruction).
    void close();

private:
    platform::ReadHandle handle_;
    platform::FileIdentityInfo opened_;
};

} // namespace zudo::io
