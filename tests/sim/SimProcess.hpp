#pragma once
// Runs zudo-sim as a separate program, as a user or a script would, and
// collects what it wrote and how it ended.

#include <string>
#include <vector>

namespace zudo::test {

struct SimRun {
    int exitCode = -1;
    std::string output; // standard output
    std::string errors; // standard error
};

// Runs the program with the arguments (each passed as one word) in the
// directory workDirectory, with standard input read from inputFile when it
// is not empty. The outputs go through files in workDirectory.
SimRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workDirectory, const std::string& inputFile = {});

} // namespace zudo::test
