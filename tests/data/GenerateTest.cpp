// ctest-label: data
#include "tools/gen/Generate.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/ExeResources.h"
#include "tools/gen/GenError.h"
#include "tools/gen/LinkFile.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

// The sources this test was built from (the compiler is given absolute paths).
fs::path ContentDir() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "content";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Every file below a folder by its relative path, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(root).generic_string()] = ReadText(entry.path());
    return files;
}

// A small content folder: data files as the game names them, and sources that are not data.
fs::path MakeContent(const fs::path& root) {
    fs::path content = root / "content";
    WriteText(content / "publisher.xml", "<publisher name=\"test\"/>");
    WriteText(content / "ui/windows/window_a.xml", "<window name=\"window_a\"/>");
    WriteText(content / "levels/designs/00_00.lvl", "# a level design, compiled elsewhere");
    WriteText(content / "packs.txt", "loose publisher.xml");
    WriteText(content / "help.html", "<html>guide</html>");
    return content;
}

} // namespace

TEST(DataDeterminism, TwoRunsIntoTwoTreesGiveTheSameBytes) {
    fs::path temp = fs::path(VelmoraTest::TempDir()) / "determinism";
    for (VbGen::Profile profile : {VbGen::Profile::Full, VbGen::Profile::Minimal}) {
        fs::remove_all(temp);
        VbGen::Generate(profile, ContentDir().string(), (temp / "a").string());
        VbGen::Generate(profile, ContentDir().string(), (temp / "b").string());
        std::map<std::string, std::string> a = Tree(temp / "a");
        std::map<std::string, std::string> b = Tree(temp / "b");
        EXPECT_TRUE(a.count("publisher.xml") == 1 && a.count("common/empty.tga") == 1);
        ASSERT_EQ(a.size(), b.size());
        for (const auto& [name, bytes] : a) {
            ASSERT_EQ(b.count(name), 1u) << name;
            EXPECT_TRUE(bytes == b[name]) << name << " differs between two runs";
        }
    }
}

TEST(Generate, CopiesDataFilesOnlyAndLeavesTheOtherSourcesAlone) {
    fs::path temp = fs::path(VelmoraTest::TempDir()) / "copy";
    fs::path content = MakeContent(temp);
    VbGen::Generate(VbGen::Profile::Full, content.string(), (temp / "out").string());
    std::map<std::string, std::string> out = Tree(temp / "out");
    EXPECT_EQ(out["publisher.xml"], "<publisher name=\"test\"/>");
    EXPECT_EQ(out["ui/windows/window_a.xml"], "<window name=\"window_a\"/>");
    EXPECT_EQ(out.count("packs.txt") + out.count("help.html") + out.count("levels/designs/00_00.lvl"), 0u);

    // Pack members and listings are lower-case: an upper-case data file is refused, naming it.
    WriteText(content / "ui/Windows/window_b.xml", "<window/>");
    try {
        VbGen::Generate(VbGen::Profile::Full, content.string(), (temp / "out").string());
        ADD_FAILURE() << "an upper-case folder was accepted";
    } catch (const VbGen::GenError& error) {
        EXPECT_NE(std::string(error.what()).find("ui/Windows/window_b.xml"), std::string::npos)
            << error.what();
    }
}

TEST(Generate, RewritesOnlyWhatChangedAndRemovesWhatNoRecipeMakes) {
    fs::path temp = fs::path(VelmoraTest::TempDir()) / "incremental";
    fs::path content = MakeContent(temp);
    fs::path out = temp / "out";
    VbGen::GenerateReport first = VbGen::Generate(VbGen::Profile::Full, content.string(), out.string());
    // The two XML files and what the recipes make from nothing (the white picture, the fonts).
    EXPECT_EQ(size_t(first.written), Tree(out).size());
    EXPECT_GE(first.written, 3);
    EXPECT_EQ(first.unchanged, 0);

    // A second run leaves every file, and its time stamp, alone.
    fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(out / "publisher.xml", old);
    VbGen::GenerateReport second = VbGen::Generate(VbGen::Profile::Full, content.string(), out.string());
    EXPECT_EQ(second.written, 0);
    EXPECT_EQ(second.unchanged, first.written);
    EXPECT_EQ(fs::last_write_time(out / "publisher.xml"), old);

    // A changed source is rewritten; a file no recipe makes any more goes, with the folder it leaves empty,
    // but not while only one family runs.
    WriteText(content / "publisher.xml", "<publisher name=\"other\"/>");
    WriteText(out / "stale/old.xml", "<old/>");
    VbGen::GenerateOptions only;
    only.only = "content";
    VbGen::GenerateReport partial =
        VbGen::Generate(VbGen::Profile::Full, content.string(), out.string(), only);
    EXPECT_EQ(partial.written, 1);
    EXPECT_EQ(partial.deleted, 0);
    EXPECT_TRUE(fs::exists(out / "stale/old.xml"));
    VbGen::GenerateReport full = VbGen::Generate(VbGen::Profile::Full, content.string(), out.string());
    EXPECT_EQ(full.deleted, 1);
    EXPECT_FALSE(fs::exists(out / "stale"));
    EXPECT_EQ(ReadText(out / "publisher.xml"), "<publisher name=\"other\"/>");

    only.only = "no_such_family";
    EXPECT_THROW(VbGen::Generate(VbGen::Profile::Full, content.string(), out.string(), only),
                 VbGen::GenError);
}

