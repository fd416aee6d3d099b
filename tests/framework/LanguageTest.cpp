// ctest-label: framework
// The registry stand-in (files per root, the machine's before the user's) and the language chosen from it
// and the font folders, with the process locale that follows: Cyrillic case mapping and conversion work,
// numbers keep their point.
#include "framework/LanguageManager.h"
#include "framework/Registry.h"

#include "engine/files/FileManager.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

const char* const Key = "SOFTWARE\\Quillfen Games\\Velmora Ball";

class RegistryTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        machine = root / "etc-xdg";
        user = root / "config-home";
        setenv("XDG_CONFIG_DIRS", (machine.string() + ":/nowhere").c_str(), 1);
        setenv("XDG_CONFIG_HOME", user.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_DIRS");
        setenv("XDG_CONFIG_HOME", (fs::path(TempDir()) / "config-home").c_str(), 1);
    }

    void WriteMachine(const std::string& lines) {
        WriteFileBytes(machine / "Quillfen Games/Velmora Ball/registry.ini", lines);
    }
    void WriteUser(const std::string& lines) {
        WriteFileBytes(user / "Quillfen Games/Velmora Ball/registry.ini", lines);
    }
    void MakeFontFolders(std::initializer_list<const char*> codes) {
        for (const char* code : codes)
            fs::create_directories(root / "data/ui/fonts" / code);
    }

    fs::path machine, user;
};

} // namespace

TEST_F(RegistryTest, ValuesComeFromTheMachineFirstThenTheUser) {
    WriteMachine("# installed\nVersion=105\ninstallpath = /opt/velmora\r\nEmpty=\n");
    WriteUser("Version=200\nLanguage=ru\nLong=" + std::string(4096, 'x') +
              "\nFits=" + std::string(4095, 'y') + "\n");
    struct Case {
        int root; // -1: the two-root form
        const char* value;
        bool found;
        std::string text;
    };
    const Case cases[] = {
        {-1, "Version", true, "105"},               // the machine's wins
        {-1, "Language", true, "ru"},               // only the user has it
        {-1, "INSTALLPATH", true, " /opt/velmora"}, // names without regard to case; the text as written
        {-1, "Empty", true, ""},
        {-1, "Long", false, "unchanged"}, // 4096 bytes and the terminator do not fit
        {-1, "Fits", true, std::string(4095, 'y')},
        {-1, "Missing", false, "unchanged"},
        {3, "Language", false, "unchanged"},
        {2, "Version", true, "200"},
        {99, "Version", true, "200"},       // an unknown root number is the user's
        {0, "Version", false, "unchanged"}, // roots without a file
        {1, "Version", false, "unchanged"},
        {4, "Version", false, "unchanged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.root << " " << c.value);
        std::string text = "unchanged";
        const bool found = c.root < 0 ? Registry::ReadString(Key, c.value, text)
                                      : Registry::ReadString(c.root, Key, c.value, text);
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(text, c.text);
    }
    // Other keys, and paths that try to leave the folder, hold nothing.
    std::string text;
    EXPECT_FALSE(Registry::ReadString("SOFTWARE\\Quillfen Games", "Version", text));
    EXPECT_FALSE(Registry::ReadString("SOFTWARE\\..\\Quillfen Games\\Velmora Ball", "Version", text));
    EXPECT_FALSE(Registry::ReadString("SYSTEM\\Quillfen Games\\Velmora Ball", "Version", text));
    EXPECT_TRUE(Registry::ReadString("software/Quillfen Games/Velmora Ball", "Version", text));
}

TEST_F(RegistryTest, TheLanguageNeedsItsFontFolderAndATableEntry) {
    struct Case {
        const char* registry; // null: no value
        std::initializer_list<const char*> folders;
        const char* code;
        const char* localeName;
    };
    const Case cases[] = {
        {"ru", {"ru", "en"}, "ru", "russian"},
        {"ru", {"fr", "ge"}, "ge", "german"}, // no "ru" folder: the table's order decides
        {nullptr, {}, "en", "english"},
        {nullptr, {"jp", "cz"}, "jp", "japanese"},
        {"de", {"de"}, "en", "english"}, // a folder, but no such language
        {"", {"sp"}, "sp", "spanish"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        fs::remove_all(root / "data");
        fs::remove_all(user);
        if (c.registry != nullptr)
            WriteUser(std::string("Language=") + c.registry + "\n");
        MakeFontFolders(c.folders);
        LanguageManager languages(Key);
        EXPECT_EQ(languages.GetCurrentLanguage(), c.code);
        EXPECT_EQ(languages.GetCurrentInfo().localeName, c.localeName);
    }
    LanguageManager languages(Key);
    EXPECT_NE(languages.FindLanguage("cz"), nullptr);
    EXPECT_EQ(languages.FindLanguage("CZ"), nullptr);
}

TEST_F(RegistryTest, RussianTextConvertsAndChangesCaseWhileNumbersKeepTheirPoint) {
    WriteUser("Language=ru\n");
    MakeFontFolders({"ru"});
    LanguageManager languages(Key);
    ASSERT_EQ(languages.GetCurrentLanguage(), "ru");

    EXPECT_EQ(std::towupper(L'\u0436'), L'\u0416'); // zhe
    EXPECT_EQ(std::towlower(L'\u042F'), L'\u044F'); // ya
    EXPECT_TRUE(std::iswalpha(L'\u0436'));
    char bytes[8] = {};
    std::mbstate_t state{};
    EXPECT_EQ(std::wcrtomb(bytes, L'\u0436', &state), 2u);
    EXPECT_EQ(std::string(bytes), "\xD0\xB6");

    char number[16];
    std::snprintf(number, sizeof number, "%.2f", 1.5);
    EXPECT_STREQ(number, "1.50");
    EXPECT_EQ(std::strtod("1.5", nullptr), 1.5);
}
