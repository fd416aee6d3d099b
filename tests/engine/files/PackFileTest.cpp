// ctest-label: files
#include "engine/files/PackFile.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "tests/support/TestLog.h"
#include "tools/formats/BinaryWriter.h"
#include "tools/formats/PackWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

using namespace OrvexEngine;
using VbFormats::PackWriter;
namespace fs = std::filesystem;

namespace {

std::string PackPath(const std::string& name) {
    fs::create_directories(VelmoraTest::TempDir() + "/packs");
    return VelmoraTest::TempDir() + "/packs/" + name;
}

std::string Save(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = PackPath(name);
    VbFormats::SaveBytes(path, bytes);
    return path;
}

PackWriter ThreeMembers() {
    PackWriter writer;
    writer.Add("ui\\fonts\\a.fnt", "font");
    writer.Add("ui\\windows\\a.xml", "<a/>");
    writer.Add("readme.txt", "hello");
    return writer;
}

std::string MemberText(const PackFile& pack, const std::string& name) {
    uint32_t size = 0;
    const uint8_t* memory = nullptr;
    bool owns = true;
    std::FILE* stream = nullptr;
    uint32_t offset = 0;
    if (!pack.GetFileSize(name, size) || !pack.Locate(name, memory, owns, stream, offset))
        return "(absent)";
    FileBinary file(name, false, 0, size, memory, owns, stream, offset);
    std::string text(file.GetSize(), '\0');
    file.Read(text.data(), file.GetSize());
    return text;
}

} // namespace

TEST(PackFile, RejectsBrokenPacksWithTheirLoggedReasons) {
    const std::vector<uint8_t> sound = ThreeMembers().Build();
    struct Case {
        const char* what;
        std::function<void(VbFormats::PackFaults&)> fault;
        std::string error; // "<path>" stands for the pack's path
        bool countLogged;
    };
    const Case cases[] = {
        {"wrong magic", [](VbFormats::PackFaults& f) { f.magic = "OEPAX"; }, "Incorrect pack file format",
         false},
        {"size one short", [](VbFormats::PackFaults& f) { f.sizeDelta = -1; }, "Incorrect pack file format",
         false},
        {"size one long", [](VbFormats::PackFaults& f) { f.sizeDelta = 1; }, "Incorrect pack file format",
         false},
        {"version 101", [](VbFormats::PackFaults& f) { f.version = 101; },
         "Incorrect pack file version, current is 100", false},
        {"count beyond the pack", [](VbFormats::PackFaults& f) { f.memberCount = 0xFFFFFFFF; },
         "Incorrect pack file format", true},
        {"member past the end",
         [](VbFormats::PackFaults& f) {
             f.badEntry = 1;
             f.badOffset = 20;
             f.badSize = 0xFFFFFFF0;
         },
         "Incorrect pack file format", true},
        {"member offset past the end",
         [](VbFormats::PackFaults& f) {
             f.badEntry = 0;
             f.badOffset = 4000;
             f.badSize = 1;
         },
         "Incorrect pack file format", true},
        // Cut inside the third name, then inside the entries; the header's size agrees with the file's.
        {"names cut short",
         [&](VbFormats::PackFaults& f) {
             f.truncateTo = 47;
             f.sizeDelta = 47 - static_cast<int32_t>(sound.size());
         },
         "Failed to read 17 bytes from \"<path>\" file", true},
        {"entries cut short",
         [&](VbFormats::PackFaults& f) {
             f.truncateTo = 73;
             f.sizeDelta = 73 - static_cast<int32_t>(sound.size());
         },
         "Failed to read 24 bytes from \"<path>\" file", true},
        {"shorter than its header", [](VbFormats::PackFaults& f) { f.truncateTo = 12; },
         "Failed to read 13 bytes from \"<path>\" file", false},
        {"one byte", [](VbFormats::PackFaults& f) { f.truncateTo = 1; },
         "Failed to read 13 bytes from \"<path>\" file", false},
    };
    for (uint32_t memoryLimit : {0u, 1u << 20}) {
        for (const Case& c : cases) {
            PackWriter writer = ThreeMembers();
            c.fault(writer.faults);
            std::string path = Save("broken.pak", writer.Build());
            VelmoraTest::TestLog log;
            std::string thrown = "(nothing thrown)";
            try {
                PackFile pack(path, 0, 0, memoryLimit);
            } catch (const Error& error) {
                thrown = error.GetText();
            }
            EXPECT_EQ(thrown, "") << c.what;
            std::string error = c.error;
            if (size_t at = error.find("<path>"); at != std::string::npos)
                error.replace(at, 6, path);
            std::vector<std::string> expected = {"...Pack file " + path + " found...\n"};
            if (c.countLogged)
                expected.push_back(
                    "......It contains " +
                    std::to_string(c.what == std::string("count beyond the pack") ? 0xFFFFFFFFu : 3u) +
                    " files...\n");
            expected.push_back("......");
            expected.push_back("Error: " + error + "!\n");
            EXPECT_EQ(log.Texts(), expected) << c.what << ", memory limit " << memoryLimit;
        }
    }
    VelmoraTest::TestLog log;
    std::string missing = PackPath("missing.pak");
    EXPECT_THROW(PackFile(missing, 0, 0, 0), Error);
    EXPECT_EQ(log.Texts().back(), "Error: Failed to open \"" + missing + "\" file!\n");
}

