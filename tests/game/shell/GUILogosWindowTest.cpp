// ctest-label: shell
// The splash screen frame by frame at 0.1 s a frame: each picture fades in over 10 frames, stays 20 and
// fades out over 10; "splash2.jpg" plays before "splash1.jpg"; the black backdrop goes once the last picture
// is fully on; code 1 comes exactly once, in the frame the last picture has gone. A lone second picture
// takes the first one's place, and without pictures the code comes at the first update. Hiding frees the
// pictures and the backdrop.
#include "game/shell/GUILogosWindow.h"

#include "engine/gui/GUIWindow.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/TgaWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace VelmoraBall;

namespace {

class GUILogosWindowTest : public testing::Test {
protected:
    GUILogosWindowTest() {
        VelmoraFormats::Picture white(8, 8, 3);
        services.data.Save("common/empty.tga", VelmoraFormats::WriteTga(white));
        services.timers.frameTime = 0.1f;
    }
    void Picture(const std::string& name) {
        VelmoraFormats::Picture picture(16, 16, 3);
        services.data.Save(name, VelmoraFormats::WriteJpeg(picture));
    }
    // What one frame leaves: "<alpha two> <alpha one> <backdrop> <result>", with "-" for a hidden picture.
    std::string Frame(GUILogosWindow& logos) {
        logos.Update();
        const auto alpha = [](const OrvexEngine::GUIWindow* picture) {
            if (picture == nullptr || !picture->visible)
                return std::string("-");
            return std::to_string(int(picture->GetColor().w * 10 + 0.5f));
        };
        return alpha(logos.GetSplashTwo()) + " " + alpha(logos.GetSplashOne()) + " " +
               (logos.GetBackdrop()->visible ? "black" : "clear") + " " + std::to_string(logos.result);
    }
    // The frames' states with runs of equal states folded into "<count>x <state>".
    std::vector<std::string> Play(GUILogosWindow& logos, int frames) {
        std::vector<std::string> runs;
        std::string last;
        int count = 0;
        for (int i = 0; i < frames; ++i) {
            const std::string state = Frame(logos);
            if (state != last && count > 0) {
                runs.push_back(std::to_string(count) + "x " + last);
                count = 0;
            }
            last = state;
            ++count;
        }
        runs.push_back(std::to_string(count) + "x " + last);
        return runs;
    }

    VelmoraTest::GuiServices services;
    VelmoraTest::TestGuiManager gui;
};

// One folded line per frame of a fade, tenth by tenth from `from` to `to`.
std::vector<std::string> Steps(int from, int to,
                               const std::function<std::string(const std::string&)>& state) {
    std::vector<std::string> frames;
    const int step = from <= to ? 1 : -1;
    for (int tenth = from; tenth != to + step; tenth += step)
        frames.push_back("1x " + state(std::to_string(tenth)));
    return frames;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

} // namespace

TEST_F(GUILogosWindowTest, TwoPicturesTheSecondFileFirstAtTenFramesInTwentyHeldAndTenOut) {
    Picture("splash1.jpg");
    Picture("splash2.jpg");
    GUILogosWindow logos;
    ASSERT_NE(logos.GetSplashOne(), nullptr);
    ASSERT_NE(logos.GetSplashTwo(), nullptr);
    EXPECT_EQ(logos.GetRoot()->GetOrder(), 1);
    EXPECT_EQ(logos.GetBackdrop()->GetOrder(), 100);
    EXPECT_EQ(logos.GetSplashOne()->GetOrder(), 102);
    EXPECT_EQ(logos.GetSplashTwo()->GetOrder(), 101);
    EXPECT_EQ(logos.GetSplashOne()->GetShaderUser()->stages[0].colorImage, "splash1.jpg");
    EXPECT_EQ(logos.GetBackdrop()->GetColor(), OrvexEngine::Vec4(0, 0, 0, 1));
    // Nothing plays before the start-up shows it.
    EXPECT_EQ(Frame(logos), "0 - black 0");

    logos.Show(1);
    EXPECT_EQ(logos.mode, 1);
    const std::vector<std::string> runs = Play(logos, 85);
    // The frame that completes a fade-in also starts the twenty frames of holding.
    std::vector<std::string> expected = Steps(1, 9, [](const std::string& a) { return a + " - black 0"; });
    expected.push_back("21x 10 - black 0");
    Append(expected, Steps(9, 1, [](const std::string& a) { return a + " - black 0"; }));
    expected.push_back("1x - 0 black 0"); // the first has gone; the second waits transparent
    Append(expected, Steps(1, 9, [](const std::string& a) { return "- " + a + " black 0"; }));
    expected.push_back("21x - 10 clear 0"); // fully on: the backdrop goes
    Append(expected, Steps(9, 1, [](const std::string& a) { return "- " + a + " clear 0"; }));
    expected.push_back("1x - - clear 1");
    expected.push_back("5x - - clear 0");
    EXPECT_EQ(runs, expected);
    EXPECT_EQ(logos.GetPhase(), GUILogosWindow::Done);

    logos.Hide();
    EXPECT_TRUE(logos.resultSeen);
    EXPECT_FALSE(logos.IsRunning());
    EXPECT_EQ(logos.GetSplashOne(), nullptr);
    EXPECT_EQ(logos.GetSplashTwo(), nullptr);
    EXPECT_EQ(logos.GetBackdrop(), nullptr);
    EXPECT_NE(logos.GetRoot(), nullptr);
    logos.Update();
    EXPECT_EQ(logos.result, 0);
}

TEST_F(GUILogosWindowTest, ALoneSecondPictureTakesTheFirstPlace) {
    Picture("splash2.jpg");
    GUILogosWindow logos;
    ASSERT_NE(logos.GetSplashOne(), nullptr);
    EXPECT_EQ(logos.GetSplashTwo(), nullptr);
    EXPECT_EQ(logos.GetSplashOne()->GetShaderUser()->stages[0].colorImage, "splash2.jpg");
    EXPECT_EQ(logos.GetSplashOne()->GetOrder(), 102);
    logos.Show(1);
    std::vector<std::string> expected =
        Steps(1, 9, [](const std::string& a) { return "- " + a + " black 0"; });
    expected.push_back("21x - 10 clear 0");
    Append(expected, Steps(9, 1, [](const std::string& a) { return "- " + a + " clear 0"; }));
    expected.push_back("1x - - clear 1");
    expected.push_back("2x - - clear 0");
    EXPECT_EQ(Play(logos, 42), expected);
}

TEST_F(GUILogosWindowTest, WithoutPicturesTheCodeComesAtTheFirstUpdate) {
    GUILogosWindow logos;
    EXPECT_EQ(logos.GetSplashOne(), nullptr);
    EXPECT_EQ(logos.GetSplashTwo(), nullptr);
    EXPECT_EQ(Frame(logos), "- - black 0");
    logos.Show(1);
    EXPECT_EQ(Frame(logos), "- - clear 1");
    EXPECT_EQ(Frame(logos), "- - clear 1") << "every update while running";
    logos.Hide();
    logos.Update();
    EXPECT_EQ(logos.result, 0);
}
