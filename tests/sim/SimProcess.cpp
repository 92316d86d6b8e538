#include "SimProcess.hpp"

#include <cstdlib>
#include <string>

#include "support/TempDir.hpp"

namespace zudo::test {

namespace {

// One word for the shell: in single quotes, a single quote written as '\''.
std::string shellWord(const std::string& text)
{
    std::string word = "'";
    for (const char c : text) {
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return word + "'";
}

} // namespace

SimRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workDirectory, const std::string& inputFile)
{
    const std::string out = workDirectory + "/.sim-stdout";
    const std::string err = workDirectory + "/.sim-stderr";
    const std::string code = workDirectory + "/.sim-code";
    std::string command = "cd " + shellWord(workDirectory) + " && " + shellWord(program);
    for (const std::string& argument : arguments) {
        command += " " + shellWord(argument);
    }
    command += " <" + shellWord(inputFile.empty() ? std::string("/dev/null") : inputFile);
    command += " >" + shellWord(out) + " 2>" + shellWord(err) + "; echo $? >" + shellWord(code);
    SimRun run;
    if (std::system(command.c_str()) != 0) {
        return run;
    }
    run.output = readFile(out);
    run.errors = readFile(err);
    const std::string status = readFile(code);
    run.exitCode = status.empty() ? -1 : std::atoi(status.c_str());
    return run;
}

} // namespace zudo::test