TEST(PackFile, AnswersLookupsCaseInsensitively) {
    VelmoraTest::TestLog log;
    PackWriter writer;
    writer.faults.keepNamesAsGiven = true;
    writer.Add("UI\\Fonts\\A.FNT", "first");
    writer.Add("ui\\fonts\\a.fnt", "second");
    writer.Add("empty.bin", std::vector<uint8_t>{});
    writer.Add("root.txt", "r");
    std::string path = Save("lookups.pak", writer.Build());

    for (uint32_t memoryLimit : {0u, 1u << 20}) {
        PackFile pack(path, 0, 0, memoryLimit);
        EXPECT_TRUE(pack.Contains("ui\\fonts\\a.fnt"));
        EXPECT_TRUE(pack.Contains("Ui\\FONTS\\a.fnt"));
        EXPECT_FALSE(pack.Contains("ui\\fonts"));
        EXPECT_EQ(MemberText(pack, "ui\\fonts\\a.fnt"), "first") << "a repeated name keeps its first entry";
        EXPECT_EQ(MemberText(pack, "EMPTY.BIN"), "");
        EXPECT_EQ(MemberText(pack, "nothing"), "(absent)");

        EXPECT_TRUE(pack.HasDirectory("fonts"));
        EXPECT_TRUE(pack.HasDirectory("UI"));
        EXPECT_FALSE(pack.HasDirectory("root"));
        EXPECT_FALSE(pack.HasDirectory("a.fnt"));
    }
    EXPECT_TRUE(log.Contains("......It contains 4 files...\n"));
}

TEST(PackFile, LocatesMembersInMemoryOrThroughTheSharedStream) {
    VelmoraTest::TestLog log;
    std::string path = Save("locate.pak", ThreeMembers().Build());
    PackFile held(path, 0, 0, 1 << 20);
    const uint8_t* memory = nullptr;
    bool owns = true;
    std::FILE* stream = nullptr;
    uint32_t offset = 0;
    ASSERT_TRUE(held.Locate("readme.txt", memory, owns, stream, offset));
    ASSERT_NE(memory, nullptr);
    EXPECT_FALSE(owns);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(memory), 5), "hello");

    PackFile streamed(path, 0, 0, 0);
    memory = reinterpret_cast<const uint8_t*>(1);
    ASSERT_TRUE(streamed.Locate("readme.txt", memory, owns, stream, offset));
    EXPECT_EQ(memory, nullptr);
    EXPECT_NE(stream, nullptr);
    // Two members read alternately through one stream each get their own bytes.
    uint32_t aSize = 0;
    uint32_t bSize = 0;
    const uint8_t* none = nullptr;
    std::FILE* aStream = nullptr;
    std::FILE* bStream = nullptr;
    uint32_t aOffset = 0;
    uint32_t bOffset = 0;
    streamed.GetFileSize("readme.txt", aSize);
    streamed.GetFileSize("ui\\fonts\\a.fnt", bSize);
    streamed.Locate("readme.txt", none, owns, aStream, aOffset);
    streamed.Locate("ui\\fonts\\a.fnt", none, owns, bStream, bOffset);
    FileBinary a("a", false, 0, aSize, nullptr, false, aStream, aOffset);
    FileBinary b("b", false, 0, bSize, nullptr, false, bStream, bOffset);
    char text[6] = {};
    a.Read(text, 2);
    b.Read(text + 2, 2);
    a.Read(text + 4, 2);
    EXPECT_EQ(std::string(text, 6), "hefoll");
}

