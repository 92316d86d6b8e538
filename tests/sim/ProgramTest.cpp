// zudo-sim as a program: the echo plug-in (EchoPlugin.cpp, whose answers are
// listed there) is run on scripts, and the traces are compared with what its
// rules and the trace format give. Then every way a run can fail.

#include <gtest/gtest.h>

#include <cairo.h>

#include <filesystem>

#include "SimProcess.hpp"
#include "support/TempDir.hpp"

namespace {

using zudo::test::SimRun;

class Program : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(dir.path() / "game"); }

    std::string install() const { return dir.file("game"); }

    // Runs the script with the echo plug-in (or the given one) in the game directory.
    SimRun run(const std::string& script, std::vector<std::string> extra = {},
               const std::string& plugin = ECHO_PLUGIN)
    {
        dir.write("script.txt", script);
        std::vector<std::string> arguments = {"--plugin", plugin, "--install", install(), "--script",
                                              "script.txt"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return zudo::test::runProgram(ZUDO_SIM_PROGRAM, arguments, dir.str());
    }

    zudo::test::TempDir dir;
};

// The echo plug-in's menu frame N (see EchoPlugin.cpp).
std::string menuFrame(int frame, int n)
{
    return "frame " + std::to_string(frame) + " menu\n"
           "BeginPage 0 0 0 0\n"
           "SelectMenuColor 3\n"
           "DrawPanel 0 465 640 15\n"
           "SelectMenuColor 4\n"
           "SelectFont 1\n"
           "DrawText 50 70 \"menu " + std::to_string(n) + "\"\n"
           "DrawHighlight 0 100 200 15\n"
           "SetColor 1 0 0 1\n"
           "DrawMark 300 200 7\n";
}

TEST_F(Program, EveryEventReachesThePluginAndEveryCallTheTrace)
{
    const SimRun result = run("# every kind of event\n"
                              "draw 2\n"
                              "key down   # a comment\n"
                              "key select\n"
                              "char B\n"
                              "\n"
                              "stage-started 12 \"Ann \\\"A\\\" B\" 1\n"
                              "checkpoint 65.25 1 Ann\n"
                              "results 30.5 61 95.125 Ann\n"
                              "result-page\n"
                              "tick 100\n"
                              "draw\n");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.output, "plugin \"Echo\"\n"
                             "# draw 2\n" +
                                 menuFrame(1, 1) + menuFrame(2, 2) +
                                 "# key down\n"
                                 "ShowMessage \"key 0 0 1 0 0 0\" 1 0 0\n"
                                 "# key select\n"
                                 "ShowMessage \"key 0 0 0 0 0 1\" 1 0 0\n"
                                 "# char B\n"
                                 "ShowMessage \"key 66 0 0 0 0 0\" 1 0 0\n"
                                 "# stage-started 12 \"Ann \\\"A\\\" B\" 1\n"
                                 "ShowMessage \"Ann \\\"A\\\" B\" 12 1 0\n"
                                 "# checkpoint 65.25 1 Ann\n"
                                 "ShowMessage \"Ann\" 65.25 1 0\n"
                                 "# results 30.5 61 95.125 Ann\n"
                                 "ShowMessage \"Ann\" 95.125 30.5 61\n"
                                 "# result-page\n"
                                 "frame 3 result\n"
                                 "BeginPage 0 0 640 240\n"
                                 "DrawText 10 20 \"result 1\"\n"
                                 "# tick 100\n"
                                 "# draw\n" +
                                 menuFrame(4, 3));
}

TEST_F(Program, TheHostIsTheGameInstalledInTheGivenDirectory)
{
    const SimRun result = run("tick 1500\n"
                              "tick 0x10\n"
                              "set-int 0x16607F8+88 2\n"
                              "set-int *0x7EAC48+0x728 10\n"
                              "char h\n");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string game = std::filesystem::canonical(install()).string();
    EXPECT_EQ(result.output, "plugin \"Echo\"\n"
                             "# tick 1500\n"
                             "# tick 0x10\n"
                             "# set-int 0x16607F8+88 2\n"
                             "# set-int *0x7EAC48+0x728 10\n"
                             "# char h\n"
                             "ShowMessage \"key 104 0 0 0 0 0\" 1 0 0\n"
                             "ShowMessage \"" + game + "/Zoraravi_SSE.exe\" 1 0 0\n"
                             "ShowMessage \"" + game + "\" 1 0 0\n"
                             "ShowMessage \"tick 1516\" 1 0 0\n"
                             "ShowMessage \"damage 2\" 1 0 0\n"
                             "ShowMessage \"mode 10\" 1 0 0\n");
}

