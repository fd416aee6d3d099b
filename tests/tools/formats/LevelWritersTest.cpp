// ctest-label: gameplay
// The level-geometry and field writers against the bytes of their formats written out by hand, and the rules
// the level writer enforces before the game's reader ever sees a level.
#include "tools/formats/FieldWriter.h"
#include "tools/formats/FormatError.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace VbFormats;

namespace {

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

float F32At(const std::vector<uint8_t>& bytes, size_t at) {
    float value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// Two blocks: a still one on the field carrying an animated one (K = 2).
LevelGeometry TwoBlockLevel() {
    LevelGeometry level;
    level.keyFrameCount = 2;
    level.animationSpeed = 4;
    level.textures = {"a.png", ""};
    LevelBlock base;
    base.type = "simple";
    base.flags = 1;
    base.opacityTexture = 1;
    base.keyFrames = {{{1, 2, 3}, {0, 0, 0, 1}}};
    base.above = {1};
    LevelBlock top;
    top.type = "strong";
    top.animated = true;
    top.keyFrames = {{{0, 0, 5}, {0, 0, 0, 1}}, {{0, 0, 9}, {0, 0, 1, 0}}};
    top.below = {0};
    level.blocks = {base, top};
    return level;
}

} // namespace

TEST(LevelGeometryWriter, WritesHeaderTexturesBlocksAndNeighbours) {
    const std::vector<uint8_t> bytes = LevelGeometryWriter::Write(TwoBlockLevel());
    const std::vector<uint8_t> head = {'V', 'B', 'V', 'B', 'G', 105, 0, 0, 0, 2, 0, 0, 0};
    ASSERT_GE(bytes.size(), 17u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 4, bytes.begin() + 17), head);
    EXPECT_EQ(U32At(bytes, 0), bytes.size());
    EXPECT_EQ(F32At(bytes, 17), 4.0f);
    EXPECT_EQ(U32At(bytes, 21), 2u); // textures
    const std::vector<uint8_t> textures = {6, 'a', '.', 'p', 'n', 'g', 0, 1, 0};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 25, bytes.begin() + 34), textures);
    EXPECT_EQ(U32At(bytes, 34), 2u); // blocks
    // Block 0: "simple", flags 1, textures 0/1, scale 1 1 1, still, one frame.
    size_t at = 38;
    EXPECT_EQ(bytes[at], 7);
    at += 8;
    EXPECT_EQ(U32At(bytes, at), 1u);
    EXPECT_EQ(U32At(bytes, at + 8), 1u);
    EXPECT_EQ(F32At(bytes, at + 12), 1.0f);
    EXPECT_EQ(bytes[at + 24], 0);
    EXPECT_EQ(F32At(bytes, at + 25), 1.0f);
    EXPECT_EQ(F32At(bytes, at + 25 + 24), 1.0f); // w
    at += 25 + 28;
    // Block 1: "strong", animated: the byte 1 and two frames.
    EXPECT_EQ(bytes[at], 7);
    at += 8;
    EXPECT_EQ(bytes[at + 24], 1);
    EXPECT_EQ(F32At(bytes, at + 25 + 28 + 8), 9.0f);
    at += 25 + 56;
    // Neighbours: block 0 below [] above [1]; block 1 below [0] above [].
    const std::vector<uint8_t> neighbours = {0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + static_cast<long>(at), bytes.end()), neighbours);
}

