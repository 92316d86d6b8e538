#pragma once
// The eight cars of the host by slot: their names, the details the rally
// dialog shows (from the plug-in's settings, section Car<slot>), the setup
// chosen for each, and the car selected for the next stage. Saved setup files
// (SavedGames/<slot>/slot*.lsp) join each car's setup list when the host's
// setup-file naming can be reached; the game does not reveal its address, so
// in the game the list holds "Default" and "Current" only.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zudo::rally {

class Car {
public:
    static constexpr int defaultSetup = -2;
    static constexpr int currentSetup = -1;
    // The host's setup record of a car.
    static constexpr std::uint32_t setupRecordSize = 5888;

    struct SetupEntry {
        std::string fileName; // empty for Default and Current
        std::string name;     // as the host's setup naming gives it
    };

    explicit Car(int slot);
    virtual ~Car();

    int slot() const { return slot_; }
    // -2 Default (the initial choice), -1 Current, 0 and above a saved setup.
    int setupIndex() const { return setupIndex_; }
    void setSetupIndex(int index) { setupIndex_ = index; }
    // "Default", "Current", or the saved setup's name ("Default" when the
    // entry has no file or is not in the list).
    std::string setupName() const;
    const std::map<int, SetupEntry>& setupList() const { return setups_; }
    // Adds or replaces a saved setup of the list.
    void addSetup(int index, SetupEntry entry);
    // Makes the list anew: Default and Current, then every file
    // SavedGames/<slot>/slot*.lsp (host directory) that the host's setup-file
    // naming accepts, in name order; of two files with the same index the
    // first stays. Files it rejects, directories and indexes below 0 are left
    // out. Without the naming only Default and Current.
    void buildSetupList();
    // A saved setup's file below the host directory ("SavedGames\3\slot1.lsp");
    // empty when the index has no file.
    std::string setupFile(int index) const;

    // The host's setup record of this car as it was when the car object was
    // made (the "Current" setup); empty when the host could not give it.
    const std::vector<std::uint8_t>& currentSetupRecord() const { return currentSetup_; }
    // Copies the host's setup record again (the constructor does this).
    void copyCurrentSetup();

    // The car details of the plug-in's settings, read at each call.
    std::string model() const; // also the name results and replays give the car
    std::string horsepower() const;
    std::string torque() const;
    std::string engine() const;
    std::string tyres() const;
    std::string weight() const;
    std::string transmission() const;

private:
    int slot_;
    void resetSetupList();

    int setupIndex_ = defaultSetup;
    std::map<int, SetupEntry> setups_;
    std::vector<std::uint8_t> currentSetup_;
};

using CarPtr = std::shared_ptr<Car>;

class CarCatalogue {
public:
    static constexpr int carCount = 8;

    static CarCatalogue& instance();
    CarCatalogue();
    virtual ~CarCatalogue();

    // The catalogue name of a slot ("Citroen Xsara" ...); empty outside 0..7.
    static std::string carName(int slot);
    // The tyre name of an index (see Names.hpp).
    static std::string tyreName(int index);

    // The car object of a slot; null outside 0..7.
    CarPtr car(int slot) const;
    CarPtr selectedCar() const;
    int selectedSlot() const { return selected_; }
    // Slots outside 0..7 keep the previous selection.
    void selectCar(int slot);
    // The car's model from the settings (its catalogue name by default);
    // empty outside 0..7.
    std::string displayName(int slot) const;

private:
    std::array<CarPtr, carCount> cars_;
    int selected_ = 0;
};

} // namespace zudo::rally
