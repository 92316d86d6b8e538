// The translations file (Plugins/Zuzuzevo/strings.ini): texts looked up by
// key in the section of the game's language, converted from UTF-8 and put
// into host memory. Input: the keys to look up (one a line), then the file,
// separated by a line "%%".

#include <sstream>

#include "FuzzCheck.hpp"
#include "FuzzSupport.hpp"
#include "HostSupport.hpp"
#include "plugin/StringTable.hpp"
#include "util/mem/Bindings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = (zudo::fuzz::useReplacementHost(), true);
    (void)ready;
    const std::vector<std::string> parts = zudo::fuzz::splitInput(data, size, 2);
    const std::string file = zudo::fuzz::ScratchInstallation::instance().write("Plugins/Zuzuzevo/strings.ini", parts[1]);
    const zudo::util::mem::HostAddress language = zudo::util::mem::bindings::languageObject.address();

    zudo::plugin::StringTable table(file);
    for (const std::int32_t number : {0, 3, 6}) {
        language.write<std::int32_t>(20, number);
        std::istringstream keys(parts[0]);
        std::string key;
        for (int count = 0; count < 16 && std::getline(keys, key); ++count) {
            const zudo::util::mem::HostAddress text = table.text(key);
            if (!text.isNull()) {
                zudo::plugin::readHostText(text);
                ZUDO_FUZZ_CHECK(table.text(key) == text); // kept while the language stays
            }
        }
    }
    return 0;
}
