// Typed settings against ini files in a host directory of the test's own.
#include <gtest/gtest.h>

#include <tuple>

#include "config/Settings.hpp"
#include "platform/Platform.hpp"
#include "support/Installation.hpp"

using namespace zudo::config;

namespace {

class HostSettings : public ::testing::Test {
protected:
    // The path the system builds for a file below the host directory: every
    // join, also the one before the host directory's own name, writes "\\".
    std::string below(const std::string& relative) const
    {
        return host.path().parent_path().string() + "\\" + host.path().filename().string() +
               "\\" + relative;
    }

    zudo::test::Installation host;
};

// Every declared key reads its default from an installation without files.
template <class Setting, class... Arguments>
void expectDefaultWithoutFiles(Arguments... arguments)
{
    const Setting setting(arguments...);
    SCOPED_TRACE(setting.section() + "/" + setting.key());
    EXPECT_EQ(setting.get(), *setting.defaultValue());
}

template <class... Settings>
void expectDefaultsWithoutFiles()
{
    (expectDefaultWithoutFiles<Settings>(), ...);
}

} // namespace

TEST_F(HostSettings, FilesAreBelowTheHostDirectory)
{
    EXPECT_EQ(zuzuzevoIniPath(), below("Plugins\\Zuzuzevo\\Zuzuzevo.ini"));
    EXPECT_EQ(trackValidationIniPath(), below("Maps\\TrackValidation.ini"));
    EXPECT_EQ(viduzuzIniPath(), below("Viduzuz.ini"));
    EXPECT_EQ(tracksIniPath(), "Maps\\Tracks.ini");
}

TEST_F(HostSettings, EmptyNamesInViduzuzFallBackToTheirDefaults)
{
    host.write("Viduzuz.ini", "[Settings]\ncarsIniName=\nzudoExeName=  \nzudoIniName=\n");
    EXPECT_EQ(viduzuz::CarsIniName().get(), "");
    EXPECT_EQ(carsIniName(), "Cars.ini");
    EXPECT_EQ(carsIniPath(), below("Cars\\Cars.ini"));
    EXPECT_EQ(zudoExeName(), "Zoraravi_SSE.exe");
    EXPECT_EQ(zudoIniPath(), below("Zoraravi.ini"));

    host.write("Viduzuz.ini", "[Settings]\ncarsIniName=MyCars.ini\nzudoExeName=Other.exe\n"
                              "zudoIniName=Mine.ini\n");
    EXPECT_EQ(carsIniPath(), below("Cars\\MyCars.ini"));
    EXPECT_EQ(zudoExeName(), "Other.exe");
    EXPECT_EQ(zudoIniPath(), below("Mine.ini"));
}

TEST_F(HostSettings, BooleansReadTrueOnlyForTrueOrOne)
{
    host.write("Plugins/Zuzuzevo/Zuzuzevo.ini",
               "[Messages]\nShowInGameBestTimeDiff=TRUE\nShowInGameOverallDiff=yes\n"
               "ShowInGameStageRecordDiff=\n");
    EXPECT_TRUE(zuzuzevo::ShowInGameBestTimeDiff().get());
    EXPECT_FALSE(zuzuzevo::ShowInGameOverallDiff().get());
    EXPECT_FALSE(zuzuzevo::ShowInGameStageRecordDiff().get());
    // Missing key: the declared default, or the caller's.
    EXPECT_TRUE(ridoved::OmitName(true).get());
    EXPECT_FALSE(ridoved::OmitName().get());
}

TEST_F(HostSettings, SetWritesTheTextFormAndGetRereadsTheFile)
{
    host.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Service]\nMechanics=2\n");
    const zuzuzevo::ShowInGameOverallDiff overall;
    EXPECT_TRUE(overall.set(false));
    EXPECT_TRUE(zuzuzevo::ShowInGameBestTimeDiff().set(true));
    EXPECT_FALSE(overall.get());

    const std::string text = host.read("Plugins/Zuzuzevo/Zuzuzevo.ini");
    EXPECT_NE(text.find("ShowInGameBestTimeDiff=1"), std::string::npos) << text;
    EXPECT_NE(text.find("ShowInGameOverallDiff=0"), std::string::npos) << text;

    const zuzuzevo::Mechanics mechanics;
    EXPECT_EQ(mechanics.get(), 2);
    host.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Service]\nMechanics=7\n");
    EXPECT_EQ(mechanics.get(), 7);

    EXPECT_TRUE(cameras::Pos("Chase").set(Vector3{0.5f, 2.0f, -1.0f}));
    EXPECT_EQ(cameras::Pos("Chase").get(), (Vector3{0.5f, 2.0f, -1.0f}));
}

