// ctest-label: shell
// The stage map over a small description, a six-icon map file (two stages of three levels) and a player,
// frame by frame on the fake clock: the selection clamped to the furthest level, shown and saved; a path icon
// selected as a check point; the modes that start play without showing the map; clicks, double clicks and
// the locked icons after a passed stage; the preview sweep's timing; icons the level list lacks; an empty
// map; and the stage-complete decision.
#include "game/shell/GUIStartGameLogicWindow.h"
#include "game/shell/GUIMapElement.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GUIStageCompleteWindow.h"
#include "game/shell/GameData.h"

#include "engine/core/Controls.h"
#include "engine/core/Error.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIWindow.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "platform/win/Time.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/ProfileFixture.h"
#include "tests/support/RecordingSoundSystem.h"
#include "tests/support/TestGuiManager.h"
#include "tools/formats/ModelWriter.h"
#include "tools/formats/StageMapWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace VelmoraBall;
using namespace OrvexEngine;
using GameFramework::LevelPosition;

namespace {

// The fake clock must stand before the timer manager reads it.
struct FakeClock {
    FakeClock() { platform::InstallFakeClock(1000); }
    ~FakeClock() { platform::RemoveFakeClock(); }
};

class FakeControls : public Controls {
public:
    void SetButton(bool down, bool pressed) {
        keysDown["MOUSE1"] = down;
        keysPressed["MOUSE1"] = pressed;
    }
};

class Levels : public GameFramework::LevelManagerBase {
public:
    Levels() { Load(); }

protected:
    GameFramework::StageInfo* CreateStage() override { return new GameFramework::StageInfo(); }
    GameFramework::LevelInfo* CreateLevel() override { return new GameFramework::LevelInfo(); }
};

const char* const fadersXml =
    "<faders><fader name=\"quick\" type=\"timed\" show_speed=\"4\" hide_speed=\"4\"/></faders>";
const char* const mapXml =
    "<window name=\"window_start_game\" size=\"800 600\"><text_label name=\"title\" size=\"300 40\"/>"
    "<window name=\"window\" position=\"80 110\" size=\"640 400\">"
    "<button name=\"button_0\" position=\"30 16\" size=\"150 44\"/>"
    "<button name=\"button_1\" position=\"460 16\" size=\"150 44\">"
    "<text_label name=\"title\" size=\"150 44\" fader=\"quick\"/></button></window></window>";
// Without the map picture, the buttons and the play caption.
const char* const bareMapXml = "<window name=\"window_start_game\" size=\"800 600\"/>";
const char* const levelsXml = "<levels><stage><level/><level/><level/></stage>"
                              "<stage><level/><level/><level/></stage></levels>";

const Vec2 mapOrigin(80, 110);
const float iconHalf = 18;

// Icon i of the map at (60 + 90 i, 200) in the map window, scaled to 36 x 36 units.
VbFormats::StageMapIcon Icon(uint32_t type, size_t i, float spacing = 90) {
    VbFormats::StageMapIcon icon;
    icon.type = type;
    icon.placement = {iconHalf, 0, 0, 60 + spacing * float(i), 0, iconHalf, 0, 200, 0, 0, 1, 0, 0, 0, 0, 1};
    return icon;
}

// A square with the six key frames of a map icon, `size` units from the centre to each side, the same in
// every frame (the frames only choose its look).
VbFormats::ModelDescription IconModel(float size) {
    const VbFormats::ModelDescription quad = VelmoraTest::QuadModel();
    VbFormats::ModelDescription model = quad;
    model.flags = 0x422CA;
    model.frameCount = 6;
    model.vertices.clear();
    model.boxes.clear();
    for (uint32_t f = 0; f < model.frameCount; ++f) {
        for (VbFormats::ModelVertex v : quad.vertices) {
            v.position[0] *= size;
            v.position[1] *= size;
            model.vertices.push_back(v);
        }
        model.boxes.push_back({{-size, -size, 0}, {size, size, 0}});
    }
    return model;
}

class GUIStartGameLogicWindowTest : public VelmoraTest::ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        gui = std::make_unique<VelmoraTest::GuiServices>();
        Controls::Instance(&controls);
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        guiManager = std::make_unique<VelmoraTest::TestGuiManager>();
        audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
        index = std::make_unique<VelmoraTest::TestProfileManager>(audio.get(), userDirectory);
        index->SelectProfile(index->GetOrCreateProfile(L"Player"), true);
        Save("ui/windows/faders.xml", fadersXml);
        Save("levels/levels.xml", levelsXml);
        levels = std::make_unique<Levels>();
        data = std::make_unique<GameData>("en");
        // Every icon but the check point is 1 unit to each side before the map file scales it; the check
        // point is twice as large, so that its look tells apart.
        gui->data.Save("ui/map/icon.mlf", VbFormats::ModelWriter::Write(IconModel(1)));
        gui->data.Save("ui/map/check_point.mlf", VbFormats::ModelWriter::Write(IconModel(2)));
        for (const char* name : {"ui/map_start", "ui/map_finish", "ui/map_path", "ui/map_check_point"}) {
            const bool check = std::string(name) == "ui/map_check_point";
            data->AddModel(name,
                           gui->models->LoadModel(check ? "ui\\map\\check_point.mlf" : "ui\\map\\icon.mlf",
                                                  nullptr, 0, 0));
            data->AddShaderUser(name, gui->shaders->CreateShaderUser(ShaderDescriptor(), false));
        }
        manager = std::make_unique<GUIMenuWindowManager>(data.get());
    }
    void TearDown() override {
        window.reset();
        tools.reset();
        manager.reset();
        data.reset();
        levels.reset();
        index.reset();
        audio.reset();
        guiManager.reset();
        sounds.reset();
        gui.reset();
    }
    void Save(const std::string& name, const std::string& text) {
        gui->data.Save(name, std::vector<uint8_t>(text.begin(), text.end()));
    }
    void WriteMap(const std::vector<uint32_t>& types) {
        std::vector<VbFormats::StageMapIcon> icons;
        for (size_t i = 0; i < types.size(); ++i)
            icons.push_back(Icon(types[i], i, spacing));
        gui->data.Save("ui/map/map.gmf", VbFormats::StageMapWriter::Write(icons));
    }
    // The default map: start, path, path, check point, path, finish.
    void Build(const std::string& xml = mapXml, const std::vector<uint32_t>& types = {0, 3, 3, 2, 3, 1}) {
        Save("ui/windows/window_start_game.xml", xml);
        WriteMap(types);
        // The tools read the window descriptions when they are made.
        tools = std::make_unique<GUITools::GUIToolManager>("en");
        try {
            window = std::make_unique<GUIStartGameLogicWindow>(
                audio.get(), levels.get(), index.get(), data.get(), tools.get(), manager.get(), nullptr);
        } catch (const Error& error) {
            ADD_FAILURE() << error.GetText();
            throw;
        }
    }
    GameFramework::ProfileBase* Player() { return index->GetCurrentProfile(); }
    void Reach(LevelPosition furthest, LevelPosition current) {
        Player()->furthestPosition = furthest;
        Player()->currentPosition = current;
    }
    // The saved current position, read back from the profile's file.
    LevelPosition Saved() {
        VelmoraTest::TestProfile saved(userDirectory);
        saved.Load(Player()->GetFileName());
        return saved.currentPosition;
    }
    // One frame of 0.05 s: the GUI's input step with the mouse at `cursor`, the window's update, the
    // manager's update of the menu part.
    void Frame(Vec2 cursor = Vec2(-100, -100), bool held = false, bool pressed = false) {
        platform::AdvanceFakeClockMilliseconds(50);
        gui->timers.Update();
        gui->timers.frameTime = 0.05f;
        guiManager->UpdateElements(cursor, held, pressed);
        controls.SetButton(held, pressed);
        window->Update();
        manager->UpdateWindows();
    }
    void Open(int mode) {
        window->Show(mode);
        for (int i = 0; i < 10; ++i)
            Frame();
    }
    // The middle of icon i on the screen.
    Vec2 OnIcon(size_t i) const { return mapOrigin + Vec2(60 + spacing * float(i), 200); }
    // Press and release over icon i; with `twice`, a double click within 0.2 s. Results of every frame are
    // collected.
    std::vector<int> ClickIcon(size_t i, bool twice = false) {
        std::vector<int> results;
        for (int n = 0; n < (twice ? 2 : 1); ++n) {
            Frame(OnIcon(i), true, true);
            results.push_back(window->result);
            Frame(OnIcon(i), false, false);
            results.push_back(window->result);
        }
        return results;
    }
    GUIButton* Button(const std::string& path) {
        return window->GetButtonControl("window_start_game/window/" + path)->button;
    }
    std::vector<uint32_t> States() {
        std::vector<uint32_t> states;
        for (const GUIMapElement* element : window->GetElements())
            states.push_back(element->IsVisible() ? element->GetState() : 9);
        return states;
    }
    static float HalfWidth(const GUIMapElement* element) {
        return element->GetMainWindow()->GetModel()->box.GetHalfSize().x;
    }

    float spacing = 90; // between neighbouring icons, from left to right
    FakeClock clock;
    std::unique_ptr<VelmoraTest::GuiServices> gui;
    FakeControls controls;
    VelmoraTest::RecordingSoundSystem system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<VelmoraTest::TestGuiManager> guiManager;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<VelmoraTest::TestProfileManager> index;
    std::unique_ptr<Levels> levels;
    std::unique_ptr<GameData> data;
    std::unique_ptr<GUIMenuWindowManager> manager;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::unique_ptr<GUIStartGameLogicWindow> window;
};

} // namespace

