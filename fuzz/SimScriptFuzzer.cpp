// Scripts of the host simulator (zudo-sim): every line parsed, a bad one
// reported as a script error and nothing else.
//
// Beyond not crashing: the text kept of a parsed line parses again.

#include <sstream>

#include "FuzzCheck.hpp"
#include "sim/driver/Script.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        const zudo::sim::Script script = zudo::sim::parseScript(in, "fuzz");
        for (const zudo::sim::ScriptLine& line : script.lines) {
            ZUDO_FUZZ_CHECK(zudo::sim::parseScriptLine(line.text, line.number).has_value());
        }
    } catch (const zudo::sim::ScriptError& error) {
        ZUDO_FUZZ_CHECK(error.line() >= 1);
    }
    zudo::sim::parseInteger(std::string_view(reinterpret_cast<const char*>(data), size), -5, 1000);
    return 0;
}
