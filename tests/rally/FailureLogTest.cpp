// The failures of the readers are logged with their place and the values read
// so far (logging switched on for this program).
#include <sstream>

#include "RallyFixture.hpp"
#include "rally/ServiceInfo.hpp"
#include "support/LogCapture.hpp"

namespace {

using namespace std::string_literals;

class FailureLog : public zudo::test::RallyTest {
protected:
    std::string logText() const { return capture.messageText(); }

    zudo::test::LogCapture capture;
};

} // namespace

TEST_F(FailureLog, ReadersNameTheFormAndWhatWasRead)
{
    zudo::rally::StageTime time;
    std::istringstream cut("23 0 1 2 3 0 0 0 1 Car\0Default\0Shepherds"s);
    cut >> time;
    EXPECT_TRUE(cut.fail());

    zudo::rally::ServiceInfo service;
    std::istringstream noMinutes(" 1 2 ");
    noMinutes >> service;

    zudo::rally::Stage stage(nullptr, 23, 0, 0, "");
    std::istringstream noDriven("23 0 1 2 3 0 0 0 1 a\0b\0Forest\0d\0"s "0 0 0 0 0 0 "s);
    stage.readProgress(noDriven);

    const std::string text = logText();
    EXPECT_NE(text.find("operator>>(istream,StageTime) - failed to de-serialize StageTime Shepherds: "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("operator>>(istream,ServiceInfo) - failed to de-serialize ServiceInfo: "),
              std::string::npos);
    EXPECT_NE(text.find("operator>>(istream,Stage) - failed to de-serialize Stage: "), std::string::npos);

    const auto missing = std::make_shared<zudo::rally::Rally>("Gone", "Plugins/Zuzuzevo/Gone.srp");
    EXPECT_NE(logText().find("zudo::rally::Rally::loadConfig() - Could not open config file "
                             "Plugins/Zuzuzevo/Gone.srp"),
              std::string::npos);
}
