#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TrackFixture.hpp"
#include "io/IniFile.hpp"
#include "tracks/TextureFilenameMap.hpp"

namespace zudo::legacy::support {
namespace {

using test::TrackFixture;
using tracks::TrackConditionList;
using tracks::TrackOverride;

const char* const surfaces[] = {"dry", "damp", "wet"};
const char* const wears[] = {"new", "normal", "worn"};

// Where stage 10's track lies on disk: its folder, and its ini file's name
// before "_", the tint letter and ".ini".
struct TrackOnDisk {
    const char* folder;
    const char* iniName;
};
const TrackOnDisk asTracksIniWritesIt{"Maps/T01", "t01"};
const TrackOnDisk inOtherLetterCase{"Maps/t01", "T01"}; // its ini file: Maps/t01/T01_m.ini

// Stage 10 on track Maps/T01/t01 with the texture Ground (ground) and Tree:
// every file there except those named in missing (named below Maps/T01).
void writeStage10(TrackFixture& fixture, const std::string& sections = "[10M_crisp_clear]\n",
                  const std::vector<std::string>& missing = {}, const TrackOnDisk& track = asTracksIniWritesIt)
{
    fixture.writeFile("Maps/Tracks.ini", "[Map10]\nTrackName=Maps\\T01\\t01\nParticles=gravel\n");
    fixture.writeFile("Maps/TrackSettings.ini", sections);
    const bool otherCase = std::string(track.folder) != asTracksIniWritesIt.folder;
    fixture.writeTrackIni(std::string(track.folder) + "/" + track.iniName, otherCase ? "m" : "M",
                          {{"Ground", true}, {"Tree", false}});
    auto write = [&](const std::string& path) {
        if (std::find(missing.begin(), missing.end(), path) == missing.end()) {
            fixture.writeFile(track.folder + path.substr(std::string("Maps/T01").size()));
        }
    };
    // On disk in other letter case than the game asks for.
    for (const char* surface : surfaces) {
        for (const char* wear : wears) {
            write(std::string("Maps/T01/T01_m_Textures/") + surface + "/" + wear + "/GROUND.dds");
        }
        write(std::string("Maps/T01/T01_m_Textures/") + surface + "/tree.DDS");
    }
}

std::string validationIni(const TrackFixture& fixture) { return fixture.dir.file("Maps/TrackValidation.ini"); }

int record(const TrackFixture& fixture, const std::string& key)
{
    const std::string text = io::IniFile(validationIni(fixture)).readString("Map10", key, "absent");
    return text == "absent" ? -1 : std::stoi(text);
}

std::vector<std::string> combinations(const TrackConditionList& list)
{
    std::vector<std::string> result;
    for (const auto& condition : list) {
        EXPECT_TRUE(condition->valid);
        result.push_back(std::to_string(condition->stage) + " " + std::to_string(condition->tintSet) + "/" +
                         std::to_string(condition->surface) + "/" + std::to_string(condition->track));
    }
    return result;
}

TEST(TextureCheck, EveryCompleteSurfaceAndWearBecomesACondition)
{
    TrackFixture fixture;
    writeStage10(fixture, "[10M_crisp_clear]\n", {"Maps/T01/T01_m_Textures/wet/worn/GROUND.dds"});
    const std::string before = std::filesystem::current_path().string();
    const auto parser = fixture.makeParser();
    fixture.takeReports();

    TrackConditionList list;
    EXPECT_TRUE(parser->trackConditions(TrackOverride{10, "", ""}, list));
    EXPECT_EQ(combinations(list), (std::vector<std::string>{"10 0/0/0", "10 0/0/1", "10 0/0/2", "10 0/1/0",
                                                            "10 0/1/1", "10 0/1/2", "10 0/2/0", "10 0/2/1"}));
    EXPECT_EQ(list.front()->sky, 0);
    EXPECT_EQ(list.front()->conditions, 0);
    EXPECT_EQ(list.front()->timeOfDay, 0);
    EXPECT_EQ(fixture.takeReports(),
              "10 --> M/dry/new valid\n10 --> M/dry/normal valid\n10 --> M/dry/worn valid\n"
              "10 --> M/damp/new valid\n10 --> M/damp/normal valid\n10 --> M/damp/worn valid\n"
              "10 --> M/wet/new valid\n10 --> M/wet/normal valid\n"
              "Ground in t01_M_textures\\wet\\worn\\Ground.dds (mapped to t01_m_textures\\wet\\worn\\ground.dds)"
              " not found\n"
              "10 --> M/wet/worn not valid (1 textures missing)\n");
    EXPECT_EQ(std::filesystem::current_path().string(), before) << "the current directory is restored";

    for (const char* surface : surfaces) {
        for (const char* wear : wears) {
            const std::string key = std::string("M/") + surface + "/" + wear;
            SCOPED_TRACE(key);
            EXPECT_EQ(record(fixture, key), key == "M/wet/worn" ? 0 : 1);
        }
    }
    // One listing of each of the nine ground and three other texture
    // directories, and of the track's directory and its texture directory,
    // through which they are found in their letter case on disk.
    EXPECT_EQ(fixture.host.fileSystemQueries(), 12u + 2u);
}

// Track folders and track ini files named in other letter case than
// Tracks.ini writes them are found as Windows finds them: the same
// conditions, reports and records, through the same listings, as on an
// installation that spells them as written.
TEST(TextureCheck, TrackFoldersInOtherLetterCaseFindTheSameFiles)
{
    for (const TrackOnDisk& track : {asTracksIniWritesIt, inOtherLetterCase}) {
        SCOPED_TRACE(std::string("track folder ") + track.folder);
        TrackFixture fixture;
        writeStage10(fixture, "[10M_crisp_clear]\n[10M_noon_crisp_clear]\n",
                     {"Maps/T01/T01_m_Textures/wet/worn/GROUND.dds", "Maps/T01/T01_m_Textures/damp/tree.DDS"},
                     track);
        const auto parser = fixture.makeParser();
        fixture.takeReports();
        TrackConditionList list;
        EXPECT_TRUE(parser->trackConditions(TrackOverride{10, "", ""}, list));
        // Two weather entries: dry (three wears) and wet (two) each.
        const std::vector<std::string> valid{"10 0/0/0", "10 0/0/1", "10 0/0/2", "10 0/2/0", "10 0/2/1"};
        std::vector<std::string> both = valid;
        both.insert(both.end(), valid.begin(), valid.end());
        std::sort(both.begin(), both.end());
        std::vector<std::string> found = combinations(list);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, both);
        const std::string reports = fixture.takeReports();
        EXPECT_NE(reports.find("Tree in t01_M_textures\\damp\\Tree.dds (mapped to t01_m_textures\\damp\\tree.dds)"
                               " not found\n10 --> M/damp/new not valid (1 textures missing)\n"),
                  std::string::npos)
            << reports;
        EXPECT_NE(reports.find("10 --> M/wet/worn not valid (1 textures missing)\n"), std::string::npos) << reports;
        // The tree is reported missing for each wear of the damp surface.
        std::size_t treeReports = 0;
        for (std::size_t at = reports.find("Tree in"); at != std::string::npos; at = reports.find("Tree in", at + 1)) {
            ++treeReports;
        }
        EXPECT_EQ(treeReports, 3u);
        EXPECT_EQ(record(fixture, "M/dry/worn"), 1);
        EXPECT_EQ(record(fixture, "M/damp/normal"), 0);
        EXPECT_EQ(record(fixture, "M/wet/worn"), 0);
        // The second entry takes every result from the records: the listings
        // are those of one check (as in the test above).
        EXPECT_EQ(fixture.host.fileSystemQueries(), 12u + 2u);
    }
}

TEST(TextureCheck, ASecondRunUsesTheRecordsWithoutTouchingTextures)
{
    TrackFixture fixture;
    writeStage10(fixture, "[10M_crisp_clear]\n[10M_noon_crisp_clear]\n",
                 {"Maps/T01/T01_m_Textures/damp/tree.DDS"});
    {
        const auto first = fixture.makeParser();
        TrackConditionList list;
        first->trackConditions(TrackOverride{10, "", ""}, list);
        EXPECT_EQ(list.size(), 12u); // dry and wet, two weather entries
    }
    const std::uint64_t queries = fixture.host.fileSystemQueries();
    std::filesystem::remove_all(fixture.dir.path() / "Maps/T01/T01_m_Textures");
    fixture.takeReports();

    const auto second = fixture.makeParser();
    TrackConditionList list;
    EXPECT_TRUE(second->trackConditions(TrackOverride{10, "", ""}, list));
    EXPECT_EQ(list.size(), 12u);
    EXPECT_EQ(fixture.host.fileSystemQueries(), queries);
    const std::string reports = fixture.takeReports();
    EXPECT_NE(reports.find("10 --> M/damp/new not valid (2 textures missing)\n"), std::string::npos) << reports;
    EXPECT_EQ(reports.find("not found"), std::string::npos) << reports;
}

TEST(TextureCheck, RecordedValuesDecideWithoutChecking)
{
    TrackFixture fixture;
    writeStage10(fixture);
    fixture.writeFile("Maps/TrackValidation.ini",
                      "[Map10]\nM/wet/worn=1\nm/DRY/new=0\nM/dry/normal=7\nM/dry/worn=2\n");
    std::filesystem::remove_all(fixture.dir.path() / "Maps/T01/T01_m_Textures/wet");
    const auto parser = fixture.makeParser();
    TrackConditionList list;
    parser->trackConditions(TrackOverride{10, "", ""}, list);
    const std::vector<std::string> found = combinations(list);
    // dry/worn (rechecked) and the damp three from the files; wet/worn from its record.
    EXPECT_EQ(found, (std::vector<std::string>{"10 0/0/2", "10 0/1/0", "10 0/1/1", "10 0/1/2", "10 0/2/2"}));
    const std::string reports = fixture.takeReports();
    EXPECT_NE(reports.find("10 --> M/dry/new not valid (2 textures missing)\n"), std::string::npos);
    EXPECT_NE(reports.find("10 --> M/dry/normal not valid (2 textures missing)\n"), std::string::npos);
    EXPECT_NE(reports.find("10 --> M/wet/worn valid\n"), std::string::npos);
    EXPECT_EQ(record(fixture, "M/dry/normal"), 0) << "an unknown value is rewritten as 0";
    EXPECT_EQ(record(fixture, "M/dry/new"), 0);
    EXPECT_EQ(record(fixture, "M/dry/worn"), 1);
    EXPECT_EQ(record(fixture, "M/wet/new"), 0);
    // Six combinations checked: the listings of their six ground directories,
    // of the three surface directories that hold the trees, and of the two
    // directories above them.
    EXPECT_EQ(fixture.host.fileSystemQueries(), 6u + 3u + 2u);
}

TEST(TextureCheck, MissingTextureKeyCountsAsMissing)
{
    TrackFixture fixture;
    writeStage10(fixture);
    fixture.writeFile("Maps/T01/t01_M.ini", "[TextureInfo]\nNumTextures=2\nTexture0=Ground\n[Ground]\nIsGroundTexture=1\n");
    const auto parser = fixture.makeParser();
    TrackConditionList list;
    EXPECT_FALSE(parser->trackConditions(TrackOverride{10, "", ""}, list));
    const std::string reports = fixture.takeReports();
    EXPECT_EQ(reports.substr(0, reports.find("damp")),
              " texture 'Texture1' not found in track ini file 'Maps\\T01\\t01_M.ini'\n"
              "10 --> M/dry/new not valid (texture 1 missing)\n"
              "10 --> M/dry/new not valid (1 textures missing)\n"
              " texture 'Texture1' not found in track ini file 'Maps\\T01\\t01_M.ini'\n"
              "10 --> M/dry/normal not valid (texture 1 missing)\n"
              "10 --> M/dry/normal not valid (1 textures missing)\n"
              " texture 'Texture1' not found in track ini file 'Maps\\T01\\t01_M.ini'\n"
              "10 --> M/dry/worn not valid (texture 1 missing)\n"
              "10 --> M/dry/worn not valid (1 textures missing)\n"
              " texture 'Texture1' not found in track ini file 'Maps\\T01\\t01_M.ini'\n"
              "10 --> M/");
}

TEST(TextureCheck, UnknownTintSetTakesTheFirstTrackIniFound)
{
    TrackFixture fixture;
    fixture.writeFile("Maps/Tracks.ini", "[Map10]\nTrackName=Maps\\T01\\t01\nParticles=gravel\n");
    fixture.writeFile("Maps/TrackSettings.ini", "[10X_noon_crisp_clear]\n");
    fixture.writeTrackIni("Maps/T01/t01", "N", {{"Rock", false}});
    fixture.writeTrackIni("Maps/T01/t01", "E", {{"Rock", false}});
    for (const char* surface : surfaces) {
        fixture.writeFile(std::string("Maps/T01/t01_N_textures/") + surface + "/rock.dds");
    }
    const auto parser = fixture.makeParser();
    ASSERT_EQ(parser->entries().size(), 1u);
    EXPECT_EQ(parser->entries()[0]->tintSet, -1);
    TrackConditionList list;
    EXPECT_TRUE(parser->trackConditions(TrackOverride{10, "", ""}, list));
    EXPECT_EQ(parser->entries()[0]->tintSet, 1) << "the shared entry keeps the letter found";
    EXPECT_EQ(list.size(), 9u);
    EXPECT_EQ(record(fixture, "N/wet/worn"), 1);
    EXPECT_EQ(record(fixture, "E/wet/worn"), -1);
}

TEST(TextureCheck, FilenameMapRedirectsTextures)
{
    TrackFixture fixture;
    writeStage10(fixture, "[10M_crisp_clear]\n", {"Maps/T01/T01_m_Textures/dry/tree.DDS"});
    std::string map("head", 4);
    map += std::string("T01_M_TEXTURES\\DRY\\TREE.DDS") + '\0' + "shared/Tree.dds" + '\0';
    fixture.writeFile("Maps/TextureFilenameMap.dat", map);
    fixture.writeFile("Maps/T01/Shared/TREE.dds");
    const auto parser = fixture.makeParser();
    TrackConditionList list;
    parser->trackConditions(TrackOverride{10, "", ""}, list);
    EXPECT_EQ(list.size(), 9u);
    EXPECT_NE(fixture.takeReports().find("10 --> M/dry/new valid\n"), std::string::npos);
}

TEST(TextureCheck, TracksThatCannotBeCheckedGiveNoConditions)
{
    struct Case {
        const char* what;
        std::string tracksIni;
        std::string trackIni; // written as Maps/T01/t01_M.ini when not empty
        std::string report;
    };
    const std::string track = "TrackName=Maps\\T01\\t01\nParticles=p\n";
    const Case cases[] = {
        {"no particles", "[Map10]\nTrackName=Maps\\T01\\t01\n", "", ""},
        {"no track name", "[Map10]\nParticles=p\n", "", ""},
        {"no track ini", "[Map10]\n" + track, "", ""},
        {"no textures", "[Map10]\n" + track, "[TextureInfo]\nNumTextures=0\n", ""},
        {"negative count", "[Map10]\n" + track, "[TextureInfo]\nNumTextures=-5\n",
         "track ini file 'Maps\\T01\\t01_M.ini' declares -5 textures (at most 10000 are allowed), skipping\n"},
        {"huge count", "[Map10]\n" + track, "[TextureInfo]\nNumTextures=2147483647\n",
         "track ini file 'Maps\\T01\\t01_M.ini' declares 2147483647 textures (at most 10000 are allowed), "
         "skipping\n"},
        {"parent directory", "[Map10]\nTrackName=Maps\\..\\..\\t01\nParticles=p\n", "",
         "track name 'Maps\\..\\..\\t01' of stage 10 leaves the installation, skipping\n"},
        {"absolute path", "[Map10]\nTrackName=/tmp/t01\nParticles=p\n", "",
         "track name '/tmp/t01' of stage 10 leaves the installation, skipping\n"},
        {"drive letter", "[Map10]\nTrackName=C:t01\nParticles=p\n", "",
         "track name 'C:t01' of stage 10 leaves the installation, skipping\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrackFixture fixture;
        fixture.writeFile("Maps/Tracks.ini", c.tracksIni);
        fixture.writeFile("Maps/TrackSettings.ini", "[10M_crisp_clear]\n");
        if (!c.trackIni.empty()) {
            fixture.writeFile("Maps/T01/t01_M.ini", c.trackIni);
        }
        const auto parser = fixture.makeParser();
        TrackConditionList list;
        EXPECT_FALSE(parser->trackConditions(TrackOverride{10, "", ""}, list));
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(fixture.takeReports(), c.report);
        EXPECT_EQ(fixture.host.fileSystemQueries(), 0u);
    }
}

TEST(TextureCheck, ListsAreCachedPerTrackOverride)
{
    TrackFixture fixture;
    writeStage10(fixture);
    fixture.writeTrackIni("Maps/T02/other", "M", {{"Rock", false}});
    for (const char* surface : surfaces) {
        fixture.writeFile(std::string("Maps/T02/other_M_textures/") + surface + "/rock.dds");
    }
    const auto parser = fixture.makeParser();
    TrackConditionList list{std::make_shared<tracks::TrackCondition>(99)};
    EXPECT_TRUE(parser->trackConditions(TrackOverride{10, "", ""}, list));
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front()->stage, 99) << "earlier contents stay first";

    std::filesystem::remove_all(fixture.dir.path() / "Maps/T01");
    TrackConditionList again;
    EXPECT_TRUE(parser->trackConditions(TrackOverride{10, "", ""}, again));
    ASSERT_EQ(again.size(), 9u);
    EXPECT_EQ(again[0], list[1]) << "the cache shares its conditions";

    // A substituted track name is another track; its records are the stage's.
    std::filesystem::remove(fixture.dir.path() / "Maps/TrackValidation.ini");
    TrackConditionList other;
    EXPECT_TRUE(parser->trackConditions(TrackOverride{10, "Maps\\T02\\other", ""}, other));
    EXPECT_EQ(other.size(), 9u);
    EXPECT_NE(other[0], again[0]);
}

TEST(TextureFilenameMap, PairsFromTheFileBytes)
{
    using tracks::TextureFilenameMap;
    const std::string z(1, '\0');
    {
        const TextureFilenameMap map("1234A.DDS" + z + "b.dds" + z + "a.dds" + z + "c.dds" + z + "odd" + z);
        EXPECT_EQ(map.translate("a.dds"), "b.dds");
        EXPECT_EQ(map.translate("A.dds"), "b.dds") << "the first pair of a source counts";
        EXPECT_EQ(map.translate("Other\\X.DDS"), "other\\x.dds");
        EXPECT_EQ(map.translate("odd"), "odd") << "a string without a partner is ignored";
        EXPECT_EQ(map.pairs().size(), 1u);
    }
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t pairs;
    };
    const Case cases[] = {
        {"four bytes", "1234", 0},
        {"empty first string", "1234" + z + "a" + z + "b" + z, 0},
        {"ends at an empty string", "1234a" + z + "b" + z + z + "c" + z + "d" + z, 1},
        {"no terminating zero", "1234a" + z + "bbb", 1},
        {"target cut off", "1234a" + z, 0},
        {"shorter than the header", "12", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextureFilenameMap(c.bytes).pairs().size(), c.pairs);
    }
    EXPECT_EQ(TextureFilenameMap("1234a" + z + "bbb").translate("A"), "bbb");

    std::string random;
    std::uint32_t state = 12345;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1103515245u + 12345u;
        random += static_cast<char>(state >> 24);
    }
    const TextureFilenameMap noise(random);
    for (const auto& [source, target] : noise.pairs()) {
        EXPECT_FALSE(source.empty());
        EXPECT_FALSE(target.empty());
    }
}

TEST(TextureFilenameMap, LoadedThroughTheHost)
{
    TrackFixture fixture;
    EXPECT_TRUE(tracks::TextureFilenameMap::load(fixture.host).pairs().empty());
    fixture.writeFile("Maps/TextureFilenameMap.dat", std::string("1234x") + '\0' + "y");
    EXPECT_EQ(tracks::TextureFilenameMap::load(fixture.host).translate("X"), "y");
}

} // namespace
} // namespace zudo::legacy::support
