#include "RallyFixture.hpp"
#include "rally/RallyList.hpp"

using zudo::rally::RallyList;
using namespace std::string_literals;

class RallyListBuild : public zudo::test::RallyTest {};

namespace {

std::vector<std::string> names(const RallyList& list)
{
    std::vector<std::string> result;
    for (const auto& rally : list) {
        result.push_back(rally->name());
    }
    return result;
}

} // namespace

TEST_F(RallyListBuild, BuiltInHotlapsNeedTheirTrackFiles)
{
    RallyList without;
    without.addBuiltInHotlaps();
    EXPECT_EQ(without.size(), 54U);
    EXPECT_EQ(without.at(0)->name(), "Rally School");
    EXPECT_EQ(without.at(1)->name(), "Rally Yard");
    EXPECT_EQ(without.at(2)->name(), "Kaihuavaara"); // 90 needs track-90_M.dls
    const auto& stage = *without.at(2)->stage(0);
    EXPECT_TRUE(without.at(2)->isHotlap());
    EXPECT_EQ(stage.tyres(), 6);
    EXPECT_EQ(stage.weatherMode(), 0);
    EXPECT_EQ(stage.service(), zudo::rally::ServiceInfo(4, 4, 40.0F, false));
    EXPECT_EQ(without.at(without.size() - 1)->name(), "Special Stage Trial");

    host.write("Maps/track-90_M.dls", "x");
    host.write("Maps/track-107_O.dls", "x");
    host.write("Maps/track-37_M.dls", "x"); // 37 needs "N"
    RallyList with;
    with.addBuiltInHotlaps();
    EXPECT_EQ(with.size(), 56U);
    EXPECT_EQ(with.at(2)->name(), "Rally School II");
    EXPECT_EQ(with.at(2)->stage(0)->tyres(), 3);
}

TEST_F(RallyListBuild, DefinitionFilesFollowTheHotlapsAndEmptyOnesAreDropped)
{
    host.write("Plugins/Zuzuzevo/b.srp", "stage 20\nstage 21\n");
    host.write("Plugins/Zuzuzevo/a.srp", "# nothing\n");
    host.write("Plugins/Zuzuzevo/c.old.srp", "hotlap 1\nstage 41 Col\n");
    host.write("Plugins/Zuzuzevo/d.srp/inner.txt", "a directory");
    host.write("Plugins/Zuzuzevo/e.txt", "stage 20\n");
    RallyList list;
    list.addDefinitionFiles("Plugins/Zuzuzevo");
    EXPECT_EQ(names(list), (std::vector<std::string>{"a (invalid!)", "b", "c.old"}));
    list.removeRalliesWithoutStages();
    EXPECT_EQ(names(list), (std::vector<std::string>{"b", "c.old"}));
    EXPECT_TRUE(list.at(1)->isHotlap());

    RallyList none;
    none.addDefinitionFiles("Plugins/Missing");
    EXPECT_EQ(none.size(), 0U);

    host.write("Plugins/Zuzuzevo/b.tm2", "3 20 0 1 2 61000 0 3 0 0 a\0b\0c\0d\0" "0 0 0 4 1 2 \n"s);
    RallyList built;
    built.build();
    EXPECT_EQ(built.size(), 56U);
    EXPECT_EQ(built.at(54)->name(), "b");
    EXPECT_EQ(built.at(54)->stage(0)->recordTotal(), 61.0F);
    const auto record = built.at(54)->stage(0)->currentRecord();
    ASSERT_NE(record, nullptr);
    // The whole line is read, up to the condition at its end.
    EXPECT_EQ(record->driver(), "d");
    EXPECT_EQ(record->condition()->conditions, 4);
    EXPECT_EQ(record->condition()->track, 2);
}
