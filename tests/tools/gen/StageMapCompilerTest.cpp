// ctest-label: data
// The stage map compiler: icon types follow the stages, placements carry position, scale and turn, and the
// layouts it refuses.
#include "tools/gen/StageMapCompiler.h"
#include "tools/gen/GenError.h"

#include <gtest/gtest.h>

using VbFormats::StageMapWriter;

namespace {

std::string Lines(size_t count) {
    std::string text = "# a comment line\n\n";
    for (size_t i = 0; i < count; ++i)
        text += std::to_string(20 + 10 * i) + " " + std::to_string(100 + 5 * i) + "  # level\n";
    return text;
}

} // namespace

TEST(StageMapCompiler, TypesFollowTheStages) {
    constexpr uint32_t S = StageMapWriter::typeStart, F = StageMapWriter::typeFinish,
                       C = StageMapWriter::typeCheckPoint, P = StageMapWriter::typePath;
    struct Case {
        std::vector<uint32_t> stages;
        std::vector<uint32_t> types;
    };
    const Case cases[] = {
        {{5, 5, 5}, {S, P, P, P, P, C, P, P, P, P, C, P, P, P, F}},
        {{1}, {S}},
        {{2, 1}, {S, P, C}},    // a stage of one level ends on its check point
        {{1, 0, 2}, {S, C, F}}, // an empty stage adds nothing
    };
    for (const Case& c : cases) {
        const auto icons = VbGen::CompileStageMap(Lines(c.types.size()), "map.txt", c.stages);
        ASSERT_EQ(icons.size(), c.types.size());
        for (size_t i = 0; i < icons.size(); ++i) {
            EXPECT_EQ(icons[i].type, c.types[i]) << i;
            EXPECT_FLOAT_EQ(icons[i].placement[3], 20.0f + 10.0f * float(i));
            EXPECT_FLOAT_EQ(icons[i].placement[7], 100.0f + 5.0f * float(i));
        }
    }
}

TEST(StageMapCompiler, ScaleAndTurnGoIntoThePlacement) {
    const auto icons = VbGen::CompileStageMap("100 200 2 90\n", "map.txt", {1});
    ASSERT_EQ(icons.size(), 1u);
    const auto& m = icons[0].placement;
    // A quarter turn counter-clockwise at twice the size: x goes to y.
    EXPECT_NEAR(m[0], 0, 1e-5f);
    EXPECT_NEAR(m[4], 2, 1e-5f);
    EXPECT_NEAR(m[1], -2, 1e-5f);
    EXPECT_FLOAT_EQ(m[3], 100);
    EXPECT_FLOAT_EQ(m[7], 200);
    EXPECT_FLOAT_EQ(m[10], 1);
}

TEST(StageMapCompiler, RefusedLayouts) {
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"a word", "10 x\n", "map.txt:1: \"x\" is not a number"},
        {"one number", "10\n", "map.txt:1: a line is X Y"},
        {"five numbers", "10 100 1 0 3\n", "map.txt:1: a line is X Y"},
        {"over the buttons", "10 70\n", "map.txt:1: an icon lies inside"},
        {"outside", "641 100\n", "map.txt:1: an icon lies inside"},
        {"no scale", "10 100 0\n", "map.txt:1: the scale is positive"},
        {"too few lines", "10 100\n", "1 icons for 2 levels"},
        {"too many lines", "10 100\n20 100\n30 100\n", "3 icons for 2 levels"},
        {"not a number at all", "10 1e999\n", "is not a number"},
    };
    for (const Case& c : cases) {
        try {
            VbGen::CompileStageMap(c.text, "map.txt", {2});
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const VbGen::GenError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.what << ": " << error.what();
        }
    }
}
