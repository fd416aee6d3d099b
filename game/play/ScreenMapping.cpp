#include "game/play/ScreenMapping.h"

#include "engine/core/Window.h"
#include "engine/gui/GUIManager.h"

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr float fourThirds = 4.0f / 3.0f;

struct Frame {
    float width = 0; // client pixels
    float height = 0;
    float guiWidth = 0;
    float guiHeight = 0;
    bool wide = false; // the GUI is a centred band of the width
    bool tall = false; // the GUI is a centred band of the height
    float ratio = 1;   // desktop aspect over 4:3
};

bool Read(Frame& frame) {
    const Window* window = Window::Instance();
    const GUIManager* gui = GUIManager::Instance();
    if (window == nullptr || gui == nullptr || window->width == 0 || window->height == 0)
        return false;
    frame.width = static_cast<float>(window->width);
    frame.height = static_cast<float>(window->height);
    frame.guiWidth = gui->GetScreenWidth();
    frame.guiHeight = gui->GetScreenHeight();
    if (frame.guiWidth <= 0 || frame.guiHeight <= 0)
        return false;
    // The same bands the mouse is mapped through, so that a point lands where the cursor is drawn.
    if (window->fullscreen) {
        frame.wide = window->wideDesktop;
        frame.tall = !frame.wide && window->tallDesktop;
        frame.ratio = window->desktopAspect / fourThirds;
    }
    return true;
}

} // namespace

Vec2 ScreenMapping::GuiToPixel(const Vec2& gui) {
    Frame f;
    if (!Read(f))
        return gui;
    Vec2 pixel(gui.x / f.guiWidth * f.width, gui.y / f.guiHeight * f.height);
    if (f.wide) {
        pixel.x = (pixel.x + (f.ratio - 1) * f.width / 2) / f.ratio;
    } else if (f.tall) {
        const float fromTop = (f.height - pixel.y + (1 - f.ratio) * f.height / 2) * f.ratio;
        pixel.y = f.height - fromTop;
    }
    return pixel;
}

Vec2 ScreenMapping::PixelToGui(const Vec2& pixel) {
    Frame f;
    if (!Read(f))
        return pixel;
    Vec2 mapped = pixel;
    if (f.wide) {
        mapped.x = f.ratio * pixel.x - (f.ratio - 1) * f.width / 2;
    } else if (f.tall) {
        const float fromTop = (f.height - pixel.y) / f.ratio - (1 - f.ratio) * f.height / 2;
        mapped.y = f.height - fromTop;
    }
    return Vec2(mapped.x / f.width * f.guiWidth, mapped.y / f.height * f.guiHeight);
}

} // namespace VelmoraBall