TEST_F(GUIStartGameLogicWindowTest, IconsStandWhereTheMapPutsThemWithTheirLevels) {
    Build();
    const std::vector<GUIMapElement*>& elements = window->GetElements();
    ASSERT_EQ(elements.size(), 6u);
    const LevelPosition expected[] = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}};
    for (size_t i = 0; i < elements.size(); ++i) {
        EXPECT_EQ(elements[i]->GetStage(), expected[i].stage) << i;
        EXPECT_EQ(elements[i]->GetLevelIndex(), expected[i].level) << i;
        EXPECT_FALSE(elements[i]->IsVisible()) << "hidden until the map is shown";
        // The model where the file puts it inside the map window, the shadow 2 right and 2 down, the
        // clickable middle 60 % of the icon.
        const Vec3 centre = elements[i]->GetMainWindow()->GetModel()->box.GetCentre();
        EXPECT_FLOAT_EQ(centre.x, OnIcon(i).x) << i;
        EXPECT_FLOAT_EQ(centre.y, OnIcon(i).y) << i;
        const Vec3 shadow = elements[i]->GetShadowWindow()->GetModel()->box.GetCentre();
        EXPECT_FLOAT_EQ(shadow.x, centre.x + 2);
        EXPECT_FLOAT_EQ(shadow.y, centre.y - 2);
        const GUIButton* button = elements[i]->GetButton();
        EXPECT_FLOAT_EQ(button->size.x, 2 * HalfWidth(elements[i]) * 0.6f);
        EXPECT_FLOAT_EQ(button->position.x + button->size.x / 2, 60 + 90.0f * float(i));
        EXPECT_GT(elements[i]->GetMainWindow()->GetOrder(), elements[i]->GetShadowWindow()->GetOrder());
    }
}

