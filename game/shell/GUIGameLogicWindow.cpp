#include "game/shell/GUIGameLogicWindow.h"

#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/StringUtils.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/graphics/ModelManager.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "framework/GameLogicBase.h"
#include "game/play/GameLogic.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "gametools/GameCamera.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIWindowControl.h"

#include <numbers>
#include <string>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr const char* WindowName = "window_game_logic";
constexpr uint32_t VisibleFlag = 1;
constexpr int StatisticsOrder = 20;

} // namespace

GUIGameLogicWindow::GUIGameLogicWindow(GameFramework::ProfileManagerBase* profileManager,
                                       GameTools::DataKeeper* dataKeeper,
                                       GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                                       GUIWindow* parent)
    : GUIGameLogicWindowBase(profileManager), GUIWindowBase(dataKeeper, toolManager, parent, WindowName),
      menuManager(manager), gameData(dataKeeper) {
    const std::string& own = GetName();
    root = GetWindowControl(own);
    menuButton = GetButton(own + "/menu");
    minimizeButton = GetButton(own + "/minimize");
    fullscreenBox = GetCheckBox(own + "/fullscreen");
    closeButton = GetButton(own + "/close");
    livesText = GetTextControl(own + "/life/text");
    scoreText = GetTextControl(own + "/score/text_1");
    levelText = GetTextControl(own + "/level/text_1");
    if (menuManager != nullptr)
        menuManager->SetupAdditionalLogos(this);
    GUIWindow* statisticsParent = root != nullptr ? root->GetWindow() : GetRootWindow();
    statisticsWindow = GUIManager::Instance()->CreateEmptyWindow(VisibleFlag, statisticsParent);
    statisticsWindow->SetOrder(StatisticsOrder);
}

GUIGameLogicWindow::~GUIGameLogicWindow() {
    // A child of the description's root window: it goes before the description does.
    if (GUIManager* gui = GUIManager::Instance())
        gui->DeleteWindow(statisticsWindow);
}

void GUIGameLogicWindow::SetActive(bool flag) {
    GUIGameLogicWindowBase::SetActive(flag);
    menuButton->SetEnabled(flag);
    closeButton->SetEnabled(flag);
}

void GUIGameLogicWindow::Show(int newMode, GameFramework::GameLogicBase* newLevel) {
    GUIGameLogicWindowBase::Show(newMode, newLevel);
    GUIWindowBase::Show(true);
    // Only the game's own level has a click flag, a ball and a camera; the texts need just the base.
    level = dynamic_cast<GameLogic*>(newLevel);
    fullscreenBox->checked = fullscreen;
    shownLives = -1;
    shownScore = -1;
    if (levelText != nullptr && newLevel != nullptr) {
        const GameFramework::LevelPosition position = newLevel->GetPosition();
        levelText->SetText(UIntToTextW(position.stage + 1) + L"-" + UIntToTextW(position.level + 1));
    }
}

void GUIGameLogicWindow::Hide() {
    GUIGameLogicWindowBase::Hide();
    GUIWindowBase::Show(false);
    // Whoever holds the manager (a menu window still fading out, or nobody), the display takes it without a
    // window, so that no menu window comes on screen while the display is still fading out.
    if (menuManager != nullptr) {
        if (!menuManager->IsFree())
            menuManager->ReleaseActive();
        menuManager->Activate(nullptr);
    }
    level = nullptr;
}

void GUIGameLogicWindow::MinimizeWindow() {
    if (Window* window = Window::Instance())
        window->Minimize();
}

