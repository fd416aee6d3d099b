// ctest-label: materials
// The texture manager over a recording render system: keys, sharing and reference counts, the ageing of
// on-demand textures across frames, and the statistics.
#include "engine/graphics/TextureManager.h"
#include "engine/core/Config.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureImage.h"
#include "tests/support/MaterialRenderSystem.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

using namespace OrvexEngine;
using VelmoraTest::RecordingTexture;

namespace {

class Textures : public testing::Test {
protected:
    VelmoraTest::TestLog log;
    Config config{"", "textures", false, "800x600x32", false, false};
    Config* registered = Config::Instance(&config);
    VelmoraTest::MaterialRenderSystem renderSystem;
    TextureManager manager;
};

} // namespace

TEST(TextureKeys, CaseFoldedNamesAndTheirParts) {
    struct Case {
        const char* diffuse;
        const char* opacity;
        bool mip;
        const char* key;
    } cases[] = {
        {"Data\\Tex\\Wall.JPG", "", true, "diffuse_data\\tex\\wall.jpg_with_mip_mapping"},
        {"a.png", "Data\\Mask.BMP", true, "diffuse_a.png_plus_opacity_data\\mask.bmp_with_mip_mapping"},
        {"a.png", "", false, "diffuse_a.png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextureManager::MakeTextureKey(c.diffuse, c.opacity, c.mip), c.key);
}

TEST_F(Textures, SharedByKeyAndCounted) {
    Texture2D* first = manager.GetTexture(false, "Data\\Tex\\Wall.JPG", "", false);
    Texture2D* second = manager.GetTexture(true, "data\\tex\\wall.jpg", "", true);
    ASSERT_EQ(first, second);
    EXPECT_EQ(first->refCount, 2);
    EXPECT_EQ(first->name,
              "diffuse_data\\tex\\wall.jpg_with_mip_mapping"); // always asks for
                                                               // mip levels
    EXPECT_FALSE(first->onDemand);                             // the first request decides
    EXPECT_EQ(first->image->diffuseName,
              "Data\\Tex\\Wall.JPG"); // the file keeps its spelling
    EXPECT_EQ(renderSystem.loaded.size(), 1u);
    EXPECT_EQ(manager.GetTextureCount(), 1u);

    Texture2D* masked = manager.GetTexture(false, "data\\tex\\wall.jpg", "mask.bmp", false);
    EXPECT_NE(masked, first);
    EXPECT_EQ(manager.GetTextureCount(), 2u);

    manager.ReleaseTexture(first);
    EXPECT_EQ(manager.GetTextureCount(), 2u);
    EXPECT_EQ(first->refCount, 1);
    manager.ReleaseTexture(second); // the last reference: deleted (ASan sees any later use)
    EXPECT_EQ(manager.GetTextureCount(), 1u);

    Texture2D* again = manager.GetTexture(false, "data\\tex\\wall.jpg", "", false);
    EXPECT_EQ(again->refCount, 1);
    EXPECT_EQ(renderSystem.loaded.size(), 3u);

    // Null and strangers, even one filed under the same name, change nothing.
    manager.ReleaseTexture(nullptr);
    RecordingTexture stranger(again->name, "x.png", "", false, false);
    manager.ReleaseTexture(&stranger);
    EXPECT_EQ(again->refCount, 1);
    EXPECT_EQ(manager.GetTextureCount(), 2u);
    // The destructor deletes what is left whatever its references.
}

TEST_F(Textures, OnDemandSurfacesGoAfterThreeUnusedFrames) {
    auto* kept = static_cast<RecordingTexture*>(manager.GetTexture(false, "kept.png", "", false));
    auto* lazy = static_cast<RecordingTexture*>(manager.GetTexture(false, "lazy.png", "", true));
    auto* never = static_cast<RecordingTexture*>(manager.GetTexture(false, "never.png", "", true));
    kept->Bind();

    // Frame F binds the texture (as a material's Apply does), after the manager's update of that frame.
    manager.Update();
    renderSystem.SetTexture(0, lazy);
    lazy->framesUnused = 0;
    ASSERT_TRUE(lazy->surface);
    for (int frame = 1; frame <= 3; ++frame) {
        manager.Update();
        EXPECT_TRUE(lazy->surface) << "frame F+" << frame;
    }
    manager.Update(); // F+4
    EXPECT_FALSE(lazy->surface);
    EXPECT_EQ(lazy->releases, 1);
    EXPECT_EQ(lazy->memoryBytes, 0u);

    // Bound again: made again.
    renderSystem.SetTexture(0, nullptr);
    renderSystem.SetTexture(0, lazy);
    lazy->framesUnused = 0;
    EXPECT_EQ(lazy->creations, 2);

    // Never bound: counts without effect; the textures that are not on demand never age.
    EXPECT_EQ(never->framesUnused, 5u);
    EXPECT_EQ(never->releases, 0);
    EXPECT_TRUE(kept->surface);
    EXPECT_EQ(kept->framesUnused, 0u);
}

TEST_F(Textures, StatisticsInKeyOrder) {
    Texture2D* b = manager.GetTexture(false, "b.png", "", false);
    Texture2D* a = manager.GetTexture(false, "a.png", "", false);
    Texture2D* c = manager.GetTexture(false, "c.png", "", true);
    a->memoryBytes = 349524;
    b->memoryBytes = 1000;
    c->memoryBytes = 24;
    EXPECT_EQ(manager.GetUsedVideoMemory(), 350548u);
    std::vector<Texture2D*> list{c};
    manager.ListTextures(list);
    EXPECT_EQ(list, (std::vector<Texture2D*>{a, b, c}));
    manager.DeleteAll();
    EXPECT_EQ(manager.GetTextureCount(), 0u);
    EXPECT_EQ(manager.GetUsedVideoMemory(), 0u);
}