TEST_F(GUIStartGameLogicWindowTest, TheSelectionIsClampedToTheFurthestLevelShownAndSaved) {
    Build();
    Reach({1, 0}, {0, 0});
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    struct Case {
        LevelPosition asked;
        LevelPosition stored;
        std::vector<uint32_t> states; // per icon; 9 hidden
    };
    const Case cases[] = {
        {{0, 1}, {0, 1}, {1, 3, 0, 0, 9, 9}},
        {{1, 2}, {1, 0}, {1, 1, 1, 3, 9, 9}}, // beyond the furthest level of its stage
        {{2, 0}, {1, 0}, {1, 1, 1, 3, 9, 9}}, // beyond the furthest stage
        {{0, 0}, {0, 0}, {3, 0, 0, 0, 9, 9}},
        {{0, 7}, {0, 0}, {1, 1, 1, 0, 9, 9}}, // no such level: nothing selected, nothing stored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.asked.stage) + "-" + std::to_string(c.asked.level));
        window->SelectPosition(c.asked.stage, c.asked.level);
        EXPECT_EQ(States(), c.states);
        EXPECT_EQ(Player()->currentPosition, c.stored);
        EXPECT_EQ(Saved(), c.stored);
    }
}

TEST_F(GUIStartGameLogicWindowTest, ASelectedPathIconTakesTheCheckPointLookAndGivesItBack) {
    Build();
    Reach({1, 1}, {0, 0});
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    GUIMapElement* path = window->GetElements()[1];
    EXPECT_FLOAT_EQ(HalfWidth(path), iconHalf);
    EXPECT_FLOAT_EQ(HalfWidth(window->GetElements()[3]), 2 * iconHalf);
    window->SelectPosition(0, 1);
    EXPECT_TRUE(path->HasCheckPointLook());
    EXPECT_FLOAT_EQ(HalfWidth(path), 2 * iconHalf);
    EXPECT_TRUE(path->IsVisible());
    EXPECT_TRUE(path->GetShadowWindow()->visible);
    // The new windows keep the icon's fade.
    EXPECT_FLOAT_EQ(path->GetMainWindow()->GetAlpha(), path->GetAlpha() * path->GetAlphaFactor());
    window->SelectPosition(1, 0); // a check point of its own: nothing to swap
    EXPECT_FALSE(path->HasCheckPointLook());
    EXPECT_FLOAT_EQ(HalfWidth(path), iconHalf);
    EXPECT_FALSE(window->GetElements()[3]->HasCheckPointLook());
}

