// Scripts of host events: every event form, numbers in both notations,
// quoted texts, comments, and the messages that stop a run on a bad line.

#include <gtest/gtest.h>

#include <sstream>

#include "sim/driver/Script.hpp"

namespace {

using namespace zudo::sim;

Event parsed(const std::string& line)
{
    const auto result = parseScriptLine(line, 1);
    if (!result) {
        ADD_FAILURE() << "no event in: " << line;
        return event::Tick{};
    }
    return result->event;
}

template <class T>
T parsedAs(const std::string& line)
{
    const Event event = parsed(line);
    const T* typed = std::get_if<T>(&event);
    if (typed == nullptr) {
        ADD_FAILURE() << "wrong event kind for: " << line;
        return T{};
    }
    return *typed;
}

std::string errorOf(const std::string& line)
{
    try {
        parseScriptLine(line, 7);
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.line(), 7u);
        return error.what();
    }
    ADD_FAILURE() << "accepted: " << line;
    return {};
}

TEST(Script, FrameCountsDefaultToOneAndTakeBothNotations)
{
    EXPECT_EQ(parsedAs<event::Draw>("draw").frames, 1u);
    EXPECT_EQ(parsedAs<event::Draw>("draw 3").frames, 3u);
    EXPECT_EQ(parsedAs<event::Draw>("draw 0x10").frames, 16u);
    EXPECT_EQ(parsedAs<event::ResultPage>("result-page").frames, 1u);
    EXPECT_EQ(parsedAs<event::ResultPage>("  result-page\t2  ").frames, 2u);
}

TEST(Script, KeysAndCharacters)
{
    const std::pair<const char*, event::Direction> keys[] = {
        {"key up", event::Direction::Up},       {"key down", event::Direction::Down},
        {"key left", event::Direction::Left},   {"key right", event::Direction::Right},
        {"key select", event::Direction::Select},
    };
    for (const auto& [line, direction] : keys) {
        SCOPED_TRACE(line);
        EXPECT_EQ(parsedAs<event::Key>(line).direction, direction);
    }
    EXPECT_EQ(parsedAs<event::Char>("char B").character, 'B');
    EXPECT_EQ(parsedAs<event::Char>("char \"#\"").character, '#') << "quoted, # is no comment";
    EXPECT_EQ(parsedAs<event::Char>("char \" \"").character, ' ');
    EXPECT_EQ(parsedAs<event::Char>("char \"\\x0d\"").character, '\r');
    EXPECT_EQ(parsedAs<event::Char>("char \"\\\"\"").character, '"');
    EXPECT_EQ(static_cast<unsigned char>(parsedAs<event::Char>("char \"\\xE9\"").character), 0xE9);
}

TEST(Script, StageEventsCarryTheirValues)
{
    const auto started = parsedAs<event::StageStarted>("stage-started 0x0C \"Ann \\\"A\\\" B\\\\\" 1");
    EXPECT_EQ(started.map, 12);
    EXPECT_EQ(started.player, "Ann \"A\" B\\");
    EXPECT_TRUE(started.falseStart);
    EXPECT_FALSE(parsedAs<event::StageStarted>("stage-started -1 P false").falseStart);
    EXPECT_EQ(parsedAs<event::StageStarted>("stage-started -1 P true").map, -1);

    const auto checkpoint = parsedAs<event::CheckPoint>("checkpoint 65.25 2 Player1");
    EXPECT_EQ(checkpoint.time, 65.25F);
    EXPECT_EQ(checkpoint.checkpoint, 2);
    EXPECT_EQ(checkpoint.player, "Player1");

    const auto results = parsedAs<event::Results>("results 30.5 61 95.125 \"\"");
    EXPECT_EQ(results.split1, 30.5F);
    EXPECT_EQ(results.split2, 61.0F);
    EXPECT_EQ(results.finish, 95.125F);
    EXPECT_EQ(results.player, "") << "an empty name can be given quoted";
    EXPECT_EQ(parsedAs<event::CheckPoint>("checkpoint 0.1 1 P").time, 0.1F) << "nearest float";
}

