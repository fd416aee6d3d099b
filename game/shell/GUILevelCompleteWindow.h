// The window after a won level: the player's time against the level's ace time and the best time on
// record with its holder, and the time bonus, 20 points for every whole second under the ace time, counted
// up into the player's score once its value has faded in; the button goes on to the next level or to the
// end of the stage. The game creates the one window with its windows; the application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

#include <cstdint>
#include <string>

namespace GameFramework {
class ProfileBase;
class ProfileManagerBase;
} // namespace GameFramework

namespace VelmoraBall {

class GUILevelCompleteWindow : public GameFramework::GUILevelCompleteWindowBase, public GUIMenuWindow {
public:
    static constexpr int ResultStageComplete = 21;
    static constexpr int ResultNextLevel = 13;
    static constexpr int CountSound = 4;            // looped while the bonus runs up
    static constexpr uint32_t PointsPerSecond = 20; // of the time under the ace time
    static constexpr float CountDelay = 0.2f;       // seconds after the bonus has faded in
    static constexpr float CountRate = 18;          // bonus seconds counted per second
    static constexpr int32_t DefaultAceTime = 60;   // seconds, for a level the list does not know

    GUILevelCompleteWindow(GameFramework::AudioPlayer* audioPlayer,
                           GameFramework::LevelManagerBase* levelManager,
                           GameFramework::ProfileManagerBase* profileManager,
                           GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                           GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent);

    // Serves both bases: counts the bonus up while the window is on screen; the button adds what is left
    // of it and sets the result. The profile is saved as soon as the whole bonus is in its score.
    void Update() override;
    using GUILevelCompleteWindowBase::Show;
    using GUIMenuWindow::Show;
    // Each opening counts the bonus again from 0. The flow has submitted the player's time already; should
    // no best time be on record, the player's own time and name stand for it.
    void Show(int newMode, const GameFramework::LevelPosition& passed, float levelTime) override;
    void Hide() override;

    // "M:SS" of the time truncated to whole seconds.
    static std::wstring FormatTime(uint32_t seconds);
    // Whole seconds of a level time; a negative time counts 0.
    static uint32_t WholeSeconds(float seconds);

    int32_t GetAceTime() const { return aceTime; }
    uint32_t GetBonusCounted() const { return bonusCounted; }

private:
    GameFramework::ProfileBase* CurrentProfile() const;
    bool HasBonus() const;
    uint32_t FullBonus() const;
    // Adds the points beyond those counted so far to the profile's score and shows them.
    void CountTo(uint32_t points);
    // Saves the profile once the whole bonus is in its score.
    void SaveWhenComplete();

    GameFramework::LevelManagerBase* levels = nullptr;     // not owned: the game's level list
    GameFramework::ProfileManagerBase* profiles = nullptr; // not owned
    // The texts belong to the description (not owned); each is null when the description lacks it.
    GUITools::GUITextControl* yourTimeText = nullptr;
    GUITools::GUITextControl* aceTimeText = nullptr;
    GUITools::GUITextControl* timeBonusText = nullptr;
    GUITools::GUITextControl* timeBonusLabel = nullptr;
    GUITools::GUITextControl* noTimeBonusLabel = nullptr;
    GUITools::GUITextControl* bestTimeText = nullptr;
    GUITools::GUITextControl* bestTimeLabel0 = nullptr;
    GUITools::GUITextControl* bestTimeLabel1 = nullptr;
    OrvexEngine::GUIButton* button = nullptr; // not owned; never null: a missing one is a hidden stand-in
    int32_t aceTime = DefaultAceTime;         // seconds
    float countClock = 0;                     // seconds since the bonus has faded in
    uint32_t bonusCounted = 0;                // points already added to the score
    bool bonusSaved = false;                  // the profile has been saved with the whole bonus
};

} // namespace VelmoraBall
