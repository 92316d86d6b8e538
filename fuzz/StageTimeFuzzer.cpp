// Saved text forms of a stage: a best-times line (version, then the time) and
// a progress line (version, then the time, driven flag, setup and service),
// and the service form alone. Input: the best-times line, then the progress
// line, separated by a line "%%".
//
// Beyond not crashing: a line that reads completely is written back in a form
// that reads again to the same form (what the plug-in writes it can read).

#include <locale>
#include <sstream>

#include "FuzzCheck.hpp"
#include "RallySupport.hpp"
#include "rally/ServiceInfo.hpp"
#include "rally/Stage.hpp"

namespace {

using zudo::rally::Stage;
using zudo::rally::StageTime;

std::istringstream classicInput(const std::string& text)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    return in;
}

std::string classicText(const std::function<void(std::ostream&)>& write)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    write(out);
    return out.str();
}

// Reads "version form" into a fresh copy of prototype with readForm; the
// written form when it read completely.
template <typename T>
std::optional<std::string> readAndWrite(const T& prototype, const std::string& line,
                                        void (T::*readForm)(std::istream&),
                                        void (T::*writeForm)(std::ostream&) const)
{
    std::istringstream in = classicInput(line);
    int version = 0;
    if (!(in >> version) || !StageTime::isKnownFormatVersion(version)) {
        return std::nullopt;
    }
    T value(prototype);
    value.detachSharedParts();
    value.setFormatVersion(version);
    (value.*readForm)(in);
    if (in.fail()) {
        return std::nullopt;
    }
    return classicText([&](std::ostream& out) {
        out << version << ' ';
        (value.*writeForm)(out);
    });
}

template <typename T>
void checkRoundTrip(const T& prototype, const std::string& line, void (T::*readForm)(std::istream&),
                    void (T::*writeForm)(std::ostream&) const)
{
    const std::optional<std::string> written = readAndWrite(prototype, line, readForm, writeForm);
    if (written) {
        const std::optional<std::string> again = readAndWrite(prototype, *written, readForm, writeForm);
        ZUDO_FUZZ_CHECK(again.has_value());
        ZUDO_FUZZ_CHECK(*again == *written);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const zudo::rally::RallyPtr rally = [] {
        zudo::fuzz::usePlainConditionChoice();
        return zudo::fuzz::rallyFrom("Fuzz Forms", "stage 20 Harwood\n");
    }();
    const std::vector<std::string> parts = zudo::fuzz::splitInput(data, size, 2);
    const Stage& stage = *rally->stage(0);

    checkRoundTrip<StageTime>(stage, parts[0], &StageTime::read, &StageTime::write);
    checkRoundTrip<Stage>(stage, parts[1], &Stage::readProgress, &Stage::writeProgress);

    zudo::rally::ServiceInfo service;
    std::istringstream in = classicInput(parts[1]);
    in >> service;
    return 0;
}
