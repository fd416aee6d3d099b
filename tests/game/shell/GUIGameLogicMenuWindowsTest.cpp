// ctest-label: shell
// The windows over a paused level on small fixture descriptions: the answers of the pause, the leave, the
// restart and the quit questions (a table, with both buttons in one frame), their title mounts; the in-game
// menu's entrance from play and back from a question, its volume scrolls and the looping volume sound, the
// full-screen box, and closing it writing the settings file and the profile.
#include "game/shell/GUIGameLogicGameExitWindow.h"
#include "game/shell/GUIGameLogicMenuExitWindow.h"
#include "game/shell/GUIGameLogicMenuWindow.h"
#include "game/shell/GUIGameLogicPauseWindow.h"
#include "game/shell/GUIGameLogicRestartWindow.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIScroll.h"
#include "guitools/GUIControl.h"
#include "guitools/GUIWindowControl.h"
#include "tests/game/shell/InGameWindowFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace VelmoraBall;
using OrvexEngine::GUIButton;

namespace {

// Frame, title, both title mounts and the buttons; everything fades in a tenth of a second.
std::string Question(const std::string& name, const std::string& inside) {
    return "<window name=\"" + name +
           "\" fader=\"quick\">"
           "<window name=\"title_mount_animated\" fader=\"quick\"/><window name=\"title_mount_static\" "
           "fader=\"quick\"/>"
           "<window name=\"window\" fader=\"quick\">" +
           inside + "</window></window>";
}

const char* const TwoButtons =
    "<button name=\"button_0\" fader=\"quick\"/><button name=\"button_1\" fader=\"quick\"/>";

class InGameMenus : public VelmoraTest::InGameWindowFixture {
protected:
    InGameMenus() {
        Describe(
            "faders",
            "<faders><fader name=\"quick\" show_speed=\"10\" hide_speed=\"10\"/>"
            "<fader name=\"game_logic_window\" show_speed=\"10\" hide_speed=\"10\" show_offset=\"0.2\"/>"
            "<fader name=\"game_logic_control\" show_speed=\"10\" hide_speed=\"10\" show_offset=\"0.45\"/>"
            "</faders>");
        Describe("window_game_logic_pause",
                 Question("window_game_logic_pause", "<button name=\"button_0\" fader=\"quick\"/>"));
        for (const char* name :
             {"window_game_logic_menu_exit", "window_game_logic_restart", "window_game_logic_game_exit"})
            Describe(name, Question(name, TwoButtons));
        Describe(
            "window_game_logic_menu",
            "<window name=\"window_game_logic_menu\" fader=\"quick\">"
            "<window name=\"title_mount_animated\" fader=\"quick\"/><window name=\"title_mount_static\" "
            "fader=\"quick\"/>"
            "<window name=\"window\" fader=\"game_logic_window\">"
            "<scroll name=\"sound\" fader=\"game_logic_control\" size=\"260 28\" toddler_size=\"24 28\""
            " toddler_min_position=\"28 0\" toddler_max_position=\"208 0\" decrease_button_size=\"28 28\""
            " increase_button_size=\"28 28\" increase_button_position=\"232 0\"/>"
            "<scroll name=\"music\" fader=\"game_logic_control\" size=\"260 28\"/>"
            "<check_box name=\"fullscreen\" fader=\"game_logic_control\"/>"
            "<button name=\"button_0\" fader=\"game_logic_control\"/>"
            "<button name=\"button_1\" fader=\"game_logic_control\"/>"
            "<button name=\"button_2\" fader=\"game_logic_control\"/>"
            "</window></window>");
        ReadDescriptions();
        pause = Keep(std::make_unique<GUIGameLogicPauseWindow>(audio.get(), data.get(), tools.get(),
                                                               manager.get(), nullptr));
        menuExit = Keep(std::make_unique<GUIGameLogicMenuExitWindow>(audio.get(), data.get(), tools.get(),
                                                                     manager.get(), nullptr));
        restart = Keep(std::make_unique<GUIGameLogicRestartWindow>(audio.get(), data.get(), tools.get(),
                                                                   manager.get(), nullptr));
        gameExit = Keep(std::make_unique<GUIGameLogicGameExitWindow>(audio.get(), data.get(), tools.get(),
                                                                     manager.get(), nullptr));
        menu = Keep(std::make_unique<GUIGameLogicMenuWindow>(audio.get(), profiles.get(), data.get(),
                                                             tools.get(), manager.get(), nullptr));
    }

