// The simulated game's side: the recorder's drawing state and its text
// width as the plug-in reaches it through the host bindings, and the fakes of
// the host routines that start a stage.

#include <gtest/gtest.h>

#include "platform/Platform.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/record/GameRecorder.hpp"
#include "sim/record/Trace.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace {

using namespace zudo::sim;
namespace bindings = zudo::util::mem::bindings;
using zudo::util::mem::HostAddress;

class Faked : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.reset();
        host.registerAsHost();
        registerHostFakes(host, game);
    }
    void TearDown() override
    {
        host.reset(); // the fakes refer to this test's recorder
        zudo::util::mem::registerReplacementHost(nullptr);
    }

    std::vector<std::string> traceLines() const
    {
        std::vector<std::string> result;
        for (const RecordedCall& call : game.log().calls()) {
            result.emplace_back();
            appendCall(result.back(), game.log(), call);
        }
        return result;
    }

    SimulatedHost& host = SimulatedHost::instance();
    GameRecorder game;
};

TEST_F(Faked, TextWidthFollowsTheSelectedFont)
{
    ASSERT_TRUE(bindings::textWidth.available()) << "the plug-in finds the fake by the binding's name";
    EXPECT_EQ(bindings::textWidth("Hotlaps"), 42.0F) << "font 0 until one is selected: 6 a character";
    game.SelectFont(1);
    EXPECT_EQ(bindings::textWidth("Hotlaps"), 56.0F) << "8 a character";
    EXPECT_EQ(bindings::textWidth(""), 0.0F);
    game.SelectFont(2);
    EXPECT_EQ(bindings::textWidth("abc"), 18.0F) << "any other font: 6";
    game.SelectFont(-1);
    EXPECT_EQ(bindings::textWidth("abc"), 18.0F);
    game.SelectFont(1);
    EXPECT_EQ(bindings::textWidth("Car Damage: Realistic"), 21 * 8.0F) << "counts bytes, blanks too";

    std::vector<std::string> expected = {"SelectFont 1", "SelectFont 2", "SelectFont -1", "SelectFont 1"};
    EXPECT_EQ(traceLines(), expected) << "measuring is a query: not recorded";
}

TEST_F(Faked, StageStartRoutinesAreRecordedInCallOrder)
{
    const HostAddress gameObject = bindings::gameObject.object();
    const HostAddress gameState = bindings::gameState.object();
    const HostAddress weather = bindings::weatherControl.object();
    const HostAddress preparation = bindings::stagePreparation.object();

    EXPECT_TRUE(bindings::setPlayerTyres(gameState, 0, 2));
    EXPECT_EQ(bindings::currentTintSet(weather), 0) << "zero-filled at start";
    weather.write<std::int32_t>(simulatedTintSetOffset, 3);
    EXPECT_EQ(bindings::currentTintSet(weather), 3) << "a script sets it with set-int *0x7C36A8+0x60";
    EXPECT_TRUE(bindings::prepareDrivingStep1(preparation, 1));
    EXPECT_TRUE(bindings::applyCarSetup(preparation));
    EXPECT_TRUE(bindings::prepareDrivingStep3(preparation));
    EXPECT_TRUE(bindings::gameStateSwitchA(gameState, 1));
    EXPECT_TRUE(bindings::gameStateSwitchB(gameState, 1));
    EXPECT_EQ(bindings::startStage(gameObject, 12, 3, 5, -1), 1) << "the game started it";
    EXPECT_TRUE(bindings::prepareSetupScreen());
    EXPECT_TRUE(bindings::openSetupScreen());

    const std::vector<std::string> expected = {
        "HostCall setPlayerTyres 0 2",
        "HostCall currentTintSet",
        "HostCall currentTintSet",
        "HostCall prepareDrivingStep1 1",
        "HostCall applyCarSetup",
        "HostCall prepareDrivingStep3",
        "HostCall gameStateSwitchA 1",
        "HostCall gameStateSwitchB 1",
        "HostCall startStage 12 3 5 -1",
        "HostCall prepareSetupScreen",
        "HostCall openSetupScreen",
    };
    EXPECT_EQ(traceLines(), expected);
}

TEST_F(Faked, RoutinesWithoutFakeAreStillRefused)
{
    EXPECT_FALSE(bindings::playReplay(bindings::replayObject.object()))
        << "no fake: the plug-in sees the game refuse, as when the game is missing";
    EXPECT_FALSE(bindings::setupLoadDefault(1, 12));
    EXPECT_TRUE(game.log().empty());
}

TEST(Recorder, DrawingStateFollowsColourAndFontCalls)
{
    GameRecorder game;
    EXPECT_EQ(game.state().font, 0);
    EXPECT_TRUE(game.state().menuColourSelected);
    EXPECT_EQ(game.state().menuColour, 0);
    game.SelectMenuColor(4);
    game.SelectFont(1);
    EXPECT_EQ(game.state().menuColour, 4);
    EXPECT_EQ(game.state().font, 1);
    game.SetColor(1, 0, 0.5F, 0.25F);
    EXPECT_FALSE(game.state().menuColourSelected);
    EXPECT_EQ(game.state().rgba, (std::array<float, 4>{1, 0, 0.5F, 0.25F}));
    game.SelectMenuColor(3);
    EXPECT_TRUE(game.state().menuColourSelected);
    EXPECT_EQ(game.state().menuColour, 3);
}

TEST(Recorder, LogsKeepTextsApartAndSwapWhole)
{
    GameRecorder game;
    game.DrawText(1, 2, "first");
    game.ShowMessage("second", 1, 0, 0);
    game.DrawText(3, 4, "");
    CallLog frame;
    frame.swap(game.log());
    EXPECT_TRUE(game.log().empty());
    ASSERT_EQ(frame.calls().size(), 3u);
    EXPECT_EQ(frame.text(frame.calls()[0]), "first");
    EXPECT_EQ(frame.text(frame.calls()[1]), "second");
    EXPECT_EQ(frame.text(frame.calls()[2]), "");

    game.DrawText(0, 0, "after");
    ASSERT_EQ(game.log().calls().size(), 1u);
    EXPECT_EQ(game.log().text(game.log().calls()[0]), "after") << "no text of the old log";
    frame.clear();
    EXPECT_TRUE(frame.empty());
}

} // namespace
