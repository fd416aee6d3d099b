// ctest-label: shell
// Menu windows and their manager over frames of 0.125 s: one window on screen at a time (the next comes on
// in the very frame the previous one's parts have all finished hiding), a window hidden while it waits never
// comes on, the manager held without a window keeps every window off, the appear and disappear sounds
// through a recording sound system, and the publisher logo places.
#include "game/shell/GUIMenuWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GameData.h"

#include "engine/gui/GUIWindow.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowControl.h"
#include "platform/win/Time.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/RecordingSoundSystem.h"
#include "tests/support/TestGuiManager.h"
#include "tools/formats/JpegWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace VelmoraBall;
using namespace OrvexEngine;

namespace {

// The fake clock must stand before the timer manager reads it.
struct FakeClock {
    FakeClock() { platform::InstallFakeClock(1000); }
    ~FakeClock() { platform::RemoveFakeClock(); }
};

class GUIMenuWindowTest : public testing::Test {
protected:
    GUIMenuWindowTest() {
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        gui = std::make_unique<VelmoraTest::TestGuiManager>();
        audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
        audio->AddSound(GUIMenuWindow::AppearSound, "appear.wav", false, 1, false);
        audio->AddSound(GUIMenuWindow::DisappearSound, "disappear.wav", false, 1, false);
        // The frame takes two frames to fade out, the animated title mount four. The description's root
        // control parents everything, so it must not vanish before its parts.
        Describe("faders.xml",
                 "<faders><fader name=\"quick\" type=\"timed\" show_speed=\"4\" hide_speed=\"4\"/>"
                 "<fader name=\"slow\" type=\"timed\" show_speed=\"4\" hide_speed=\"2\"/></faders>");
        for (const char* name : {"window_a", "window_b", "window_c"})
            Describe(std::string(name) + ".xml",
                     "<window name=\"" + std::string(name) +
                         "\" size=\"800 600\" fader=\"slow\"><window name=\"window\" fader=\"quick\" "
                         "size=\"300 200\"/>"
                         "<window name=\"title_mount_animated\" fader=\"slow\" size=\"300 40\"/></window>");
        Describe(
            "window_bare.xml",
            "<window name=\"window_bare\" fader=\"quick\"><button name=\"ok\" fader=\"quick\"/></window>");
        Describe("window_logos.xml",
                 "<window name=\"window_logos\" fader=\"quick\"><window name=\"window\" fader=\"quick\"/>"
                 "<window name=\"logo_additional_0\" size=\"64 32\" shader=\"ui/logo_place\"/>"
                 "<window name=\"logo_additional_1\" size=\"64 32\" shader=\"ui/logo_place\"/>"
                 "</window>");
    }
    ~GUIMenuWindowTest() override {
        windows.clear();
        tools.reset();
        manager.reset();
        data.reset();
        audio.reset();
        gui.reset();
        sounds.reset();
    }
    void Describe(const std::string& file, const std::string& xml) {
        services.data.Save("ui/windows/" + file, std::vector<uint8_t>(xml.begin(), xml.end()));
    }
    void MakeManager() {
        data = std::make_unique<GameData>("en");
        // The logo places are drawn surfaces with a plain material of their own until a logo replaces it.
        data->AddShaderUser("ui/logo_place", services.shaders->CreateShaderUser(ShaderDescriptor(), false));
        manager = std::make_unique<GUIMenuWindowManager>(data.get());
        tools = std::make_unique<GUITools::GUIToolManager>("en");
    }
    GUIMenuWindow* Add(const std::string& name) {
        if (!manager)
            MakeManager();
        windows.push_back(std::make_unique<GUIMenuWindow>(audio.get(), data.get(), tools.get(), manager.get(),
                                                          nullptr, name));
        return windows.back().get();
    }
    // One frame of the game's loop as far as menus go: the manager's window update, then the frame's
    // queued sounds.
    void Frame() {
        platform::AdvanceFakeClockMilliseconds(125);
        services.timers.Update();
        services.timers.frameTime = 0.125f;
        audio->Update();
        manager->UpdateWindows();
        sounds->Update(true);
    }
    std::vector<std::string> TakePlays() {
        std::vector<std::string> plays;
        for (const std::string& call : system.calls)
            if (call.rfind("play ", 0) == 0)
                plays.push_back(call.substr(5));
        system.calls.clear();
        return plays;
    }

    FakeClock clock;
    VelmoraTest::GuiServices services;
    VelmoraTest::RecordingSoundSystem system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<VelmoraTest::TestGuiManager> gui;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<GameData> data;
    std::unique_ptr<GUIMenuWindowManager> manager;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::vector<std::unique_ptr<GUIMenuWindow>> windows;
};

} // namespace

