// ctest-label: shell
// The credits window in the help role: back (code 3) only while on screen, and a description without the
// button, which is logged and leaves a window that shows and hides but sets nothing.
#include "game/shell/GUIHelpWindow.h"

#include "tests/game/shell/MenuWindowFixture.h"

using namespace VelmoraBall;

namespace {

class GUIHelpWindowTest : public VelmoraTest::MenuWindowFixture {};

} // namespace

TEST_F(GUIHelpWindowTest, BackOnlyWhileOnScreen) {
    Describe("window_credits.xml", R"(<window name="window_credits" fader="quick" size="800 600">
        <window name="window" fader="quick" position="100 100" size="600 400">
          <button name="button_0" fader="quick" position="225 20" size="150 40"/></window></window>)");
    GUIHelpWindow* help = Make<GUIHelpWindow>();
    OrvexEngine::GUIButton* back = help->GetButton("window_credits/window/button_0");
    Click(back);
    EXPECT_EQ(help->result, 0);
    help->Show(6);
    EXPECT_EQ(help->mode, 6);
    Frames(3);
    Click(back);
    EXPECT_EQ(help->result, 3);
    Frame();
    EXPECT_EQ(help->result, 0);
    help->Hide();
    Frames(4);
    EXPECT_TRUE(manager->IsFree());
    EXPECT_FALSE(help->IsVisible());
}

TEST_F(GUIHelpWindowTest, WithoutItsButtonItIsLoggedAndSetsNothing) {
    Describe("window_credits.xml", R"(<window name="window_credits" fader="quick">
        <window name="window" fader="quick" size="600 400"/></window>)");
    GUIHelpWindow* help = Make<GUIHelpWindow>();
    EXPECT_TRUE(services.log.Contains("window_credits/window/button_0"));
    help->Show(6);
    Frames(3);
    EXPECT_TRUE(help->IsVisible());
    afterInput = [&] { help->GetButton("window_credits/window/button_0")->clicked = true; };
    Frame();
    EXPECT_EQ(help->result, 0);
    help->Hide();
    Frames(4);
    EXPECT_TRUE(manager->IsFree());
}
