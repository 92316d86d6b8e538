// The trace format: numbers that read back as the same float, quoted texts,
// and one line per recorded call in the documented form.

#include <gtest/gtest.h>

#include <charconv>
#include <sstream>

#include "sim/record/Trace.hpp"
#include "sim/record/GameRecorder.hpp"

namespace {

using namespace zudo::sim;

std::string floatText(float value)
{
    std::string out;
    appendFloat(out, value);
    return out;
}

std::string quoted(std::string_view text)
{
    std::string out;
    appendQuoted(out, text);
    return out;
}

std::vector<std::string> lines(const CallLog& log)
{
    std::vector<std::string> result;
    for (const RecordedCall& call : log.calls()) {
        result.emplace_back();
        appendCall(result.back(), log, call);
    }
    return result;
}

TEST(Trace, FloatsInTheShortestFormThatReadsBack)
{
    const std::pair<float, const char*> cases[] = {
        {0.0F, "0"},         {465.0F, "465"},    {267.25F, "267.25"},     {0.5F, "0.5"},
        {-1.5F, "-1.5"},     {0.1F, "0.1"},      {1e10F, "1e+10"},        {16777216.0F, "16777216"},
        {95.125F, "95.125"}, {1.0F / 3, "0.33333334"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(floatText(value), text);
    }
    for (const float value : {0.1F, 1.0F / 3, 123456.79F, 3.4e38F, 1e-30F}) {
        const std::string text = floatText(value);
        float back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, value) << text;
    }
}

TEST(Trace, TextsAreQuotedWithEscapes)
{
    EXPECT_EQ(quoted(""), "\"\"");
    EXPECT_EQ(quoted("Car Damage: Off"), "\"Car Damage: Off\"");
    EXPECT_EQ(quoted("say \"hi\" \\o/"), "\"say \\\"hi\\\" \\\\o/\"");
    EXPECT_EQ(quoted("\t\x01\x1F\n"), "\"\\x09\\x01\\x1F\\x0A\"");
    EXPECT_EQ(quoted("\x7F\xE9 "), "\"\x7F\xE9 \"") << "only bytes below 32 are escaped";
}

TEST(Trace, OneLinePerCallInCallOrder)
{
    GameRecorder game;
    game.BeginPage(0, 0, 640, 240);
    game.SelectFont(1);
    game.SelectMenuColor(4);
    game.DrawText(50, 70.5F, "a\"b");
    game.DrawPanel(0, 465, 640, 15);
    game.DrawHighlight(0, 115, 200, 15);
    game.DrawMark(1.25F, 2, -3);
    game.SetColor(1, 0, 0.5F, 1);
    game.ShowMessage("S1 +0.5", 20, 2, 2);
    game.UnusedSlot8();
    game.DeletingDestructor(1);
    const std::int32_t arguments[] = {12, 2, 3, -1};
    game.recordHostRoutine("startStage", arguments);
    game.DrawText(0, 0, nullptr);

    const std::vector<std::string> expected = {
        "BeginPage 0 0 640 240",
        "SelectFont 1",
        "SelectMenuColor 4",
        "DrawText 50 70.5 \"a\\\"b\"",
        "DrawPanel 0 465 640 15",
        "DrawHighlight 0 115 200 15",
        "DrawMark 1.25 2 -3",
        "SetColor 1 0 0.5 1",
        "ShowMessage \"S1 +0.5\" 20 2 2",
        "UnusedSlot 8",
        "UnusedSlot 0",
        "HostCall startStage 12 2 3 -1",
        "DrawText 0 0 \"\"",
    };
    EXPECT_EQ(lines(game.log()), expected);
}

TEST(Trace, WriterFramesScriptLinesAndCalls)
{
    GameRecorder game;
    game.BeginPage(0, 0, 0, 0);
    game.DrawText(5, 20, "Rallies");
    std::ostringstream out;
    TraceWriter trace(out);
    trace.pluginName("Zuzuzevo");
    trace.scriptLine("draw 2");
    trace.frame(1, FrameKind::Menu);
    trace.calls(game.log());
    trace.frame(12, FrameKind::Result);
    trace.pluginName(nullptr);
    EXPECT_EQ(out.str(), "plugin \"Zuzuzevo\"\n"
                         "# draw 2\n"
                         "frame 1 menu\n"
                         "BeginPage 0 0 0 0\n"
                         "DrawText 5 20 \"Rallies\"\n"
                         "frame 12 result\n"
                         "plugin null\n");
}

} // namespace