TEST_F(GUIStartGameLogicWindowTest, ModesThatOnlyStartTheNextLevelNeverShowTheMap) {
    Build();
    struct Case {
        int mode;
        bool inProgress;
        bool shown;
        const char* title; // when shown
    };
    const Case cases[] = {
        {GUIStartGameLogicWindow::ModeLevelPassed, false, false, ""},
        {GUIStartGameLogicWindow::ModeRestart, false, false, ""},
        {GUIStartGameLogicWindow::ModeContinue, true, false, ""},
        {GUIStartGameLogicWindow::ModeContinue, false, true, "start_game/title_select_level"},
        {GUIStartGameLogicWindow::ModeMainMenu, true, true, "start_game/title_select_level"},
        {GUIStartGameLogicWindow::ModeStagePassed, false, true, "start_game/title_stage_is_passed"},
    };
    Reach({1, 0}, {1, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + (c.inProgress ? " in progress" : ""));
        Player()->gameInProgress = c.inProgress;
        window->Show(c.mode);
        Frame();
        if (!c.shown) {
            EXPECT_EQ(window->result, GUIStartGameLogicWindow::ResultPlay);
            EXPECT_EQ(window->mode, 0);
            EXPECT_FALSE(window->GetRootWindow()->visible);
            EXPECT_FALSE(window->IsShown());
            Frame();
            EXPECT_EQ(window->result, 0) << "asked once";
        } else {
            EXPECT_EQ(window->result, 0);
            EXPECT_TRUE(window->IsShown());
            EXPECT_EQ(window->GetTextControl("window_start_game/title")->textExpression, c.title);
            EXPECT_EQ(window->mode, c.mode == GUIStartGameLogicWindow::ModeContinue ? 0 : c.mode);
            EXPECT_TRUE(window->IsAnimating());
            window->Hide();
            for (int i = 0; i < 8; ++i)
                Frame();
            EXPECT_FALSE(window->GetRootWindow()->visible);
        }
    }
}

