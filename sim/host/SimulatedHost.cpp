#include "sim/host/SimulatedHost.hpp"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/Platform.hpp"
#include "sim/host/StageStartModel.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo::sim {

namespace {

using util::mem::TrackIniHandler;
using util::mem::TrackParameters;
namespace bindings = util::mem::bindings;
namespace msvc = util::mem::msvc;

constexpr std::uint32_t blockAlignment = 16;

// The C interface's functions: each forwards to the one host of the process,
// which is set before its constructor creates the host's objects (through
// these very functions).
SimulatedHost* theHost = nullptr;

SimulatedHost& host() { return *theHost; }

const char* cExecutablePath()
{
    const std::string& path = host().executablePath();
    return path.empty() ? nullptr : path.c_str();
}

std::uint32_t cTickCount() { return host().tickCount(); }

std::uint8_t* cMemory(std::uint32_t address, std::uint32_t size)
{
    return host().memory(address, size);
}

std::uint8_t* cWritableMemory(std::uint32_t address, std::uint32_t size)
{
    return host().writableMemory(address, size);
}

std::uint64_t cCallRoutine(std::uint32_t address, std::uint32_t self, const std::uint64_t* arguments,
                           std::uint32_t count, int* found)
{
    bool wasFound = false;
    const std::uint64_t result =
        host().callRoutine(address, self, {arguments, count}, wasFound);
    if (found != nullptr) {
        *found = wasFound ? 1 : 0;
    }
    return result;
}

int cHasNamedRoutine(const char* name)
{
    return name != nullptr && host().hasNamedRoutine(name) ? 1 : 0;
}

std::uint64_t cCallNamedRoutine(const char* name, std::uint32_t self,
                                const std::uint64_t* arguments, std::uint32_t count, int* found)
{
    bool wasFound = false;
    const std::uint64_t result =
        name == nullptr ? 0
                        : host().callNamedRoutine(name, self, {arguments, count},
                                                                     wasFound);
    if (found != nullptr) {
        *found = wasFound ? 1 : 0;
    }
    return result;
}

std::uint32_t cAllocate(std::uint32_t size)
{
    return host().allocate(size).value();
}

void cRelease(std::uint32_t address) { host().release(HostAddress(address)); }

std::uint32_t cRegisterPluginRoutine(::ZudoPluginRoutine routine, void* context)
{
    return host().registerPluginRoutine(routine, context);
}

void cUnregisterPluginRoutine(std::uint32_t address)
{
    host().unregisterPluginRoutine(address);
}

// The host's own writes (objects, strings, maps) go through the same host
// address functions as the plug-in's, which reach the host the platform layer
// names: for their duration that is this host, whatever a test registered.
class WritingAsHost {
public:
    explicit WritingAsHost(const ::ZudoReplacementHost* host) : previous_(util::mem::replacementHost())
    {
        util::mem::registerReplacementHost(host);
    }
    ~WritingAsHost() { util::mem::registerReplacementHost(previous_); }
    WritingAsHost(const WritingAsHost&) = delete;
    WritingAsHost& operator=(const WritingAsHost&) = delete;

private:
    const ::ZudoReplacementHost* previous_;
};

} // namespace

SimulatedHost& SimulatedHost::instance()
{
    static SimulatedHost host;
    return host;
}

SimulatedHost::SimulatedHost()
{
    theHost = this;
    interface_.version = ZUDO_REPLACEMENT_HOST_VERSION;
    interface_.executablePath = &cExecutablePath;
    interface_.tickCount = &cTickCount;
    interface_.executableBase = util::mem::preferredBase(util::mem::HostModule::Executable);
    interface_.memory = &cMemory;
    interface_.callRoutine = &cCallRoutine;
    interface_.hasNamedRoutine = &cHasNamedRoutine;
    interface_.callNamedRoutine = &cCallNamedRoutine;
    interface_.allocate = &cAllocate;
    interface_.release = &cRelease;
    interface_.registerPluginRoutine = &cRegisterPluginRoutine;
    interface_.unregisterPluginRoutine = &cUnregisterPluginRoutine;
    interface_.writableMemory = &cWritableMemory;
    // reset() writes the host's objects through the host access layer, whose
    // first lookup of an exported host would find this very host, still being
    // built, in a program that exports it (zudo-sim): so the first reset runs
    // with the host registered.
    util::mem::registerReplacementHost(&interface_);
    reset();
    util::mem::registerReplacementHost(nullptr);
}

const ::ZudoReplacementHost* SimulatedHost::interface() const { return &interface_; }

void SimulatedHost::registerAsHost() { util::mem::registerReplacementHost(&interface_); }

void SimulatedHost::reset()
{
    regions_.clear();
    readOnly_.clear();
    const auto addRegion = [this](std::uint32_t start, std::uint32_t size) {
        regions_.emplace_back(start, size);
    };
    addRegion(imageStart, imageEnd - imageStart);
    addRegion(util::mem::preferredBase(util::mem::HostModule::VudezAvu3R), librarySize);
    addRegion(util::mem::preferredBase(util::mem::HostModule::ZozuDudeve), librarySize);
    addRegion(heapStart, heapSize);
    heapNext_ = heapStart;
    freeBlocks_.clear();
    blockSizes_.clear();
    routines_.clear();
    namedRoutines_.clear();
    pluginRoutines_.clear();
    nextPluginRoutine_ = pluginRoutineStart;
    tickCount_ = 0;
    const WritingAsHost writing(&interface_);
    createObjects();
}

