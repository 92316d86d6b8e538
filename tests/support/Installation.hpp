#pragma once
// An installation directory of the test's own: while the object lives, the
// running program's executable is <directory>\<executable> as far as the
// system asks (platform::executablePath), so the directory is the host
// directory in which the system finds its files.

#include <string>

#include "platform/Platform.hpp"
#include "support/TempDir.hpp"

namespace zudo::test {

// The running program's executable at path, while the object lives.
class ExecutableAt {
public:
    explicit ExecutableAt(const std::string& path) { platform::setExecutablePath(path); }
    ~ExecutableAt() { platform::setExecutablePath(""); }
    ExecutableAt(const ExecutableAt&) = delete;
    ExecutableAt& operator=(const ExecutableAt&) = delete;
};

class Installation : public TempDir {
public:
    explicit Installation(const std::string& executable = "Zoraravi_SSE.exe")
        : executable_(str() + "\\" + executable)
    {
    }

private:
    ExecutableAt executable_;
};

} // namespace zudo::test
