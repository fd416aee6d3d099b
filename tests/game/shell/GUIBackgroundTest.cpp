// ctest-label: shell
// The menu background: its basic layers at once, the additional ones when asked, and its front window (the
// menus' parent) in front of every layer, also of those added later.
#include "game/shell/GUIBackground.h"

#include "engine/graphics/ParticleSystemManager.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIBackgroundLayer.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VelmoraBall;

TEST(GUIBackground, BasicLayersComeAtOnceAndTheFrontWindowStaysInFrontOfEveryLayer) {
    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    GameTools::DataKeeper keeper{"en"};
    for (const char* name : {"snow", "rain", "mist"})
        keeper.AddParticleSystem(name, gui.particles->NewParticleSystem(nullptr));
    const std::string xml =
        "<background><particles name=\"snow\"/><particles name=\"rain\" additional=\"1\"/>"
        "<particles name=\"mist\" additional=\"1\"/></background>";
    gui.data.Save("ui/background/background.xml", std::vector<uint8_t>(xml.begin(), xml.end()));

    GUIBackground background(&keeper);
    EXPECT_EQ(background.layers.size(), 1u);
    background.LoadAdditionalLayers();
    ASSERT_EQ(background.layers.size(), 3u);
    const int front = background.foregroundWindow->GetOrder();
    EXPECT_EQ(front, 3 + 3 + 20);
    for (const GUITools::GUIBackgroundLayer* layer : background.layers)
        EXPECT_LT(layer->window->GetOrder(), front);
}
