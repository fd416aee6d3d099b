// ctest-label: data
// The level compiler: placement, stacking heights, neighbour lists, key frames, and the designs it refuses.
#include "tools/gen/LevelCompiler.h"
#include "tools/gen/BlockCatalogue.h"
#include "tools/gen/GenError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

const std::map<std::string, VbGen::BlockType>& Catalogue() {
    static const std::map<std::string, VbGen::BlockType> types =
        VbGen::ReadBlockCatalogue(std::string(std::getenv("VB_SOURCE_DIR")) + "/content");
    return types;
}

VbFormats::LevelGeometry Compile(const std::string& text) {
    return VbGen::CompileLevel(text, "test.lvl", Catalogue());
}

const char* header = "anim 1 0\n"
                     "grid 4 3 -21 50 14 7\n"
                     "tex 1 clay_red.png\n"
                     "tex 2 tile.png\n"
                     "tex 3 glass.jpg\n"
                     "tex 4 glass_alpha.bmp\n"
                     "sym r clay 1 0\n"
                     "sym t tile 2 0 fixed\n"
                     "sym g glass 3 4\n";

} // namespace

TEST(LevelCompiler, StacksBlocksOnTheTopsOfWhatTheyOverlap) {
    // Layer 0: tiles (2 high, fixed), a clay brick and a glass brick (6 high). Layer 1: a brick on a tile,
    // a wide brick (scaled to span two cells) over a tile and the clay, which rests on the higher of the
    // two, and a glass brick on the glass.
    const std::string text = std::string(header) + "sym w clay 1 0 scale 2 1 1\n"
                                                   "layer 0\n"
                                                   "  t r . t\n"
                                                   "  . . g .\n"
                                                   "layer 1\n"
                                                   "  . . . r\n"
                                                   "at w -14 50 1\n"
                                                   "at g 7 43 1\n";
    VbFormats::LevelGeometry level = Compile(text);
    ASSERT_EQ(level.textures.size(), 5u);
    EXPECT_EQ(level.textures[0], "");
    struct Expected {
        const char* type;
        uint32_t flags;
        float x, y, z;
        std::vector<uint16_t> below, above;
    };
    const std::vector<Expected> expected = {
        {"tile", 1, -21, 50, 1, {}, {5}},    // fixed, on the field
        {"clay", 0, -7, 50, 3, {}, {5}},     // on the field
        {"tile", 1, 21, 50, 1, {}, {4}},     //
        {"glass", 0, 7, 43, 3, {}, {6}},     // second row
        {"clay", 0, 21, 50, 5, {2}, {}},     // on the tile: 2 + 3
        {"clay", 0, -14, 50, 9, {0, 1}, {}}, // on the clay's top 6, not the tile's 2
        {"glass", 0, 7, 43, 9, {3}, {}},     // on the glass: 6 + 3
    };
    ASSERT_EQ(level.blocks.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const VbFormats::LevelBlock& block = level.blocks[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(block.type, expected[i].type);
        EXPECT_EQ(block.flags, expected[i].flags);
        ASSERT_EQ(block.keyFrames.size(), 1u);
        EXPECT_FALSE(block.animated);
        EXPECT_FLOAT_EQ(block.keyFrames[0].position[0], expected[i].x);
        EXPECT_FLOAT_EQ(block.keyFrames[0].position[1], expected[i].y);
        EXPECT_FLOAT_EQ(block.keyFrames[0].position[2], expected[i].z);
        EXPECT_EQ(block.below, expected[i].below);
        EXPECT_EQ(block.above, expected[i].above);
    }
    EXPECT_EQ(level.blocks[5].scale, (std::array<float, 3>{2, 1, 1}));
    EXPECT_EQ(level.blocks[3].diffuseTexture, 3u);
    EXPECT_EQ(level.blocks[3].opacityTexture, 4u);
}

TEST(LevelCompiler, AnimatesBlocksAlongOffsetsAndOrbits) {
    const std::string text = "anim 5 2\n"
                             "tex 1 clay_red.png\n"
                             "sym o clay 1 0 path turn\n"
                             "sym s clay 1 0 yaw 90 path slide\n"
                             "sym r clay 1 0\n"
                             "at o 20 50 0\n"
                             "at s -40 20 0\n"
                             "at r 0 90 0\n"
                             "path turn orbit 0 50\n"
                             "path slide\n"
                             "  0 0 0 0\n"
                             "  5 0 0 0\n"
                             "  10 0 0 0\n"
                             "  5 0 0 0\n"
                             "  0 0 0 0\n";
    VbFormats::LevelGeometry level = Compile(text);
    EXPECT_EQ(level.keyFrameCount, 5u);
    EXPECT_FLOAT_EQ(level.animationSpeed, 2);
    ASSERT_EQ(level.blocks.size(), 3u);

    // The orbit turns the pose once over the frames; the last frame equals the first, so it loops smoothly.
    const VbFormats::LevelBlock& orbit = level.blocks[0];
    ASSERT_TRUE(orbit.animated);
    ASSERT_EQ(orbit.keyFrames.size(), 5u);
    const float expectedXY[5][2] = {{20, 50}, {0, 70}, {-20, 50}, {0, 30}, {20, 50}};
    for (size_t k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(orbit.keyFrames[k].position[0], expectedXY[k][0], 1e-4);
        EXPECT_NEAR(orbit.keyFrames[k].position[1], expectedXY[k][1], 1e-4);
        EXPECT_FLOAT_EQ(orbit.keyFrames[k].position[2], 3);
        const float angle = 3.14159265f / 2 * float(k);
        EXPECT_NEAR(orbit.keyFrames[k].rotation[2], std::sin(angle / 2), 1e-5);
        EXPECT_NEAR(orbit.keyFrames[k].rotation[3], std::cos(angle / 2), 1e-5);
    }

    // Offsets add to the placed pose, whose yaw stays.
    const VbFormats::LevelBlock& slide = level.blocks[1];
    ASSERT_EQ(slide.keyFrames.size(), 5u);
    EXPECT_FLOAT_EQ(slide.keyFrames[2].position[0], -30);
    EXPECT_NEAR(slide.keyFrames[2].rotation[2], std::sin(3.14159265f / 4), 1e-6);

    const VbFormats::LevelBlock& still = level.blocks[2];
    EXPECT_FALSE(still.animated);
    EXPECT_EQ(still.keyFrames.size(), 1u);
}

TEST(LevelCompiler, RefusesDesignsThatBreakARule) {
    const std::string base = header;
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"no anim line", "tex 1 clay_red.png\nsym r clay 1 0\nat r 0 0 0\n", "no anim line"},
        {"unknown type", base + "sym x brick 1 0\nat x 0 0 0\n", "no block type \"brick\""},
        {"texture index beyond the table", base + "sym x clay 9 0\nat x 0 0 0\n",
         "not below the texture count"},
        {"picture of another type", base + "sym x clay 2 0\nat x 0 0 0\n",
         "tile.png is not a picture of the block type clay"},
        {"texture indices with a gap", "anim 1 0\ntex 2 clay_red.png\n", "without gaps"},
        {"unknown statement", base + "wall 1 2 3\n", "unknown statement"},
        {"row outside the grid", base + "layer 0\n r r r r r\n", "outside the grid"},
        {"undefined symbol", base + "layer 0\n r q\n", "no symbol q"},
        {"standing on nothing", base + "layer 0\n r . . .\nlayer 1\n . . . r\n", "stands on nothing"},
        {"outside the walls", base + "at r 72 0 0\n", "leaves the play area"},
        {"in the bat's zone", base + "at r 0 -38 0\n", "leaves the play area"},
        {"no counted block", "anim 1 0\ntex 1 steel.png\nsym s steel 1 0\nat s 0 0 0\n",
         "no block that counts"},
        {"orbit leaving the field",
         "anim 5 1\ntex 1 clay_red.png\nsym o clay 1 0 path p\nat o 0 50 0\npath p orbit 0 0\n",
         "leaves the play area"},
        {"path with too few frames",
         "anim 3 1\ntex 1 clay_red.png\nsym o clay 1 0 path p\nat o 0 0 0\npath p\n 0 0 0 0\n",
         "has 1 key frames, the level 3"},
        {"orbit without frames to turn",
         "anim 1 1\ntex 1 clay_red.png\nsym o clay 1 0 path p\nat o 0 0 0\npath p orbit 0 0\n",
         "at least two key frames"},
        {"stacked on another path",
         "anim 2 1\ntex 1 clay_red.png\nsym o clay 1 0 path p\nsym r clay 1 0\nat o 0 0 0\nat r 0 0 1\npath "
         "p\n 0 0 0 0\n 1 0 0 0\n",
         "different paths"},
        {"not a number", base + "at r 0 zero 0\n", "\"zero\" is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Compile(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const VbGen::GenError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
            EXPECT_EQ(std::string(error.what()).rfind("test.lvl", 0), 0u) << error.what();
        }
    }
}
