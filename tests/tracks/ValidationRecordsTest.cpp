#include <gtest/gtest.h>

#include "io/IniFile.hpp"
#include "support/TempDir.hpp"
#include "tracks/ValidationRecords.hpp"

namespace zudo::tracks {
namespace {

TEST(ValidationRecords, ReadsSectionsAndWritesChangesTogether)
{
    const test::TempDir dir;
    const std::string path = dir.write("Maps/TrackValidation.ini",
                                       "; checked by hand\r\n"
                                       "[Map05]\r\n"
                                       "M/dry/new=1\r\n"
                                       "m/DRY/normal = 0\r\n"
                                       "M/dry/worn=2\r\n"
                                       "[Other]\r\n"
                                       "keep=this\r\n");
    {
        ValidationRecords records(path);
        EXPECT_EQ(records.value(5, "M/dry/new"), 1);
        EXPECT_EQ(records.value(5, "M/dry/normal"), 0) << "keys in any letter case";
        EXPECT_EQ(records.value(5, "M/dry/worn"), 2);
        EXPECT_EQ(records.value(5, "M/wet/new"), ValidationRecords::notChecked);
        EXPECT_EQ(records.value(12, "E/wet/worn"), ValidationRecords::notChecked);

        records.set(5, "M/dry/worn", 1);
        records.set(5, "M/dry/normal", 0); // unchanged
        records.set(12, "E/wet/worn", 0);
        records.set(107, "S/damp/new", 1);
        EXPECT_EQ(records.value(12, "E/wet/worn"), 0) << "pending changes are seen at once";
        EXPECT_EQ(io::IniFile(path).readString("Map12", "E/wet/worn", "none"), "none") << "not yet written";
        EXPECT_TRUE(records.flush());
    }
    const io::IniFile file(path);
    EXPECT_EQ(file.readString("Map05", "M/dry/new", ""), "1");
    EXPECT_EQ(file.readString("Map05", "M/dry/normal", ""), "0");
    EXPECT_EQ(file.readString("Map05", "M/dry/worn", ""), "1");
    EXPECT_EQ(file.readString("Map12", "E/wet/worn", ""), "0");
    EXPECT_EQ(file.readString("Map107", "S/damp/new", ""), "1");
    EXPECT_EQ(file.readString("Other", "keep", ""), "this") << "other sections stay";

    ValidationRecords again(path);
    EXPECT_EQ(again.value(5, "M/dry/worn"), 1);
    EXPECT_EQ(again.value(107, "S/damp/new"), 1);
}

TEST(ValidationRecords, PendingChangesAreWrittenAtTheEnd)
{
    const test::TempDir dir;
    const std::string path = dir.file("TrackValidation.ini");
    {
        ValidationRecords records(path);
        records.set(10, "M/dry/new", 1);
    }
    EXPECT_EQ(io::IniFile(path).readString("Map10", "M/dry/new", ""), "1");

    ValidationRecords unwritable(dir.file("missing/TrackValidation.ini"));
    unwritable.set(10, "M/dry/new", 1);
    EXPECT_FALSE(unwritable.flush()) << "a directory is never created";
    EXPECT_EQ(unwritable.value(10, "M/dry/new"), 1);
}

} // namespace
} // namespace zudo::tracks
