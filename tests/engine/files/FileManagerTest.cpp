// ctest-label: files
#include "engine/files/FileManager.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileTextual.h"
#include "platform/win/Process.h"
#include "tests/support/TestLog.h"
#include "tools/formats/BinaryWriter.h"
#include "tools/formats/FormatError.h"
#include "tools/formats/PackBuilder.h"
#include "tools/formats/PackReader.h"
#include "tools/formats/PackWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

using namespace OrvexEngine;
using VbFormats::PackWriter;
namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// An installation folder with an executable (which may carry an appended pack) and a data folder.
class FileManagerTest : public testing::Test {
protected:
    void SetUp() override {
        root = fs::path(VelmoraTest::TempDir()) / "Install";
        fs::remove_all(root);
        fs::create_directories(root / "data");
        exe = root / "velmora-ball";
        Touch(exe, "\x7f"
                   "ELF not really");
        platform::SetExecutablePathForTests(exe.string());
    }
    void TearDown() override { platform::SetExecutablePathForTests(""); }

    std::unique_ptr<FileManager> Manager(uint32_t limit = 1 << 20, const std::string& data = "data") {
        return std::make_unique<FileManager>(root.string(), true, data, limit);
    }

    static std::string Content(FileManager& files, const std::string& name, uint32_t limit = 0) {
        std::unique_ptr<FileBinary> file(files.OpenFile(name, false, limit));
        std::string text(file->GetSize(), '\0');
        file->Read(text.data(), file->GetSize());
        return text;
    }

    VelmoraTest::TestLog log;
    fs::path root;
    fs::path exe;
};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.GetText();
    }
    return "(no Error)";
}

} // namespace

TEST_F(FileManagerTest, DiskWinsThenTheAppendedPackThenPacksInOrder) {
    PackWriter appended;
    appended.Add("x.txt", "appended x");
    appended.Add("only_appended.txt", "appended only");
    Touch(exe, "host");
    VbFormats::SaveBytes(exe.string(), PackWriter::AppendToHost({'h', 'o', 's', 't'}, appended.Build()));

    PackWriter a;
    a.Add("x.txt", "a x");
    a.Add("y.txt", "a y");
    a.Add("textures\\a.dds", "a texture");
    a.Save((root / "data" / "a.pak").string());
    PackWriter b;
    b.Add("y.txt", "b y");
    b.Add("z.txt", "b z");
    b.Save((root / "data" / "B.pak").string());
    Touch(root / "data" / "Z.TXT", "disk z");

    for (uint32_t limit : {0u, 1u << 20}) {
        auto files = Manager(limit);
        EXPECT_EQ(files->GetPackCount(), 3u);
        EXPECT_EQ(Content(*files, "data\\x.txt"), "appended x");
        EXPECT_EQ(Content(*files, "data\\only_appended.txt"), "appended only");
        EXPECT_EQ(Content(*files, "data\\y.txt"), "a y") << "packs in the order found: a.pak before B.pak";
        EXPECT_EQ(Content(*files, "data\\z.txt"), "disk z") << "disk over packs";
        EXPECT_EQ(Content(*files, "data\\z.txt", 1 << 20), "disk z");

        struct Spelling {
            const char* name;
            bool found;
        };
        for (const Spelling& s :
             {Spelling{"data\\Textures\\A.DDS", true}, Spelling{"Data\\textures\\a.dds", true},
              Spelling{"data\\\\textures\\\\a.dds", true}, Spelling{"data/textures/a.dds", true},
              Spelling{"textures\\a.dds", false}, Spelling{"data\\textures", false}}) {
            EXPECT_EQ(files->FileExists(s.name), s.found) << s.name;
            EXPECT_EQ(files->FindInPacks(s.name), s.found) << s.name;
        }
        EXPECT_EQ(Content(*files, "DATA\\TEXTURES\\A.DDS"), "a texture");
        // An absolute name is never looked up in the packs.
        std::string absolute = root.string() + "\\data\\textures\\a.dds";
        EXPECT_FALSE(files->FileExists(absolute));
        EXPECT_EQ(ErrorOf([&] { delete files->OpenFile(absolute, false, 0); }),
                  "Failed to open \"" + absolute + "\" file");
    }
    // The disk copy gone, the pack member serves.
    fs::remove(root / "data" / "Z.TXT");
    EXPECT_EQ(Content(*Manager(), "data\\z.txt"), "b z");
    EXPECT_EQ(ErrorOf([&] { delete Manager()->OpenFile("data\\none.txt", false, 0); }),
              "Failed to open \"" + root.string() + "\\data\\none.txt\" file");
}