SimulatedHost::Region::Region(std::uint32_t first, std::uint32_t length)
    : start(first), size(length),
      bytes(static_cast<std::uint8_t*>(platform::allocatePages(length, platform::Protection::ReadWrite)))
{
    if (bytes == nullptr) {
        throw std::bad_alloc();
    }
}

SimulatedHost::Region::~Region()
{
    if (bytes != nullptr) {
        platform::freePages(bytes, size);
    }
}

SimulatedHost::Region::Region(Region&& other) noexcept
    : start(other.start), size(other.size), bytes(std::exchange(other.bytes, nullptr))
{
}

std::uint8_t* SimulatedHost::memory(std::uint32_t address, std::uint32_t size)
{
    for (Region& region : regions_) {
        const std::uint64_t end = std::uint64_t{address} + size;
        if (address >= region.start && end <= std::uint64_t{region.start} + region.size) {
            return region.bytes + (address - region.start);
        }
    }
    return nullptr;
}

std::uint8_t* SimulatedHost::writableMemory(std::uint32_t address, std::uint32_t size)
{
    const std::uint64_t end = std::uint64_t{address} + size;
    for (const auto& [first, last] : readOnly_) {
        if (address < last && first < end) {
            return nullptr;
        }
    }
    return memory(address, size);
}

void SimulatedHost::keepReadOnly(std::uint32_t address, std::uint32_t size)
{
    readOnly_.emplace_back(address, std::uint64_t{address} + size);
}

HostAddress SimulatedHost::allocate(std::uint32_t size)
{
    const std::uint32_t rounded =
        std::max<std::uint32_t>(blockAlignment, (size + blockAlignment - 1) & ~(blockAlignment - 1));
    std::uint32_t address = 0;
    if (auto reused = freeBlocks_.find(rounded); reused != freeBlocks_.end()) {
        address = reused->second;
        freeBlocks_.erase(reused);
    } else if (std::uint64_t{heapNext_} + rounded <= std::uint64_t{heapStart} + heapSize) {
        address = heapNext_;
        heapNext_ += rounded;
    } else {
        return HostAddress();
    }
    std::memset(memory(address, rounded), 0, rounded);
    blockSizes_[address] = rounded;
    return HostAddress(address);
}

void SimulatedHost::release(HostAddress address)
{
    const auto block = blockSizes_.find(address.value());
    if (block == blockSizes_.end()) {
        return; // not a block of the heap, or released already
    }
    freeBlocks_.emplace(block->second, block->first);
    blockSizes_.erase(block);
}

void SimulatedHost::registerRoutine(std::uint32_t address, RoutineFake fake)
{
    routines_[address] = std::make_shared<const RoutineFake>(std::move(fake));
}

void SimulatedHost::registerNamedRoutine(const std::string& name, RoutineFake fake)
{
    namedRoutines_.insert_or_assign(name, std::make_shared<const RoutineFake>(std::move(fake)));
}

void SimulatedHost::removeRoutine(std::uint32_t address) { routines_.erase(address); }

void SimulatedHost::removeNamedRoutine(const std::string& name)
{
    if (const auto fake = namedRoutines_.find(name); fake != namedRoutines_.end()) {
        namedRoutines_.erase(fake);
    }
}

std::uint64_t SimulatedHost::callRoutine(std::uint32_t address, std::uint32_t self,
                                         std::span<const std::uint64_t> arguments, bool& found)
{
    if (const auto plugin = pluginRoutines_.find(address); plugin != pluginRoutines_.end()) {
        found = true;
        const PluginRoutineEntry entry = plugin->second;
        return entry.routine(entry.context, self, arguments.data(),
                             static_cast<std::uint32_t>(arguments.size()));
    }
    const auto fake = routines_.find(address);
    found = fake != routines_.end();
    if (!found) {
        return 0;
    }
    const SharedFake routine = fake->second; // a fake may register or remove fakes
    return (*routine)(self, arguments);
}

std::uint64_t SimulatedHost::callNamedRoutine(std::string_view name, std::uint32_t self,
                                              std::span<const std::uint64_t> arguments, bool& found)
{
    const auto fake = namedRoutines_.find(name);
    found = fake != namedRoutines_.end();
    if (!found) {
        return 0;
    }
    const SharedFake routine = fake->second;
    return (*routine)(self, arguments);
}

bool SimulatedHost::hasNamedRoutine(std::string_view name) const
{
    return namedRoutines_.find(name) != namedRoutines_.end();
}

std::uint32_t SimulatedHost::registerPluginRoutine(::ZudoPluginRoutine routine, void* context)
{
    if (routine == nullptr || nextPluginRoutine_ == 0) {
        return 0;
    }
    const std::uint32_t address = nextPluginRoutine_;
    nextPluginRoutine_ += blockAlignment; // wraps to 0 when the range is used up
    pluginRoutines_[address] = {routine, context};
    return address;
}

