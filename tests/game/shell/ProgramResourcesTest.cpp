// ctest-label: shell
// The program's own cursor: the generated arrow (a 32 x 32 picture whose tip is its top-left pixel) handed to
// the platform gives the window a cursor of its own for id 1000, while unknown ids and broken bytes leave
// the system arrow.
#include "game/shell/ProgramResources.h"

#include "engine/core/Window.h"
#include "engine/files/FileBinary.h"
#include "engine/graphics/Image.h"
#include "platform/win/WindowCursor.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"
#include "tools/gen/ExeResources.h"

#include <gtest/gtest.h>

#include <memory>

using namespace OrvexEngine;

TEST(ProgramResources, TheGeneratedArrowIsOpaqueAtItsTipAndClearInTheFarCorner) {
    const std::vector<VbGen::ExeResource> resources = VbGen::ProgramResources();
    ASSERT_EQ(resources.size(), 1u);
    EXPECT_EQ(resources[0].id, 1000u);
    EXPECT_EQ(resources[0].kind, "cursor");

    VelmoraTest::TestLog log;
    Image image;
    FileBinary file("cursor.png", false, 0, uint32_t(resources[0].bytes.size()), resources[0].bytes.data(),
                    false);
    image.ReadPNG(file, "cursor.png", true);
    ASSERT_EQ(image.width, 32u);
    ASSERT_EQ(image.height, 32u);
    ASSERT_EQ(image.bitsPerPixel, 32u);
    // Rows are kept bottom-up: the top-left pixel is the first of the last row.
    EXPECT_EQ(image.Row(31)[3], 255) << "the hot spot lies on the arrow";
    EXPECT_EQ(image.Row(0)[31 * 4 + 3], 0);
    // Outline dark, body light: both kinds of pixel exist.
    int dark = 0, light = 0;
    for (uint32_t y = 0; y < 32; ++y)
        for (uint32_t x = 0; x < 32; ++x) {
            const uint8_t* p = image.Row(y) + x * 4;
            if (p[3] == 255)
                (p[0] < 64 ? dark : light) += 1;
        }
    EXPECT_GT(dark, 20);
    EXPECT_GT(light, 40);
}

TEST(ProgramResources, AnInstalledCursorGivesTheWindowItsOwnHandle) {
    platform::sim::Reset();
    VelmoraTest::TestLog log;
    auto window = std::make_unique<Window>("t", 0, 0, 800, 600, false, true, Vec2i());
    const platform::CursorHandle arrow = window->LoadCursor(999);
    EXPECT_EQ(window->LoadCursor(1001), arrow) << "an id the program never registered is the arrow";

    const std::vector<uint8_t> png = VbGen::SystemCursorPng();
    EXPECT_TRUE(VelmoraBall::InstallCursorResource(1000, png.data(), png.size()));
    const platform::CursorHandle own = window->LoadCursor(1000);
    EXPECT_NE(own, arrow);
    EXPECT_NE(own, 0u);
    window->SetCursor(own);
    EXPECT_EQ(platform::GetCurrentCursor(), own);
    window->SetCursor(arrow);
    EXPECT_EQ(platform::GetCurrentCursor(), arrow);

    // Bytes that are no picture register nothing.
    const uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(VelmoraBall::InstallCursorResource(1002, junk, sizeof(junk)));
    EXPECT_FALSE(VelmoraBall::InstallCursorResource(1003, nullptr, 0));
    EXPECT_EQ(window->LoadCursor(1002), arrow);
    window.reset();
    platform::sim::Reset();
}
