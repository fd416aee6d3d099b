// Between GUI units (the 800 x 600 virtual screen, y up) and window pixels (from the client area's bottom
// left, as the camera manager projects and unprojects). In full screen on a desktop wider or taller than
// 4:3 the GUI fills only the centred 4:3 part of the window while the 3D view fills all of it, so the
// mapping goes through that part, as the mouse's does; elsewhere it scales by the whole client area.
#pragma once

#include "engine/math/Vector.h"

namespace VelmoraBall {

class ScreenMapping {
public:
    // Without a window (or with an empty client area) both leave the point as it is.
    static OrvexEngine::Vec2 GuiToPixel(const OrvexEngine::Vec2& gui);
    static OrvexEngine::Vec2 PixelToGui(const OrvexEngine::Vec2& pixel);
};

} // namespace VelmoraBall