TEST_F(FileManagerTest, BrokenPacksAreLeftOutAndTheRestServes) {
    PackWriter good;
    good.Add("good.txt", "fine");
    good.Save((root / "data" / "good.pak").string());
    PackWriter bad;
    bad.Add("bad.txt", "never");
    bad.faults.version = 99;
    bad.Save((root / "data" / "bad.pak").string());
    Touch(root / "data" / "junk.pak", "not a pack at all");
    // An appended pack whose trailer claims more bytes than the executable has.
    VbFormats::SaveBytes(exe.string(), {'e', 0xFF, 0xFF, 0, 0, 'A', 'P', 'C'});

    auto files = Manager();
    EXPECT_EQ(files->GetPackCount(), 1u);
    EXPECT_EQ(Content(*files, "data\\good.txt"), "fine");
    EXPECT_FALSE(files->FileExists("data\\bad.txt"));
    EXPECT_TRUE(log.Contains("Error: Incorrect pack file version, current is 100!\n"));
    std::vector<std::string> texts = log.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Error: Incorrect pack file format!\n"), 2)
        << "the junk pack and the executable's trailer";
    EXPECT_EQ(texts.front(), "Initialization of File Manager...\n");
}

TEST_F(FileManagerTest, PacksAreFoundOnlyInFoldersNamedLikePacks) {
    PackWriter writer;
    writer.Add("found.txt", "1");
    writer.Save((root / "data" / "Extra.PAK" / "inner.pak").string());
    PackWriter hidden;
    hidden.Add("hidden.txt", "2");
    hidden.Save((root / "data" / "other" / "hidden.pak").string());
    auto files = Manager();
    EXPECT_TRUE(files->FileExists("data\\found.txt"));
    EXPECT_FALSE(files->FileExists("data\\hidden.txt"));
    // Paths found by the search come lower-cased, and open all the same.
    EXPECT_TRUE(log.Contains("...Pack file " + ToLowerCopy(root.string() + "\\data\\Extra.PAK\\inner.pak") +
                             " found..."));
}

