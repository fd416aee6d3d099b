// ctest-label: gameplay
// The level's data files read back after the tools wrote them: level geometry with the block database and
// its substring rule, the field and its box, the lighting file; and a table of damaged files, each of which
// must end the program with a file error's text instead of crashing or allocating what the file claims.
#include "game/play/Environment.h"
#include "game/play/GameField.h"
#include "game/play/GameLogicData.h"
#include "game/play/Lighting.h"

#include "engine/core/Error.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderUser.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLValue.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tools/formats/FieldWriter.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VbFormats::FieldFaults;
using VbFormats::FieldWriter;
using VbFormats::LevelBlock;
using VbFormats::LevelGeometry;
using VbFormats::LevelGeometryFaults;
using VbFormats::LevelGeometryWriter;

namespace {

void SaveText(const VelmoraTest::DataFolder& data, const std::string& name, const std::string& text) {
    data.Save(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string Name(GameTools::XMLNode* node) {
    return node->GetAttribute("name", 0)->AsString();
}

LevelBlock Block(const std::string& type, float x) {
    LevelBlock block;
    block.type = type;
    block.keyFrames = {{{x, 0, 0}, {0, 0, 0, 1}}};
    return block;
}

// Three blocks: "Simple_A" on the field carrying an animated "strong_b"; "brick_red" beside them.
LevelGeometry SampleLevel() {
    LevelGeometry level;
    level.keyFrameCount = 3;
    level.animationSpeed = 2.5f;
    level.textures = {"a.png", "", "b.png"};
    LevelBlock base = Block("Simple_A", 0);
    base.flags = 1;
    base.scale = {-1, 2, 3};
    base.diffuseTexture = 2;
    base.opacityTexture = 0;
    base.above = {1};
    LevelBlock top = Block("strong_b", 0);
    top.animated = true;
    top.opacityTexture = 1;
    top.keyFrames = {{{0, 0, 4}, {0, 0, 0, 1}}, {{1, 0, 4}, {0, 0, 1, 0}}, {{2, 0, 4}, {0, 0, 0, 1}}};
    top.below = {0};
    level.blocks = {base, top, Block("brick_red", 10)};
    return level;
}

class LevelData : public testing::Test {
protected:
    LevelData() {
        SaveText(services.data, "game_objects/blocks/brick.xml", "<block strength=\"1\"/>");
        SaveText(services.data, "game_objects/blocks/Brick_Red.XML",
                 "<block name=\"other\" strength=\"0\"/>");
        SaveText(services.data, "game_objects/blocks/simple_a.xml", "<block fragment_count=\"2\"/>");
        SaveText(services.data, "game_objects/blocks/strong_b.xml",
                 "<block collision_model=\"1\"><shader frame_count=\"8\" animation_speed=\"12\"/></block>");
        SaveText(services.data, "game_objects/blocks/unused_c.xml", "<block fragment_count=\"3\"/>");
    }

    void SaveLevel(const LevelGeometry& level, const LevelGeometryFaults& faults = {}) {
        services.data.Save("levels_geometry/00_02.vbg", LevelGeometryWriter::Write(level, faults));
    }

    VelmoraTest::ModelServices services{"leveldata"};
};

} // namespace

TEST_F(LevelData, GeometryRoundTripThroughTheWriter) {
    SaveLevel(SampleLevel());
    GameLogicData data("en", "00_02.vbg");
    EXPECT_FALSE(data.Load(5));
    EXPECT_TRUE(data.GetBlockDescriptors().empty());
    ASSERT_TRUE(data.Load(~0u));

    EXPECT_EQ(data.GetKeyFrameCount(), 3u);
    EXPECT_FLOAT_EQ(data.GetAnimationSpeed(), 2.5f);
    // The database in path order, each entry named after its file, lower-cased, whatever the file said.
    std::vector<std::string> names;
    for (GameTools::XMLNode* entry : data.GetBlockDatabase())
        names.push_back(Name(entry));
    EXPECT_EQ(names, (std::vector<std::string>{"brick", "brick_red", "simple_a", "strong_b", "unused_c"}));

    const std::vector<BlockDescriptor*>& blocks = data.GetBlockDescriptors();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(Name(blocks[0]->type), "simple_a"); // the type name is lower-cased before the search
    EXPECT_EQ(Name(blocks[1]->type), "strong_b");
    EXPECT_EQ(Name(blocks[2]->type), "brick"); // "brick" occurs in "brick_red" and comes first
    EXPECT_EQ(blocks[0]->flags, 1u);
    EXPECT_FLOAT_EQ(blocks[0]->scale.x, -1);
    EXPECT_FLOAT_EQ(blocks[0]->scale.z, 3);
    ASSERT_EQ(blocks[0]->keyFrames.size(), 1u);
    ASSERT_EQ(blocks[1]->keyFrames.size(), 3u);
    EXPECT_FLOAT_EQ(blocks[1]->keyFrames[2].position.x, 2);
    EXPECT_FLOAT_EQ(blocks[1]->keyFrames[1].rotation.z, 1);
    EXPECT_FLOAT_EQ(blocks[1]->keyFrames[1].rotation.w, 0);
    EXPECT_FLOAT_EQ(blocks[2]->keyFrames[0].position.x, 10);
    EXPECT_EQ(blocks[0]->blocksAbove, (std::vector<uint16_t>{1}));
    EXPECT_EQ(blocks[1]->blocksBelow, (std::vector<uint16_t>{0}));
    EXPECT_TRUE(blocks[2]->blocksBelow.empty());

    // Materials: one per block, the texture names below the blocks' texture folder, an empty opacity
    // entry giving none; the type's shader element makes an animated diffuse sequence.
    const ShaderUser& still = *blocks[0]->material;
    ASSERT_EQ(still.stageCount, 1u);
    EXPECT_EQ(still.stages[0].animationKind, AnimationStill);
    EXPECT_NE(still.stages[0].colorImage.find("game_objects\\blocks\\textures\\b.png"), std::string::npos);
    EXPECT_NE(still.stages[0].opacityImage.find("game_objects\\blocks\\textures\\a.png"), std::string::npos);
    const ShaderUser& animated = *blocks[1]->material;
    EXPECT_EQ(animated.stages[0].animationKind, AnimationColorSequence);
    EXPECT_EQ(animated.stages[0].frameCount, 8u);
    EXPECT_FLOAT_EQ(animated.stages[0].speed, 12);
    EXPECT_TRUE(animated.stages[0].opacityImage.empty());

    // Models under their fixed names for the used types only, and the ten common fragments always.
    Model* fallback = data.GetModel("no such model");
    for (const char* name :
         {"geometry/simple_a/model", "geometry/simple_a/fragments/00", "geometry/simple_a/fragments/01",
          "geometry/strong_b/model", "geometry/strong_b/collision_model", "geometry/brick/model",
          "geometry/fragments/common/00", "geometry/fragments/common/09"})
        EXPECT_NE(data.GetModel(name), fallback) << name;
    for (const char* name :
         {"geometry/unused_c/model", "geometry/unused_c/fragments/00", "geometry/simple_a/collision_model",
          "geometry/brick_red/model", "geometry/simple_a/fragments/02"})
        EXPECT_EQ(data.GetModel(name), fallback) << name;
    EXPECT_EQ(data.GetModel("geometry/strong_b/collision_model")->name,
              "game_objects\\blocks\\models\\strong_b_collision.mlf");
    EXPECT_EQ(data.GetModel("geometry/fragments/common/07")->name,
              "game_objects\\blocks\\models\\fragments\\common\\fragment_7.mlf");
}

TEST_F(LevelData, DamagedGeometryEndsTheProgramWithAFileError) {
    struct Case {
        const char* what;
        std::function<void(LevelGeometry&, LevelGeometryFaults&)> damage;
        const char* text; // part of the fatal text
    };
    const Case cases[] = {
        {"wrong magic", [](LevelGeometry&, LevelGeometryFaults& f) { f.magic = "VBVBF"; }, "file format"},
        {"size one off", [](LevelGeometry&, LevelGeometryFaults& f) { f.sizeDelta = 1; }, "file format"},
        {"other version", [](LevelGeometry&, LevelGeometryFaults& f) { f.version = 104; },
         "format version (104)"},
        {"cut in the neighbours", [](LevelGeometry&, LevelGeometryFaults& f) { f.truncateBy = 3; },
         "Failed to read"},
        {"cut in a key frame", [](LevelGeometry&, LevelGeometryFaults& f) { f.truncateBy = 40; },
         "00_02.vbg"},
        {"unknown type", [](LevelGeometry& l, LevelGeometryFaults&) { l.blocks[2].type = "Zzz"; },
         "Can't find block \"zzz\" in database"},
        {"diffuse index at the texture count",
         [](LevelGeometry& l, LevelGeometryFaults&) { l.blocks[1].diffuseTexture = 3; }, "file format"},
        {"opacity index far beyond",
         [](LevelGeometry& l, LevelGeometryFaults&) { l.blocks[0].opacityTexture = 0xFFFFFFFF; },
         "file format"},
        {"neighbour index at the block count",
         [](LevelGeometry& l, LevelGeometryFaults&) { l.blocks[2].below = {3}; }, "file format"},
        {"animated block without key frames",
         [](LevelGeometry& l, LevelGeometryFaults&) {
             l.keyFrameCount = 0;
             l.blocks[1].keyFrames.clear();
         },
         "file format"},
        {"huge key-frame count", [](LevelGeometry& l, LevelGeometryFaults&) { l.keyFrameCount = 0x40000000; },
         "file format"},
        {"huge block count", [](LevelGeometry&, LevelGeometryFaults& f) { f.blockCount = 0x7FFFFFFF; },
         "file format"},
        {"huge texture count", [](LevelGeometry&, LevelGeometryFaults& f) { f.textureCount = 0xFFFFFFFF; },
         "file format"},
        {"blocks resting on each other in a cycle",
         [](LevelGeometry& l, LevelGeometryFaults&) {
             l.blocks[0].below = {1};
             l.blocks[1].above = {0};
         },
         "file format"},
        {"neighbour list longer than the file",
         [](LevelGeometry& l, LevelGeometryFaults& f) {
             l.blocks[2].above.assign(5, 0);
             f.truncateBy = 6;
         },
         "file format"},
    };
    for (const Case& c : cases) {
        LevelGeometry level = SampleLevel();
        LevelGeometryFaults faults;
        faults.skipChecks = true;
        c.damage(level, faults);
        SaveLevel(level, faults);
        GameLogicData data("en", "00_02.vbg");
        try {
            data.Load(~0u);
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const FatalError& error) {
            EXPECT_NE(error.GetText().find(c.text), std::string::npos) << c.what << ": " << error.GetText();
        }
        EXPECT_TRUE(services.log.Contains("PROGRAM ABORTING: ")) << c.what;
    }
    GameLogicData missing("en", "07_07.vbg");
    EXPECT_THROW(missing.Load(GameLogicData::FirstOwnStep), FatalError);
}

TEST_F(LevelData, BrokenBlockDescriptionIsFatal) {
    SaveLevel(SampleLevel());
    SaveText(services.data, "game_objects/blocks/zz_broken.xml", "<block strength=\"1\"");
    GameLogicData data("en", "00_02.vbg");
    EXPECT_THROW(data.Load(~0u), FatalError);
}

TEST(Field, BoxesFromTheFieldFile) {
    VelmoraTest::ModelServices services("field");
    VbFormats::FieldWall wall;
    wall.min = {-50, 0, 0};
    wall.max = {50, 100, 10};
    VbFormats::FieldWall turned = wall; // a quarter turn about z, moved 200 along x
    turned.transform = {0, -1, 0, 200, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    struct Case {
        const char* what;
        std::vector<VbFormats::FieldWall> walls;
        Vec3 min, max;
    };
    const Case cases[] = {
        {"no walls", {}, {-200, -200, -200}, {200, 200, 200}},
        {"one wall", {wall}, {-50, -40, -1000}, {50, 100, 1000}},
        {"a turned wall adds its world box", {wall, turned}, {-50, -90, -1000}, {200, 100, 1000}},
    };
    for (const Case& c : cases) {
        services.data.Save("environment/field.vbf", FieldWriter::Write(c.walls));
        GameField field("field.vbf");
        ASSERT_EQ(field.GetWalls().size(), c.walls.size()) << c.what;
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(field.GetFieldBox().GetWorldMin()[axis], c.min[axis], 1e-3f) << c.what;
            EXPECT_NEAR(field.GetFieldBox().GetWorldMax()[axis], c.max[axis], 1e-3f) << c.what;
        }
    }
    GameField field("field.vbf");
    EXPECT_FLOAT_EQ(field.GetWalls()[1].localBox.GetLocalMax().y, 100);
    EXPECT_NEAR(field.GetWalls()[1].worldBox.GetWorldMin().x, 100, 1e-3f);
    EXPECT_FLOAT_EQ(field.GetWalls()[1].transform[3], 200);
}

TEST(Field, DamagedFieldFilesAreFatal) {
    VelmoraTest::ModelServices services("fieldfaults");
    const VbFormats::FieldWall wall;
    struct Case {
        const char* what;
        FieldFaults faults;
    };
    std::vector<Case> cases(5);
    cases[0] = {"huge wall count", {}};
    cases[0].faults.wallCount = 0x7FFFFFFF;
    cases[1] = {"one wall too many", {}};
    cases[1].faults.wallCount = 3;
    cases[2] = {"cut short", {}};
    cases[2].faults.truncateBy = 8;
    cases[3] = {"wrong magic", {}};
    cases[3].faults.magic = "VBVBG";
    cases[4] = {"other version", {}};
    cases[4].faults.version = 101;
    for (const Case& c : cases) {
        services.data.Save("environment/field.vbf", FieldWriter::Write({wall, wall}, c.faults));
        EXPECT_THROW(GameField("field.vbf"), FatalError) << c.what;
    }
    EXPECT_THROW(GameField("none.vbf"), FatalError);
    EXPECT_TRUE(services.log.Contains("PROGRAM ABORTING: "));
}

TEST(LightingFile, TokensInTheirOrder) {
    VelmoraTest::ModelServices services("lighting");
    SaveText(services.data, "environment/lighting/lighting.ini", "128 128 128 0");
    {
        Lighting lighting("lighting.ini");
        EXPECT_TRUE(lighting.GetLights().empty());
        const Vec4& ambient = services.lights->GetAmbient();
        EXPECT_NEAR(ambient.x, 0.50196f, 1e-5f);
        EXPECT_NEAR(ambient.z, 0.50196f, 1e-5f);
        EXPECT_FLOAT_EQ(ambient.w, 0);
        EXPECT_FLOAT_EQ(lighting.GetShadowDirection().x, 0.70710677f);
        EXPECT_FLOAT_EQ(lighting.GetShadowDirection().y, -0.70710677f);
    }
    // Two lights promised, one and a half given: the second takes zeros for its missing tokens, a third is
    // never made past the end of the file.
    SaveText(services.data, "environment/lighting/lighting.ini",
             "// sun and fill\n0 0 255\n3\n1 2 3  255 0 0  0 255 0  0 0 255  1 0.5 0.25\n"
             "// fill\n-4 -5 -6  51 51\n");
    Lighting lighting("lighting.ini");
    ASSERT_EQ(lighting.GetLights().size(), 2u);
    const Light& sun = *lighting.GetLights()[0];
    EXPECT_EQ(sun.type, LightPoint);
    EXPECT_FLOAT_EQ(sun.position.z, 3);
    EXPECT_FLOAT_EQ(sun.ambient.x, 1);
    EXPECT_FLOAT_EQ(sun.ambient.w, 0);
    EXPECT_FLOAT_EQ(sun.diffuse.y, 1);
    EXPECT_FLOAT_EQ(sun.specular.z, 1);
    EXPECT_FLOAT_EQ(sun.attenuation[1], 0.5f);
    EXPECT_FLOAT_EQ(sun.attenuation[2], 0.25f);
    const Light& fill = *lighting.GetLights()[1];
    EXPECT_FLOAT_EQ(fill.position.x, -4);
    EXPECT_FLOAT_EQ(fill.ambient.y, 0.2f);
    EXPECT_FLOAT_EQ(fill.ambient.z, 0);
    EXPECT_FLOAT_EQ(fill.attenuation[0], 0);
    EXPECT_FLOAT_EQ(services.lights->GetAmbient().z, 1);
    lighting.ReleaseLights();
    EXPECT_TRUE(lighting.GetLights().empty());
}

TEST(LightingFile, MissingFileAndNegativeCountAreFatal) {
    VelmoraTest::ModelServices services("lightingfaults");
    EXPECT_THROW(Lighting("lighting.ini"), FatalError);
    SaveText(services.data, "environment/lighting/lighting.ini", "10 10 10 -2 1 2 3");
    EXPECT_THROW(Lighting("lighting.ini"), FatalError);
    EXPECT_TRUE(services.log.Contains("PROGRAM ABORTING: "));
}

TEST(EnvironmentFile, SceneryFromTheDescription) {
    VelmoraTest::ModelServices services("environment");
    GameTools::DataKeeper keeper("en");
    keeper.AddModel("scenery/hill", services.models->NewBoxModel({-1, -1, 0}, {1, 1, 2}, nullptr, nullptr,
                                                                 ModelLit | ModelVertexColors));
    ShaderDescriptor glass;
    glass.AddFlags(ShaderFlagAlphaBlend);
    keeper.AddShaderUser("scenery/glass", services.shaders->CreateShaderUser(glass, false));
    SaveText(services.data, "environment/meadow.xml", R"(<environment>
  <model name="scenery/hill" shader="scenery/glass" depth="30" lighting="1" color="0.5 0.25 1 0.75"/>
  <model name="scenery/hill" animation_speed="7"/>
  <model name="scenery/hill" lighting="0"/>
  <model shader="scenery/glass"/>
  <tree name="scenery/hill"/>
</environment>)");
    {
        Environment environment(&keeper, "meadow");
        ASSERT_EQ(environment.GetModels().size(), 3u);
        const Model& glassy = *environment.GetModels()[0];
        EXPECT_NEAR(glassy.sortDepth, -5.3f, 1e-5f);
        const uint32_t wanted = ModelSecondList | ModelFixedSortDepth | ModelNoDepthWrite;
        EXPECT_EQ(glassy.GetFlags() & wanted, wanted);
        EXPECT_EQ(glassy.GetFlags() & ModelLit, 0u); // transparent: unlit whatever the description says
        EXPECT_NEAR(glassy.GetColor().y, 0.25f, 1e-2f);
        EXPECT_NEAR(glassy.GetColor().w, 0.75f, 1e-2f);
        const Model& plain = *environment.GetModels()[1];
        EXPECT_NE(plain.GetFlags() & ModelLit, 0u);
        EXPECT_EQ(plain.GetFlags() & ModelFixedSortDepth, 0u);
        EXPECT_FLOAT_EQ(plain.animationControl->speed, 7);
        EXPECT_TRUE(plain.animationControl->loop);
        EXPECT_TRUE(plain.animationControl->playing);
        EXPECT_EQ(environment.GetModels()[2]->GetFlags() & ModelLit, 0u);
    }
    Environment bare(&keeper, "desert"); // no description: logged, no scenery
    EXPECT_TRUE(bare.GetModels().empty());
    EXPECT_TRUE(services.log.Contains("desert.xml"));
}