TEST(Script, TickScreenshotAndSetInt)
{
    EXPECT_EQ(parsedAs<event::Tick>("tick 0xFFFFFFFF").milliseconds, 0xFFFFFFFFu);
    EXPECT_EQ(parsedAs<event::Tick>("tick 0").milliseconds, 0u);
    EXPECT_EQ(parsedAs<event::Screenshot>("screenshot start-page").name, "start-page");
    EXPECT_EQ(parsedAs<event::Screenshot>("screenshot \"two words.png\"").name, "two words.png");

    const auto direct = parsedAs<event::SetInt>("set-int 0x16607F8+88 2");
    EXPECT_FALSE(direct.indirect);
    EXPECT_EQ(direct.address, 0x16607F8u);
    EXPECT_EQ(direct.offset, 88u);
    EXPECT_EQ(direct.value, 2u);

    const auto indirect = parsedAs<event::SetInt>("set-int *0x7EAC48+0x728 -1");
    EXPECT_TRUE(indirect.indirect);
    EXPECT_EQ(indirect.address, 0x7EAC48u);
    EXPECT_EQ(indirect.offset, 0x728u);
    EXPECT_EQ(indirect.value, 0xFFFFFFFFu) << "two's complement";

    const auto bare = parsedAs<event::SetInt>("set-int 23459832 0xFFFFFFFF");
    EXPECT_EQ(bare.address, 23459832u);
    EXPECT_EQ(bare.offset, 0u);
    EXPECT_EQ(bare.value, 0xFFFFFFFFu);
    EXPECT_EQ(parsedAs<event::SetInt>("set-int 0x10 -2147483648").value, 0x80000000u);
}

TEST(Script, TheGamesServiceParkAndItsEvents)
{
    const auto raised = parsedAs<event::HostEvent>("host-event 39 -6");
    EXPECT_EQ(raised.event, 39);
    EXPECT_EQ(raised.value, -6);
    EXPECT_EQ(parsedAs<event::HostEvent>("host-event 0x18 9").event, 24);
    EXPECT_EQ(parsedAs<event::ServiceFrame>("service-frame 0.25").seconds, 0.25F);
    EXPECT_EQ(parsedAs<event::ServiceFrame>("service-frame 2").seconds, 2.0F);
    EXPECT_TRUE(std::holds_alternative<event::ServiceMenuSelect>(parsed("service-menu-select")));
}

TEST(Script, CommentsAndBlankLinesHoldNoEvent)
{
    EXPECT_FALSE(parseScriptLine("", 1));
    EXPECT_FALSE(parseScriptLine("   \t ", 1));
    EXPECT_FALSE(parseScriptLine("# draw 3", 1));
    EXPECT_FALSE(parseScriptLine("   #indented", 1));
    const auto commented = parseScriptLine("  draw 2   # two frames  ", 1);
    ASSERT_TRUE(commented);
    EXPECT_EQ(commented->text, "draw 2") << "the line as the trace echoes it";
    EXPECT_EQ(std::get<event::Draw>(commented->event).frames, 2u);
    const auto quoted = parseScriptLine("stage-started 1 \"a # b\" 0 #x", 1);
    ASSERT_TRUE(quoted);
    EXPECT_EQ(std::get<event::StageStarted>(quoted->event).player, "a # b");
    EXPECT_EQ(quoted->text, "stage-started 1 \"a # b\" 0");
}

