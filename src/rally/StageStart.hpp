#pragma once
// Starting a stage in the game: the selected car and its setup, the stage's
// tyres and weather, and the game's own stage-start routine; and the game's
// setup screen for the stage's car.
//
// Used by the rally dialog. Every operation is safe without the game: what
// needs a routine the game does not offer (or whose address is not known)
// reports failure and changes nothing it cannot put back.

#include <memory>

#include "rally/CarCatalogue.hpp"
#include "rally/Stage.hpp"

namespace zudo::rally {

// Makes the stage's car the selected car of the catalogue (a car slot outside
// 0..7 keeps the car selected now) and, when the stage has a setup chosen
// (not -3), makes it the car's setup index. The rally dialog calls this
// whenever it shows or uses the stage's car and setup.
void loadCarForStage(const Stage& stage);

// Loads the selected car's chosen setup into the game for a stage number:
// Current from the car's stored copy, Default or a saved setup through the
// game's setup manager, then applied and checked. False when it could not be
// loaded (the game keeps the setup it had).
bool loadSetupForStage(std::int32_t stageNumber);

// The whole start sequence: condition resolved and valid, the stage-start
// record filled, the weather applied, the setup loaded (its failure does not
// stop the start), tyres, tint set and preparation for driving, then the
// game's stage-start routine. True when the game was told to start the stage.
bool startStage(Car& car, const StagePtr& stage);

// Opens the game's setup screen for the stage's car (stage-start record, game
// state, the setup loaded for the stage). False, with nothing opened, when the
// setup could not be loaded.
bool openSetupScreen(const Stage& stage);

// After the game's setup screen: finds which setup the player left active
// (Current when the game says so, else the first saved setup that compares
// equal to the active one) and makes it the stage's setup and the car's
// setup index.
void adoptSetupAfterSetupScreen(Stage& stage);

} // namespace zudo::rally
