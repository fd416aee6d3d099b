// The hammer bonus: a hammer drawn over the field follows the GUI cursor, leaning with it, and each click
// swings it; when the swing lands, the block under the cursor takes a super hit with chain explosion. Six
// strikes per bonus. One per level, built and deleted by the level in play, which also writes its paused
// flag.
#pragma once

#include "engine/math/Ray.h"
#include "engine/math/Vector.h"

namespace OrvexEngine {
class GUIWindow;
class Model;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

class Block;
class GameGeometry;

class Hammer {
public:
    static constexpr int ClipSwing = 0;  // frames 0..4, down to the strike
    static constexpr int ClipBack = 1;   // frames 4..9
    static constexpr float Height = 300; // above the GUI plane, in GUI units
    static constexpr int SoundHammer = 30;

    // The model "hammer/model" comes from the keeper; it is drawn with the GUI camera at the depth of the
    // in-game overlay window (at depth 0 without one).
    Hammer(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* keeper, GameGeometry* geometry,
           const OrvexEngine::GUIWindow* overlay);
    Hammer(const Hammer&) = delete;
    Hammer& operator=(const Hammer&) = delete;
    virtual ~Hammer();

    // Nothing for 0; a hammer without charges appears.
    void AddCharges(int count);
    // A click: starts a swing when the hammer stands idle; a click during a swing is ignored.
    void Strike();
    // No charges, hidden, at the start of the swing (also when a life is lost).
    void Reset();
    // Once a frame; the fade is not used (the level's paused flag stops the hammer).
    void Update(float fade);

    // The block the segment (start, end minus start) meets first: the nearest triangle hit, else the first
    // block whose box it meets; null when none. Blocks no longer alive are candidates too.
    Block* FindTarget(const OrvexEngine::Ray& segment) const;

    void SetPaused(bool value) { paused = value; }
    bool IsPaused() const { return paused; }
    int GetCharges() const { return charges; }
    bool IsVisible() const;
    OrvexEngine::Model* GetModel() const { return model; }

private:
    // The landed swing's hit on the block under the cursor.
    void HitUnderCursor(const OrvexEngine::Vec2& cursor);
    bool StoppedAtEndOf(int clip) const;

    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    GameTools::DataKeeper* keeper = nullptr;           // not owned
    GameGeometry* geometry = nullptr;                  // not owned
    OrvexEngine::Model* model = nullptr;               // owned, registered
    int charges = 0;
    bool paused = false;
};

} // namespace VelmoraBall