TEST_F(GUIStartGameLogicWindowTest, ClicksSelectAndDoubleClicksOrPlayStartButNotAfterAPassedStage) {
    Build();
    Reach({1, 1}, {0, 0});
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    ASSERT_TRUE(window->GUIMenuWindow::IsVisible());
    EXPECT_GT(window->GetMapFade(), 0.99f) << "the icons follow the play caption in";

    ClickIcon(2);
    EXPECT_EQ(Player()->currentPosition, (LevelPosition{0, 2}));
    EXPECT_EQ(Saved(), (LevelPosition{0, 2}));
    for (int i = 0; i < 12; ++i)
        Frame();
    std::vector<int> results = ClickIcon(4, true);
    EXPECT_EQ(Player()->currentPosition, (LevelPosition{1, 1}));
    EXPECT_EQ(results.back(), GUIStartGameLogicWindow::ResultPlay);
    EXPECT_EQ(std::count(results.begin(), results.end(), GUIStartGameLogicWindow::ResultPlay), 1);
    for (int i = 0; i < 12; ++i)
        Frame();

    // The icon after the furthest one is a preview: it cannot be selected or double-clicked.
    for (int i = 0; i < 6; ++i)
        Frame();
    ASSERT_EQ(window->GetElements()[5]->GetState(), GUIMapElement::StatePreview);
    results = ClickIcon(5, true);
    EXPECT_EQ(std::count(results.begin(), results.end(), GUIStartGameLogicWindow::ResultPlay), 0);
    EXPECT_EQ(Player()->currentPosition, (LevelPosition{1, 1}));

    // The buttons: back, and play (the later one wins).
    Frame();
    Button("button_0")->clicked = true;
    window->Update();
    EXPECT_EQ(window->result, GUIStartGameLogicWindow::ResultBack);
    Frame();
    Button("button_0")->clicked = true;
    Button("button_1")->clicked = true;
    window->Update();
    EXPECT_EQ(window->result, GUIStartGameLogicWindow::ResultPlay);

    // After a passed stage: the first level of the new stage is selected and locked in.
    window->Hide();
    for (int i = 0; i < 8; ++i)
        Frame();
    Reach({1, 0}, {1, 0});
    Open(GUIStartGameLogicWindow::ModeStagePassed);
    for (const GUIMapElement* element : window->GetElements())
        if (element->IsVisible() && element->GetState() != GUIMapElement::StatePreview) {
            EXPECT_TRUE(element->IsLocked());
        }
    results = ClickIcon(1);
    EXPECT_EQ(Player()->currentPosition, (LevelPosition{1, 0})) << "another icon does nothing";
    EXPECT_EQ(window->GetElements()[1]->GetState(), GUIMapElement::StateBefore);
    for (int i = 0; i < 12; ++i)
        Frame();
    results = ClickIcon(3, true);
    EXPECT_EQ(results.back(), GUIStartGameLogicWindow::ResultPlay) << "the selected icon still plays";
}

TEST_F(GUIStartGameLogicWindowTest, OfTwoOverlappingIconsOnlyTheFirstLightsUp) {
    spacing = 8; // the clickable middles overlap
    Build();
    Reach({1, 2}, {1, 2});
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    const std::vector<GUIMapElement*>& elements = window->GetElements();
    const auto frame = [](const GUIMapElement* element) {
        return element->GetMainWindow()->GetModel()->animationControl->currentFrame;
    };
    Frame(OnIcon(1) - Vec2(4, 0));
    ASSERT_TRUE(elements[0]->GetButton()->mouseOver && elements[1]->GetButton()->mouseOver);
    EXPECT_TRUE(elements[0]->IsHighlighted());
    EXPECT_FALSE(elements[1]->IsHighlighted());
    EXPECT_EQ(frame(elements[0]), GUIMapElement::FrameHover);
    EXPECT_EQ(frame(elements[1]), GUIMapElement::StateBefore);
    // Away from the first one the second lights up; the selected icon keeps its own look.
    Frame(OnIcon(2) - Vec2(2, 0));
    EXPECT_FALSE(elements[0]->IsHighlighted());
    EXPECT_EQ(frame(elements[0]), GUIMapElement::StateBefore);
    EXPECT_TRUE(elements[1]->IsHighlighted());
    EXPECT_FALSE(elements[2]->IsHighlighted());
    Frame(OnIcon(5));
    EXPECT_FALSE(elements[5]->IsHighlighted());
    EXPECT_EQ(frame(elements[5]), GUIMapElement::StateSelected);
}

