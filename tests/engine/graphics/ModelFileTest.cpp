// ctest-label: models
#include "engine/graphics/ModelFile.h"

#include "engine/core/Error.h"
#include "tests/engine/graphics/ModelFixtures.h"
#include "tools/formats/FormatError.h"

#include <gtest/gtest.h>

using namespace OrvexEngine;
using VbFormats::ModelDescription;
using VbFormats::ModelFaults;
using VbFormats::ModelWriter;

namespace {

class ModelFileTest : public testing::Test {
protected:
    // Writes the model as "models/<name>.mlf" and reads it back.
    ModelFileContents WriteAndRead(const ModelDescription& model, const ModelFaults& faults = {},
                                   uint32_t extraFlags = 0) {
        data.Save("models/test.mlf", ModelWriter::Write(model, faults));
        ModelFileContents contents;
        ModelFile::Read("models\\test.mlf", extraFlags, contents);
        return contents;
    }
    std::string ErrorOf(const ModelDescription& model, const ModelFaults& faults) {
        try {
            WriteAndRead(model, faults);
        } catch (const FileError& error) {
            return error.GetText();
        }
        return "no error";
    }

    VelmoraTest::TestLog log;
    VelmoraTest::DataFolder data;
};

TEST_F(ModelFileTest, StaticModelKeepsVerticesIndicesAndBox) {
    const ModelFileContents contents = WriteAndRead(VelmoraTest::QuadModel(0.5f));
    EXPECT_EQ(contents.version, 202u);
    EXPECT_EQ(contents.flags, 0x422C9u);
    EXPECT_EQ(contents.frameCount, 1u);
    EXPECT_EQ(contents.indices, (std::vector<uint32_t>{0, 1, 2, 2, 3, 0}));
    ASSERT_EQ(contents.vertexCount, 4u);
    ASSERT_EQ(contents.vertices.size(), 4u);
    // The file stores texture coordinates, normal, position: each must land in its own field.
    EXPECT_EQ(contents.vertices[2].position, Vec3(1, 1, 0.5f));
    EXPECT_EQ(contents.vertices[2].normal, Vec3(0, 0, 1));
    EXPECT_EQ(contents.vertices[2].uv, Vec2(1, 1));
    EXPECT_EQ(contents.box.GetLocalMin(), Vec3(-1, -1, 0.5f));
    EXPECT_EQ(contents.box.GetLocalMax(), Vec3(1, 1, 0.5f));
}

TEST_F(ModelFileTest, VertexAnimatedModelKeepsFramesAndOneBoxPerFrame) {
    const ModelFileContents contents = WriteAndRead(VelmoraTest::AnimatedQuad(3, 12));
    EXPECT_EQ(contents.frameCount, 3u);
    EXPECT_FLOAT_EQ(contents.speed, 12);
    ASSERT_EQ(contents.vertices.size(), 12u);
    EXPECT_EQ(contents.vertices[2 * 4 + 0].position, Vec3(1, -1, 0)); // frame 2, vertex 0
    ASSERT_EQ(contents.frameBoxes.size(), 3u);
    EXPECT_EQ(contents.frameBoxes[2].GetLocalMax(), Vec3(3, 1, 0));
    EXPECT_EQ(contents.box.GetLocalMin(), Vec3(-1, -1, 0)); // frame box 0
}

TEST_F(ModelFileTest, SkinnedModelOfEitherVersion) {
    ModelDescription v202 = VelmoraTest::SkinnedQuad(4, 10);
    v202.bones[1].pivot = {0.5f, 0.25f, 0};
    v202.bones[1].boundsExclusion = 1;
    const ModelFileContents contents = WriteAndRead(v202);
    ASSERT_TRUE(contents.skeleton);
    ASSERT_EQ(contents.skeleton->boneCount, 2);
    EXPECT_EQ(contents.skeleton->GetBone(1).name, "upper");
    EXPECT_EQ(contents.skeleton->GetBone(1).pivot, Vec3(0.5f, 0.25f, 0));
    EXPECT_EQ(contents.skeleton->GetBone(1).boundsExclusion, 1);
    EXPECT_EQ(contents.skeleton->GetBone(1).box.GetLocalMin(), Vec3(-1, 0, -0.1f));
    EXPECT_EQ(contents.keys.size(), 2u * 4u * 10u);
    EXPECT_FLOAT_EQ(contents.keys[(3 * 2 + 1) * 10 + 2], 3); // frame 3, bone 1, position z
    ASSERT_EQ(contents.influences.size(), 4u);
    EXPECT_EQ(contents.influences[3].count, 1);
    EXPECT_EQ(contents.influences[3].influences[0].bone, 1);
    EXPECT_EQ(contents.influences[3].influences[0].position, Vec3(-1, 1, 0));
    EXPECT_EQ(contents.skinnedUvs[2], Vec2(1, 1));
    EXPECT_TRUE(contents.vertices.empty());

    // Version 201 has no pivots: the same content reads with pivots (0, 0, 0).
    ModelDescription v201 = VelmoraTest::SkinnedQuad(4, 10, 201);
    const ModelFileContents old = WriteAndRead(v201);
    EXPECT_EQ(old.version, 201u);
    EXPECT_EQ(old.skeleton->GetBone(1).pivot, Vec3(0, 0, 0));
    EXPECT_EQ(old.keys, contents.keys);
    EXPECT_EQ(old.influences[3].influences[0].position, contents.influences[3].influences[0].position);
}

TEST_F(ModelFileTest, IndexWidthFollowsTheCount) {
    for (uint32_t count : {65535u, 65536u}) {
        ModelDescription model = VelmoraTest::QuadModel();
        model.indices.clear();
        for (uint32_t i = 0; i < count; ++i)
            model.indices.push_back(i % 4);
        const std::vector<uint8_t> bytes = ModelWriter::Write(model);
        const size_t indexBytes = count <= 65535 ? 2 : 4;
        EXPECT_EQ(bytes.size(), 13 + 4 + 8 + count * indexBytes + 4 * 32 + 24) << count;
        const ModelFileContents contents = WriteAndRead(model);
        ASSERT_EQ(contents.indices.size(), count);
        EXPECT_EQ(contents.indices[count - 1], (count - 1) % 4);
    }
}

TEST_F(ModelFileTest, FlagsMergeBeforeTheBodyIsRead) {
    // Drawing flags leave the parse alone.
    ModelFileContents contents = WriteAndRead(VelmoraTest::QuadModel(), {}, 0x800000);
    EXPECT_EQ(contents.flags, 0x422C9u | 0x800000u);
    EXPECT_EQ(contents.vertices.size(), 4u);

    // Flags 0 everywhere: the vertex-buffer bit alone, no vertex block, one box.
    ModelDescription bare = VelmoraTest::QuadModel();
    bare.flags = 0;
    bare.vertices.clear();
    bare.vertexCount = 4;
    contents = WriteAndRead(bare);
    EXPECT_EQ(contents.flags, 0x200000u);
    EXPECT_EQ(contents.vertexCount, 4u);
    EXPECT_TRUE(contents.vertices.empty());
    EXPECT_EQ(contents.box.GetLocalMax(), Vec3(1, 1, 0));

    // A one-frame animated file read with the static bit: 0x1 wins the vertex block, 0x2 still reads the
    // frame boxes.
    contents = WriteAndRead(VelmoraTest::AnimatedQuad(1, 5), {}, 0x1);
    EXPECT_EQ(contents.vertices.size(), 4u);
    EXPECT_EQ(contents.frameBoxes.size(), 1u);
}

TEST_F(ModelFileTest, BrokenFilesFailWithTheirTexts) {
    const std::string format = "Incorrect \"models\\test.mlf\" file format";
    const std::string version = "Incorrect \"models\\test.mlf\" format version, current is 202";
    const ModelDescription quad = VelmoraTest::QuadModel();
    ModelDescription wrongVersion = quad;
    wrongVersion.version = 203;
    ModelDescription oldVersion = quad;
    oldVersion.version = 200;
    ModelDescription badIndex = quad;
    badIndex.indices[4] = 4;
    ModelDescription noFrames = VelmoraTest::AnimatedQuad(1, 1);
    noFrames.frameCount = 0;
    ModelDescription manyInfluences = VelmoraTest::SkinnedQuad(2, 1);
    manyInfluences.skinnedVertices[1].influences.resize(5);
    ModelDescription foreignBone = VelmoraTest::SkinnedQuad(2, 1);
    foreignBone.skinnedVertices[2].influences[0].bone = 2;
    ModelDescription manyBones = VelmoraTest::SkinnedQuad(2, 1);
    manyBones.bones.resize(0xFFFF);
    // Vertices times frames times 32 bytes wraps around 64 bits to nothing.
    ModelDescription hugeAnimation = VelmoraTest::AnimatedQuad(1, 1);
    hugeAnimation.frameCount = 0x80000000;

    const ModelFaults unchecked{.skipChecks = true};
    struct Case {
        const char* what;
        ModelDescription model;
        ModelFaults faults;
        std::string text;
    };
    const Case cases[] = {
        {"size one over", quad, {.sizeDelta = 1}, format},
        {"size one under", quad, {.sizeDelta = -1}, format},
        {"magic", quad, {.magic = "OEMLG"}, format},
        {"version 203", wrongVersion, unchecked, version},
        {"version 200", oldVersion, unchecked, version},
        {"index not below the vertex count", badIndex, unchecked, format},
        {"animated without frames", noFrames, unchecked, format},
        {"five influences", manyInfluences, unchecked, format},
        {"influence on a missing bone", foreignBone, unchecked, format},
        {"more bones than the file holds", manyBones, unchecked, format},
        {"vertex count beyond the file", quad, {.vertexCount = 0x10000000}, format},
        {"frames times vertices beyond any file",
         hugeAnimation,
         {.skipChecks = true, .vertexCount = 0x80000000},
         format},
        {"truncated in the bounds",
         quad,
         {.truncateBy = 8},
         "Failed to read 4 bytes from \"" + data.root.string() + "\\data\\models\\test.mlf\" file"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.model, c.faults), c.text) << c.what;
}

TEST_F(ModelFileTest, MissingFileFailsWithTheFileLayersText) {
    ModelFileContents contents;
    try {
        ModelFile::Read("models\\absent.mlf", 0, contents);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(error.GetText().find("Failed to open"), std::string::npos) << error.GetText();
        EXPECT_NE(error.GetText().find("absent.mlf"), std::string::npos) << error.GetText();
    }
}

TEST(ModelWriterTest, RefusesWhatTheReaderWouldReject) {
    ModelDescription badIndex = VelmoraTest::QuadModel();
    badIndex.indices[0] = 9;
    ModelDescription fewKeys = VelmoraTest::SkinnedQuad(3, 1);
    fewKeys.keys.pop_back();
    ModelDescription missingBoxes = VelmoraTest::AnimatedQuad(3, 1);
    missingBoxes.boxes.pop_back();
    for (const ModelDescription& model : {badIndex, fewKeys, missingBoxes})
        EXPECT_THROW(ModelWriter::Write(model), VbFormats::FormatError);
}

} // namespace
