// ctest-label: files
#include "platform/win/FileSystem.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

fs::path FreshDir(const std::string& name) {
    fs::path dir = fs::path(VelmoraTest::TempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void Touch(const fs::path& path, const std::string& content = "x") {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::pair<std::string, bool>> Find(const std::string& pattern) {
    std::vector<std::pair<std::string, bool>> found;
    platform::FindEntry entry;
    platform::FindSearch* search = platform::FindFirst(pattern, entry);
    if (search == nullptr)
        return found;
    do
        found.emplace_back(entry.name, entry.isDirectory);
    while (platform::FindNext(search, entry));
    platform::FindClose(search);
    return found;
}

} // namespace

TEST(FileSystem, WildcardsFollowWindowsRules) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"pack0.pak", "*.pak", true},
        {"PACK0.PAK", "*.pak", true},
        {"pack0.pakx", "*.pak", false},
        {"readme", "*.*", true},
        {"a.b.c", "*.*", true},
        {"readme", "*.", true},
        {"read.me", "*.", false},
        {"level7.xml", "level?.xml", true},
        {"level10.xml", "level?.xml", false},
        {"x", "*", true},
        {"", "*", true},
        {"abc", "a*c*", true},
        {"abd", "a*c", false},
        {"a.xml", "*.xml", true},
        {"xml", "*.xml", false},
        {"ИГРЫ.PAK", "игры.pak", true},
        {"Ölfass.txt", "ö*.TXT", true},
        {"é.xml", "?.xml", true},
        {"日本.xml", "??.xml", true},
        {"日本.xml", "?.xml", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::MatchesWildcard(c.name, c.mask), c.matches) << c.name << " vs " << c.mask;
}

TEST(FileSystem, ResolvesEachComponentWhateverItsCase) {
    fs::path root = FreshDir("resolve");
    Touch(root / "Data" / "UI" / "Fonts.XML");
    std::string base = root.string();

    EXPECT_EQ(platform::ResolvePath(base + "\\data\\ui\\fonts.xml"), (root / "Data/UI/Fonts.XML").string());
    EXPECT_EQ(platform::ResolvePath(base + "/DATA//ui/FONTS.xml"), (root / "Data/UI/Fonts.XML").string());
    // What does not exist keeps its case, below whatever part does exist.
    EXPECT_EQ(platform::ResolvePath(base + "\\data\\ui\\New\\x.bin"), (root / "Data/UI/New/x.bin").string());
    EXPECT_EQ(platform::ResolvePath(base + "\\data\\"), (root / "Data").string() + "/");

    EXPECT_TRUE(platform::PathExists(base + "\\data\\ui\\fonts.xml"));
    EXPECT_TRUE(platform::PathExists(base + "\\DATA"));
    EXPECT_FALSE(platform::PathExists(base + "\\data\\ui\\missing.xml"));
    EXPECT_TRUE(platform::IsDirectory(base + "\\data\\UI"));
    EXPECT_FALSE(platform::IsDirectory(base + "\\data\\ui\\fonts.xml"));

    // Beyond ASCII the same case fold as the engine's lower-casing.
    Touch(root / "Игры" / "ÖL" / "Σημείωση.TXT");
    EXPECT_EQ(platform::ResolvePath(base + "/игры/öl/σημείωση.txt"),
              (root / "Игры/ÖL/Σημείωση.TXT").string());
}