TEST(Script, BadLinesAreNamedWithTheReason)
{
    const std::pair<const char*, const char*> cases[] = {
        {"jump 3", "unknown event \"jump\" (known: draw, result-page, key, char, stage-started, "
                   "checkpoint, results, tick, screenshot, set-int, peek, peek-crc, host-event, "
                   "service-menu-select or service-frame)"},
        {"host-event 24", "\"host-event\" takes 2 arguments (host-event EVENT VALUE), not 1"},
        {"host-event 24 x", "VALUE of \"host-event\" must be a whole number"},
        {"service-frame", "\"service-frame\" takes 1 argument (service-frame SECONDS), not 0"},
        {"service-frame 1/60", "SECONDS of \"service-frame\" must be a decimal number"},
        {"service-menu-select 1", "\"service-menu-select\" takes 0 arguments"},
        {"Draw", "unknown event \"Draw\""},
        {"\"draw\"", "unknown event \"draw\""},
        {"draw 0", "N of \"draw\" must be a whole number from 1 to 1000000"},
        {"draw -1", "N of \"draw\" must be a whole number"},
        {"draw 1000001", "from 1 to 1000000"},
        {"draw x", "not \"x\""},
        {"draw 1 2", "\"draw\" takes at most 1 argument (draw [N]), not 2"},
        {"key", "\"key\" takes 1 argument (key up|down|left|right|select), not 0"},
        {"key sideways", "\"key\" takes up, down, left, right or select, not \"sideways\""},
        {"char BB", "\"char\" takes one character"},
        {"char #", "\"char\" takes 1 argument"},
        {"stage-started 1 P maybe", "FALSESTART of \"stage-started\" must be 0, 1, true or false"},
        {"stage-started 2147483648 P 0", "MAP of \"stage-started\" must be a whole number from -2147483648 "
                                         "to 2147483647"},
        {"checkpoint fast 1 P", "TIME of \"checkpoint\" must be a decimal number such as 65.25, not \"fast\""},
        {"checkpoint 1.5 1", "\"checkpoint\" takes 3 arguments (checkpoint TIME N PLAYER), not 2"},
        {"results 1 2 3,5 P", "FINISH of \"results\""},
        {"tick -5", "MS of \"tick\" must be a whole number from 0 to 4294967295"},
        {"tick 0x100000000", "MS of \"tick\""},
        {"tick 1.5", "MS of \"tick\""},
        {"set-int 0x10+ 5", "the offset is not a number"},
        {"set-int +4 5", "the address is not a number"},
        {"set-int foo 1", "must be ADDRESS+OFFSET or *ADDRESS+OFFSET, not \"foo\""},
        {"set-int 0x10 4294967296", "VALUE of \"set-int\" must be a whole number from -2147483648 to 4294967295"},
        {"set-int 0x10 -2147483649", "VALUE of \"set-int\""},
        {"screenshot ../x", "plain file name"},
        {"screenshot a\\b", "plain file name"},
        {"screenshot \"\"", "plain file name"},
        {"screenshot ..", "plain file name"},
        {"char \"unterminated", "a quoted text has no closing \""},
        {"char \"\\q\"", "unknown escape \\q"},
        {"stage-started 1 \"a\\x00\" 0", "cannot hold the character \\x00"},
        {"stage-started 1 \"a\"b 0", "a blank must follow a quoted text"},
        {"\x1B[2J\xFF", "unknown event \"\\x1B[2J\\xFF\""},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        EXPECT_NE(errorOf(line).find(message), std::string::npos) << errorOf(line);
    }
}

TEST(Script, NumbersInBothNotationsWithinTheirRange)
{
    EXPECT_EQ(parseInteger("0", 0, 10), 0);
    EXPECT_EQ(parseInteger("-0", -1, 1), 0);
    EXPECT_EQ(parseInteger("0XfF", 0, 1000), 255);
    EXPECT_EQ(parseInteger("-2147483648", INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(parseInteger("0x7FFFFFFF", INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(parseInteger("010", 0, 100), 10) << "a leading zero is no octal";
    for (const char* bad : {"", "0x", "-", "+1", " 1", "1 ", "-0x1", "0x-1", "1e3", "99999999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseInteger(bad, INT64_MIN / 2, INT64_MAX / 2));
    }
    EXPECT_FALSE(parseInteger("11", 0, 10));
    EXPECT_FALSE(parseInteger("-1", 0, 10));
}

TEST(Script, WholeScriptsCountEveryLine)
{
    std::istringstream in("# a start page\r\n\r\ndraw\r\nkey down   \r\nchar B\n");
    const Script script = parseScript(in, "start.txt");
    EXPECT_EQ(script.source, "start.txt");
    ASSERT_EQ(script.lines.size(), 3u);
    EXPECT_EQ(script.lines[0].number, 3u);
    EXPECT_EQ(script.lines[0].text, "draw") << "line ends of either kind";
    EXPECT_EQ(script.lines[1].number, 4u);
    EXPECT_EQ(script.lines[1].text, "key down");
    EXPECT_EQ(script.lines[2].number, 5u);

    std::istringstream bad("draw\n\n# fine so far\nkey sideways\ndraw\n");
    try {
        parseScript(bad, "bad.txt");
        ADD_FAILURE() << "a bad line was accepted";
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.line(), 4u);
    }
}

} // namespace
