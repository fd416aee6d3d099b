// ctest-label: files
#include "engine/files/FileReplacer.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

std::string FreshDir(const std::string& name) {
    fs::path dir = fs::path(VelmoraTest::TempDir()) / "replacer" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(FileReplacer, TheOlderFileIsReplacedOnlyByACompleteNewOne) {
    VelmoraTest::TestLog log;
    enum class Ending { Commit, DroppedBeforeCommit, ExceptionWhileWriting };
    struct Case {
        const char* name;
        Ending ending;
        const char* expected;
    };
    const Case cases[] = {
        {"commit", Ending::Commit, "new content, longer than the old"},
        {"dropped", Ending::DroppedBeforeCommit, "old"},
        {"exception", Ending::ExceptionWhileWriting, "old"},
    };
    for (const Case& c : cases) {
        std::string dir = FreshDir(c.name);
        WriteFile(dir + "/target.bin", "old");
        try {
            FileReplacer replacer(dir + "/target.bin");
            const std::string text = "new content, longer than the old";
            replacer.GetFile().Write(text.data(), static_cast<uint32_t>(text.size()));
            if (c.ending == Ending::ExceptionWhileWriting)
                throw FileError("the writer gave up");
            if (c.ending == Ending::Commit)
                replacer.Commit();
        } catch (const FileError&) {
        }
        EXPECT_EQ(ReadFile(dir + "/target.bin"), c.expected) << c.name;
        EXPECT_FALSE(fs::exists(dir + "/target.bin.tmp")) << c.name;
    }
}

TEST(FileReplacer, CreatesMissingFoldersAndReportsWhatItCannotWrite) {
    VelmoraTest::TestLog log;
    std::string dir = FreshDir("folders");
    EXPECT_TRUE(ReplaceFileContent(dir + "/not/yet\\there.txt", "abc", 3));
    EXPECT_EQ(ReadFile(dir + "/not/yet/there.txt"), "abc");
    EXPECT_TRUE(ReplaceFileContent(dir + "/empty.txt", nullptr, 0));
    EXPECT_TRUE(fs::exists(dir + "/empty.txt"));
    EXPECT_TRUE(log.Texts().empty());

    // Something in the temporary file's place: the older file stays, and the failure names the target.
    WriteFile(dir + "/kept.txt", "kept");
    fs::create_directories(dir + "/kept.txt.tmp");
    EXPECT_FALSE(ReplaceFileContent(dir + "/kept.txt", "lost", 4));
    EXPECT_EQ(ReadFile(dir + "/kept.txt"), "kept");
    EXPECT_TRUE(log.Contains("Error: Failed to open \"" + dir + "/kept.txt\" file!"));
    EXPECT_THROW(FileReplacer replacer(dir + "/kept.txt"), FileError);
}