    static bool Enabled(const GUIMenuWindow& window, const std::string& path) {
        const std::vector<GUITools::GUIControl*>& controls = window.GetControls();
        for (size_t i = 0; i < controls.size(); ++i)
            if (controls[i]->GetName() == window.GetName() + path)
                return window.GetEnabled()[i];
        ADD_FAILURE() << "no control " << path;
        return false;
    }
    GUIButton* Button(GUIMenuWindow& window, int index) {
        return window.GetButton(window.GetName() + "/window/button_" + std::to_string(index));
    }
    OrvexEngine::GUIScroll* Scroll(const char* name) {
        return menu->GetScroll(std::string("window_game_logic_menu/window/") + name);
    }
    // Shows the window with the mode and waits until it is on screen.
    template <class W> void Open(W* window, int mode) {
        window->Show(mode);
        ASSERT_TRUE(FramesUntilVisible(*window));
    }
    // The window hides as the flow hides it after a result, and is gone.
    template <class W> void Close(W* window) {
        window->Hide();
        Frames(10);
        ASSERT_TRUE(manager->IsFree());
    }

    GUIGameLogicPauseWindow* pause = nullptr;
    GUIGameLogicMenuExitWindow* menuExit = nullptr;
    GUIGameLogicRestartWindow* restart = nullptr;
    GUIGameLogicGameExitWindow* gameExit = nullptr;
    GUIGameLogicMenuWindow* menu = nullptr;
};

} // namespace

