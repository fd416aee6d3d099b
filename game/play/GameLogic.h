// One level in play: builds every object of the level in a fixed order over the loaded level data, prices
// the score events, and runs the level once a frame: the pause fade, the click (launch, fire, hammer), the
// blocks, bat, balls and bonuses, the loss of a life and the end of the game, the completion of the level,
// catching bonuses and their effects, and the cheat keys. Created by the game when a level starts and
// deleted when it is left; deletes what it built in reverse order.
#pragma once

#include "framework/GameLogicBase.h"

#include <memory>
#include <string>

namespace GameTools {
class GameCamera;
}

namespace GUITools {
class GUIFontTool;
class GUITextTool;
class GUIToolManager;
} // namespace GUITools

namespace GameFramework {
class GUIGameCursorBase;
class ProfileManagerBase;
} // namespace GameFramework

namespace VelmoraBall {

class BallManager;
class Barrier;
class Bat;
class BonusManager;
class BulletManager;
class Effects;
class Environment;
class GameData;
class GameField;
class GameGeometry;
class GameLogicData;
class GUIGameLogicTextManager;
class Gun;
class Hammer;
class Lighting;
struct GameLevelInfo;
struct GameStageInfo;

class GameLogic : public GameFramework::GameLogicBase {
public:
    static constexpr int SoundLevelBegin = 5;
    static constexpr int SoundLevelComplete = 6;
    static constexpr int SoundLevelFailed = 7;
    static constexpr int SoundBonusGet = 23;
    static constexpr int ScoreBonusCaught = 0;
    static constexpr uint32_t MaximumLives = 100;
    static constexpr float CompletionDelay = 0.3f; // seconds after the last counted block
    static constexpr int EndLevelBlocks = 8;       // fewer counted blocks left arm the end-level hammer

    // The cursor and the profile manager belong to the game and are not used by the level. The floating texts
    // and the hammer are drawn in the game data's window for in-game overlays (its second extra window).
    GameLogic(GameFramework::GUIGameCursorBase* cursor, GameFramework::ProfileManagerBase* profiles,
              GameFramework::AudioPlayer* audioPlayer, GameData* gameData, GameLogicData* levelData,
              GUITools::GUIToolManager* guiTools, GameStageInfo* stage, GameLevelInfo* level, uint32_t lives);
    ~GameLogic() override;

    // Once a frame while the level exists, also while it is paused or has ended.
    void Update() override;
    void OnCheatKey(bool shift, int key) override;
    // The effect of a caught bonus of the kind (0..10); any other kind does nothing.
    void ApplyBonus(int kind);
    // Some ball is free, not held on the bat.
    bool IsBallInFlight() const;
    // The text key of the floating text shown when a bonus of the kind is caught; empty outside 0..10.
    static std::string GetBonusTextKey(int kind);

    // Set by the in-game display for a left click on the field; consumed by the next update.
    bool click = false;

    float GetFade() const { return fade; }
    float GetCompletionTime() const { return completionTime; }
    GameLevelInfo* GetLevelRecord() const { return levelRecord; }
    GameStageInfo* GetStageRecord() const { return stageRecord; }
    GameTools::GameCamera* GetCamera() const { return camera; }
    GUIGameLogicTextManager* GetTexts() const { return texts; }
    Effects* GetEffects() const { return effects; }
    GameField* GetField() const { return field; }
    Barrier* GetBarrier() const { return barrier; }
    BonusManager* GetBonusManager() const { return bonusManager; }
    GameGeometry* GetGeometry() const { return geometry; }
    Bat* GetBat() const { return bat; }
    BulletManager* GetBulletManager() const { return bulletManager; }
    Gun* GetArbalest() const { return arbalest; }
    Gun* GetBallista() const { return ballista; }
    Hammer* GetHammer() const { return hammer; }
    BallManager* GetBallManager() const { return ballManager; }

private:
    void SetObjectsPaused(bool paused);
    void UpdateLives();
    void CatchBonuses();
    void PlaySound(int id) const;

    GameData* gameData = nullptr;                 // not owned
    GameLogicData* levelData = nullptr;           // not owned
    GUITools::GUIToolManager* guiTools = nullptr; // not owned
    GUITools::GUIFontTool* fontTool = nullptr;    // not owned
    GUITools::GUITextTool* textTool = nullptr;    // not owned
    GameLevelInfo* levelRecord = nullptr;         // not owned
    GameStageInfo* stageRecord = nullptr;         // not owned
    GUIGameLogicTextManager* texts = nullptr;     // owned, like every object below
    GameTools::GameCamera* camera = nullptr;
    Effects* effects = nullptr;
    GameField* field = nullptr;
    Environment* environment = nullptr;
    Lighting* lighting = nullptr;
    Barrier* barrier = nullptr;
    BonusManager* bonusManager = nullptr;
    GameGeometry* geometry = nullptr;
    Bat* bat = nullptr;
    BulletManager* bulletManager = nullptr;
    Gun* arbalest = nullptr;
    Gun* ballista = nullptr;
    Hammer* hammer = nullptr;
    BallManager* ballManager = nullptr;
    float fade = 1;
    float completionTime = 0;
};

} // namespace VelmoraBall
