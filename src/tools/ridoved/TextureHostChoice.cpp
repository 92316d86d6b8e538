#include "tools/ridoved/TextureHostChoice.hpp"

#include <memory>
#include <ostream>

#include "tracks/FileSystemTextureHost.hpp"
#include "tracks/GameTextureHost.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::tools::ridoved {

namespace {

std::unique_ptr<tracks::TextureHost> chooseHost(std::ostream& err)
{
    // Only a process whose addresses are host addresses (the Windows build)
    // can hold the game's image; the native build checks on the file system.
    if (!util::mem::hostIsThisProcess()) {
        return std::make_unique<tracks::FileSystemTextureHost>();
    }
    const util::mem::HandLoadReport report = util::mem::ZudoExeModule::instance().loadByHand();
    if (report.loaded) {
        return std::make_unique<tracks::GameTextureHost>();
    }
    const std::string name = util::mem::ZudoExeModule::exeName();
    if (report.found) {
        err << "The game executable " << name << " at '" << report.path << "' could not be loaded ("
            << report.problem << "); textures are checked on the file system directly." << std::endl;
    } else {
        err << "The game executable " << name << " was not found (last looked for at '" << report.path
            << "'); textures are checked on the file system directly." << std::endl;
    }
    return std::make_unique<tracks::FileSystemTextureHost>();
}

// Chooses at the first question and passes every question on.
class ChoosingTextureHost : public tracks::TextureHost {
public:
    explicit ChoosingTextureHost(std::ostream& err) : err_(err) {}

    std::int64_t fileSize(const std::string& path) override { return chosen().fileSize(path); }
    std::int64_t readFile(const std::string& path, char* buffer, std::int64_t size) override
    {
        return chosen().readFile(path, buffer, size);
    }
    bool fileExists(const std::string& path) override { return chosen().fileExists(path); }
    std::unique_ptr<tracks::TrackIniReader> openIni(const std::string& path) override
    {
        return chosen().openIni(path);
    }
    tracks::SplitPath splitPath(const std::string& path) override { return chosen().splitPath(path); }
    bool enterDirectory(const std::string& directory) override { return chosen().enterDirectory(directory); }
    void leaveDirectory(const std::string& previous) override { chosen().leaveDirectory(previous); }

private:
    tracks::TextureHost& chosen()
    {
        if (!host_) {
            host_ = chooseHost(err_);
        }
        return *host_;
    }

    std::ostream& err_;
    std::unique_ptr<tracks::TextureHost> host_;
};

} // namespace

void useGameExecutableWhenAvailable(std::ostream& err)
{
    tracks::useTextureHost(std::make_shared<ChoosingTextureHost>(err));
}

} // namespace zudo::tools::ridoved