TEST_F(GUIStartGameLogicWindowTest, ThePathTowardTheNextLevelLightsUpAndFadesInTurn) {
    Build();
    Reach({0, 1}, {0, 1});
    window->Show(GUIStartGameLogicWindow::ModeMainMenu);
    const std::vector<GUIMapElement*>& elements = window->GetElements();
    // Frames of 0.05 s on the animation clock. Icon 2 (a path) and icon 3 (the next check point, which ends
    // the sweep) take part; icon 4 never does.
    struct Sample {
        float clock;
        float alpha2; // -1 hidden
        float alpha3;
    };
    const Sample samples[] = {
        {0.10f, 0.1f / 0.3f, -1},                                        // icon 2 fading in, icon 3 not yet
        {0.20f, 0.2f / 0.3f, 0.05f / 0.3f},                              // icon 3 0.15 s later
        {0.40f, 1, 0.25f / 0.3f},           {0.70f, 1 - 0.1f / 0.3f, 1}, // fading out from 0.6 s on
        {1.00f, 0, 1 - 0.25f / 0.3f},       {1.50f, 0, 0},
    };
    int frames = 0;
    for (const Sample& sample : samples) {
        while (window->GetAnimationClock() < sample.clock - 1e-3f && frames < 100) {
            Frame();
            ++frames;
        }
        SCOPED_TRACE(sample.clock);
        ASSERT_NEAR(window->GetAnimationClock(), sample.clock, 1e-3f);
        if (sample.alpha2 < 0) {
            EXPECT_FALSE(elements[2]->IsVisible());
        } else {
            EXPECT_EQ(elements[2]->GetState(), GUIMapElement::StatePreview);
            EXPECT_NEAR(elements[2]->GetAlpha(), sample.alpha2, 1e-3f);
        }
        if (sample.alpha3 < 0) {
            EXPECT_FALSE(elements[3]->IsVisible());
        } else {
            EXPECT_EQ(elements[3]->GetState(), GUIMapElement::StatePreview);
            EXPECT_NEAR(elements[3]->GetAlpha(), sample.alpha3, 1e-3f);
            EXPECT_EQ(elements[3]->GetButton()->state, GUI_BUTTON_DISABLED);
        }
        EXPECT_FALSE(elements[4]->IsVisible());
    }
    // The sweep starts again once the next level's icon has been gone for a second: past 1.9 s.
    float last = 0;
    while (window->GetAnimationClock() >= last && frames < 100) {
        last = window->GetAnimationClock();
        Frame();
        ++frames;
    }
    // The frame that restarts it takes the clock from about 1.85 or 1.9 s past the line.
    EXPECT_GT(last, 1.84f);
    EXPECT_LT(last, 1.91f);
    EXPECT_LT(window->GetAnimationClock(), 0.06f);

    // With the furthest level at the last icon nothing is previewed.
    window->Hide();
    for (int i = 0; i < 8; ++i)
        Frame();
    Reach({1, 2}, {1, 2});
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    for (int i = 0; i < 20; ++i)
        Frame();
    for (const GUIMapElement* element : elements)
        EXPECT_NE(element->GetState(), GUIMapElement::StatePreview);
}