TEST(LevelGeometryWriter, RejectsLevelsTheGameCannotPlay) {
    struct Case {
        const char* what;
        std::function<void(LevelGeometry&)> damage;
    };
    const Case cases[] = {
        {"diffuse index at the texture count", [](LevelGeometry& l) { l.blocks[0].diffuseTexture = 2; }},
        {"opacity index beyond the textures", [](LevelGeometry& l) { l.blocks[1].opacityTexture = 7; }},
        {"neighbour beyond the blocks",
         [](LevelGeometry& l) {
             l.blocks[0].above = {1, 2};
         }},
        {"a block resting on itself", [](LevelGeometry& l) { l.blocks[0].below = {0}; }},
        {"below without the mirrored above", [](LevelGeometry& l) { l.blocks[0].above.clear(); }},
        {"above without the mirrored below", [](LevelGeometry& l) { l.blocks[1].below.clear(); }},
        {"a cycle",
         [](LevelGeometry& l) {
             l.blocks[0].below = {1};
             l.blocks[1].above = {0};
         }},
        {"an animated block without key frames",
         [](LevelGeometry& l) {
             l.keyFrameCount = 0;
             l.blocks[1].keyFrames.clear();
         }},
        {"an animated block short of K frames", [](LevelGeometry& l) { l.blocks[1].keyFrames.pop_back(); }},
        {"a still block with two frames", [](LevelGeometry& l) { l.blocks[0].keyFrames.push_back({}); }},
        {"a rotation that is no unit quaternion",
         [](LevelGeometry& l) { l.blocks[0].keyFrames[0].rotation[3] = 2; }},
        {"an empty type name", [](LevelGeometry& l) { l.blocks[0].type.clear(); }},
        {"more blocks than the collision world holds",
         [](LevelGeometry& l) {
             LevelBlock lone;
             lone.type = "x";
             lone.keyFrames = {{}};
             l.blocks.assign(784, lone);
         }},
    };
    EXPECT_NO_THROW(LevelGeometryWriter::Check(TwoBlockLevel()));
    for (const Case& c : cases) {
        LevelGeometry level = TwoBlockLevel();
        c.damage(level);
        EXPECT_THROW(LevelGeometryWriter::Write(level), FormatError) << c.what;
        LevelGeometryFaults faults;
        faults.skipChecks = true;
        EXPECT_NO_THROW(LevelGeometryWriter::Write(level, faults)) << c.what;
    }
}

TEST(LevelGeometryWriter, FaultKnobsShapeTheFixture) {
    LevelGeometryFaults faults;
    faults.blockCount = 1000000;
    faults.textureCount = 3;
    faults.animatedByte = 0x7F;
    faults.truncateBy = 5;
    faults.sizeDelta = 1;
    const std::vector<uint8_t> full = LevelGeometryWriter::Write(TwoBlockLevel());
    const std::vector<uint8_t> bytes = LevelGeometryWriter::Write(TwoBlockLevel(), faults);
    ASSERT_EQ(bytes.size(), full.size() - 5);
    EXPECT_EQ(U32At(bytes, 0), bytes.size() + 1);
    EXPECT_EQ(U32At(bytes, 21), 3u);
    EXPECT_EQ(U32At(bytes, 34), 1000000u);
    EXPECT_EQ(bytes[38 + 8 + 24 + 1 + 28 + 8 + 24], 0x7F); // block 1's animated byte
}

TEST(FieldWriter, WritesCountAndWallsOfEightyEightBytes) {
    FieldWall wall;
    wall.min = {-50, 0, 0};
    wall.max = {50, 100, 10};
    wall.transform[3] = 7; // translation x
    const std::vector<uint8_t> bytes = FieldWriter::Write({wall, FieldWall{}});
    ASSERT_EQ(bytes.size(), 17u + 2 * 88);
    EXPECT_EQ(U32At(bytes, 0), bytes.size());
    EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 9), "VBVBF");
    EXPECT_EQ(U32At(bytes, 9), 100u);
    EXPECT_EQ(U32At(bytes, 13), 2u);
    EXPECT_EQ(F32At(bytes, 17), -50.0f);
    EXPECT_EQ(F32At(bytes, 17 + 16), 100.0f);
    EXPECT_EQ(F32At(bytes, 17 + 24), 1.0f);
    EXPECT_EQ(F32At(bytes, 17 + 24 + 12), 7.0f);
    EXPECT_EQ(F32At(bytes, 17 + 24 + 60), 1.0f);

    FieldWall inverted;
    inverted.min = {0, 1, 0};
    EXPECT_THROW(FieldWriter::Write({inverted}), FormatError);
    FieldFaults faults;
    faults.skipChecks = true;
    faults.wallCount = 0x7FFFFFFF;
    const std::vector<uint8_t> huge = FieldWriter::Write({inverted}, faults);
    EXPECT_EQ(U32At(huge, 13), 0x7FFFFFFFu);
}