TEST(Generate, RefusesToClearAFolderAroundOrInsideTheContent) {
    fs::path temp = fs::path(VelmoraTest::TempDir()) / "guard";
    fs::path content = MakeContent(temp);
    WriteText(temp / "precious.txt", "keep");
    for (const fs::path& out : {temp, content, content / "staged"})
        EXPECT_THROW(VbGen::Generate(VbGen::Profile::Full, content.string(), out.string()), VbGen::GenError)
            << out;
    // Nor a folder of other files.
    WriteText(temp / "other/notes.txt", "keep");
    EXPECT_THROW(VbGen::Generate(VbGen::Profile::Full, content.string(), (temp / "other").string()),
                 VbGen::GenError);
    EXPECT_EQ(ReadText(temp / "other/notes.txt"), "keep");
    EXPECT_EQ(ReadText(temp / "precious.txt"), "keep");
    EXPECT_TRUE(fs::exists(content / "help.html"));
    EXPECT_FALSE(fs::exists(content / "staged"));
}

TEST(LinkFile, PointsAtTheGuideByAnEncodedAbsoluteUrl) {
    fs::path temp = fs::path(VelmoraTest::TempDir()) / "link";
    fs::path content = MakeContent(temp);
    fs::path bin = temp / "my bin\xC3\xBC";
    EXPECT_EQ(VbGen::WriteLinkFile(content.string(), bin.string()), 2);
    EXPECT_EQ(ReadText(bin / "help.html"), "<html>guide</html>");
    EXPECT_EQ(ReadText(bin / "play.url"),
              "[InternetShortcut]\r\nURL=" + VbGen::FileUrl(fs::absolute(temp).lexically_normal().string()) +
                  "/my%20bin%C3%BC/help.html\r\n");
    EXPECT_EQ(VbGen::FileUrl("/a b/%c#d?e"), "file:///a%20b/%25c%23d%3Fe");
    EXPECT_EQ(VbGen::WriteLinkFile(content.string(), bin.string()), 0);

    fs::remove(content / "help.html");
    EXPECT_THROW(VbGen::WriteLinkFile(content.string(), bin.string()), VbGen::GenError);
}

TEST(ExeResources, TableIsSortedByIdAndRefusesAnIdTwice) {
    std::vector<VbGen::ExeResource> resources = {{1000, "cursor", {0xAB}}, {101, "icon", {0x01, 0x02}}};
    std::string source = VbGen::ExeResourcesSource(resources, "exe_resources.h");
    EXPECT_NE(source.find("#include \"exe_resources.h\""), std::string::npos);
    size_t icon = source.find("{101, \"icon\", resource101, sizeof(resource101)}");
    size_t cursor = source.find("{1000, \"cursor\", resource1000, sizeof(resource1000)}");
    ASSERT_NE(icon, std::string::npos);
    ASSERT_NE(cursor, std::string::npos);
    EXPECT_LT(icon, cursor);
    EXPECT_NE(source.find("resource1000[] = {\n    0xAB,\n};"), std::string::npos);

    resources.push_back({101, "icon", {}});
    EXPECT_THROW(VbGen::ExeResourcesSource(resources, "exe_resources.h"), VbGen::GenError);
}

TEST(AssetRandom, FollowsPcg32AndGivesEachAssetItsOwnStream) {
    // The published first outputs of PCG32 seeded with state 42, stream 54.
    VbGen::AssetRandom reference(42u, 54u);
    for (uint32_t expected : {0xA15C02B7u, 0x7B47F409u, 0xBA1D3330u, 0x83D2F293u, 0xBFA4784Bu, 0xCBED606Eu})
        EXPECT_EQ(reference.NextU32(), expected);

    auto first = [](const std::string& name, uint32_t version) {
        VbGen::AssetRandom random(name, version);
        std::vector<uint32_t> values;
        for (int i = 0; i < 4; ++i)
            values.push_back(random.NextU32());
        return values;
    };
    EXPECT_EQ(first("blocks\\models\\clay.mlf", 1), first("blocks\\models\\clay.mlf", 1));
    EXPECT_NE(first("blocks\\models\\clay.mlf", 1), first("blocks\\models\\clay.mlf", 2));
    EXPECT_NE(first("blocks\\models\\clay.mlf", 1), first("blocks\\models\\tile.mlf", 1));

    VbGen::AssetRandom random("x", 1);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_LT(random.Below(3), 3u);
        float value = random.Range(-2.0f, 5.0f);
        EXPECT_TRUE(value >= -2.0f && value < 5.0f) << value;
    }
}