TEST_F(Program, HostRoutinesMeasureAndRecord)
{
    const SimRun result = run("char w\nchar s\n");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output, "plugin \"Echo\"\n"
                             "# char w\n"
                             "ShowMessage \"key 119 0 0 0 0 0\" 1 0 0\n"
                             "SelectFont 1\n"
                             "DrawPanel 0 0 32 15\n"
                             "SelectFont 0\n"
                             "DrawPanel 0 0 24 15\n"
                             "SelectFont 7\n"
                             "DrawPanel 0 0 24 15\n"
                             "# char s\n"
                             "ShowMessage \"key 115 0 0 0 0 0\" 1 0 0\n"
                             "HostCall startStage 12 2 3 -1\n"
                             "ShowMessage \"started 1\" 1 0 0\n");
}

TEST_F(Program, DefaultsReadStandardInputAndWriteStandardOutput)
{
    dir.write("script.txt", "char u\n");
    const SimRun result = zudo::test::runProgram(
        ZUDO_SIM_PROGRAM, {"--plugin=" + std::string(ECHO_PLUGIN), "--install=" + install()}, dir.str(),
        dir.file("script.txt"));
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output, "plugin \"Echo\"\n"
                             "# char u\n"
                             "ShowMessage \"key 117 0 0 0 0 0\" 1 0 0\n"
                             "UnusedSlot 3\n");
}

TEST_F(Program, TraceAndScreenshotsGoWhereTheyAreAsked)
{
    const SimRun result = run("draw\nscreenshot first\ndraw\nscreenshot \"second.PNG\"\n",
                              {"--trace", "out/trace.txt", "--screenshots", "shots"});
    ASSERT_EQ(result.exitCode, 1) << "the trace's directory is missing: " << result.errors;

    std::filesystem::create_directory(dir.path() / "out");
    const SimRun written = run("draw\nscreenshot first\ndraw\nscreenshot \"second.PNG\"\n",
                               {"--trace", "out/trace.txt", "--screenshots", "shots"});
    ASSERT_EQ(written.exitCode, 0) << written.errors;
    EXPECT_EQ(written.output, "") << "the trace went to its file";
    EXPECT_EQ(dir.read("out/trace.txt"),
              "plugin \"Echo\"\n# draw\n" + menuFrame(1, 1) + "# screenshot first\n# draw\n" + menuFrame(2, 2) +
                  "# screenshot \"second.PNG\"\n");
    for (const char* name : {"shots/first.png", "shots/second.PNG"}) {
        SCOPED_TRACE(name);
        cairo_surface_t* png = cairo_image_surface_create_from_png(dir.file(name).c_str());
        EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(cairo_image_surface_get_width(png), 640);
        cairo_surface_destroy(png);
    }
}

struct Failing {
    const char* what;
    std::string script;
    int exitCode;
    std::string message; // part of standard error
    std::string trace;   // the whole trace written before the failure
};

