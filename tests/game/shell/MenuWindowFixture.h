// Shared by the tests of the game's menu windows: the real GUI manager, tools and menu-window manager over
// a small data folder (window descriptions written by each test, one font for every font name the windows
// use, a few texts), a fake clock of 0.125 s frames, and the game's frame as far as windows go: the GUI's
// input step with the scripted cursor and mouse button, the flow's update of the framework windows, and
// the manager's update of the menu windows.
#pragma once

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIWindow.h"
#include "engine/sound/SoundManager.h"
#include "framework/GUIFrameworkWindow.h"
#include "game/shell/GUIMenuWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GameData.h"
#include "guitools/GUIToolManager.h"
#include "platform/win/Time.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/SilentSoundSystem.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace VelmoraTest {

// The fake clock must stand before the timer manager reads it.
struct MenuFakeClock {
    MenuFakeClock() { platform::InstallFakeClock(1000); }
    ~MenuFakeClock() { platform::RemoveFakeClock(); }
};

class MenuWindowFixture : public testing::Test {
protected:
    static constexpr float FrameTime = 0.125f;

    MenuWindowFixture() {
        OrvexEngine::SoundSystem::Instance(&system);
        sounds = std::make_unique<OrvexEngine::SoundManager>();
        OrvexEngine::SoundManager::Instance(sounds.get());
        gui = std::make_unique<TestGuiManager>();
        // Controls fade in and out in two frames; the titles print at 8 letters a second, one a frame.
        Describe("faders.xml",
                 "<faders><fader name=\"quick\" type=\"timed\" show_speed=\"4\" hide_speed=\"4\"/></faders>");
        std::vector<VbFormats::FontGlyph> glyphs;
        for (uint16_t code = 32; code < 127; ++code)
            glyphs.push_back(TestGlyph(code, 1));
        services.SaveFont("test.fnt", glyphs);
        std::string fonts = "<fonts>";
        for (const char* name :
             {"plain", "main_menu_0", "main_menu_1", "main_menu_2", "common_0", "common_1"})
            fonts +=
                std::string("<font name=\"") + name +
                "\" size=\"10\"><description_file_path path=\"fonts\\test.fnt\"/>"
                "<diffuse_image_path path=\"fonts\\test.png\"/><opacity_image_path path=\"32bit\"/></font>";
        Save("ui/fonts/fonts_basic.xml", fonts + "</fonts>");
        Save("ui/texts/texts.xml", "<texts><common><back><en text=\"Back\"/></back>"
                                   "<continue><en text=\"Continue\"/></continue></common>"
                                   "<hello><en text=\"Hello, %PROFILE_NAME%!\"/></hello></texts>");
        Save("ui/texts/default_texts.xml", "<texts/>");
        services.timers.frameTime = FrameTime;
    }
    ~MenuWindowFixture() override {
        windows.clear();
        tools.reset();
        manager.reset();
        data.reset();
        gui.reset();
        sounds.reset();
    }

    void Save(const std::string& file, const std::string& text) {
        services.data.Save(file, std::vector<uint8_t>(text.begin(), text.end()));
    }
    // A window description; every one must be written before the first window is made.
    void Describe(const std::string& file, const std::string& xml) { Save("ui/windows/" + file, xml); }

    // The game-wide data, the manager and the tools, made with the first window.
    void MakeServices() {
        if (manager)
            return;
        data = std::make_unique<VelmoraBall::GameData>("en");
        manager = std::make_unique<VelmoraBall::GUIMenuWindowManager>(data.get());
        tools = std::make_unique<GUITools::GUIToolManager>("en");
    }
    // Keeps a window of the flow, made over the fixture's data, tools and manager; it is updated every frame.
    template <class Window> Window* Keep(std::unique_ptr<Window> window) {
        Window* kept = window.get();
        windows.push_back(std::move(window));
        return kept;
    }
    // The common tail of every menu window's constructor: no audio player (no sounds are checked here),
    // the game data, the tools, the manager and no parent.
    template <class Window, class... Before> Window* Make(Before... before) {
        MakeServices();
        return Keep(
            std::make_unique<Window>(before..., nullptr, data.get(), tools.get(), manager.get(), nullptr));
    }

    // One frame: the GUI's input step, the flow's update of every window, the manager's update. The hook
    // runs between the input step and the windows' update, where a test may fake what the input made.
    void Frame(bool held = false, bool pressed = false) {
        platform::AdvanceFakeClockMilliseconds(125);
        services.timers.Update();
        services.timers.frameTime = FrameTime;
        gui->UpdateElements(cursor, held, pressed);
        if (afterInput)
            afterInput();
        for (const auto& window : windows)
            window->Update();
        manager->UpdateWindows();
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    // The cursor rests in the middle of the element from now on.
    void PointAt(const OrvexEngine::GUIWindow* element) {
        cursor = element->GetParentOrigin() + element->position + element->size * 0.5f;
    }
    // A click as the player makes it: pressed over the button in one frame, released in the next.
    void Click(const OrvexEngine::GUIButton* button) {
        PointAt(button);
        Frame(true, true);
        Frame(false, false);
    }

    MenuFakeClock clock;
    GuiServices services;
    SilentSystem system;
    std::unique_ptr<OrvexEngine::SoundManager> sounds;
    std::unique_ptr<TestGuiManager> gui;
    std::unique_ptr<VelmoraBall::GameData> data;
    std::unique_ptr<VelmoraBall::GUIMenuWindowManager> manager;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::vector<std::unique_ptr<GameFramework::GUIFrameworkWindow>> windows;
    OrvexEngine::Vec2 cursor{799, 1}; // off every control
    std::function<void()> afterInput;
};

} // namespace VelmoraTest
