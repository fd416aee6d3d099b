// The game's mouse cursor: the framework's cursor with one type (the program's system cursor 1000 and a
// 40-unit custom cursor image), a particle trail that follows it in the menus and a burst at every click.
// The game creates the one cursor during initialisation, makes its effects once the game's data has
// loaded, switches the trail on in the menus and off in play, and deletes it with itself.
#pragma once

#include "framework/GUIGameCursorBase.h"

namespace GameTools {
class DataKeeper;
}

namespace OrvexEngine {
class ParticleSystem;
}

namespace VelmoraBall {

class GUIGameCursor : public GameFramework::GUIGameCursorBase {
public:
    static constexpr int CursorType = 0;
    static constexpr int SystemCursorResource = 1000;

    // Starts with the system cursor whatever the settings file held for "ui_custom_cursor".
    GUIGameCursor();
    // Releases the trail and the click effect.
    ~GUIGameCursor() override;

    // Moves the trail and fires the click burst (both only while the trail is enabled), then the base's
    // update.
    void Update() override;
    // Hiding always stops the trail; showing restarts it only while it is enabled.
    void SetVisible(bool visible) override;

    // Registered copies of the keeper's "ui/cursor_train" and "ui/cursor_click", drawn in GUI space.
    void CreateEffects(GameTools::DataKeeper* dataKeeper);
    // Whether the trail is wanted (menus) or not (play); before CreateEffects only the wish is kept.
    void SetTrailVisible(bool visible);

    bool IsTrailEnabled() const { return trailEnabled; }
    OrvexEngine::ParticleSystem* GetTrail() const { return trail; }
    OrvexEngine::ParticleSystem* GetClickEffect() const { return clickEffect; }

private:
    void ReleaseEffects();

    OrvexEngine::ParticleSystem* trail = nullptr;       // owned, through the particle-system manager
    OrvexEngine::ParticleSystem* clickEffect = nullptr; // owned, through the particle-system manager
    bool trailEnabled = true;
};

} // namespace VelmoraBall
