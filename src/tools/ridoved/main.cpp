// Ridoved.exe: the listing tool's program. Everything it does is in
// Ridoved.cpp; this file only hands over the command line and keeps every
// failure inside the program.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/ridoved/Ridoved.hpp"
#include "tools/ridoved/TextureHostChoice.hpp"
#include "util/Exception.hpp"
#include "util/Log.hpp"

int main(int argc, char** argv)
{
    zudo::util::useListingToolLog();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        zudo::tools::ridoved::useGameExecutableWhenAvailable(std::cerr);
        return zudo::tools::ridoved::run(arguments, std::cout, std::cerr);
    } catch (const zudo::Exception& failure) {
        std::cerr << failure.fullText() << std::endl;
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << std::endl;
    }
    return 0;
}