TEST_F(Program, FailuresOfTheScriptOrThePluginEndTheRunWithAClearMessage)
{
    const std::string echo = "plugin \"Echo\"\n";
    const Failing cases[] = {
        {"unknown event: nothing runs", "draw\n\njump\n", 2,
         "zudo-sim: script.txt, line 3: unknown event \"jump\"", ""},
        {"malformed number", "draw 2x\n", 2, "zudo-sim: script.txt, line 1: N of \"draw\"", ""},
        {"exception", "draw\nchar x\ndraw\n", 4,
         "zudo-sim: script.txt, line 2: the plug-in let an exception escape from HandleFrontEndEvents: "
         "asked to throw\n",
         echo + "# draw\n" + menuFrame(1, 1) + "# char x\nShowMessage \"key 120 0 0 0 0 0\" 1 0 0\n"},
        {"exception of another kind", "char y\n", 4,
         "line 1: the plug-in let an exception escape from HandleFrontEndEvents: an exception that is no "
         "std::exception",
         echo + "# char y\nShowMessage \"key 121 0 0 0 0 0\" 1 0 0\n"},
        {"crash", "draw\nchar z\n", 4,
         "zudo-sim: script.txt, line 2: the plug-in crashed on \"char z\" (segmentation fault)\n",
         echo + "# draw\n" + menuFrame(1, 1) + "# char z\n"},
        // A signal, or in the sanitizer build the checker's own report and abort.
        {"fault", "char n\n", 4, "zudo-sim: script.txt, line 1: the plug-in crashed on \"char n\" (",
         echo + "# char n\n"},
        {"field outside the host memory", "set-int 0x100+4 1\n", 2,
         "line 1: the field at 0x104 is outside the simulated host memory", echo + "# set-int 0x100+4 1\n"},
        {"field beyond the address space", "set-int 0xFFFFFFFE 1\n", 2, "the field at 0xFFFFFFFE is outside",
         echo + "# set-int 0xFFFFFFFE 1\n"},
        {"null pointer", "set-int *0x7EA000+4 1\n", 2,
         "line 1: the host keeps no object at 0x7EA000: the pointer is null", echo + "# set-int *0x7EA000+4 1\n"},
        {"pointer outside", "set-int *0x10 1\n", 2, "the pointer at 0x10 is outside",
         echo + "# set-int *0x10 1\n"},
        {"screenshot of nothing", "screenshot early\n", 2,
         "line 1: no frame has been drawn yet to take a screenshot of", echo + "# screenshot early\n"},
        {"service screen without its menu", "host-event 24 0\nservice-frame 0.5\n", 2,
         "line 2: the plug-in has built no service menu: there is no service screen to draw",
         echo + "# host-event 24 0\n# service-frame 0.5\n"},
        {"service menu never built", "service-menu-select\n", 2,
         "line 1: the plug-in has built no service menu to select in", echo + "# service-menu-select\n"},
    };
    for (const Failing& failing : cases) {
        SCOPED_TRACE(failing.what);
        const SimRun result = run(failing.script);
        EXPECT_EQ(result.exitCode, failing.exitCode) << result.errors;
        EXPECT_NE(result.errors.find(failing.message), std::string::npos) << result.errors;
        EXPECT_EQ(result.output, failing.trace);
    }
}

TEST_F(Program, APluginThatCannotBeLoadedIsNamed)
{
    dir.write("notalibrary.so", "just text\n");
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("missing.so"), "the plug-in library " + dir.file("missing.so") + " does not exist"},
        {dir.file("notalibrary.so"), "the plug-in library " + dir.file("notalibrary.so") + " cannot be loaded: "},
        {ECHO_NO_EXPORT_PLUGIN, "does not export ZUDO_CreatePlugin: it is not a plug-in of the game"},
        {ECHO_NULL_FACTORY_PLUGIN, "ZUDO_CreatePlugin of " + std::string(ECHO_NULL_FACTORY_PLUGIN) +
                                       " gave no plug-in object"},
    };
    for (const auto& [plugin, message] : cases) {
        SCOPED_TRACE(plugin);
        const SimRun result = run("draw\n", {}, plugin);
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_NE(result.errors.find(message), std::string::npos) << result.errors;
        EXPECT_EQ(result.output, "");
    }
}

TEST_F(Program, CommandLineAndInstallationProblems)
{
    dir.write("script.txt", "draw\n");
    const auto program = [this](std::vector<std::string> arguments) {
        return zudo::test::runProgram(ZUDO_SIM_PROGRAM, arguments, dir.str());
    };
    const SimRun noInstall = program({"--plugin", ECHO_PLUGIN, "--install", "nowhere", "--script", "script.txt"});
    EXPECT_EQ(noInstall.exitCode, 3);
    EXPECT_NE(noInstall.errors.find("the installation directory " + dir.file("nowhere") + " cannot be used"),
              std::string::npos)
        << noInstall.errors;

    const SimRun fileAsInstall =
        program({"--plugin", ECHO_PLUGIN, "--install", "script.txt", "--script", "script.txt"});
    EXPECT_EQ(fileAsInstall.exitCode, 3);
    EXPECT_NE(fileAsInstall.errors.find("is not a directory"), std::string::npos) << fileAsInstall.errors;

    const SimRun noScript = program({"--plugin", ECHO_PLUGIN, "--script", "none.txt"});
    EXPECT_EQ(noScript.exitCode, 1);
    EXPECT_NE(noScript.errors.find("the script none.txt cannot be opened"), std::string::npos);

    const SimRun unknown = program({"--plugins", ECHO_PLUGIN});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.errors.find("zudo-sim: unknown option --plugins\nusage: zudo-sim"), std::string::npos)
        << unknown.errors;

    const SimRun missingValue = program({"--script"});
    EXPECT_EQ(missingValue.exitCode, 1);
    EXPECT_NE(missingValue.errors.find("--script needs a value"), std::string::npos);

    const SimRun help = program({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--screenshots DIR"), std::string::npos);
}

} // namespace
