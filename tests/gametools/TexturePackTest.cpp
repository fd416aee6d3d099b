// ctest-label: gametools
// Texture packs read from files made by the pack writer: frames as stored, the material beside the pack,
// every failure passed on as a plain Error with the material given back, and the default pack.
#include "gametools/TexturePack.h"

#include "engine/core/Error.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderUser.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tools/formats/MaterialWriter.h"
#include "tools/formats/TexturePackWriter.h"

#include <gtest/gtest.h>

using namespace GameTools;
using VbFormats::TexturePackFaults;
using VbFormats::TexturePackTexture;

namespace {

class TexturePacks : public testing::Test {
protected:
    void SavePack(const std::string& name, const std::vector<TexturePackTexture>& textures,
                  const TexturePackFaults& faults = {}) {
        services.data.Save(name, VbFormats::TexturePackWriter::Write(textures, faults));
    }

    std::vector<TexturePackTexture> TwoTextures() {
        TexturePackTexture icons{"icons", {{7, {0.25f, 0.5f}, {0.125f, 0.0625f}, {3, -4}}, {8, {}, {}, {}}}};
        return {icons, {"empty", {}}};
    }

    VelmoraTest::ModelServices services{"packs"};
};

TEST_F(TexturePacks, ReadsFramesAsStoredWithTheMaterialBesideThePack) {
    VbFormats::Material material;
    material.stages.push_back({});
    material.stages[0].colorImage = "ui\\textures\\icons.png";
    VbFormats::MaterialWriter::Save(services.data.Path("ui/textures/icons.srf"), material);
    std::vector<TexturePackTexture> textures = TwoTextures();
    textures.push_back({"Icons", {{9, {}, {}, {}}}}); // letter case makes another texture
    SavePack("ui/textures/icons.tpf", textures);

    {
        TexturePack pack("ui\\textures\\icons.tpf", true);
        EXPECT_EQ(pack.GetName(), "ui\\textures\\icons.tpf");
        ASSERT_NE(pack.GetShaderUser(), nullptr);
        EXPECT_EQ(pack.GetShaderUser()->stageCount, 1u);
        EXPECT_EQ(services.shaders->GetShaderUserCount(), 1u);
        EXPECT_EQ(pack.GetTextures().size(), 3u);

        const TexturePack::FrameList* icons = pack.GetFrames("icons");
        ASSERT_NE(icons, nullptr);
        ASSERT_EQ(icons->size(), 2u);
        const TexturePackFrame& first = *(*icons)[0];
        EXPECT_EQ(first.number, 7u);
        EXPECT_EQ(first.first.x, 0.25f);
        EXPECT_EQ(first.first.y, 0.5f);
        EXPECT_EQ(first.second.x, 0.125f);
        EXPECT_EQ(first.second.y, 0.0625f);
        EXPECT_EQ(first.third.x, 3.0f);
        EXPECT_EQ(first.third.y, -4.0f);
        EXPECT_EQ((*icons)[1]->number, 8u);
        ASSERT_NE(pack.GetFrames("empty"), nullptr);
        EXPECT_TRUE(pack.GetFrames("empty")->empty());
        ASSERT_NE(pack.GetFrames("Icons"), nullptr);
        EXPECT_EQ((*pack.GetFrames("Icons"))[0]->number, 9u);
        EXPECT_EQ(pack.GetFrames("ICONS"), nullptr);
    }
    EXPECT_EQ(services.shaders->GetShaderUserCount(), 0u);
}

TEST_F(TexturePacks, AMissingMaterialFallsBackAndThePackStillLoads) {
    SavePack("bare.tpf", TwoTextures());
    TexturePack pack("bare.tpf", false);
    EXPECT_NE(pack.GetShaderUser(), nullptr);
    EXPECT_EQ(pack.GetTextures().size(), 2u);
}

TEST_F(TexturePacks, FailuresArePlainErrorsAndGiveTheMaterialBack) {
    struct Case {
        const char* what;
        std::vector<TexturePackTexture> textures;
        TexturePackFaults faults;
        std::string text; // expected within the error text
    };
    TexturePackFaults none;
    none.textureCount = 0;
    TexturePackFaults repeated;
    repeated.skipChecks = true;
    TexturePackFaults oldVersion;
    oldVersion.version = 100;
    TexturePackFaults wrongSize;
    wrongSize.sizeDelta = 1;
    TexturePackFaults hugeFrameCount;
    hugeFrameCount.badFrameCount = 1;
    hugeFrameCount.badFrames = 0xFFFFFFF0u;
    TexturePackFaults cutFrame;
    cutFrame.truncateBy = 3;
    const std::vector<Case> cases = {
        {"no textures", TwoTextures(), none, "TexturePack (\"p.tpf\"): No textures in pack"},
        {"repeated name",
         {{"a", {}}, {"b", {}}, {"a", {}}},
         repeated,
         "TexturePack (\"p.tpf \"): Texture \"a\" is dublicated"},
        {"old version", TwoTextures(), oldVersion, "format version (100), current is 101"},
        {"size field", TwoTextures(), wrongSize, "file format"},
        {"frame count beyond the file",
         {{"a", {{}}}, {"b", {{}}}},
         hugeFrameCount,
         "Failed to read 28 bytes"},
        {"cut frame", TwoTextures(), cutFrame, "Failed to read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SavePack("p.tpf", c.textures, c.faults);
        try {
            TexturePack pack("p.tpf", false);
            ADD_FAILURE() << "loaded";
        } catch (const OrvexEngine::FileError&) {
            ADD_FAILURE() << "a FileError escaped";
        } catch (const OrvexEngine::Error& error) {
            EXPECT_NE(error.GetText().find(c.text), std::string::npos) << error.GetText();
        }
        EXPECT_EQ(services.shaders->GetShaderUserCount(), 0u);
    }
    try {
        TexturePack pack("missing.tpf", false);
        ADD_FAILURE() << "loaded";
    } catch (const OrvexEngine::Error& error) {
        EXPECT_NE(error.GetText().find("Failed to open"), std::string::npos) << error.GetText();
    }
    EXPECT_EQ(services.shaders->GetShaderUserCount(), 0u);
}

TEST_F(TexturePacks, TheDefaultPackHoldsOneWholeTextureFrame) {
    OrvexEngine::ShaderDescriptor description;
    {
        TexturePack pack(&description);
        EXPECT_EQ(pack.GetName(), "default");
        EXPECT_EQ(services.shaders->GetShaderUserCount(), 1u);
        ASSERT_EQ(pack.GetTextures().size(), 1u);
        const TexturePack::FrameList* frames = pack.GetFrames("default");
        ASSERT_NE(frames, nullptr);
        ASSERT_EQ(frames->size(), 1u);
        const TexturePackFrame& frame = *(*frames)[0];
        EXPECT_EQ(frame.number, 0u);
        EXPECT_EQ(frame.first.x, 0.0f);
        EXPECT_EQ(frame.first.y, 0.0f);
        EXPECT_EQ(frame.second.x, 1.0f);
        EXPECT_EQ(frame.second.y, 1.0f);
        EXPECT_EQ(frame.third.x, 0.0f);
        EXPECT_EQ(frame.third.y, 0.0f);
    }
    EXPECT_EQ(services.shaders->GetShaderUserCount(), 0u);
}

} // namespace
