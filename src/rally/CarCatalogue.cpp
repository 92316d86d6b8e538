#include "rally/CarCatalogue.hpp"

#include <algorithm>
#include <string_view>

#include "config/SettingFiles.hpp"
#include "config/Settings.hpp"
#include "platform/Platform.hpp"
#include "rally/Names.hpp"
#include "util/Log.hpp"
#include "util/mem/Bindings.hpp"

namespace zudo::rally {

namespace {

constexpr std::array<std::string_view, CarCatalogue::carCount> carNames{
    "Citroen Xsara", "Hyundai Accent",      "MG ZR Super 1600", "Mitsubishi Lancer Evo VII",
    "Peugeot 206",   "Subaru Impreza 2003", "Toyota Corolla",   "Subaru Impreza 2000"};

namespace bindings = util::mem::bindings;

// Room the host's setup-file naming gets for a display name, its NUL included.
constexpr std::uint32_t setupNameRoom = 64;

bool isCarSlot(int slot)
{
    return slot >= 0 && slot < CarCatalogue::carCount;
}

std::string savedSetupDirectory(int slot)
{
    return "SavedGames\\" + std::to_string(slot);
}

// The names of the files (not directories) matching pattern, sorted.
std::vector<std::string> filesMatching(const std::string& pattern)
{
    std::vector<std::string> names;
    platform::DirectorySearch search;
    platform::FindData entry;
    if (search.first(pattern, entry)) {
        do {
            if (!entry.directory) {
                names.push_back(entry.name);
            }
        } while (search.next(entry));
    }
    search.close();
    std::sort(names.begin(), names.end());
    return names;
}

// What the host's naming makes of a file name: its index (below 0 when it is
// not a setup's name) and its display name.
struct SetupName {
    std::int32_t index = -1;
    std::string name;
};

SetupName nameSetupFile(const std::string& fileName, const util::mem::HostBlock& buffer)
{
    buffer.address().write<char>(0, '\0');
    const std::optional<std::int32_t> index =
        bindings::setupFileIndex(fileName.c_str(), buffer.address(), static_cast<std::int32_t>(setupNameRoom));
    if (!index || *index < 0) {
        return {};
    }
    std::array<char, setupNameRoom> text{};
    buffer.address().readBytes(0, text.data(), setupNameRoom);
    text.back() = '\0'; // a name that filled the room is cut, never read past it
    return {*index, std::string(text.data())};
}

} // namespace

Car::Car(int slot) : slot_(slot)
{
    resetSetupList();
    copyCurrentSetup();
    buildSetupList();
}

void Car::resetSetupList()
{
    setups_.clear();
    setups_[defaultSetup] = SetupEntry{};
    setups_[currentSetup] = SetupEntry{};
}

void Car::buildSetupList()
{
    resetSetupList();
    if (!bindings::setupFileIndex.available()) {
        return;
    }
    const util::mem::HostBlock buffer(setupNameRoom);
    if (buffer.address().isNull()) {
        return;
    }
    const std::string directory = savedSetupDirectory(slot_);
    for (const std::string& fileName : filesMatching(config::hostPath(directory + "\\slot*.lsp"))) {
        const SetupName named = nameSetupFile(fileName, buffer);
        if (named.index < 0) {
            util::Log log;
            if (log.isEnabled()) {
                log << "zudo::rally::Car::buildSetupList() - not a setup file name: " << directory
                    << "\\" << fileName << util::endLog;
            }
            continue;
        }
        setups_.emplace(named.index, SetupEntry{fileName, named.name});
    }
}

std::string Car::setupFile(int index) const
{
    const auto found = setups_.find(index);
    if (index < 0 || found == setups_.end() || found->second.fileName.empty()) {
        return {};
    }
    return savedSetupDirectory(slot_) + "\\" + found->second.fileName;
}

void Car::copyCurrentSetup()
{
    currentSetup_.clear();
    const std::optional<util::mem::HostAddress> record = bindings::setupRecordOfCar(slot_);
    if (!record || record->isNull()) {
        return;
    }
    std::vector<std::uint8_t> copy(setupRecordSize);
    if (record->tryReadBytes(0, copy.data(), setupRecordSize)) {
        currentSetup_ = std::move(copy);
    }
}

Car::~Car() = default;

std::string Car::setupName() const
{
    if (setupIndex_ == defaultSetup) {
        return "Default";
    }
    if (setupIndex_ == currentSetup) {
        return "Current";
    }
    const auto found = setups_.find(setupIndex_);
    if (found == setups_.end() || found->second.fileName.empty()) {
        return "Default";
    }
    return found->second.name;
}

void Car::addSetup(int index, SetupEntry entry)
{
    setups_[index] = std::move(entry);
}

std::string Car::model() const
{
    return config::zuzuzevo::CarModel(slot_, CarCatalogue::carName(slot_)).get();
}

std::string Car::horsepower() const { return config::zuzuzevo::CarHorsepower(slot_).get(); }
std::string Car::torque() const { return config::zuzuzevo::CarTorque(slot_).get(); }
std::string Car::engine() const { return config::zuzuzevo::CarEngine(slot_).get(); }
std::string Car::tyres() const { return config::zuzuzevo::CarTyres(slot_).get(); }
std::string Car::weight() const { return config::zuzuzevo::CarWeight(slot_).get(); }
std::string Car::transmission() const { return config::zuzuzevo::CarTransmission(slot_).get(); }

CarCatalogue& CarCatalogue::instance()
{
    static CarCatalogue catalogue;
    return catalogue;
}

CarCatalogue::CarCatalogue()
{
    for (int slot = 0; slot < carCount; ++slot) {
        cars_[static_cast<std::size_t>(slot)] = std::make_shared<Car>(slot);
    }
}

CarCatalogue::~CarCatalogue() = default;

std::string CarCatalogue::carName(int slot)
{
    return isCarSlot(slot) ? std::string(carNames[static_cast<std::size_t>(slot)]) : std::string();
}

std::string CarCatalogue::tyreName(int index)
{
    return rally::tyreName(index);
}

CarPtr CarCatalogue::car(int slot) const
{
    return isCarSlot(slot) ? cars_[static_cast<std::size_t>(slot)] : nullptr;
}

CarPtr CarCatalogue::selectedCar() const
{
    return car(selected_);
}

void CarCatalogue::selectCar(int slot)
{
    if (isCarSlot(slot)) {
        selected_ = slot;
    }
}

std::string CarCatalogue::displayName(int slot) const
{
    const CarPtr found = car(slot);
    return found ? found->model() : std::string();
}

} // namespace zudo::rally
