// ctest-label: gui
// Font descriptions: ids in file order across both fonts files, the language child's overrides (size,
// files, properties), the font's layout values, bad entries logged and skipped, a size of 0 that cannot
// poison measured heights, a name given twice that leaks nothing, and missing or malformed files.
#include "guitools/GUIFontTool.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIFont.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace OrvexEngine;
using GUITools::GUIFontTool;

namespace {

// The three files of a font entry, as XML children.
std::string Files(const std::string& font) {
    return "<description_file_path path='fonts\\" + font + "'/><diffuse_image_path path='fonts\\f.png'/>" +
           "<opacity_image_path path='32bit'/>";
}

class GUIFontToolTest : public testing::Test {
protected:
    GUIFontToolTest() {
        gui.SaveFont("latin.fnt", {VelmoraTest::TestGlyph('A', 1), VelmoraTest::TestGlyph('a', 0.5f)});
        gui.SaveFont("cyrillic.fnt", {VelmoraTest::TestGlyph(0x416, 1)});
    }
    void SaveFonts(const std::string& file, const std::string& entries) {
        const std::string text = "<fonts>" + entries + "</fonts>";
        gui.data.Save("ui/fonts/" + file, std::vector<uint8_t>(text.begin(), text.end()));
    }
    // The error lines logged so far.
    std::vector<std::string> Errors() const {
        std::vector<std::string> errors;
        for (const std::string& text : gui.log.Texts())
            if (text.find("Error: ") != std::string::npos && text.find("GUIFontTool") != std::string::npos)
                errors.push_back(text);
        return errors;
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
};

} // namespace

TEST_F(GUIFontToolTest, IdsFollowFileOrderAcrossBothFiles) {
    SaveFonts("fonts_basic.xml", "<font name='console' size='12'>" + Files("latin.fnt") +
                                     "</font><font name='loading' size='28'>" + Files("latin.fnt") +
                                     "</font><any_tag name='text' size='18'>" + Files("latin.fnt") +
                                     "</any_tag>");
    SaveFonts("fonts_additional.xml", "<font name='title' size='32'>" + Files("latin.fnt") +
                                          "</font><font name='tip' size='22'>" + Files("latin.fnt") +
                                          "</font>");
    GUIFontTool tool("en");
    EXPECT_EQ(tool.GetFontIndex("console"), 0);
    EXPECT_EQ(tool.GetFontIndex("text"), 2);
    EXPECT_EQ(tool.GetFontIndex("title"), -1) << "the additional fonts come later";
    tool.LoadAdditionalFonts();
    EXPECT_EQ(tool.GetFontIndex("title"), 3);
    EXPECT_EQ(tool.GetFontIndex("tip"), 4);
    EXPECT_EQ(tool.GetFontIndex(""), -1);
    EXPECT_EQ(tool.GetFontIndex("Console"), -1) << "names are compared exactly";
    EXPECT_EQ(tool.GetFont("nothing"), nullptr);
    ASSERT_NE(tool.GetFont("tip"), nullptr);
    EXPECT_EQ(tool.GetFont("tip"), manager.GetFontManager()->GetFont(4));
    EXPECT_FLOAT_EQ(tool.GetFont("tip")->size, 22);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(GUIFontToolTest, TheLanguageChildOverridesSizeFilesAndSingleProperties) {
    SaveFonts("fonts_basic.xml", "<font name='main' size='20'>" + Files("latin.fnt") +
                                     "<properties shift='2' virtual_size='30'/>"
                                     "<ru size='24'><description_file_path path='fonts\\cyrillic.fnt'/>"
                                     "<properties space='0.3'/></ru></font>"
                                     "<font name='plain' size='24' monospace='false' case='Upper'>" +
                                     Files("latin.fnt") +
                                     "<properties virtual_size='30'/><ru/></font>"
                                     "<font name='caps' size='10' monospace='1' case='upper'>" +
                                     Files("latin.fnt") + "</font>");
    const struct {
        const char* language;
        const char* name;
        float size, space, shift, ratio;
        bool monospace;
        wchar_t glyph; // a character the font must draw
    } cases[] = {
        {"en", "main", 20, 1, 2, 1.5f, false, L'A'},
        {"ru", "main", 24, 0.3f, 2, 1.25f, false, L'\x416'},
        {"ru", "plain", 24, 1, 1, 1.25f, false, L'A'},
        {"en", "caps", 10, 1, 1, 1, true, L'a'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language << " " << c.name);
        GUIFontTool tool(c.language);
        const GUIFont* font = tool.GetFont(c.name);
        ASSERT_NE(font, nullptr);
        EXPECT_FLOAT_EQ(font->size, c.size);
        EXPECT_FLOAT_EQ(font->space, c.space);
        EXPECT_FLOAT_EQ(font->shift, c.shift);
        EXPECT_FLOAT_EQ(font->virtualSizeRatio, c.ratio);
        EXPECT_EQ(font->monospace, c.monospace);
        EXPECT_TRUE(font->HasGlyph(c.glyph));
    }
    // "Upper" with a capital letter folds nothing: the lower-case letter keeps its own narrow glyph, while
    // "upper" draws it with the capital's.
    GUIFontTool tool("en");
    EXPECT_FLOAT_EQ(tool.GetFont("plain")->MeasureText(L"a", 0, -1).x, 0.5f * 24);
    EXPECT_FLOAT_EQ(tool.GetFont("caps")->MeasureText(L"a", 0, -1).x, 1.0f * 10);
}

TEST_F(GUIFontToolTest, BadEntriesAreLoggedAndSkipped) {
    SaveFonts("fonts_basic.xml", "<font name='good' size='12'>" + Files("latin.fnt") +
                                     "</font>"
                                     "<font size='12'>" +
                                     Files("latin.fnt") +
                                     "</font>"
                                     "<font name='sizeless'>" +
                                     Files("latin.fnt") +
                                     "</font>"
                                     "<font name='bare' size='12'/>"
                                     "<font name='flat' size='0'>" +
                                     Files("latin.fnt") +
                                     "<properties virtual_size='30'/></font>"
                                     "<font name='after' size='12'>" +
                                     Files("latin.fnt") + "</font>");
    const uint32_t usersBefore = gui.shaders->GetShaderUserCount();
    {
        GUIFontTool tool("en");
        const std::string head = "\nError: (GUIFontTool::GUIFontTool): font with \"";
        EXPECT_EQ(Errors(), (std::vector<std::string>{
                                head + "1\" index have not name!\n\n",
                                head + "sizeless\" name have not size!\n\n",
                                head + "bare\" name have not description file!\n\n",
                                head + "bare\" name have not diffuse image!\n\n",
                                head + "bare\" name have not opacity image!\n\n",
                                head + "flat\" name have incorrect size!\n\n",
                            }));
        EXPECT_EQ(tool.GetFontIndex("good"), 0);
        EXPECT_EQ(tool.GetFontIndex("sizeless"), -1);
        EXPECT_EQ(tool.GetFontIndex("bare"), -1);
        // A size of 0 leaves the height factor alone: no infinite or NaN heights.
        EXPECT_EQ(tool.GetFontIndex("flat"), 1);
        EXPECT_FLOAT_EQ(tool.GetFont("flat")->virtualSizeRatio, 1);
        EXPECT_EQ(tool.GetFontIndex("after"), 2);
    }
    EXPECT_EQ(gui.shaders->GetShaderUserCount(), usersBefore);
}

TEST_F(GUIFontToolTest, ANameGivenTwiceKeepsTheFirstIdAndLeaksNothing) {
    SaveFonts("fonts_basic.xml", "<font name='twice' size='12'>" + Files("latin.fnt") +
                                     "</font><font name='twice' size='30'>" + Files("cyrillic.fnt") +
                                     "</font>");
    const uint32_t usersBefore = gui.shaders->GetShaderUserCount();
    {
        GUIFontTool tool("en");
        EXPECT_EQ(tool.GetFontIndex("twice"), 0);
        EXPECT_EQ(tool.nextFontId, 2);
        ASSERT_NE(manager.GetFontManager()->GetFont(1), nullptr) << "the second entry still made its font";
        EXPECT_FLOAT_EQ(manager.GetFontManager()->GetFont(1)->size, 30);
        EXPECT_FLOAT_EQ(tool.GetFont("twice")->size, 12);
    }
    // Both fonts and both materials are given back.
    EXPECT_EQ(manager.GetFontManager()->GetFont(0), nullptr);
    EXPECT_EQ(manager.GetFontManager()->GetFont(1), nullptr);
    EXPECT_EQ(gui.shaders->GetShaderUserCount(), usersBefore);
}

TEST_F(GUIFontToolTest, MissingOrMalformedFilesAreLogged) {
    // No basic file at all: one error, no fonts.
    {
        GUIFontTool tool("en");
        EXPECT_EQ(tool.nextFontId, 0);
        EXPECT_TRUE(gui.log.Contains("Error: "));
    }
    // Malformed after two entries: the error is logged and the entries before it are used.
    SaveFonts("fonts_additional.xml", "<font name='one' size='12'>" + Files("latin.fnt") +
                                          "</font><font name='two' size='12'>" + Files("latin.fnt") +
                                          "</font><font name='three'");
    GUIFontTool tool("en");
    tool.LoadAdditionalFonts();
    EXPECT_TRUE(gui.log.Contains("Error: XML format error at line"));
    EXPECT_EQ(tool.GetFontIndex("one"), 0);
    EXPECT_EQ(tool.GetFontIndex("two"), 1);
    // A file without "fonts" adds nothing and logs nothing.
    gui.log.Manager().ClearEntries();
    const std::string text = "<other/>";
    gui.data.Save("ui/fonts/fonts_basic.xml", std::vector<uint8_t>(text.begin(), text.end()));
    GUIFontTool empty("en");
    EXPECT_EQ(empty.nextFontId, 0);
    EXPECT_EQ(gui.log.Manager().GetEntryCount(), 0u);
}