TEST_F(GUIMenuWindowTest, TheNextWindowComesOnInTheFrameThePreviousHasFinishedHiding) {
    GUIMenuWindow* a = Add("window_a");
    GUIMenuWindow* b = Add("window_b");
    EXPECT_EQ(manager->GetWindows(), (std::vector<GUIMenuWindow*>{a, b}));
    EXPECT_TRUE(manager->IsFree());

    a->Show(true);
    EXPECT_FALSE(a->IsVisible()) << "a shown window waits for the manager's next update";
    Frame();
    EXPECT_TRUE(a->IsVisible());
    EXPECT_EQ(manager->GetActiveWindow(), a);
    EXPECT_EQ(TakePlays(), (std::vector<std::string>{"appear.wav"}));
    Frame();
    Frame();

    // b registered after a: the hidden a is still updated first in every frame.
    a->Show(false);
    b->Show(true);
    std::vector<std::string> plays;
    int frames = 0;
    while (!b->IsVisible() && frames < 20) {
        EXPECT_EQ(manager->GetActiveWindow(), a) << "frame " << frames;
        Frame();
        ++frames;
        for (const std::string& play : TakePlays())
            plays.push_back(std::to_string(frames) + " " + play);
    }
    // The frame is gone after two frames (its sound then), the title mount after four; b comes on in the
    // fourth, holding the manager.
    EXPECT_EQ(frames, 4);
    EXPECT_EQ(plays, (std::vector<std::string>{"2 disappear.wav", "4 appear.wav"}));
    EXPECT_EQ(manager->GetActiveWindow(), b);
    EXPECT_FALSE(a->GetRootWindow()->visible);
    EXPECT_FALSE(a->IsVisible());
}

TEST_F(GUIMenuWindowTest, AWindowHiddenWhileWaitingNeverComesOnAndNeverHoldsTheManager) {
    GUIMenuWindow* a = Add("window_a");
    GUIMenuWindow* b = Add("window_b");
    GUIMenuWindow* c = Add("window_c");
    a->Show(true);
    Frame();
    b->Show(true);
    Frame();
    b->Show(false); // still waiting for a
    EXPECT_FALSE(b->IsShown());
    TakePlays();

    a->Show(false);
    for (int i = 0; i < 8; ++i)
        Frame();
    EXPECT_TRUE(manager->IsFree());
    EXPECT_FALSE(b->GetRootWindow()->visible);
    EXPECT_EQ(TakePlays(), (std::vector<std::string>{"disappear.wav"})) << "only a's frame went";

    c->Show(true);
    Frame();
    EXPECT_TRUE(c->IsVisible());
    EXPECT_EQ(manager->GetActiveWindow(), c);
    EXPECT_FALSE(b->IsVisible());
}

TEST_F(GUIMenuWindowTest, AManagerHeldWithoutAWindowKeepsMenusOffUntilReleased) {
    GUIMenuWindow* a = Add("window_a");
    GUIMenuWindow* bare = Add("window_bare");
    a->Show(true);
    Frame();
    a->Show(false);
    // Held without a window as soon as a lets go (the in-game display does this while it fades out).
    for (int i = 0; i < 8 && !manager->IsFree(); ++i)
        Frame();
    manager->Activate(nullptr);
    EXPECT_FALSE(manager->IsFree());
    manager->Activate(a); // already held: nothing
    EXPECT_EQ(manager->GetActiveWindow(), nullptr);

    bare->Show(true);
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_FALSE(bare->IsVisible());
    EXPECT_FALSE(bare->GetRootWindow()->visible);

    manager->ReleaseActive();
    TakePlays();
    Frame();
    EXPECT_TRUE(bare->IsVisible());
    EXPECT_EQ(manager->GetActiveWindow(), bare);
    // A window without a frame plays neither sound.
    bare->Show(false);
    for (int i = 0; i < 4; ++i)
        Frame();
    EXPECT_TRUE(manager->IsFree());
    EXPECT_TRUE(TakePlays().empty());
}

TEST_F(GUIMenuWindowTest, PublisherLogoPlacesShowTheInstallationsLogosAndStayOffWithoutThem) {
    GUIMenuWindow* without = Add("window_logos");
    EXPECT_EQ(without->GetEnabled()[2], false);
    EXPECT_EQ(without->GetEnabled()[3], false);
    without->Show(true);
    Frame();
    EXPECT_FALSE(without->GetWindow("window_logos/logo_additional_0")->visible);
    EXPECT_FALSE(without->GetWindow("window_logos/logo_additional_1")->visible);
    windows.clear();
    manager.reset();

    // Only logo 0 present, with both of its images.
    VelmoraFormats::Picture picture(4, 4, 3);
    const std::vector<uint8_t> jpeg = VelmoraFormats::WriteJpeg(picture);
    services.data.Save("ui/textures/publishers/0_logo_small.jpg", jpeg);
    services.data.Save("ui/textures/publishers/0_logo_small_alpha.jpg", jpeg);
    services.data.Save("ui/textures/publishers/1_logo_small.jpg", jpeg); // its opacity image is missing
    MakeManager();
    ASSERT_NE(data->GetPublisherLogo(0), nullptr);
    EXPECT_EQ(data->GetPublisherLogo(1), nullptr);
    GUIMenuWindow* with = Add("window_logos");
    EXPECT_EQ(with->GetEnabled()[2], true);
    EXPECT_EQ(with->GetEnabled()[3], false);
    with->Show(true);
    Frame();
    EXPECT_EQ(with->GetWindow("window_logos/logo_additional_1")->GetShaderUser()->stageCount, 0u);
    GUIWindow* logo = with->GetWindow("window_logos/logo_additional_0");
    EXPECT_TRUE(logo->visible);
    ASSERT_NE(logo->GetShaderUser(), nullptr);
    EXPECT_EQ(logo->GetShaderUser()->stages[0].colorImage, "ui\\textures\\publishers\\0_logo_small.jpg");
}
