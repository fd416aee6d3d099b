// A RenderFixture with the engine's scene services and the GUI, for render tests that capture frames.
#pragma once

#include "engine/graphics/Image.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/SceneServices.h"
#include "tests/support/TestGuiManager.h"

#include <cstdint>
#include <memory>

namespace VelmoraTest {

// The engine's scene services over a RenderFixture, with the GUI manager (its virtual screen the size given,
// by default one unit per pixel) drawn in every frame, for render tests of windows and text. The fixture's
// window and render system are made first and deleted last; one per test.
class SceneRenderFixture : public RenderFixture, public SceneServices {
public:
    SceneRenderFixture(uint32_t width, uint32_t height, float guiWidth = 0, float guiHeight = 0)
        : RenderFixture(width, height), SceneServices(*renderSystem),
          gui(std::make_unique<TestGuiManager>(guiWidth > 0 ? guiWidth : float(width),
                                               guiHeight > 0 ? guiHeight : float(height))) {}

    void Frame(OrvexEngine::Image& image) { SceneServices::Frame(image, gui.get()); }

    std::unique_ptr<TestGuiManager> gui; // deleted before the scene services
};

} // namespace VelmoraTest
