#include "rally/CarCatalogue.hpp"

#include <string_view>

#include "config/Settings.hpp"
#include "rally/Names.hpp"

namespace zudo::rally {

namespace {

constexpr std::array<std::string_view, CarCatalogue::carCount> carNames{
    "Citroen Xsara", "Hyundai Accent",      "MG ZR Super 1600", "Mitsubishi Lancer Evo VII",
    "Peugeot 206",   "Subaru Impreza 2003", "Toyota Corolla",   "Subaru Impreza 2000"};

bool isCarSlot(int slot)
{
    return slot >= 0 && slot < CarCatalogue::carCount;
}

} // namespace

Car::Car(int slot) : slot_(slot)
{
    setups_[defaultSetup] = SetupEntry{};
    setups_[currentSetup] = SetupEntry{};
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