TEST_F(GUIStartGameLogicWindowTest, IconsTheLevelListLacksAreLoggedAndStayLocked) {
    // A check point too many: its stage does not exist, nor does the level after it.
    Build(mapXml, {0, 3, 3, 2, 3, 1, 2, 3});
    EXPECT_TRUE(gui->log.Contains("element 6 stands for level 2-0"));
    EXPECT_TRUE(gui->log.Contains("element 7 stands for level 2-1"));
    EXPECT_FALSE(gui->log.Contains("element 5 "));
    // A profile that claims to have got there cannot select it.
    Reach({2, 1}, {1, 2});
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    window->SelectPosition(2, 0);
    EXPECT_EQ(Player()->currentPosition, (LevelPosition{1, 2}));
    EXPECT_TRUE(window->GetElements()[6]->IsVisible());
    EXPECT_TRUE(window->GetElements()[6]->IsLocked());
    EXPECT_NE(window->GetElements()[6]->GetState(), GUIMapElement::StateSelected);
    Frame();
    ClickIcon(6, true);
    EXPECT_EQ(Player()->currentPosition, (LevelPosition{1, 2}));
    EXPECT_EQ(window->result, 0);
}

TEST_F(GUIStartGameLogicWindowTest, AnEmptyMapOrAMissingPictureStillWorks) {
    Build(mapXml, {});
    Reach({0, 0}, {0, 0});
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    for (int i = 0; i < 10; ++i)
        Frame();
    Button("button_0")->clicked = true;
    window->Update();
    EXPECT_EQ(window->result, GUIStartGameLogicWindow::ResultBack);
    window.reset();
    manager = std::make_unique<GUIMenuWindowManager>(data.get()); // it knew the window just deleted

    // No map picture, no buttons, no caption: the icons hang below the window's root and the window
    // never offers play by itself.
    Build(bareMapXml);
    EXPECT_TRUE(gui->log.Contains("window_start_game/window/button_1"));
    EXPECT_EQ(window->GetElements()[0]->GetButton()->GetParent(), window->GetRootWindow());
    EXPECT_FLOAT_EQ(window->GetElements()[0]->GetMainWindow()->GetModel()->box.GetCentre().x, 60);
    Open(GUIStartGameLogicWindow::ModeMainMenu);
    for (int i = 0; i < 10; ++i)
        Frame(OnIcon(0), i % 2 == 0, i % 2 == 0);
    EXPECT_EQ(window->result, 0);
}

TEST_F(GUIStartGameLogicWindowTest, AMissingOrDamagedMapEndsTheProgramWithTheFilesError) {
    Save("ui/windows/window_start_game.xml", mapXml);
    tools = std::make_unique<GUITools::GUIToolManager>("en");
    EXPECT_THROW(GUIStartGameLogicWindow(audio.get(), levels.get(), index.get(), data.get(), tools.get(),
                                         manager.get(), nullptr),
                 FatalError);
    std::vector<VbFormats::StageMapIcon> icons = {Icon(0, 0)};
    VbFormats::StageMapFaults faults;
    faults.version = 101;
    gui->data.Save("ui/map/map.gmf", VbFormats::StageMapWriter::Write(icons, faults));
    EXPECT_THROW(GUIStartGameLogicWindow(audio.get(), levels.get(), index.get(), data.get(), tools.get(),
                                         manager.get(), nullptr),
                 FatalError);
    EXPECT_TRUE(gui->log.Contains("PROGRAM ABORTING"));
}

TEST(GUIStageCompleteWindow, TheLastLevelOfTheLastStageCompletesTheGameAnythingElseGoesOn) {
    VelmoraTest::GuiServices gui;
    gui.data.Save("levels/levels.xml",
                  std::vector<uint8_t>(levelsXml, levelsXml + std::string(levelsXml).size()));
    Levels levels;
    GUIStageCompleteWindow window(&levels);
    const struct {
        LevelPosition passed;
        int result;
    } cases[] = {{{1, 2}, 22}, {{0, 2}, 13}, {{1, 1}, 13}, {{5, 0}, 13}};
    for (const auto& c : cases) {
        window.Show(23, c.passed);
        EXPECT_EQ(window.result, c.result);
        EXPECT_FALSE(window.resultSeen) << "handled in the same pass";
        EXPECT_EQ(window.position, c.passed);
        window.Hide();
        EXPECT_TRUE(window.resultSeen);
        window.Update();
        EXPECT_EQ(window.result, 0);
    }
}
