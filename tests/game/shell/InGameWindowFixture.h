// The services the game's menu windows run on, for tests of the in-game menus and the end-of-level windows:
// GUI services on the fake clock, a recording sound system under the audio player (effects 0..4
// registered), a settings file and a profile index in the test's own folder with a current profile, the
// game-wide keeper and the menu-window manager. Window descriptions are written by the test before the
// first window is built; frames run the framework's update of the windows, then the manager's.
#pragma once

#include "engine/core/Config.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "framework/GUIFrameworkWindow.h"
#include "game/shell/GUIMenuWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GameData.h"
#include "guitools/GUIToolManager.h"
#include "platform/win/Time.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/ProfileFixture.h"
#include "tests/support/RecordingSoundSystem.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace VelmoraTest {

// Installed before the timer manager reads the clock.
struct MenuFakeClock {
    MenuFakeClock() { platform::InstallFakeClock(1000); }
    ~MenuFakeClock() { platform::RemoveFakeClock(); }
    MenuFakeClock(const MenuFakeClock&) = delete;
    MenuFakeClock& operator=(const MenuFakeClock&) = delete;
};

class InGameWindowFixture : public testing::Test {
protected:
    static constexpr float FrameSeconds = 0.05f;

    InGameWindowFixture() {
        std::filesystem::remove_all(userDirectory);
        std::filesystem::create_directories(userDirectory);
        OrvexEngine::Config::Instance(&settings);
        OrvexEngine::SoundSystem::Instance(&system);
        sounds = std::make_unique<OrvexEngine::SoundManager>();
        OrvexEngine::SoundManager::Instance(sounds.get());
        gui = std::make_unique<TestGuiManager>();
        audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
        for (int id = 0; id <= 4; ++id)
            audio->AddSound(id, SoundName(id), id == 0 || id == 4, 1, false);
        profiles = std::make_unique<TestProfileManager>(audio.get(), userDirectory.string());
        profiles->SelectProfile(profiles->GetOrCreateProfile(L"Alice"), true);
        data = std::make_unique<VelmoraBall::GameData>("en");
        manager = std::make_unique<VelmoraBall::GUIMenuWindowManager>(data.get());
    }
    ~InGameWindowFixture() override {
        windows.clear();
        tools.reset();
        manager.reset();
        data.reset();
        profiles.reset();
        audio.reset();
        gui.reset();
        sounds.reset();
    }

    static std::string SoundName(int id) { return "sound_" + std::to_string(id) + ".wav"; }

    void Describe(const std::string& name, const std::string& xml) {
        services.data.Save("ui/windows/" + name + ".xml", std::vector<uint8_t>(xml.begin(), xml.end()));
    }
    // The tools read the descriptions written so far; build windows only after this.
    void ReadDescriptions() { tools = std::make_unique<GUITools::GUIToolManager>("en"); }
    // Keeps the window for the frames (the framework's update) and deletes it with the fixture.
    template <class W> W* Keep(std::unique_ptr<W> window) {
        W* raw = window.get();
        windows.push_back(std::move(window));
        return raw;
    }

    // One frame: the framework's update of every window, then the manager's, then the queued sounds.
    void Frame() {
        platform::AdvanceFakeClockMilliseconds(static_cast<uint32_t>(FrameSeconds * 1000));
        services.timers.Update();
        services.timers.frameTime = FrameSeconds;
        audio->Update();
        for (const auto& window : windows)
            window->Update();
        manager->UpdateWindows();
        sounds->Update(true);
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    // Frames until the window is on screen (at most two seconds).
    bool FramesUntilVisible(const VelmoraBall::GUIMenuWindow& window) {
        for (int i = 0; i < 40 && !window.IsVisible(); ++i)
            Frame();
        return window.IsVisible();
    }

    // The effects started and stopped since the last call, as "play <id>" and "stop <id>".
    std::vector<std::string> TakeSoundCalls() {
        std::vector<std::string> out;
        for (const std::string& call : system.calls)
            for (int id = 0; id <= 4; ++id)
                for (const char* verb : {"play ", "stop "})
                    if (call == verb + SoundName(id))
                        out.push_back(verb + std::to_string(id));
        system.calls.clear();
        return out;
    }
    static size_t Count(const std::vector<std::string>& calls, const std::string& call) {
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }
    std::string SettingsFile() const {
        std::ifstream in(userDirectory / "settings.ini");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    GameFramework::ProfileBase* Profile() const { return profiles->GetCurrentProfile(); }
    // The current profile as its file reads back.
    std::unique_ptr<TestProfile> Reread() const {
        auto copy = std::make_unique<TestProfile>(userDirectory.string());
        copy->Load(Profile()->GetFileName());
        return copy;
    }

    MenuFakeClock clock;
    std::filesystem::path userDirectory =
        std::filesystem::path(TempDir()) /
        (std::string("menu-") + testing::UnitTest::GetInstance()->current_test_info()->name());
    GuiServices services;
    OrvexEngine::Config settings{userDirectory.string(), "settings", false, "800x600x32", false, false};
    RecordingSoundSystem system;
    std::unique_ptr<OrvexEngine::SoundManager> sounds;
    std::unique_ptr<TestGuiManager> gui;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<TestProfileManager> profiles;
    std::unique_ptr<VelmoraBall::GameData> data;
    std::unique_ptr<VelmoraBall::GUIMenuWindowManager> manager;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::vector<std::unique_ptr<GameFramework::GUIFrameworkWindow>> windows;
};

} // namespace VelmoraTest
