#include "util/mem/ZudoExeModule.hpp"

#include <iostream>

#include "config/SettingFiles.hpp"
#include "platform/Platform.hpp"
#include "util/Log.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/pe/ManualLoader.hpp"

namespace zudo::util::mem {

namespace {

constexpr int maxLevelsUp = 8;
constexpr const char* prepareLocation = "zudo::util::mem::ZudoExeModule::prepareExe() - ";

void logLine(const char* location, const std::string& text)
{
    Log log;
    if (log.isEnabled()) {
        log << location << text << endLog;
    }
}

} // namespace

ZudoExeModule& ZudoExeModule::instance()
{
    static ZudoExeModule module;
    return module;
}

std::string ZudoExeModule::exeName() { return config::zudoExeName(); }

std::string ZudoExeModule::findExe()
{
    const std::string name = exeName();
    std::string prefix;
    std::string candidate;
    for (int level = 0; level <= maxLevelsUp; ++level) {
        candidate = prefix + name;
        if (platform::fileExists(candidate)) {
            return candidate;
        }
        prefix += "..\\";
    }
    return candidate;
}

HostAddress ZudoExeModule::module()
{
    if (assumedBase_) {
        return assumedBase_;
    }
    if (cachedBase_) {
        return cachedBase_;
    }
    const HostAddress found = foundModule();
    if (found.isNull()) {
        reportMissingOnce();
    }
    return found;
}

void ZudoExeModule::reportMissingOnce()
{
    if (missingReported_) {
        return;
    }
    missingReported_ = true;
    logLine("zudo::util::mem::ZudoExeModule::module() - ",
            "the game executable " + exeName() +
                " is not loaded: features that reach into the game are switched off");
}

HandLoadReport ZudoExeModule::loadByHand()
{
    if (handLoad_) {
        return *handLoad_;
    }
    HandLoadReport report;
    report.path = findExe();
    report.found = platform::fileExists(report.path);
    const HandLoadedImage image = loadImageByHand(report.path, std::cout);
    if (image.base.isNull()) {
        report.problem = image.problem;
        logLine("zudo::util::mem::ZudoExeModule::loadByHand() - ",
                "failed to load " + report.path + ": " + report.problem);
    } else {
        prepareExe(image.base);
        cachedBase_ = image.base;
        report.loaded = true;
    }
    handLoad_ = report;
    return report;
}

void ZudoExeModule::prepareExe(HostAddress base)
{
    const auto at = [base](const BindingInfo& binding) {
        return base + (binding.address - preferredBase(HostModule::Executable));
    };
    logLine(prepareLocation, "setting onexitEnd...");
    at(bindings::onexitEnd.info).write<std::int32_t>(0, -1);
    logLine(prepareLocation, "setting onexitBegin...");
    at(bindings::onexitBegin.info).write<std::int32_t>(0, -1);
    logLine(prepareLocation, "calling initterm...");
    callHostRoutine<void>(bindings::runInitializers.info.convention,
                          at(bindings::runInitializers.info), HostAddress(),
                          at(bindings::initializersBegin.info), at(bindings::initializersEnd.info));
    logLine(prepareLocation, "closing mutex...");
    const HostAddress mutex = at(bindings::instanceMutex.info);
    platform::closeHandle(reinterpret_cast<void*>(std::uintptr_t{mutex.read<std::uint32_t>()}));
    mutex.write<std::uint32_t>(0, 0);
    // The car-setup pages the game's setup menu could gain here belong to a
    // part of the game that no feature of this system uses.
}

} // namespace zudo::util::mem
