// ctest-label: data
// The GUI's generated data: fonts, their XML and the texts, checked against each other the way the game uses
// them (every character a text shows has a glyph in the fonts that draw it).
#include "tools/gen/Generate.h"
#include "tools/gen/GenError.h"
#include "tools/gen/XmlReader.h"
#include "tools/gen/recipes/TextsRecipe.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

fs::path ContentDir() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "content";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The generated fonts and texts of the real content, made once for the whole test program.
const fs::path& Generated() {
    static const fs::path out = [] {
        fs::path dir = fs::path(VelmoraTest::TempDir()) / "gui-data";
        for (const char* family : {"content", "fonts", "texts"}) {
            VbGen::GenerateOptions options;
            options.only = family;
            VbGen::Generate(VbGen::Profile::Full, ContentDir().string(), dir.string(), options);
        }
        return dir;
    }();
    return out;
}

fs::path DataPath(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return Generated() / name;
}

std::u32string Utf32(const std::string& text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? c : c & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += code;
        i += length;
    }
    return out;
}

// The characters a text shows: line breaks and the variables the code fills in take no glyph.
std::set<char32_t> Shown(const std::string& text) {
    std::set<char32_t> shown;
    bool inVariable = false;
    for (char32_t c : Utf32(text)) {
        if (c == U'%')
            inVariable = !inVariable;
        else if (!inVariable && c != U'|' && c != U' ')
            shown.insert(c);
    }
    return shown;
}

// Case folding the way an upper-case font draws: only the letters of our two alphabets.
char32_t Upper(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x430 && c <= 0x44F))
        return c - 0x20;
    return c == 0x451 ? 0x401 : c;
}

// The character codes of a font description file, read by its layout: header, count, 22-byte records.
std::set<char32_t> FontCodes(const fs::path& file) {
    const std::string bytes = ReadText(file);
    std::set<char32_t> codes;
    if (bytes.size() < 17 || bytes.compare(4, 5, "OEFNT") != 0)
        return codes;
    uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 13, 4);
    for (uint32_t i = 0; i < count && 17 + 22 * size_t(i + 1) <= bytes.size(); ++i) {
        uint16_t code = 0;
        std::memcpy(&code, bytes.data() + 17 + 22 * size_t(i), 2);
        codes.insert(code);
    }
    return codes;
}

struct FontEntry {
    bool basic = false;
    bool upper = false;
    std::map<std::string, std::string> files; // language ("" for the entry's own) -> description file
};

std::map<std::string, FontEntry> FontEntries() {
    std::map<std::string, FontEntry> entries;
    for (const char* file : {"fonts_basic.xml", "fonts_additional.xml"}) {
        const VbGen::XmlElement root =
            VbGen::ParseXml(ReadText(Generated() / "ui/fonts" / file), file);
        for (const VbGen::XmlElement& font : root.children) {
            FontEntry& entry = entries[*font.Attribute("name")];
            entry.basic = std::strcmp(file, "fonts_basic.xml") == 0;
            entry.upper = font.Attribute("case") != nullptr && *font.Attribute("case") == "upper";
            entry.files[""] = *font.Child("description_file_path")->Attribute("path");
            for (const std::string& language : VbGen::ShippedLanguages())
                if (const VbGen::XmlElement* child = font.Child(language))
                    entry.files[language] = *child->Child("description_file_path")->Attribute("path");
        }
    }
    return entries;
}

// The texts of one language as (key, text).
std::vector<std::pair<std::string, std::string>> TextsIn(const std::vector<VbGen::TextEntry>& entries,
                                                         const std::string& language) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const VbGen::TextEntry& entry : entries)
        for (const auto& [textLanguage, text] : entry.texts)
            if (textLanguage == language)
                out.emplace_back(entry.key, text);
    return out;
}

std::vector<VbGen::TextEntry> Texts() {
    return VbGen::TextEntries(VbGen::ParseXml(ReadText(ContentDir() / "ui/texts/texts.xml"), "texts.xml"));
}

} // namespace

TEST(GuiData, EveryKeyTheCodeReadsHasBothLanguagesAndTheDefaultsAreEnglish) {
    const char* fixedKeys[] = {
        "game_title", "welcome/player", "common/exit", "common/cancel", "common/back", "common/continue",
        "start_game/title_select_level", "start_game/title_stage_is_passed", "game_logic/bonuses/life",
        "game_logic/bonuses/bat_increase", "game_logic/bonuses/bat_decrease", "game_logic/bonuses/balls_speed_up",
        "game_logic/bonuses/balls_slow_down", "game_logic/bonuses/balls_split", "game_logic/bonuses/super_ball",
        "game_logic/bonuses/barrier", "game_logic/bonuses/arbalest", "game_logic/bonuses/ballista",
        "game_logic/bonuses/hammer"};
    const std::vector<VbGen::TextEntry> texts = Texts();
    std::map<std::string, std::map<std::string, std::string>> byKey;
    for (const VbGen::TextEntry& entry : texts)
        for (const auto& [language, text] : entry.texts)
            byKey[entry.key][language] = text;
    for (const char* key : fixedKeys)
        for (const std::string& language : VbGen::ShippedLanguages())
            EXPECT_FALSE(byKey[key][language].empty()) << key << " has no " << language << " text";
    // Every key is translated: a missing Russian text would fall back to English unnoticed.
    for (const auto& [key, languages] : byKey)
        EXPECT_EQ(languages.size(), VbGen::ShippedLanguages().size()) << key;

    const VbGen::XmlElement defaults =
        VbGen::ParseXml(ReadText(Generated() / "ui/texts/default_texts.xml"), "default_texts.xml");
    const std::vector<VbGen::TextEntry> fallback = VbGen::TextEntries(defaults);
    ASSERT_EQ(fallback.size(), texts.size());
    for (const VbGen::TextEntry& entry : fallback)
        for (const auto& [language, text] : entry.texts)
            EXPECT_EQ(text, byKey[entry.key]["en"]) << entry.key << " in " << language;
}