TEST(PackFile, ReadsAPackAtABaseOffset) {
    VelmoraTest::TestLog log;
    std::vector<uint8_t> pack = ThreeMembers().Build();
    std::vector<uint8_t> host(333, 0x90);
    std::vector<uint8_t> file = PackWriter::AppendToHost(host, pack);
    std::string path = Save("host.bin", file);
    for (uint32_t memoryLimit : {0u, 1u << 20}) {
        PackFile appended(path, 333, static_cast<uint32_t>(pack.size()), memoryLimit);
        EXPECT_EQ(MemberText(appended, "ui\\windows\\a.xml"), "<a/>");
        EXPECT_EQ(MemberText(appended, "readme.txt"), "hello");
    }
    // The expected size rules, not the file's length.
    EXPECT_THROW(PackFile(path, 333, static_cast<uint32_t>(pack.size()) + 1, 0), Error);
    EXPECT_THROW(PackFile(path, 333, 0, 0), Error);
    EXPECT_THROW(PackFile(path, 1u << 30, 0, 0), Error);
}

TEST(PackFile, FindFilesTestsPrefixAndReducedMask) {
    VelmoraTest::TestLog log;
    PackWriter writer;
    for (const char* name : {"ui\\windows\\a.xml", "ui\\windows\\old\\b.xml", "ui\\windowsx\\c.xml",
                             "ui\\windows\\level1.xml", "ui\\windows\\notes.txt", "ui\\windows\\xmlish"})
        writer.Add(name, "x");
    PackFile pack(Save("find.pak", writer.Build()), 0, 0, 0);

    using List = std::vector<std::string>;
    struct Case {
        const char* directory;
        const char* mask;
        List found;
    };
    const Case cases[] = {
        {"ui\\windows",
         "*.xml",
         {"ui\\windows\\a.xml", "ui\\windows\\level1.xml", "ui\\windows\\old\\b.xml"}},
        {"UI\\Windows\\",
         "*.XML",
         {"ui\\windows\\a.xml", "ui\\windows\\level1.xml", "ui\\windows\\old\\b.xml"}},
        {"ui\\windows",
         "*",
         {"ui\\windows\\a.xml", "ui\\windows\\level1.xml", "ui\\windows\\notes.txt",
          "ui\\windows\\old\\b.xml", "ui\\windows\\xmlish"}},
        {"ui\\windows",
         "*.*",
         {"ui\\windows\\a.xml", "ui\\windows\\level1.xml", "ui\\windows\\notes.txt",
          "ui\\windows\\old\\b.xml"}},
        {"ui\\windows", "level*.xml", {"ui\\windows\\level1.xml"}},
        {"ui\\windows", "?otes.txt", {"ui\\windows\\notes.txt"}},
        {"ui\\nothing", "*", {}},
    };
    for (const Case& c : cases) {
        List found{"kept"};
        pack.FindFiles(c.directory, c.mask, found);
        List expected{"kept"};
        expected.insert(expected.end(), c.found.begin(), c.found.end());
        std::sort(found.begin() + 1, found.end());
        EXPECT_EQ(found, expected) << c.directory << " " << c.mask;
    }
}