void GUIGameLogicWindow::Update() {
    GUIGameLogicWindowBase::Update();
    GUIWindowBase::Update();
    Config* config = Config::Instance();
    if (!config->IsCommandIdle("v_window_change_mode"))
        fullscreenBox->checked = fullscreen;

    // Without its root control the display counts as gone once its window is no longer visible.
    const bool present = root != nullptr ? root->IsActive() : GUIWindowBase::IsVisible();
    if (!present) {
        if (menuManager != nullptr && !menuManager->IsFree() && menuManager->GetActiveWindow() == nullptr)
            menuManager->ReleaseActive();
        return;
    }
    if (gameLogic == nullptr)
        return;

    if (minimizeButton->clicked)
        MinimizeWindow();
    if (fullscreenBox->clicked) {
        fullscreen = fullscreenBox->checked;
        fullscreenValue = fullscreen;
        config->Save();
        config->SetCommandIdle("v_window_change_mode", false);
    }

    DrawStatistics();
    // The ball in play is not a spare one.
    ShowLives(gameLogic->lives != 0 ? gameLogic->lives - 1 : 0);
    ShowScore(GetTotalScore());

    if (!active)
        return;
    // Later tests overwrite earlier ones: the menu wins over the pause, the pause over the close button.
    const Controls* controls = Controls::Instance();
    if (closeButton->clicked)
        result = ResultGameExit;
    if (controls != nullptr && (controls->WasPressed("SPACE") || controls->WasPressed("P")))
        result = ResultPause;
    if ((controls != nullptr && controls->WasPressed("ESCAPE")) || menuButton->clicked)
        result = ResultMenu;

    // The video mode cannot change and the window cannot be minimised while a ball moves.
    const bool ballMoving = level != nullptr && level->IsBallInFlight();
    minimizeButton->SetEnabled(!ballMoving);
    fullscreenBox->SetEnabled(!ballMoving);

    if (level == nullptr || controls == nullptr || !controls->WasPressed("MOUSE1"))
        return;
    // The mouse-over flags count also for disabled buttons: a click aimed at a control never reaches the
    // field.
    if (menuButton->mouseOver || minimizeButton->mouseOver || fullscreenBox->mouseOver ||
        closeButton->mouseOver)
        return;
    const GUIManager* gui = GUIManager::Instance();
    const Vec2 cursor = gui->GetCursorPosition();
    if (cursor.x > -1 && cursor.y > -1 && cursor.x < gui->GetScreenWidth() + 1 &&
        cursor.y < gui->GetScreenHeight() + 1)
        level->click = true;
}

void GUIGameLogicWindow::ShowLives(uint32_t spareBalls) {
    if (livesText == nullptr || shownLives == spareBalls)
        return;
    shownLives = spareBalls;
    livesText->SetText(L"x " + UIntToTextW(spareBalls));
}

void GUIGameLogicWindow::ShowScore(uint32_t score) {
    if (scoreText == nullptr || shownScore == score)
        return;
    shownScore = score;
    scoreText->SetText(UIntToTextW(score));
}

void GUIGameLogicWindow::DrawStatistics() {
    if (!ParseBool(Config::Instance()->GetValueText("d_show_statistics")))
        return;
    const int32_t font = fontTool->GetFontIndex("console");
    const Vec4 white(1, 1, 1, 1);
    auto line = [&](float y, const std::wstring& text) {
        statisticsWindow->QueueText(0, font, Vec2(8, y), white, text, 0, -1);
    };
    const TimerManager* timers = TimerManager::Instance();
    const ModelManager* models = ModelManager::Instance();
    line(512, L"FPS: " + IntToTextW(timers != nullptr ? timers->framesPerSecond : 0));
    line(497, L"Model count: " + UIntToTextW(models != nullptr ? models->drawnModels : 0));
    line(482, L"Triangle count: " + UIntToTextW(models != nullptr ? models->drawnPrimitives : 0));
    line(467, L"Time: " + FloatToTextW(gameLogic->GetTime(), 1));
    const GameTools::GameCamera* camera = level != nullptr ? level->GetCamera() : nullptr;
    if (camera == nullptr)
        return;
    line(33, L"Camera FOV: " + FloatToTextW(camera->GetFieldOfView() * 180 / std::numbers::pi_v<float>, 6));
    line(18, L"Camera position: " + Vec3ToTextW(camera->GetCurrentPosition(), 4));
    line(3, L"Camera rotation: " + QuaternionToTextW(camera->GetCurrentRotation(), 4));
}

} // namespace VelmoraBall
