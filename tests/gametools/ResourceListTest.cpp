// ctest-label: gametools
// Resource lists walked into a DataKeeper: names from groups, loops and counters, the language filter, the
// attributes each kind reads, queued jobs against objects made at once, and lists that cannot be read.
#include "gametools/DataKeeper.h"

#include "engine/core/Error.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderUser.h"
#include "gametools/TexturePack.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tools/formats/BinaryWriter.h"
#include "tools/formats/TexturePackWriter.h"

#include <gtest/gtest.h>

using namespace GameTools;

namespace {

class ResourceLists : public testing::Test {
protected:
    void SaveList(const std::string& diskName, const std::string& text) {
        services.data.Save(diskName, std::vector<uint8_t>(text.begin(), text.end()));
    }
    std::vector<std::string> QueuedNames(const DataKeeper& keeper) const {
        std::vector<std::string> names;
        for (const DataKeeperEntry* job : keeper.GetJobQueue())
            names.push_back(job->name);
        return names;
    }

    VelmoraTest::ModelServices services{"lists"};
};

TEST(SubstituteCounters, ReplacesTheFirstTokenOfEachCounterAtEveryOccurrence) {
    struct Case {
        std::string text;
        std::vector<std::string> names;
        std::vector<uint32_t> values;
        std::string expected;
    };
    const Case cases[] = {
        {"tree_%i3%.mlf", {"i"}, {7}, "tree_007.mlf"},
        {"level%i%", {"i"}, {7}, "level7"},
        {"%i%_%j2%", {"i", "j"}, {3, 4}, "3_04"},
        {"%i%", {"i", "i"}, {1, 2}, "1"},             // the outer counter is substituted first
        {"open_%i2", {"i"}, {5}, "open_%i2"},         // no closing mark: unchanged
        {"%i2%-%i3%-%i2%", {"i"}, {5}, "05-%i3%-05"}, // only the token found first
        {"plain", {}, {}, "plain"},
        {"%i1234%", {"i"}, {9}, std::string(63, '0').substr(1) + "9"}, // padding stops at 63 characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataKeeper::SubstituteCounters(c.text, c.names, c.values), c.expected) << c.text;
}

TEST_F(ResourceLists, QueuedWalkNamesGroupsLoopsAndFiltersLanguages) {
    SaveList("lists/res.xml", R"(<resources>
  <blocks>
    <loop start="2" count="5">
      <model name="brick%i%" file_name="brick_%i2%.mlf" color_verticies="1" animation_speed="12.5"/>
    </loop>
    <loop counter="k" count="2"><loop counter="j" start="1" count="2">
      <particles name="fx_%k%_%j2%" file_name="fx\fx%k%.psf" temporary_textures="1"/>
    </loop></loop>
    <loop start="3" count="3"><model name="never"/></loop>
  </blocks>
  <model><shader name="plain"/></model>
  <shader name="ru_only" language="ru"/>
  <shader name="en_only" language="en" diffuse_file_name="a%i%.png" opacity_file_name="32bit"
          animation_type="net" net_size="4 2" frame_count="8" animation_speed="3" clamp="0"/>
  <texture_pack name="icons" file_name="..\ui\icons.tpf"/>
  <unknown name="ignored"/>
</resources>)");
    DataKeeper keeper("en");
    keeper.LoadResourceList("data\\lists\\res.xml", false);
    const std::vector<std::string> expected = {"blocks/brick2",  "blocks/brick3",  "blocks/brick4",
                                               "blocks/fx_0_01", "blocks/fx_1_01", "model/plain",
                                               "en_only",        "icons"};
    ASSERT_EQ(QueuedNames(keeper), expected);
    const std::vector<DataKeeperEntry*>& jobs = keeper.GetJobQueue();

    EXPECT_EQ(jobs[1]->kind, DataKeeperEntry::KindModel);
    EXPECT_EQ(jobs[1]->fileName, "lists\\brick_03.mlf");
    EXPECT_TRUE(jobs[1]->vertexColors);
    EXPECT_TRUE(jobs[1]->speedGiven);
    EXPECT_EQ(jobs[1]->animationSpeed, 12.5f);
    EXPECT_FALSE(jobs[1]->temporaryTextures);
    EXPECT_EQ(jobs[4]->kind, DataKeeperEntry::KindParticleSystem);
    EXPECT_EQ(jobs[4]->fileName, "lists\\fx\\fx1.psf");
    EXPECT_TRUE(jobs[4]->temporaryTextures);
    EXPECT_EQ(jobs[7]->kind, DataKeeperEntry::KindTexturePack);
    EXPECT_EQ(jobs[7]->fileName, "ui\\icons.tpf");
    EXPECT_FALSE(jobs[7]->keep);

    // A shader with nothing but its name: no images, clamped, still, one frame.
    ASSERT_EQ(jobs[5]->kind, DataKeeperEntry::KindShaderUser);
    ASSERT_NE(jobs[5]->description, nullptr);
    const OrvexEngine::ShaderStage& plain = jobs[5]->description->stages[0];
    EXPECT_EQ(plain.animationKind, 0u);
    EXPECT_TRUE(plain.colorImage.empty());
    EXPECT_EQ(plain.addressU, 0);
    EXPECT_LE(plain.frameCount, 1u);

    const OrvexEngine::ShaderStage& net = jobs[6]->description->stages[0];
    EXPECT_EQ(net.animationKind, 1u);
    EXPECT_EQ(net.columns, 4u);
    EXPECT_EQ(net.rows, 2u);
    EXPECT_EQ(net.frameCount, 8u);
    EXPECT_EQ(net.speed, 3.0f);
    EXPECT_EQ(net.addressU, 1);
    EXPECT_NE(net.colorImage.find("a%i%.png"), std::string::npos); // no counter outside a loop
    EXPECT_EQ(jobs[6]->description->flags & 1u, 1u);               // "32bit": opacity from the alpha
    EXPECT_TRUE(services.log.Texts().empty() || !services.log.Contains("DataKeeper"));
}

TEST_F(ResourceLists, MadeAtOnceObjectsAreRegisteredUnderTheirNames) {
    VbFormats::TexturePackWriter::Save(services.data.Path("ui/packs/icons.tpf"), {{"star", {{}}}});
    SaveList("ui/res.xml", R"(<resources><ui>
  <model name="box" file_name="missing.mlf" animation_speed="7"/>
  <shader name="flat"/>
  <texture_pack name="icons" file_name="packs\icons.tpf"/>
  <particles name="smoke" file_name="missing.psf"/>
  <shader name="flat"/>
</ui></resources>)");
    {
        DataKeeper keeper("en");
        keeper.LoadResourceList("data\\ui\\res.xml", true);
        EXPECT_TRUE(keeper.GetJobQueue().empty());
        OrvexEngine::Model* box = keeper.GetModel("ui/box");
        EXPECT_EQ(box->animationControl->speed, 7.0f);
        EXPECT_NE(box, keeper.GetModel("missing")); // not the keeper's default
        keeper.GetShaderUser("ui/flat");
        keeper.GetParticleSystem("ui/smoke");
        TexturePack* pack = keeper.GetTexturePack("ui/icons");
        EXPECT_EQ(pack->GetName(), "ui\\packs\\icons.tpf");
        EXPECT_NE(pack->GetFrames("star"), nullptr);
        EXPECT_FALSE(services.log.Contains("There is no \"ui/"));
        EXPECT_TRUE(services.log.Contains("Shader User \"ui/flat\" is duplicated"));
    }
    EXPECT_EQ(services.shaders->GetShaderUserCount(), 0u);
}

TEST_F(ResourceLists, UnreadableListsAreFatalAndNegativeLoopsWalkNothing) {
    DataKeeper keeper("en");
    EXPECT_THROW(keeper.LoadResourceList("data\\none.xml", false), OrvexEngine::FatalError);
    EXPECT_TRUE(services.log.Contains("PROGRAM ABORTING: Failed to open"));
    SaveList("broken.xml", "<resources><model name=\"a\"></resources>");
    EXPECT_THROW(keeper.LoadResourceList("data\\broken.xml", false), OrvexEngine::FatalError);
    EXPECT_TRUE(services.log.Contains("XML format error"));

    SaveList("loops.xml", R"(<resources><loop count="-1"><model name="m%i%"/></loop>
<loop start="-2" count="2"><model name="n%i%"/></loop><model name="last"/></resources>)");
    keeper.LoadResourceList("data\\loops.xml", false);
    EXPECT_EQ(QueuedNames(keeper), std::vector<std::string>{"last"});
    EXPECT_TRUE(services.log.Contains("negative start or count"));
}

} // namespace
