// ctest-label: shell
// The stage map file read back after the tool wrote it: levels counted from the check points, placements
// kept, and a table of damaged files that must fail with a file error before anything is made.
#include "game/shell/StageMapFile.h"

#include "engine/core/Error.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tools/formats/StageMapWriter.h"

#include <gtest/gtest.h>

using namespace VelmoraBall;
using VbFormats::StageMapFaults;
using VbFormats::StageMapIcon;
using VbFormats::StageMapWriter;

namespace {

const std::string mapPath = "data\\ui\\map\\map.gmf";

StageMapIcon Icon(uint32_t type, float x, float y) {
    StageMapIcon icon;
    icon.type = type;
    icon.placement[3] = x;
    icon.placement[7] = y;
    return icon;
}

} // namespace

TEST(StageMapFile, LevelsAreCountedFromTheCheckPoints) {
    VelmoraTest::ModelServices services("stagemap");
    struct Case {
        const char* what;
        std::vector<uint32_t> types;
        std::vector<std::pair<uint32_t, uint32_t>> positions;
    };
    const Case cases[] = {
        {"empty map", {}, {}},
        {"two stages", {0, 3, 3, 2, 3, 1}, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}},
        {"a check point first opens stage 1", {2, 3, 2}, {{1, 0}, {1, 1}, {2, 0}}},
        {"an unknown type is kept and counted", {0, 7, 3}, {{0, 0}, {0, 1}, {0, 2}}},
    };
    for (const Case& c : cases) {
        std::vector<StageMapIcon> icons;
        for (size_t i = 0; i < c.types.size(); ++i)
            icons.push_back(Icon(c.types[i], 10.0f * float(i), 5.0f + float(i)));
        StageMapFaults faults;
        faults.skipChecks = true; // the unknown type
        services.data.Save("ui/map/map.gmf", StageMapWriter::Write(icons, faults));
        const std::vector<StageMapElement> elements = StageMapFile::Read(mapPath);
        ASSERT_EQ(elements.size(), c.types.size()) << c.what;
        for (size_t i = 0; i < elements.size(); ++i) {
            EXPECT_EQ(elements[i].type, c.types[i]) << c.what << " " << i;
            EXPECT_EQ(elements[i].stage, c.positions[i].first) << c.what << " " << i;
            EXPECT_EQ(elements[i].levelIndex, c.positions[i].second) << c.what << " " << i;
            EXPECT_FLOAT_EQ(elements[i].placement[3], 10.0f * float(i)) << c.what;
            EXPECT_FLOAT_EQ(elements[i].placement[7], 5.0f + float(i)) << c.what;
            EXPECT_FLOAT_EQ(elements[i].placement[15], 1.0f) << c.what;
        }
    }
}

TEST(StageMapFile, DamagedFilesFailWithAFileError) {
    VelmoraTest::ModelServices services("stagemapfaults");
    const std::vector<StageMapIcon> icons = {Icon(0, 0, 0), Icon(3, 1, 1), Icon(1, 2, 2)};
    struct Case {
        const char* what;
        StageMapFaults faults;
    };
    std::vector<Case> cases(7);
    cases[0] = {"huge count", {}};
    cases[0].faults.iconCount = 0x7FFFFFFF;
    cases[1] = {"one icon too many", {}};
    cases[1].faults.iconCount = 4;
    cases[2] = {"one icon too few", {}};
    cases[2].faults.iconCount = 2;
    cases[3] = {"cut short", {}};
    cases[3].faults.truncateBy = 8;
    cases[4] = {"wrong magic", {}};
    cases[4].faults.magic = "GFHSF";
    cases[5] = {"older version", {}};
    cases[5].faults.version = 99;
    cases[6] = {"stated size one off", {}};
    cases[6].faults.sizeDelta = 1;
    for (const Case& c : cases) {
        services.data.Save("ui/map/map.gmf", StageMapWriter::Write(icons, c.faults));
        EXPECT_THROW(StageMapFile::Read(mapPath), OrvexEngine::FileError) << c.what;
    }
    EXPECT_THROW(StageMapFile::Read("data\\ui\\map\\none.gmf"), OrvexEngine::FileError);
}