TEST_F(FileManagerTest, DirectoriesAndListings) {
    PackWriter writer;
    writer.Add("ui\\fonts\\de\\a.fnt", "f");
    writer.Add("ui\\windows\\a.xml", "pack a");
    writer.Add("ui\\windows\\b.xml", "pack b");
    writer.Add("ui\\windows\\sub\\c.xml", "pack c");
    writer.Add("ui\\windows\\d.txt", "pack d");
    writer.Save((root / "data" / "ui.pak").string());
    PackWriter again;
    again.Add("ui\\windows\\b.xml", "second b");
    again.Save((root / "data" / "zz.pak").string());
    Touch(root / "data" / "UI" / "Windows" / "A.xml", "disk a");
    Touch(root / "data" / "UI" / "Windows" / "e.XML", "disk e");

    auto files = Manager();
    EXPECT_FALSE(files->DirectoryExists("Data\\ui\\fonts\\de")) << "the pack prefix test keeps the case";
    EXPECT_TRUE(files->DirectoryExists("data\\ui\\fonts\\de"));
    EXPECT_TRUE(files->DirectoryExists("data/ui/fonts/de"));
    EXPECT_TRUE(files->DirectoryExists("Data\\UI\\windows")) << "on disk, whatever its case";
    EXPECT_FALSE(files->DirectoryExists("data\\ui\\sounds"));

    std::vector<std::string> list{"old entry"};
    files->ListFiles("data\\ui\\windows", "*.xml", list);
    std::string disk = root.string() + "\\data\\ui\\windows\\";
    for (char& c : disk)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::vector<std::string> expected{disk + "a.xml", disk + "e.xml", "data\\ui\\windows\\a.xml",
                                      "data\\ui\\windows\\b.xml", "data\\ui\\windows\\sub\\c.xml"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(list, expected);
    // Every entry opens; the pack entry of a file also on disk opens the disk copy.
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(Content(*files, list[0]), "disk a") << "a lower-cased disk path opens";
    EXPECT_EQ(Content(*files, list[4]), "pack c");
    EXPECT_EQ(Content(*files, "data\\ui\\windows\\a.xml"), "disk a");
    EXPECT_EQ(Content(*files, "data\\ui\\windows\\b.xml"), "pack b");
}

TEST_F(FileManagerTest, EmptyDataDirectoryTakesNamesAsMembers) {
    PackWriter writer;
    writer.Add("levels\\l1.xml", "level");
    writer.Save((root / "only.pak").string());
    auto files = Manager(0, "");
    EXPECT_EQ(files->GetDataDirectory(), "");
    EXPECT_EQ(Content(*files, "Levels\\L1.xml"), "level");
}

TEST_F(FileManagerTest, WritingCreatesTheMissingFolders) {
    auto files = Manager();
    {
        std::unique_ptr<FileBinary> out(files->OpenFile("user\\Profiles\\new\\a.prf", true, 0));
        out->Write("abc", 3);
    }
    EXPECT_TRUE(fs::exists(root / "user" / "Profiles" / "new" / "a.prf"));
    {
        std::unique_ptr<FileTextual> text(files->OpenTextFile("user\\settings.ini", 1, 0));
        text->WriteText("v_mode 640x480x16");
        text->WriteLineEnd();
    }
    std::unique_ptr<FileTextual> text(files->OpenTextFile("USER\\SETTINGS.INI", 0, 3));
    std::string line;
    EXPECT_TRUE(text->ReadLine(line, true, false));
    EXPECT_EQ(line, "v_mode 640x480x16");
    EXPECT_EQ(text->GetEncoding(), 0);
}

TEST_F(FileManagerTest, PackBuiltByTheToolReadsBackMemberByMember) {
    fs::path staged = root / "staged";
    Touch(staged / "ui" / "texts" / "texts.xml", "<texts/>");
    Touch(staged / "ui" / "windows" / "main.xml", "<window/>");
    Touch(staged / "audio" / "sounds" / "click.wav", std::string("RIFF\0\0\0\0", 8));
    Touch(staged / "splash1.jpg", "jpeg");
    Touch(staged / "publisher.xml", "<publisher name=\"default\"/>");
    fs::path out = root / "data";
    Touch(out / "ui" / "texts" / "texts.xml", "stale loose copy");

    VbFormats::PackBuilder plan("pack0.pak  ui\\  splash1.jpg   # the interface\n"
                                "pack2.pak  audio\\\n"
                                "loose      publisher.xml\n");
    VbFormats::PackBuilder::Report report = plan.LayOut(staged.string(), out.string(), true);
    EXPECT_EQ(report.written, 3);
    EXPECT_EQ(report.deleted, 1) << "the stale loose copy would shadow the packed file";
    EXPECT_FALSE(fs::exists(out / "ui"));
    EXPECT_EQ(plan.LayOut(staged.string(), out.string(), true).unchanged, 3)
        << "a second run changes nothing";

    VbFormats::PackReader pack0((out / "pack0.pak").string());
    auto files = Manager(0);
    EXPECT_EQ(files->GetPackCount(), 2u);
    for (const VbFormats::PackReader::Member& member : pack0.Members()) {
        std::vector<uint8_t> bytes = pack0.Bytes(member);
        EXPECT_EQ(Content(*files, "data\\" + member.name), std::string(bytes.begin(), bytes.end()))
            << member.name;
    }
    EXPECT_EQ(pack0.Members().size(), 3u);
    EXPECT_EQ(Content(*files, "data\\audio\\sounds\\click.wav").size(), 8u);
    EXPECT_EQ(Content(*files, "data\\publisher.xml"), "<publisher name=\"default\"/>");
    // A disk copy of a member wins over it.
    Touch(out / "ui" / "windows" / "main.xml", "<window edited/>");
    EXPECT_EQ(Content(*Manager(0), "data\\ui\\windows\\main.xml"), "<window edited/>");

    EXPECT_THROW(VbFormats::PackBuilder("pack0.pak ui\\\n").LayOut(staged.string(), out.string(), true),
                 VbFormats::FormatError);
    EXPECT_THROW(plan.LayOut(staged.string(), root.string(), true), VbFormats::FormatError)
        << "the output folder would hold the staged tree";
    EXPECT_THROW(plan.LayOut(staged.string(), "/", true), VbFormats::FormatError);
    // A folder with files the plan does not place was not laid out by it: nothing there is touched.
    fs::path elsewhere = root / "documents";
    Touch(elsewhere / "letter.txt", "mine");
    Touch(elsewhere / "ui" / "old.xml", "placed by the plan, yet not in a folder it laid out");
    EXPECT_THROW(plan.LayOut(staged.string(), elsewhere.string(), true), VbFormats::FormatError);
    EXPECT_TRUE(fs::exists(elsewhere / "letter.txt"));
    EXPECT_TRUE(fs::exists(elsewhere / "ui" / "old.xml"));
    EXPECT_FALSE(fs::exists(elsewhere / "pack0.pak"));
    // The temporary copy a killed run left beside a pack is its own.
    Touch(out / "pack0.pak.tmp", "half a pack");
    EXPECT_EQ(plan.LayOut(staged.string(), out.string(), true).deleted, 2) << "with the edited loose copy";
    EXPECT_FALSE(fs::exists(out / "pack0.pak.tmp"));
    EXPECT_THROW(plan.LayOut((root / "nothing").string(), out.string(), true), VbFormats::FormatError);
    EXPECT_TRUE(fs::exists(staged / "publisher.xml"));
    EXPECT_THROW(VbFormats::PackBuilder("a.pak ui\\\nb.pak ui\\windows\\ audio\\ splash1.jpg publisher.xml\n")
                     .LayOut(staged.string(), out.string(), true),
                 VbFormats::FormatError);
}

TEST(FilePaths, NameFunctions) {
    struct Combine {
        const char* directory;
        const char* name;
        const char* result;
    };
    for (const Combine& c : {
             Combine{"data\\levels\\", "..\\ui\\x.xml", "data\\ui\\x.xml"},
             Combine{"", "x", "x"},
             Combine{"d", "", ""},
             Combine{"a", "b\\..\\c", "a\\c"},
             Combine{"a\\b\\c", "..\\..\\d", "a\\d"},
             Combine{"b", "..\\c", "c"},
             Combine{"..", "x\\..\\y", "..\\x\\..\\y"},
             Combine{"data", "x..y.png", "data\\x..y.png"},
             Combine{"ab..c", "d", "ab..c\\d"},
             Combine{"data/levels", "../ui/x.xml", "data/ui/x.xml"},
         })
        EXPECT_EQ(CombinePath(c.directory, c.name), c.result) << c.directory << " + " << c.name;

    struct Replace {
        const char* path;
        const char* extension;
        const char* result;
    };
    for (const Replace& r :
         {Replace{"a.b\\c", "xml", "a.xml"}, Replace{"m.dds", "", "m"}, Replace{"model", "shd", "model.shd"},
          Replace{"model", "", "model"}, Replace{"x.tar.gz", "zip", "x.tar.zip"}}) {
        std::string path = r.path;
        ReplaceExtension(path, r.extension);
        EXPECT_EQ(path, r.result) << r.path;
    }
    EXPECT_EQ(GetExtension("file"), "");
    EXPECT_EQ(GetExtension("a.b\\c"), "b\\c");
    EXPECT_EQ(GetExtension("x.PNG"), "PNG");
    EXPECT_TRUE(HasExtension("x.PNG", "png"));
    EXPECT_FALSE(HasExtension("x.png", "jpg"));
    EXPECT_EQ(GetFileName("data\\ui\\main.xml"), "main.xml");
    EXPECT_EQ(GetFileName("main.xml"), "main.xml");
    EXPECT_EQ(GetDirectory("data\\ui\\main.xml"), "data\\ui");
    EXPECT_EQ(GetDirectory("main.xml"), "");
    EXPECT_EQ(MakeDataPath("ui\\x.xml"), "data\\ui\\x.xml");
    EXPECT_EQ(MakeDataPath("c:\\x.xml"), "c:\\x.xml");
    EXPECT_EQ(MakeDataPath("/abs/x.xml"), "/abs/x.xml");
    EXPECT_EQ(StripDataPrefix("data\\x"), "x");
    EXPECT_EQ(StripDataPrefix("Data\\x"), "Data\\x");
    EXPECT_EQ(StripDataPrefix("c:\\data\\x"), "c:\\data\\x");
    EXPECT_EQ(MakeAbsolutePath("/abs"), "/abs");
    EXPECT_EQ(MakeAbsolutePath("rel\\x"), GetExecutableDirectory() + "\\rel\\x");
}

TEST_F(FileManagerTest, DirectoryTreesAreMadeAndDeletedSafely) {
    CreateDirectoryTree(root.string() + "\\a\\b\\c.txt");
    EXPECT_TRUE(fs::is_directory(root / "a" / "b"));
    EXPECT_FALSE(fs::exists(root / "a" / "b" / "c.txt"));
    CreateDirectoryTree(root.string() + "\\A\\b\\d\\");
    EXPECT_TRUE(fs::is_directory(root / "a" / "b" / "d")) << "existing folders are found whatever their case";

    Touch(root / "a" / "b" / "d" / "x.prf", "x");
    EXPECT_FALSE(DeleteDirectoryTree("", "a"));
    EXPECT_FALSE(DeleteDirectoryTree(".", "."));
    EXPECT_FALSE(DeleteDirectoryTree("a\\..\\..", "a"));
    EXPECT_TRUE(fs::exists(root / "a" / "b" / "d" / "x.prf"));
    EXPECT_TRUE(DeleteDirectoryTree("a\\b", "a")) << "relative names lie below the executable's directory";
    EXPECT_FALSE(fs::exists(root / "a" / "b"));
    EXPECT_TRUE(fs::exists(exe));

    EXPECT_EQ(GetUserDataFolder(), std::getenv("XDG_DATA_HOME"));
}

// Without packs the data folder is the only source of data: its absence is said at start, not discovered
// at the first file the game needs.
TEST_F(FileManagerTest, AMissingOrUnreadableDataFolderWithoutPacksIsAnError) {
    const std::string error = "Failed to open \"" + root.string() +
                              "\\data\" data directory, and no pack "
                              "file holds the data";
    struct Case {
        const char* what;
        std::function<void()> arrange;
        bool reported;
    };
    const Case cases[] = {
        {"present", [] {}, false},
        {"unreadable", [&] { fs::permissions(root / "data", fs::perms::none); }, geteuid() != 0},
        {"missing", [&] { fs::remove_all(root / "data"); }, true},
    };
    for (const Case& c : cases) {
        c.arrange();
        log.Manager().ClearEntries();
        auto files = Manager();
        EXPECT_EQ(log.Contains("Error: " + error + "!"), c.reported) << c.what;
        if (fs::exists(root / "data"))
            fs::permissions(root / "data", fs::perms::owner_all);
    }
    // A pack that serves the data makes the folder unnecessary.
    PackWriter pack;
    pack.Add("ui\\x.xml", std::vector<uint8_t>{'x'});
    VbFormats::SaveBytes(exe.string(), PackWriter::AppendToHost({'h', 'o', 's', 't'}, pack.Build()));
    log.Manager().ClearEntries();
    auto files = Manager();
    EXPECT_EQ(files->GetPackCount(), 1u);
    EXPECT_FALSE(log.Contains(error));
}

// Pack paths come back lower-cased from the search and are opened again: the disk must find them through the
// same case fold, whatever alphabet the folders are named in.
TEST_F(FileManagerTest, PacksOpenBelowFoldersNamedInAnyAlphabet) {
    for (const char* folder : {"Игры", "ÖL Spiele", "ΑΒΓ", "Mixed Ä ß"}) {
        fs::path install = fs::path(VelmoraTest::TempDir()) / folder / "Velmora";
        PackWriter pack;
        pack.Add("ui\\x.xml", "<x/>");
        VbFormats::SaveBytes((install / "Data" / "Pack0.PAK").string(), pack.Build());
        log.Manager().ClearEntries();
        FileManager files(install.string(), true, "data", 1 << 20);
        EXPECT_EQ(files.GetPackCount(), 1u) << folder;
        EXPECT_EQ(Content(files, "data\\ui\\x.xml"), "<x/>") << folder;
        EXPECT_FALSE(log.Contains("Error")) << folder;
    }
}