TEST(FileSystem, OpensFilesButNeverDirectories) {
    fs::path root = FreshDir("open");
    Touch(root / "Sub" / "a.bin", "abc");
    std::FILE* file = platform::OpenFile(root.string() + "\\sub\\A.BIN", "rb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(platform::OpenFile(root.string() + "\\sub", "rb"), nullptr);
    EXPECT_EQ(platform::OpenFile(root.string() + "\\nothing", "rb"), nullptr);
    EXPECT_EQ(platform::OpenFile("", "rb"), nullptr);

    EXPECT_TRUE(platform::MakeDirectory(root.string() + "\\SUB\\new"));
    EXPECT_TRUE(fs::is_directory(root / "Sub" / "new"));
    EXPECT_FALSE(platform::MakeDirectory(root.string() + "\\sub\\new")); // exists already
}

TEST(FileSystem, FindListsMatchesInCaseInsensitiveOrder) {
    fs::path root = FreshDir("find");
    Touch(root / "b.pak");
    Touch(root / "A.pak");
    Touch(root / "c.txt");
    fs::create_directories(root / "sub.pak");
    fs::create_directories(root / "other");

    using Found = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(Find(root.string() + "\\*.pak"),
              (Found{{"A.pak", false}, {"b.pak", false}, {"sub.pak", true}}));
    EXPECT_EQ(Find(root.string() + "\\*.PAK").size(), 3u);
    Found all = Find(root.string() + "\\*");
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all[0], (Found::value_type{".", true}));
    EXPECT_EQ(all[1], (Found::value_type{"..", true}));
    EXPECT_EQ(all[6], (Found::value_type{"sub.pak", true}));
    EXPECT_TRUE(Find(root.string() + "\\*.xml").empty());
    EXPECT_TRUE(Find(root.string() + "\\missing\\*").empty());
}

TEST(FileSystem, DeleteTreeRefusesWhatIsNotBelowItsBase) {
    fs::path root = FreshDir("delete");
    fs::path base = root / "profiles";
    fs::path outside = root / "precious";
    Touch(base / "one" / "deep" / "a.prf");
    Touch(outside / "keep.txt");
    fs::create_directory_symlink(outside, base / "one" / "link");
    fs::create_directory_symlink(outside, base / "alias");
    std::string b = base.string();

    EXPECT_FALSE(platform::DeleteTree("", b));
    EXPECT_FALSE(platform::DeleteTree(b, ""));
    EXPECT_FALSE(platform::DeleteTree(b, b));
    EXPECT_FALSE(platform::DeleteTree(b + "\\", b));
    EXPECT_FALSE(platform::DeleteTree(b + "\\one\\..", b));
    EXPECT_FALSE(platform::DeleteTree(b + "\\..\\precious", b));
    EXPECT_FALSE(platform::DeleteTree(root.string(), b));
    // Through a link the deletion would land outside the base.
    EXPECT_FALSE(platform::DeleteTree(b + "\\alias\\keep.txt", b));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));

    // The tree goes, with the link inside it, but not what the link points at.
    EXPECT_TRUE(platform::DeleteTree(b + "\\ONE", b));
    EXPECT_FALSE(fs::exists(base / "one"));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));
    // A link itself is removed, its target stays.
    EXPECT_TRUE(platform::DeleteTree(b + "\\alias", b));
    EXPECT_FALSE(fs::is_symlink(base / "alias"));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));
    EXPECT_TRUE(platform::DeleteTree(b + "\\gone", b)); // nothing there: nothing to do
    EXPECT_TRUE(fs::is_directory(base));
}

TEST(FileSystem, ApplicationDataFolderComesFromXdgDataHome) {
    fs::path root = FreshDir("appdata");
    std::string saved = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";

    setenv("XDG_DATA_HOME", (root / "xdg" / "deep/").c_str(), 1);
    EXPECT_EQ(platform::GetApplicationDataFolder(), (root / "xdg" / "deep").string());
    EXPECT_TRUE(fs::is_directory(root / "xdg" / "deep"));

    // A relative XDG_DATA_HOME is ignored, as the base-directory rules say.
    setenv("XDG_DATA_HOME", "relative", 1);
    setenv("HOME", (root / "home").c_str(), 1);
    EXPECT_EQ(platform::GetApplicationDataFolder(), (root / "home" / ".local" / "share").string());

    Touch(root / "file");
    setenv("XDG_DATA_HOME", (root / "file" / "below").c_str(), 1);
    EXPECT_EQ(platform::GetApplicationDataFolder(), "");

    setenv("XDG_DATA_HOME", saved.c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
}
