// The engine's GUI manager for tests of GUI elements, registered as the single instance and set to the
// game's 800 x 600 virtual screen (or the size given). It needs the camera and model services (and, for
// sounds, the sound manager) to exist first; one per test, deleted before them.
#pragma once

#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUICursor.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScroll.h"
#include "engine/gui/GUISoundManager.h"

namespace VelmoraTest {

class TestGuiManager final : public OrvexEngine::GUIManager {
public:
    explicit TestGuiManager(float width = 800, float height = 600) {
        Instance(this);
        SetScreenSize(width, height);
    }
};

} // namespace VelmoraTest