TEST_F(HostSettings, AFailedWriteReturnsFalse)
{
    // Plugins\Zuzuzevo does not exist in this installation.
    EXPECT_FALSE(zuzuzevo::AllowedRepairTime().set(30));
    EXPECT_EQ(zuzuzevo::AllowedRepairTime().get(), 40);
}

TEST_F(HostSettings, NumbersAreReadInTheClassicLocaleAfterTrimming)
{
    host.write("Plugins/Zuzuzevo/cameras.ini",
               "[Bonnet]\nFOV=0,5\nNear=  1.25  \nUp=0 0 1\n[Chase]\n");
    EXPECT_EQ(cameras::Fov("Bonnet").get(), 0.0f);
    EXPECT_EQ(cameras::Near("Bonnet").get(), 1.25f);
    EXPECT_EQ(cameras::Up("Bonnet").get(), (Vector3{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(cameras::Fov("Chase").get(), 1.3f);
    EXPECT_EQ(cameras::Up("Chase").get(), (Vector3{0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(cameras::Target("Chase").get(), (Vector3{1.0f, 1.0f, 1.0f}));
}

TEST_F(HostSettings, PerCarSectionsWithAndWithoutFill)
{
    host.write("Plugins/Zuzuzevo/Zuzuzevo.ini",
               "[Car3]\nHorsepower=320 at 6000 rpm\nModel=Rally Car\n[Car03]\nTorque=wrong\n");
    host.write("Cars/Cars.ini", "[Car03]\nCarName=Third\n[Car3]\nCarName=wrong\n");
    host.write("Rivovov/Rivovov.ini", "[Car07]\nmasterVolume=0.75\n");

    EXPECT_EQ(zuzuzevo::CarHorsepower(3).section(), "Car3");
    EXPECT_EQ(zuzuzevo::CarHorsepower(3).get(), "320 at 6000 rpm");
    EXPECT_EQ(zuzuzevo::CarModel(3, "Catalogue").get(), "Rally Car");
    EXPECT_EQ(zuzuzevo::CarModel(4, "Catalogue").get(), "Catalogue");
    EXPECT_EQ(zuzuzevo::CarTorque(3).get(), "600 Nm at 4000 rpm");
    EXPECT_EQ(zuzuzevo::CarHorsepower(12).section(), "Car12");

    EXPECT_EQ(cars::CarName(3).section(), "Car03");
    EXPECT_EQ(cars::CarName(3).get(), "Third");
    EXPECT_EQ(cars::IniFileName(0, "cars\\c0.ini").get(), "cars\\c0.ini");
    EXPECT_EQ(cars::CarName(10).section(), "Car10");

    EXPECT_EQ(rivovov::MasterVolume(7).get(), 0.75f);
    EXPECT_EQ(rivovov::MasterVolume(0).section(), "Car00");
}

TEST_F(HostSettings, BufferCyclesAreNeverNegative)
{
    host.write("Plugins/Zevariz.ini", "[Settings]\nffbBufferCycles=-3\n");
    EXPECT_EQ(zevariz::FfbBufferCycles().get(), 0);
    host.write("Plugins/Zevariz.ini", "[Settings]\nffbBufferCycles=7\n");
    EXPECT_EQ(zevariz::FfbBufferCycles().get(), 7);
    host.write("Plugins/Zevariz.ini", "[Settings]\n");
    EXPECT_EQ(zevariz::FfbBufferCycles().get(), 1);
}

TEST_F(HostSettings, ForceFeedbackKeysOfTheHostIni)
{
    EXPECT_EQ(forceFeedbackKey(0, 0), "ForceFeedbackSensitivityGravel_Car0");
    EXPECT_EQ(forceFeedbackKey(1, 4), "ForceFeedbackSensitivityTarmac_Car4");
    EXPECT_EQ(forceFeedbackKey(2, 12), "ForceFeedbackSensitivitySnow_Car12");
    host.write("Zoraravi.ini", "[VEV]\nForceFeedbackSensitivityTarmac_Car4=80\n");
    EXPECT_EQ(host::ForceFeedbackSensitivity(1, 4).get(), 80);
    EXPECT_EQ(host::ForceFeedbackSensitivity(0, 4, 50).get(), 50);
}

TEST_F(HostSettings, ValidationRecordsPerStageSection)
{
    EXPECT_EQ(mapSection(5), "Map05");
    EXPECT_EQ(mapSection(10), "Map10");
    EXPECT_EQ(mapSection(107), "Map107");
    EXPECT_EQ(mapSection(-1), "Map-1");

    const trackValidation::Record record(5, "M/dry/new");
    EXPECT_EQ(record.get(), 2);
    // The Maps directory exists in every installation.
    std::filesystem::create_directories(host.path() / "Maps");
    EXPECT_TRUE(record.set(1));
    EXPECT_EQ(trackValidation::Record(5, "m/DRY/new").get(), 1);
    EXPECT_EQ(trackValidation::Record(15, "M/dry/new").get(), 2);
    const std::string text = host.read("Maps/TrackValidation.ini");
    EXPECT_NE(text.find("[Map05]"), std::string::npos) << text;
    EXPECT_NE(text.find("M/dry/new=1"), std::string::npos) << text;
}

TEST_F(HostSettings, TrackListIsReadFromTheCurrentDirectory)
{
    host.write("Maps/Tracks.ini", "[Map12]\nSurface=0\nStageName=Test\nTrackName=maps\\t12\n");
    const std::string previous = zudo::platform::currentDirectory();
    ASSERT_TRUE(zudo::platform::setCurrentDirectory(host.str()));
    const auto values = std::make_tuple(
        tracks::Surface(mapSection(12)).get(), tracks::Surface(mapSection(13)).get(),
        tracks::StageName("MAP12").get(), tracks::TrackName("Map12").get(),
        tracks::Particles("Map12").get());
    zudo::platform::setCurrentDirectory(previous);
    EXPECT_EQ(values, std::make_tuple(0, 99, std::string("Test"), std::string("maps\\t12"),
                                      std::string()));
}

TEST_F(HostSettings, DeclaredDefaultsSurviveTheirTextForm)
{
    EXPECT_EQ(zevariz::FfbMinFps::declaredDefault(), 58.0f);
    EXPECT_TRUE(zevariz::VSyncActive::declaredDefault());
    EXPECT_EQ(zevariz::HeadGasketDurability::declaredDefault(), 1);
    EXPECT_EQ(cameras::Near::declaredDefault(), 0.1f);
    EXPECT_EQ(zuzuzevo::AutoScrollInterval::declaredDefault(), 5);
    EXPECT_TRUE(zuzuzevo::ShowInGameStageRecordDiff::declaredDefault());

    // One key of each type and kind of declaration: get() hands the default
    // to the ini layer as text and reads it back.
    expectDefaultsWithoutFiles<viduzuz::ZudoExeName, ridoved::OmitInvalid,
                               zuzuzevo::InGameDiffDuration, zevariz::FfbDeadZoneThreshold,
                               zevariz::XxxText, host::SoundTorqueThreshold,
                               pacenote::PaceNotesFiles, pacenote::ReplaySpeeds,
                               rivovov::ProfilePort>();
    expectDefaultWithoutFiles<zuzuzevo::CarTransmission>(3);
    expectDefaultWithoutFiles<rivovov::BackfireVolume>(0, 0.35f);
    expectDefaultWithoutFiles<cameras::Near>(std::string("Bonnet"));
    expectDefaultWithoutFiles<cameras::Up>(std::string("Bonnet"));
    expectDefaultWithoutFiles<host::ForceFeedbackSensitivity>(2, 1, 65);
    expectDefaultWithoutFiles<trackValidation::Record>(7, std::string("E/wet/worn"));
}
