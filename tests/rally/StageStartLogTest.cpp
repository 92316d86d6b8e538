// The weather daemon's backup in the log (logging switched on for this
// program): the weather control object's address, every entry of the game's
// table and both index lists with the entries they point at.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "GameImage.hpp"
#include "support/HostTest.hpp"
#include "rally/WeatherDaemon.hpp"
#include "support/LogCapture.hpp"

namespace {

using namespace zudo;

class WeatherLog : public test::HostTest {};

TEST_F(WeatherLog, TheBackupIsLoggedEntryByEntry)
{
    const test::LogCapture capture;
    const test::GameImage game;

    ASSERT_TRUE(rally::WeatherDaemon::instance().backupWeather());

    const std::string text = capture.messageText();
    const std::string at = "zudo::rally::WeatherDaemon::backupWeather() - ";
    std::ostringstream address;
    address << util::Hex(game.control().value(), 8);
    const std::string expected[] = {
        at + "daemonAddress = " + address.str() + "\n",
        at + "WeatherEntries: \n0: " + test::GameImage::entry(0).describe() + "\n1: ",
        "\n318: " + test::GameImage::entry(318).describe() + "\n",
        at + "good weather indexes: \n0: 7 --> " + test::GameImage::entry(7).describe() + "\n1: 8 --> " +
            test::GameImage::entry(8).describe() + "\n",
        at + "bad weather indexes: \n0: 9 --> " + test::GameImage::entry(9).describe() + "\n",
    };
    std::size_t from = 0;
    for (const std::string& part : expected) {
        const std::size_t found = text.find(part, from);
        EXPECT_NE(found, std::string::npos) << "missing, or out of order: " << part << "\nin\n" << text;
        from = found == std::string::npos ? from : found + part.size();
    }
}

} // namespace
