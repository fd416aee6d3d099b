#include "game/shell/GUILevelCompleteWindow.h"

#include "engine/core/StringUtils.h"
#include "engine/core/TimerManager.h"
#include "engine/gui/GUIButton.h"
#include "framework/AudioPlayer.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "game/shell/LevelManager.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIWindowControl.h"

#include <algorithm>
#include <limits>

namespace VelmoraBall {

namespace {

// Above this alpha the bonus counts as faded in.
constexpr float FadedIn = 0.9999f;

} // namespace

GUILevelCompleteWindow::GUILevelCompleteWindow(GameFramework::AudioPlayer* audioPlayer,
                                               GameFramework::LevelManagerBase* levelManager,
                                               GameFramework::ProfileManagerBase* profileManager,
                                               GameTools::DataKeeper* dataKeeper,
                                               GUITools::GUIToolManager* toolManager,
                                               GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUILevelCompleteWindowBase(levelManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_level_complete"),
      levels(levelManager), profiles(profileManager) {
    const std::string prefix = GetName() + "/window/";
    yourTimeText = GetTextControl(prefix + "your_time");
    aceTimeText = GetTextControl(prefix + "ace_time");
    timeBonusText = GetTextControl(prefix + "time_bonus");
    timeBonusLabel = GetTextControl(prefix + "time_bonus_static");
    noTimeBonusLabel = GetTextControl(prefix + "no_time_bonus_static");
    bestTimeText = GetTextControl(prefix + "best_time");
    bestTimeLabel0 = GetTextControl(prefix + "best_time_static_0");
    bestTimeLabel1 = GetTextControl(prefix + "best_time_static_1");
    button = GetButton(prefix + "button_0");
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, false);
}

uint32_t GUILevelCompleteWindow::WholeSeconds(float seconds) {
    // Also keeps a time beyond the counter's range (or not a number) from overflowing the conversion.
    if (!(seconds > 0))
        return 0;
    if (seconds >= static_cast<float>(std::numeric_limits<uint32_t>::max()))
        return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(seconds);
}

std::wstring GUILevelCompleteWindow::FormatTime(uint32_t seconds) {
    return OrvexEngine::UIntToTextW(seconds / 60) + L":" + OrvexEngine::UIntToTextW(seconds % 60, 2);
}

GameFramework::ProfileBase* GUILevelCompleteWindow::CurrentProfile() const {
    return profiles != nullptr ? profiles->GetCurrentProfile() : nullptr;
}

bool GUILevelCompleteWindow::HasBonus() const {
    return time < static_cast<float>(aceTime);
}

uint32_t GUILevelCompleteWindow::FullBonus() const {
    if (!HasBonus())
        return 0;
    return (static_cast<uint32_t>(aceTime) - WholeSeconds(time)) * PointsPerSecond;
}

void GUILevelCompleteWindow::Show(int newMode, const GameFramework::LevelPosition& passed, float levelTime) {
    GUILevelCompleteWindowBase::Show(newMode, passed, levelTime);
    if (animatedTitleMount != nullptr)
        SetControlEnabled(animatedTitleMount, true);

    const uint32_t seconds = WholeSeconds(levelTime);
    if (yourTimeText != nullptr)
        yourTimeText->SetText(FormatTime(seconds));
    const auto* record =
        levels != nullptr ? dynamic_cast<const GameLevelInfo*>(levels->GetLevel(passed)) : nullptr;
    // A negative ace time in the level list would give a bonus for any time; it counts as none.
    aceTime = record != nullptr ? std::max(record->aceTime, 0) : DefaultAceTime;
    if (aceTimeText != nullptr)
        aceTimeText->SetText(FormatTime(static_cast<uint32_t>(aceTime)));
    if (timeBonusText != nullptr)
        timeBonusText->SetText(L"0");

    const bool bonus = HasBonus();
    if (timeBonusText != nullptr)
        SetControlEnabled(timeBonusText, bonus);
    if (timeBonusLabel != nullptr)
        SetControlEnabled(timeBonusLabel, bonus);
    if (noTimeBonusLabel != nullptr)
        SetControlEnabled(noTimeBonusLabel, !bonus);

    GameFramework::ProfileBase* profile = CurrentProfile();
    std::wstring holder;
    float bestTime = 0;
    const bool recorded =
        profiles != nullptr &&
        profiles->FindBestResult(passed, profile != nullptr ? profile->tableKey : 0, holder, bestTime);
    if (!recorded) {
        // The flow submits the time before it opens the window; without a record (the index could not take
        // it) the player's own result is the best one known.
        holder = profile != nullptr ? profile->name : std::wstring();
        bestTime = levelTime;
    }
    if (bestTimeText != nullptr)
        bestTimeText->SetText(FormatTime(WholeSeconds(bestTime)));
    for (GUITools::GUITextControl* label : {bestTimeLabel0, bestTimeLabel1})
        if (label != nullptr)
            label->SetVariable(L"PROFILE_NAME", L"\"" + holder + L"\"");

    GUIMenuWindow::Show(true);
    countClock = 0;
    bonusCounted = 0;
    bonusSaved = false;
}

void GUILevelCompleteWindow::Hide() {
    GUILevelCompleteWindowBase::Hide();
    if (animatedTitleMount != nullptr)
        SetControlEnabled(animatedTitleMount, false);
    GUIMenuWindow::Show(false);
    if (audioPlayer != nullptr)
        audioPlayer->StopSound(CountSound);
}

void GUILevelCompleteWindow::CountTo(uint32_t points) {
    const uint32_t increment = points - bonusCounted;
    if (increment == 0)
        return;
    bonusCounted = points;
    if (timeBonusText != nullptr)
        timeBonusText->SetText(OrvexEngine::UIntToTextW(points));
    if (GameFramework::ProfileBase* profile = CurrentProfile())
        profile->scoreTotal += increment;
}

void GUILevelCompleteWindow::SaveWhenComplete() {
    // The whole bonus reaches the profile's file at once rather than with whatever save comes next: quitting
    // during the next level must not lose it.
    if (bonusSaved || bonusCounted == 0 || bonusCounted != FullBonus())
        return;
    bonusSaved = true;
    if (GameFramework::ProfileBase* profile = CurrentProfile())
        profile->Save();
}

void GUILevelCompleteWindow::Update() {
    GUILevelCompleteWindowBase::Update();
    if (!IsVisible())
        return;

    if (HasBonus()) {
        // Without its value on screen the bonus counts from the window's appearance.
        const bool shown = timeBonusText == nullptr || timeBonusText->fadeValue > FadedIn;
        const OrvexEngine::TimerManager* timers = OrvexEngine::TimerManager::Instance();
        if (shown && timers != nullptr)
            countClock += timers->frameTime;
        const float bonusSeconds = static_cast<float>(static_cast<uint32_t>(aceTime) - WholeSeconds(time));
        const float counted = std::min(std::max(countClock - CountDelay, 0.0f) * CountRate, bonusSeconds);
        const uint32_t points = static_cast<uint32_t>(counted * static_cast<float>(PointsPerSecond));
        const uint32_t before = bonusCounted;
        CountTo(points);
        SaveWhenComplete();
        if (audioPlayer != nullptr) {
            if (bonusCounted != before) {
                if (audioPlayer->GetSoundState(CountSound) != 0)
                    audioPlayer->PlaySound(CountSound);
            } else if (audioPlayer->GetSoundState(CountSound) == 0) {
                audioPlayer->StopSound(CountSound);
            }
        }
    }

    if (!button->clicked)
        return;
    // Going on completes the count at once.
    CountTo(FullBonus());
    SaveWhenComplete();
    const GameFramework::StageInfo* stage = levels != nullptr ? levels->GetStage(position.stage) : nullptr;
    result =
        stage != nullptr && position.level + 1 == stage->levelCount ? ResultStageComplete : ResultNextLevel;
}

} // namespace VelmoraBall