TEST(GuiData, FontsHaveAGlyphForEveryCharacterTheTextsShow) {
    const std::map<std::string, FontEntry> fonts = FontEntries();
    for (const char* name : {"console", "loading"})
        EXPECT_TRUE(fonts.count(name) && fonts.at(name).basic) << name << " must be read before the loading";
    for (const char* name : {"tip", "main_menu_0", "main_menu_1", "main_menu_2", "common_0", "common_1",
                             "common_2", "title", "text", "button", "editbox", "hud", "small"})
        EXPECT_TRUE(fonts.count(name)) << name;
    const std::vector<VbGen::TextEntry> texts = Texts();

    // The full-coverage fonts draw any text in either language, the upper-case ones after folding; the
    // loading font covers the loading windows in each language.
    for (const auto& [name, font] : fonts) {
        if (name == "hud")
            continue;
        for (const std::string& language : VbGen::ShippedLanguages()) {
            const std::string file = font.files.count(language) ? font.files.at(language) : font.files.at("");
            const std::set<char32_t> codes = FontCodes(DataPath(file));
            ASSERT_FALSE(codes.empty()) << file;
            for (const auto& [key, text] : TextsIn(texts, language)) {
                const bool loadingText = key.rfind("loading/", 0) == 0 || key.rfind("level_loading/", 0) == 0;
                if (name == "loading" && !loadingText)
                    continue;
                for (char32_t c : Shown(text)) {
                    EXPECT_TRUE(codes.count(font.upper ? Upper(c) : c))
                        << name << " (" << language << ") lacks U+" << std::hex << uint32_t(c) << " of " << key;
                }
            }
        }
    }
    // The HUD values are digits and signs.
    const std::set<char32_t> hud = FontCodes(DataPath(fonts.at("hud").files.at("")));
    for (char32_t c : std::u32string(U"0123456789:.-+x/"))
        EXPECT_TRUE(hud.count(c)) << "hud lacks " << char(c);
}

TEST(GuiData, DefaultTextsRefuseAKeyWithoutEnglishAndKeepTheFirstOfTwoDefinitions) {
    const VbGen::XmlElement texts = VbGen::ParseXml(
        "<texts><a><b><ru text='x'/></b></a><c><en text='one'/></c><c><en text='two'/><ru text='2'/></c></texts>",
        "test");
    const std::vector<VbGen::TextEntry> entries = VbGen::TextEntries(texts);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, "a/b");
    EXPECT_EQ(entries[1].key, "c");
    ASSERT_EQ(entries[1].texts.size(), 2u); // the later definition only adds the language the first lacks
    EXPECT_EQ(entries[1].texts[0].second, "one");
    EXPECT_EQ(entries[1].texts[1].second, "2");
    EXPECT_THROW(VbGen::DefaultTextsXml(entries), VbGen::GenError);
    EXPECT_EQ(VbGen::DefaultTextsXml({entries[1]}).find("<c><en text=\"one\"/><ru text=\"one\"/></c>") !=
                  std::string::npos,
              true);
}

TEST(XmlReader, RefusesWhatTheGameWouldReadDifferently) {
    const struct {
        const char* text;
        const char* fault;
    } cases[] = {
        {"<a/><b/>", "text after the root element"},
        {"<a/><!-- trailing -->", "text after the root element"},
        {"<!-- note -->\n<a/>\n", nullptr},
        {"<a x='1' x='2'/>", "appears twice"},
        {"<a x='&amp;'/>", "entities"},
        {"<!-- it's -->\n<a/>", "quote"},
        {"<a><b></a>", "closed by another name"},
        {"<a x=1/>", "not quoted"},
        {"<a>", "not closed"},
        {"<!DOCTYPE a><a/>", "DOCTYPE"},
    };
    for (const auto& c : cases) {
        if (c.fault == nullptr) {
            EXPECT_NO_THROW(VbGen::ParseXml(c.text, "case"));
            continue;
        }
        try {
            VbGen::ParseXml(c.text, "case");
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const VbGen::GenError& error) {
            EXPECT_NE(std::string(error.what()).find(c.fault), std::string::npos) << c.text << ": " << error.what();
        }
    }
    const VbGen::XmlElement root = VbGen::ParseXml(
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- note -->\n<r a=\"x > 'y'\"><c n='1'/>text<c n='2'/></r>\n", "ok");
    EXPECT_EQ(*root.Attribute("a"), "x > 'y'");
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(*root.children[1].Attribute("n"), "2");
}
