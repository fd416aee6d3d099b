#include "game/shell/GUIStartGameLogicWindow.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/TimerManager.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIWindow.h"
#include "framework/LevelManagerBase.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "game/shell/GUIMapElement.h"
#include "game/shell/StageMapFile.h"
#include "gametools/GUIDoubleClickDetecter.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIWindowControl.h"

#include <cmath>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

const char* const mapPath = "data\\ui\\map\\map.gmf";
constexpr float fadeEpsilon = 0.0001f;
// A fade-out sweep that ends this long after the next level's icon has gone starts the cycle again.
constexpr float restartDelay = 1.0f;

bool Before(const GUIMapElement& element, uint32_t stage, uint32_t level) {
    return element.GetStage() < stage || (element.GetStage() == stage && element.GetLevelIndex() < level);
}

bool At(const GUIMapElement& element, uint32_t stage, uint32_t level) {
    return element.GetStage() == stage && element.GetLevelIndex() == level;
}

} // namespace

GUIStartGameLogicWindow::GUIStartGameLogicWindow(GameFramework::AudioPlayer* audioPlayer,
                                                 GameFramework::LevelManagerBase* levelManager,
                                                 GameFramework::ProfileManagerBase* profileManager,
                                                 GameTools::DataKeeper* dataKeeper,
                                                 GUITools::GUIToolManager* toolManager,
                                                 GUIMenuWindowManager* manager, GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_start_game"),
      profileManager(profileManager), detector(std::make_unique<GameTools::GUIDoubleClickDetecter>()) {
    const std::string& own = GetName();
    // The getters log a missing control; the window then does without it.
    if (GUITools::GUIButtonControl* control = GetButtonControl(own + "/window/button_0"))
        backButton = control->button;
    if (GUITools::GUIButtonControl* control = GetButtonControl(own + "/window/button_1"))
        playButton = control->button;
    playTitle = GetTextControl(own + "/window/button_1/title");
    ReadMap(levelManager);
}

GUIStartGameLogicWindow::~GUIStartGameLogicWindow() {
    // The icons unregister from the detector, which goes after them.
    DeletePointerVector(elements);
}

void GUIStartGameLogicWindow::ReadMap(GameFramework::LevelManagerBase* levelManager) {
    // The icons hang below the map picture; without it they are placed in the window's own space.
    GUIWindow* mapWindow = GetRootWindow();
    Vec2 mapPosition(0, 0);
    if (GUITools::GUIWindowControl* control = GetWindowControl(GetName() + "/window")) {
        mapWindow = control->GetWindow();
        mapPosition = control->position;
    }
    std::vector<StageMapElement> read;
    try {
        read = StageMapFile::Read(mapPath);
    } catch (const FileError& error) {
        MessageManager::Instance()->Fatal(error.GetText());
    }
    elements.reserve(read.size());
    for (size_t i = 0; i < read.size(); ++i) {
        const StageMapElement& entry = read[i];
        auto* element = new GUIMapElement(gameData, detector.get(), entry.type, entry.placement, mapPosition,
                                          entry.stage, entry.levelIndex, mapWindow);
        elements.push_back(element);
        // A map that disagrees with the level list would let the selection name a level that does not
        // exist, and starting it would read past the list.
        if (levelManager == nullptr || levelManager->GetLevel({entry.stage, entry.levelIndex}) == nullptr) {
            element->LockOutsideLevelList();
            if (MessageManager* log = MessageManager::Instance())
                log->Error("Stage map: element " + std::to_string(i) + " stands for level " +
                           std::to_string(entry.stage) + "-" + std::to_string(entry.levelIndex) +
                           ", which the level list does not have");
        }
    }
    mapFade = 0;
}

void GUIStartGameLogicWindow::SelectPosition(uint32_t stage, uint32_t level) {
    GameFramework::ProfileBase* profile =
        profileManager != nullptr ? profileManager->GetCurrentProfile() : nullptr;
    if (profile == nullptr)
        return; // the flow opens the map only for a current player
    const GameFramework::LevelPosition furthest = profile->furthestPosition;
    if (stage > furthest.stage) {
        stage = furthest.stage;
        level = furthest.level;
    } else if (stage == furthest.stage && level > furthest.level) {
        level = furthest.level;
    }

    for (GUIMapElement* element : elements) {
        if (element->GetType() == StageMapFile::typePath)
            element->SetCheckPointLook(false);
        element->SetShown(false);
    }
    for (GUIMapElement* element : elements) {
        if (Before(*element, stage, level)) {
            element->SetState(GUIMapElement::StateBefore);
        } else if (At(*element, stage, level) && !element->IsOutsideLevelList()) {
            if (element->GetType() == StageMapFile::typePath)
                element->SetCheckPointLook(true);
            element->SetState(GUIMapElement::StateSelected);
            profile->currentPosition = {stage, level};
            profile->Save();
        } else {
            element->SetState(GUIMapElement::StateOpen);
        }
        element->SetShown(true);
        if (At(*element, furthest.stage, furthest.level))
            break;
    }
}

void GUIStartGameLogicWindow::Show(int newMode) {
    GUIFrameworkWindow::Show(newMode);
    if (mode == ModeLevelPassed || mode == ModeRestart)
        return; // the next Update starts the level without showing the map
    if (title != nullptr)
        title->SetTextKey(mode == ModeStagePassed ? "start_game/title_stage_is_passed"
                                                  : "start_game/title_select_level");
    GameFramework::ProfileBase* profile =
        profileManager != nullptr ? profileManager->GetCurrentProfile() : nullptr;
    if (mode == ModeContinue) {
        if (profile != nullptr && profile->gameInProgress)
            return;
        mode = 0;
    }
    GUIMenuWindow::Show(true);
    if (profile != nullptr)
        SelectPosition(profile->currentPosition.stage, profile->currentPosition.level);
    // After a passed stage only its first level can be played (or the player goes back).
    if (mode == ModeStagePassed)
        for (GUIMapElement* element : elements)
            element->Lock();
    animating = true;
    animationClock = 0;
}

void GUIStartGameLogicWindow::Hide() {
    GUIFrameworkWindow::Hide();
    GUIMenuWindow::Show(false);
}

void GUIStartGameLogicWindow::Update() {
    GUIFrameworkWindow::Update();
    if (mode == ModeContinue || mode == ModeLevelPassed || mode == ModeRestart) {
        result = ResultPlay;
        mode = 0;
        return;
    }
    if (!GUIWindowBase::IsVisible())
        return;

    // The icons fade in and out with the window, following the play caption.
    const float v = playTitle != nullptr && playTitle->IsActive() ? playTitle->fadeValue : 0.0f;
    if (std::fabs(v - mapFade) > fadeEpsilon) {
        mapFade = v;
        for (GUIMapElement* element : elements)
            element->SetAlphaFactor(v);
    }
    if (!GUIMenuWindow::IsVisible())
        return;

    if (backButton != nullptr && backButton->clicked)
        result = ResultBack;
    if (playButton != nullptr && playButton->clicked)
        result = ResultPlay;
    detector->Update();

    // Two overlapping neighbours never light up together: an icon yields to a highlighted one before it.
    for (size_t i = 0; i < elements.size(); ++i) {
        GUIMapElement* element = elements[i];
        if (!element->IsVisible() || element->GetState() == GUIMapElement::StatePreview)
            break;
        element->UpdateHover(i == 0 || !elements[i - 1]->IsHighlighted());
        if (element->WasClicked()) {
            SelectPosition(element->GetStage(), element->GetLevelIndex());
            break;
        }
    }
    for (const GUIMapElement* element : elements)
        if (element->IsVisible() && element->WasDoubleClicked())
            result = ResultPlay;

    if (animating) {
        TimerManager* timers = TimerManager::Instance();
        AnimatePreview(timers != nullptr ? timers->frameTime : 0.0f);
    }
}

void GUIStartGameLogicWindow::AnimatePreview(float frameTime) {
    animationClock += frameTime;
    if (elements.empty())
        return;
    // The sweep starts after the furthest level's icon.
    GameFramework::ProfileBase* profile =
        profileManager != nullptr ? profileManager->GetCurrentProfile() : nullptr;
    const GameFramework::LevelPosition furthest =
        profile != nullptr ? profile->furthestPosition : GameFramework::LevelPosition{};
    size_t start = 0;
    for (size_t i = 0; i < elements.size(); ++i)
        if (elements[i]->GetStage() == furthest.stage) {
            start = i;
            break;
        }
    if (start + furthest.level < elements.size())
        start += furthest.level;

    PreviewPass(start, animationClock, true);
    if (animationClock >= previewHold && !PreviewPass(start, animationClock - previewHold, false))
        animationClock = 0;
}

bool GUIStartGameLogicWindow::PreviewPass(size_t start, float t, bool fadeIn) {
    for (size_t i = start + 1; i < elements.size(); ++i) {
        GUIMapElement* element = elements[i];
        if (!element->IsVisible()) {
            element->SetShown(true);
            element->SetState(GUIMapElement::StatePreview);
        }
        const float share = t > previewFadeTime ? 1.0f : t / previewFadeTime;
        element->SetAlpha(fadeIn ? share : 1.0f - share);
        t -= previewSpacing;
        if (t < fadeEpsilon)
            return true;
        if (element->GetType() != StageMapFile::typePath)
            return fadeIn || t <= restartDelay;
    }
    return true;
}

} // namespace VelmoraBall
