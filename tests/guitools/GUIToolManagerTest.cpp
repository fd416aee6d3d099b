// ctest-label: gui
// The GUI tool manager: the fonts and texts of its language, and the description root holding the document
// element of every window description file in sorted order, so the file listed first wins a name; broken
// files are logged and left out.
#include "guitools/GUIToolManager.h"
#include "gametools/XMLNode.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextTool.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using GameTools::XMLNode;
using GUITools::GUIToolManager;

namespace {

class GUIToolManagerTest : public testing::Test {
protected:
    void Save(const std::string& name, const std::string& text) {
        gui.data.Save(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
};

} // namespace

TEST_F(GUIToolManagerTest, DescriptionsHangUnderTheRootInSortedFileOrder) {
    Save("ui/windows/b_menu.xml", "<window name='menu' from='b'/>");
    Save("ui/windows/a_menu.xml", "<window name='menu' from='a'/>");
    Save("ui/windows/c_broken.xml", "<window name='broken'></other>");
    Save("ui/windows/d_two_roots.xml", "<window name='one'/><window name='two'/>");
    Save("ui/windows/e_options.xml", "<!-- options --><window name='options'/>");
    Save("ui/windows/notes.txt", "<window name='not a description'/>");
    Save("ui/texts/texts.xml", "<texts><game_title><ru text='Velmora RU'/></game_title></texts>");
    Save("ui/fonts/fonts_basic.xml", "<fonts><font name='console' size='12'>"
                                     "<description_file_path path='fonts\\c.fnt'/>"
                                     "<diffuse_image_path path='fonts\\c.png'/>"
                                     "<opacity_image_path path='32bit'/></font></fonts>");
    gui.SaveFont("c.fnt", {VelmoraTest::TestGlyph('a', 1)});

    GUIToolManager tools("ru");
    EXPECT_EQ(tools.language, "ru");
    ASSERT_NE(tools.fontTool, nullptr);
    EXPECT_EQ(tools.fontTool->language, "ru");
    EXPECT_EQ(tools.fontTool->GetFontIndex("console"), 0);
    ASSERT_NE(tools.textTool, nullptr);
    EXPECT_EQ(tools.textTool->GetText("game_title"), L"Velmora RU");

    const XMLNode* root = tools.windowDescriptions;
    EXPECT_EQ(root->GetName(), "");
    EXPECT_EQ(root->GetParent(), nullptr);
    std::vector<std::string> order;
    for (const XMLNode* child : root->children)
        order.push_back(
            child->FindAttribute("name")->value.AsString() +
            (child->HasAttribute("from") ? "/" + child->FindAttribute("from")->value.AsString() : ""));
    EXPECT_EQ(order, (std::vector<std::string>{"menu/a", "menu/b", "options"}));
    EXPECT_EQ(XMLNode::SelectNode(const_cast<XMLNode*>(root), "window[name='menu']")
                  ->FindAttribute("from")
                  ->value.AsString(),
              "a");
    // The broken file and the file with two roots are each logged once.
    int formatErrors = 0;
    for (const std::string& text : gui.log.Texts())
        if (text.find("Error: XML format error") != std::string::npos)
            ++formatErrors;
    EXPECT_EQ(formatErrors, 2);
}

TEST_F(GUIToolManagerTest, WithoutDescriptionsTheRootIsEmptyAndDeletingReleasesTheFonts) {
    Save("ui/fonts/fonts_basic.xml", "<fonts><font name='console' size='12'>"
                                     "<description_file_path path='fonts\\c.fnt'/>"
                                     "<diffuse_image_path path='fonts\\c.png'/>"
                                     "<opacity_image_path path='32bit'/></font></fonts>");
    gui.SaveFont("c.fnt", {VelmoraTest::TestGlyph('a', 1)});
    const uint32_t users = gui.shaders->GetShaderUserCount();
    {
        GUIToolManager tools("en");
        EXPECT_TRUE(tools.windowDescriptions->children.empty());
        EXPECT_NE(manager.GetFontManager()->GetFont(0), nullptr);
    }
    EXPECT_EQ(manager.GetFontManager()->GetFont(0), nullptr);
    EXPECT_EQ(gui.shaders->GetShaderUserCount(), users);
}