TEST_F(InGameMenus, TheQuestionsAnswerWithTheirResults) {
    struct Case {
        const char* name;
        std::function<GUIMenuWindow*()> window;
        int mode;
        bool button0, button1;
        int result;
    };
    const std::vector<Case> cases = {
        {"pause resume", [&] { return static_cast<GUIMenuWindow*>(pause); }, 15, true, false, 19},
        {"leave yes", [&] { return static_cast<GUIMenuWindow*>(menuExit); }, 18, false, true, 3},
        {"leave no", [&] { return static_cast<GUIMenuWindow*>(menuExit); }, 18, true, false, 16},
        {"leave both", [&] { return static_cast<GUIMenuWindow*>(menuExit); }, 18, true, true, 16},
        {"restart yes", [&] { return static_cast<GUIMenuWindow*>(restart); }, 17, false, true, 13},
        {"restart no", [&] { return static_cast<GUIMenuWindow*>(restart); }, 17, true, false, 16},
        {"restart both", [&] { return static_cast<GUIMenuWindow*>(restart); }, 17, true, true, 16},
        {"quit yes", [&] { return static_cast<GUIMenuWindow*>(gameExit); }, 4, false, true, 23},
        {"quit no", [&] { return static_cast<GUIMenuWindow*>(gameExit); }, 4, true, false, 19},
        {"quit both", [&] { return static_cast<GUIMenuWindow*>(gameExit); }, 4, true, true, 19},
        {"leave nothing", [&] { return static_cast<GUIMenuWindow*>(menuExit); }, 18, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GUIMenuWindow* window = c.window();
        auto* flow = dynamic_cast<GameFramework::GUIFrameworkWindow*>(window);
        ASSERT_NE(flow, nullptr);
        // A click before the window is on screen counts for nothing.
        flow->Show(c.mode);
        Button(*window, 0)->clicked = true;
        flow->Update();
        EXPECT_EQ(flow->result, 0);
        ASSERT_TRUE(FramesUntilVisible(*window));
        EXPECT_EQ(flow->mode, c.mode);
        Button(*window, 0)->clicked = c.button0;
        if (c.name != std::string("pause resume"))
            Button(*window, 1)->clicked = c.button1;
        flow->Update();
        EXPECT_EQ(flow->result, c.result);
        Button(*window, 0)->clicked = false;
        if (c.name != std::string("pause resume"))
            Button(*window, 1)->clicked = false;
        flow->Hide();
        EXPECT_TRUE(flow->resultSeen);
        Frames(10);
        EXPECT_FALSE(window->IsVisible());
        EXPECT_TRUE(manager->IsFree());
    }
}

TEST_F(InGameMenus, TitleMountsOfTheQuestions) {
    // From and toward play: the animated mount only.
    for (GUIMenuWindow* window :
         {static_cast<GUIMenuWindow*>(pause), static_cast<GUIMenuWindow*>(gameExit)}) {
        EXPECT_TRUE(Enabled(*window, "/title_mount_animated")) << window->GetName();
        EXPECT_FALSE(Enabled(*window, "/title_mount_static")) << window->GetName();
    }
    // Between the menu and a question: the static mount, which stays only when the player steps back.
    const struct {
        int result;
        bool staticAfter;
    } answers[] = {{16, true}, {13, false}, {3, false}};
    for (GUIMenuWindow* window :
         {static_cast<GUIMenuWindow*>(menuExit), static_cast<GUIMenuWindow*>(restart)}) {
        SCOPED_TRACE(window->GetName());
        EXPECT_FALSE(Enabled(*window, "/title_mount_animated"));
        auto* flow = dynamic_cast<GameFramework::GUIFrameworkWindow*>(window);
        for (const auto& answer : answers) {
            flow->Show(19);
            EXPECT_TRUE(Enabled(*window, "/title_mount_static"));
            ASSERT_TRUE(FramesUntilVisible(*window));
            flow->result = answer.result;
            flow->Hide();
            EXPECT_EQ(Enabled(*window, "/title_mount_static"), answer.staticAfter) << answer.result;
            Frames(10);
        }
    }
}

TEST_F(InGameMenus, TheMenuEntersFromPlayAndBackFromAQuestion) {
    EXPECT_FLOAT_EQ(menu->GetWindowDelay(), 0.2f);
    EXPECT_FLOAT_EQ(menu->GetControlsDelay(), 0.45f);
    GUITools::GUIControl* frame = menu->GetControl("window_game_logic_menu/window");
    GUITools::GUIControl* button = menu->GetControl("window_game_logic_menu/window/button_2");
    GUITools::GUIControl* scroll = menu->GetControl("window_game_logic_menu/window/sound");

    Open(menu, 17);
    EXPECT_TRUE(Enabled(*menu, "/title_mount_animated"));
    EXPECT_FALSE(Enabled(*menu, "/title_mount_static"));
    EXPECT_FLOAT_EQ(frame->show_offset, 0.2f);
    EXPECT_FLOAT_EQ(button->show_offset, 0.45f);
    // The restart question: the menu leaves its title on the static mount.
    Button(*menu, 1)->clicked = true;
    Frame();
    EXPECT_EQ(menu->result, GUIGameLogicMenuWindow::ResultAskRestart);
    menu->Hide();
    EXPECT_FALSE(Enabled(*menu, "/title_mount_animated"));
    EXPECT_TRUE(Enabled(*menu, "/title_mount_static"));
    Button(*menu, 1)->clicked = false;
    Open(restart, 17);
    restart->result = 16;
    restart->Hide();

    // Back from the question: the frame at once, the controls after the difference of the two delays.
    menu->Show(20);
    EXPECT_TRUE(Enabled(*menu, "/title_mount_static"));
    EXPECT_FALSE(Enabled(*menu, "/title_mount_animated"));
    EXPECT_FLOAT_EQ(frame->show_offset, 0);
    EXPECT_FLOAT_EQ(button->show_offset, 0.25f);
    EXPECT_FLOAT_EQ(scroll->show_offset, 0.25f);
    ASSERT_TRUE(FramesUntilVisible(*menu));
    // Resuming play: the animated mount is back for the next opening from play.
    Button(*menu, 2)->clicked = true;
    Frame();
    EXPECT_EQ(menu->result, GUIGameLogicMenuWindow::ResultResume);
    menu->Hide();
    Button(*menu, 2)->clicked = false;
    EXPECT_TRUE(Enabled(*menu, "/title_mount_animated"));
    EXPECT_FALSE(Enabled(*menu, "/title_mount_static"));
    Frames(10);
    Open(menu, 17);
    EXPECT_FLOAT_EQ(frame->show_offset, 0.2f);
    EXPECT_FLOAT_EQ(button->show_offset, 0.45f);
}

TEST_F(InGameMenus, VolumesFollowTheScrollsAndTheSoundScrollLoopsItsEffect) {
    EXPECT_EQ(Scroll("sound")->GetPositionCount(), 1001u);
    EXPECT_EQ(Scroll("music")->step, 30);
    // The default volumes are floats just below 0.315 and 0.285.
    Open(menu, 17);
    EXPECT_EQ(Scroll("sound")->GetPosition(), 314u);
    EXPECT_EQ(Scroll("music")->GetPosition(), 284u);
    Frame();
    EXPECT_EQ(audio->GetSoundVolume(), 0.315f) << "a difference below a thousandth is no change";
    EXPECT_EQ(audio->GetMusicVolume(), 0.285f);

    Scroll("sound")->SetPosition(1000);
    Scroll("music")->SetPosition(0);
    Frame();
    EXPECT_FLOAT_EQ(audio->GetSoundVolume(), 1.0f);
    EXPECT_FLOAT_EQ(audio->GetMusicVolume(), 0.0f);

    // Holding the music scroll plays nothing; holding the sound scroll loops effect 0 until it is let go.
    TakeSoundCalls();
    Scroll("music")->GetToddler()->captured = true;
    Frames(3);
    EXPECT_EQ(Count(TakeSoundCalls(), "play 0"), 0u);
    Scroll("music")->GetToddler()->captured = false;
    Scroll("sound")->GetToddler()->captured = true;
    Frames(5);
    std::vector<std::string> calls = TakeSoundCalls();
    EXPECT_EQ(Count(calls, "play 0"), 1u) << testing::PrintToString(calls);
    EXPECT_EQ(audio->GetSoundState(0), 0);
    Scroll("sound")->GetToddler()->captured = false;
    Frame();
    calls = TakeSoundCalls();
    EXPECT_EQ(Count(calls, "stop 0"), 1u) << testing::PrintToString(calls);
    Frames(2);
    EXPECT_TRUE(TakeSoundCalls().empty()) << "stopped once";
}

TEST_F(InGameMenus, TheFullScreenBoxAndClosingWriteTheSettingsAndTheProfile) {
    Open(menu, 17);
    OrvexEngine::GUICheckBox* box = menu->GetCheckBox("window_game_logic_menu/window/fullscreen");
    EXPECT_FALSE(box->checked);
    box->checked = true;
    box->clicked = true;
    Frame();
    EXPECT_TRUE(settings.GetSettings().vFullscreen);
    EXPECT_NE(SettingsFile().find("v_fullscreen 1"), std::string::npos);
    EXPECT_FALSE(settings.IsCommandIdle("v_window_change_mode"));
    settings.SetCommandIdle("v_window_change_mode", true);
    box->checked = false;
    Frame();
    EXPECT_FALSE(settings.GetSettings().vFullscreen);
    EXPECT_NE(SettingsFile().find("v_fullscreen 0"), std::string::npos);
    EXPECT_FALSE(settings.IsCommandIdle("v_window_change_mode")) << "the second click asks again";
    settings.SetCommandIdle("v_window_change_mode", true);
    box->clicked = false;

    // Closing with the leave button: settings file and profile written with the volumes in force.
    std::filesystem::remove(userDirectory / "settings.ini");
    Scroll("sound")->SetPosition(600);
    Scroll("music")->SetPosition(200);
    Frame();
    Button(*menu, 0)->clicked = true;
    Frame();
    EXPECT_EQ(menu->result, GUIGameLogicMenuWindow::ResultAskLeave);
    menu->Hide();
    EXPECT_TRUE(std::filesystem::exists(userDirectory / "settings.ini"));
    const auto saved = Reread();
    EXPECT_FLOAT_EQ(saved->settings.soundVolume, 0.6f);
    EXPECT_FLOAT_EQ(saved->settings.musicVolume, 0.2f);
}