void SimulatedHost::unregisterPluginRoutine(std::uint32_t address)
{
    pluginRoutines_.erase(address);
}

std::string SimulatedHost::installDirectory() const
{
    const std::size_t separator = executablePath_.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : executablePath_.substr(0, separator + 1);
}

// ---------------------------------------------------------------------------
// The host's objects.

util::mem::msvc::HostAllocator SimulatedHost::allocator()
{
    return [this](std::uint32_t size) { return allocate(size); };
}

void SimulatedHost::writeEmptyIniRecord(HostAddress record)
{
    msvc::writeMap(record + TrackIniHandler::Record::sectionsOffset,
                   TrackIniHandler::sectionValueSize, {}, allocator());
    msvc::writeString(record + TrackIniHandler::Record::fileNameOffset, "", allocator());
}

// The heap is far larger than what these objects take: no allocation fails.
void SimulatedHost::createObjects()
{
    const auto pointTo = [](const util::mem::BindingInfo& binding, HostAddress object) {
        HostAddress(binding.address).writeAddress(0, object);
    };
    Objects& o = objects_;
    o.game = allocate(0x800);
    pointTo(bindings::gameObject.info, o.game);

    o.track = allocate(0x100);
    o.trackParameters = allocate(TrackParameters::size);
    o.trackIniHandler = allocate(8);
    o.trackIniValues = allocate(TrackIniHandler::Record::size);
    o.trackIniBackup = allocate(TrackIniHandler::Record::size);
    pointTo(bindings::trackObject.info, o.track);
    o.track.writeAddress(util::mem::TrackObjectView::parametersOffset, o.trackParameters);
    for (std::uint32_t offset = TrackParameters::trackExtOffset;
         offset <= TrackParameters::skyBoxesFilenameOffset; offset += msvc::string_layout::size) {
        msvc::writeString(o.trackParameters + offset, "", allocator());
    }
    o.trackParameters.writeAddress(TrackParameters::trackIniHandlerOffset, o.trackIniHandler);
    o.trackIniHandler.writeAddress(TrackIniHandler::valuesOffset, o.trackIniValues);
    o.trackIniHandler.writeAddress(TrackIniHandler::backupOffset, o.trackIniBackup);
    writeEmptyIniRecord(o.trackIniValues);
    writeEmptyIniRecord(o.trackIniBackup);

    o.libraryTable = allocate(32);
    pointTo(bindings::libraryTable.info, o.libraryTable);
    o.libraryTable.write<std::uint32_t>(
        util::mem::library_table::vudezAvu3RBase,
        util::mem::preferredBase(util::mem::HostModule::VudezAvu3R));
    o.libraryTable.write<std::uint32_t>(
        util::mem::library_table::zozuDudeveBase,
        util::mem::preferredBase(util::mem::HostModule::ZozuDudeve));

    o.weatherControl = allocate(0x100);
    pointTo(bindings::weatherControl.info, o.weatherControl);

    o.gameState = allocate(4096);
    pointTo(bindings::gameState.info, o.gameState);
    o.gameState.writeAddress(util::mem::GameStateView::subObjectOffset, allocate(16));

    o.stagePreparation = allocate(16);
    pointTo(bindings::stagePreparation.info, o.stagePreparation);
    o.stagePreparation.writeAddress(util::mem::StagePreparationView::innerObjectOffset,
                                    allocate(util::mem::StagePreparationView::innerClearedOffset + 4));

    o.replay = allocate(64);
    pointTo(bindings::replayObject.info, o.replay);
    o.activeSetup = allocate(5888);
    pointTo(bindings::activeSetup.info, o.activeSetup);
    o.carSetups = allocate(8 * setup_model::recordSize);
    createStageStartObjects(*this);
}

void SimulatedHost::setGameMode(std::int32_t mode)
{
    const WritingAsHost writing(&interface_);
    objects_.game.write<std::int32_t>(util::mem::GameObjectView::modeOffset, mode);
}

void SimulatedHost::setTrackIni(
    const std::map<std::string, std::map<std::string, std::string>>& sections)
{
    const WritingAsHost writing(&interface_);
    std::vector<msvc::MapEntry> entries;
    for (const auto& [section, keys] : sections) {
        entries.push_back({[this, name = section, values = keys](HostAddress at) {
            msvc::writeString(at, name, allocator());
            msvc::writeStringMap(at + msvc::string_layout::size + TrackIniHandler::sectionKeysOffset,
                                 {values.begin(), values.end()}, allocator());
        }});
    }
    msvc::writeMap(objects_.trackIniValues + TrackIniHandler::Record::sectionsOffset,
                   TrackIniHandler::sectionValueSize, entries, allocator());
}

} // namespace zudo::sim

extern "C" ZUDO_EXPORT const ZudoReplacementHost* zudo_replacement_host(void)
{
    return zudo::sim::SimulatedHost::instance().interface();
}
