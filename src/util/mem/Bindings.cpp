#include "util/mem/Bindings.hpp"

#include <array>

namespace zudo::util::mem::bindings {

namespace {

constexpr std::array table{
    &gameObject.info,        &trackObject.info,          &libraryTable.info,
    &weatherControl.info,    &gameState.info,            &stagePreparation.info,
    &frontEnd.info,          &activeSetup.info,          &replayObject.info,
    &stageStartRecord.info,  &languageObject.info,       &weatherTable.info,
    &serviceWidgetTable.info, &onexitEnd.info,           &onexitBegin.info,
    &initializersBegin.info, &initializersEnd.info,      &instanceMutex.info,
    &surfaceTypeCode.info,   &startStage.info,           &setPlayerTyres.info,
    &currentTintSet.info,    &prepareDrivingStep1.info,  &applyCarSetup.info,
    &prepareDrivingStep3.info, &gameStateSwitchA.info,   &gameStateSwitchB.info,
    &prepareSetupScreen.info, &openSetupScreen.info,     &hostText.info,
    &constructCarDamage.info, &copyCarDamage.info,       &saveReplay.info,
    &playReplay.info,        &savedGameOpen.info,        &savedGameOperation1.info,
    &savedGameOperation2.info, &savedGameOperation3.info, &savedGameOperation4.info,
    &iniReaderSetUp.info,    &iniReaderRelease.info,     &iniReaderOpen.info,
    &iniReaderInt.info,      &iniReaderString.info,      &iniReaderBool.info,
    &pathSplitterSetUp.info, &pathSplitterRelease.info,  &runInitializers.info,
    &textWidth.info,         &hostFileExists.info,       &hostFileSize.info,
    &hostFileRead.info,      &setupLoadDefault.info,     &setupLoadFile.info,
    &setupLoadFileInto.info, &setupApply.info,           &setupCheck.info,
    &setupFileIndex.info,    &setupRecordOfCar.info,     &selectWeather.info,
    &weatherTrackWear.info,  &setWeatherTrackWear.info,
    &serviceMenuCreate.info, &serviceMenuClock.info,   &serviceParkShow.info,
    &serviceModeLeave.info,  &menuStateReset.info,     &serviceSelection.info,
    &setServiceSelection.info, &serviceValue.info,     &setServiceValue.info,
    &setServiceCar.info,     &carStateFromDamage.info, &carStateToDamage.info,
    &carDamageApply.info,    &repairWorkCopy.info,     &repairWorkCrew.info,
    &repairWorkHandOver.info, &setRepairTime.info,     &repairTimeLeft.info,
    &repairUnderWay.info,    &repairWorkDone.info,     &stopService.info,
    &carDirectory.info,      &loadRepairIni.info,      &hostEventOnce.info,
    &addHostListener.info,
};

} // namespace

std::span<const BindingInfo* const> all() { return table; }

} // namespace zudo::util::mem::bindings
