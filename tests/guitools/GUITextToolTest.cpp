// ctest-label: gui
// Localised texts: which of the two text files answers a key, how keys and languages are matched, and what
// a missing, broken or shapeless texts file leaves in the log and in the answers.
#include "guitools/GUITextTool.h"

#include "engine/files/FileManager.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using GUITools::GUITextTool;

namespace {

const char* const DefaultTexts = R"xml(<texts>
  <game_title><en text="Default Title"/><ru text="Default Russian"/></game_title>
  <only_default><en text="From defaults"/></only_default>
  <no_text_here><en text="Default fallback"/></no_text_here>
  <menu><start><en text="Start (default)"/></start></menu>
</texts>)xml";

class TextTool : public testing::Test {
protected:
    TextTool() {
        root = std::filesystem::path(VelmoraTest::TempDir()) / "texts";
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "data" / "ui" / "texts");
        files = std::make_unique<OrvexEngine::FileManager>(root.string(), false, "data", 0);
        OrvexEngine::FileManager::Instance(files.get());
        mark = log.Texts().size();
    }
    void Save(const std::string& name, const std::string& text) const {
        std::ofstream(root / "data" / "ui" / "texts" / name, std::ios::binary) << text;
    }
    // What the tools logged, without the file manager's own lines.
    std::vector<std::string> Logged() const {
        const std::vector<std::string> all = log.Texts();
        return {all.begin() + static_cast<std::ptrdiff_t>(mark), all.end()};
    }
    size_t Count(const std::string& text) const {
        size_t count = 0;
        for (const std::string& entry : Logged())
            count += entry.find(text) != std::string::npos;
        return count;
    }

    VelmoraTest::TestLog log;
    std::filesystem::path root;
    std::unique_ptr<OrvexEngine::FileManager> files;
    size_t mark = 0;
};

TEST_F(TextTool, LooksUpKeysInTheGameFileBeforeTheDefaults) {
    Save("texts.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<!-- titles and menus -->\n"
                      "<texts>\n"
                      "  <game_title><en text=\"Ball Game\"/><ru text=\"Игра с мячом\"/></game_title>\n"
                      "  <no_text_here><en caption=\"not the text attribute\"/></no_text_here>\n"
                      "  <twice><de text=\"Zweimal\"/></twice>\n"
                      "  <twice><en text=\"Second element\"/></twice>\n"
                      "  <twice><en text=\"Third element\"/></twice>\n"
                      "  <en text=\"Directly below texts\"/>\n"
                      "  <menu><start><en text=\"Start\"/></start><quit><en text=\"Quit\"/></quit></menu>\n"
                      "  <quoted><en text='It&apos;s as written'/></quoted>\n"
                      "</texts>\n"
                      "<texts><late><en text=\"In a second texts element\"/></late></texts>\n");
    Save("default_texts.xml", DefaultTexts);
    GUITextTool english("en");
    GUITextTool russian("ru");
    EXPECT_EQ(english.textsNodes.size(), 2u);
    EXPECT_TRUE(Logged().empty());

    struct Case {
        const GUITextTool& tool;
        std::string key;
        std::wstring expected;
    };
    const Case cases[] = {
        {english, "game_title", L"Ball Game"},          // both files: the game's file wins
        {russian, "game_title", L"Игра с мячом"},       // the language picks the element
        {english, "only_default", L"From defaults"},    // only in the defaults
        {russian, "only_default", L"UNKNOWN"},          // key known, language not
        {english, "no_text_here", L"Default fallback"}, // element without "text" falls through
        {english, "twice", L"Second element"},          // first match in document order
        {english, "", L"Directly below texts"},         // "/en": the language element below "texts"
        {english, "menu/start", L"Start"},              // a key with "/" reaches deeper
        {english, "menu/quit", L"Quit"},
        {english, "quoted", L"It&apos;s as written"}, // never entity-decoded
        {english, "late", L"UNKNOWN"},                // only the first "texts" element counts
        {english, "Game_Title", L"UNKNOWN"},          // keys compare exactly
        {english, "missing", L"UNKNOWN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tool.GetText(c.key), c.expected) << c.tool.language << " " << c.key;
}

TEST_F(TextTool, AMissingGameFileStillLeavesTheDefaults) {
    Save("default_texts.xml", DefaultTexts);
    GUITextTool tool("en");
    // The file error, then the format error for the file's (empty) node; nothing about the defaults.
    const std::vector<std::string> expected = {"Failed to open", "Incorrect \"text file\" format"};
    const std::vector<std::string> logged = Logged();
    ASSERT_EQ(logged.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NE(logged[i].find(expected[i]), std::string::npos) << logged[i];
    EXPECT_NE(logged[0].find("texts.xml"), std::string::npos);
    EXPECT_EQ(logged[0].find("default_texts.xml"), std::string::npos);
    EXPECT_EQ(tool.GetText("game_title"), L"Default Title");
    EXPECT_EQ(tool.GetText("menu/start"), L"Start (default)");
}

TEST_F(TextTool, ABrokenGameFileKeepsWhatItReadAndStillLeavesTheDefaults) {
    // The closing tag of "second" is missing: texts read before the fault stay in use.
    Save("texts.xml", "<texts>\n"
                      "  <first><en text=\"Read before the fault\"/></first>\n"
                      "  <second><en text=\"Cut off\"/>\n"
                      "</texts>\n");
    Save("default_texts.xml", DefaultTexts);
    GUITextTool tool("en");
    EXPECT_EQ(Count("XML format error at line 4"), 1u);
    EXPECT_EQ(Count("Incorrect \"text file\" format"), 0u);
    EXPECT_EQ(tool.GetText("first"), L"Read before the fault");
    EXPECT_EQ(tool.GetText("game_title"), L"Default Title");
}

TEST_F(TextTool, FilesWithoutTextsAreReportedAndContributeNothing) {
    Save("texts.xml", "<strings><game_title><en text=\"Wrong root\"/></game_title></strings>");
    Save("default_texts.xml", DefaultTexts);
    {
        GUITextTool tool("en");
        EXPECT_EQ(Count("Incorrect \"text file\" format"), 1u);
        EXPECT_EQ(tool.textsNodes.size(), 1u);
        EXPECT_EQ(tool.GetText("game_title"), L"Default Title");
    }
    // Neither file there: both are reported, and every key is unknown.
    std::filesystem::remove_all(root / "data" / "ui" / "texts");
    GUITextTool tool("en");
    EXPECT_EQ(Count("Failed to open"), 2u);
    EXPECT_EQ(Count("Incorrect \"text file\" format"), 3u);
    EXPECT_TRUE(tool.textsNodes.empty());
    for (const char* key : {"game_title", "only_default", ""})
        EXPECT_EQ(tool.GetText(key), L"UNKNOWN") << key;
}

} // namespace
