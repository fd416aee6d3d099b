// ctest-label: gametools
#include "gametools/VersionedFile.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace GameTools;
namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

uint32_t U32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | uint8_t(bytes[at + i]);
    return v;
}

std::string U32(uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += char(v >> (8 * i));
    return out;
}

class VersionedFileTest : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(VelmoraTest::TempDir()) / "versioned";
        fs::create_directories(folder);
        files = std::make_unique<OrvexEngine::FileManager>(folder.string(), false, "data", 0);
        OrvexEngine::FileManager::Instance(files.get());
    }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    // Writes a profile index with the given body through VersionedFile.
    std::string WriteProfileIndex(const std::string& name, const std::string& body) {
        VersionedFile writer("FLPMF", 100);
        writer.Open(PathOf(name), VersionedFile::ModeWrite);
        if (!body.empty())
            writer.GetFile()->Write(body.data(), uint32_t(body.size()));
        writer.Close();
        return ReadBytes(folder / name);
    }

    // The text of the error reading the file throws, or "" when it opens.
    std::string ReadError(const std::string& name, const char* magic, uint32_t version) {
        VersionedFile reader(magic, version);
        try {
            reader.Open(PathOf(name), VersionedFile::ModeRead);
        } catch (const OrvexEngine::FileError& error) {
            return error.GetText();
        }
        EXPECT_EQ(reader.GetFile()->GetPosition(), VersionedFile::HeaderSize);
        return "";
    }

    VelmoraTest::TestLog log;
    fs::path folder;
    std::unique_ptr<OrvexEngine::FileManager> files;
};

} // namespace

TEST_F(VersionedFileTest, WrittenHeaderHoldsSizeMagicAndVersion) {
    const std::string bytes = WriteProfileIndex("profiles.pmf", "body!");
    ASSERT_EQ(bytes.size(), 18u);
    EXPECT_EQ(U32At(bytes, 0), 18u);
    EXPECT_EQ(bytes.substr(4, 5), "FLPMF");
    EXPECT_EQ(U32At(bytes, 9), 100u);
    EXPECT_EQ(bytes.substr(13), "body!");

    // Nothing written: the header alone, its size field 13.
    const std::string empty = WriteProfileIndex("empty.pmf", "");
    EXPECT_EQ(empty, U32(13) + "FLPMF" + U32(100));

    VersionedFile reader("FLPMF", 100);
    reader.Open(PathOf("profiles.pmf"), VersionedFile::ModeRead);
    char body[5] = {};
    reader.GetFile()->Read(body, 5);
    EXPECT_EQ(std::string(body, 5), "body!");
    reader.Close();
    EXPECT_EQ(reader.GetFile(), nullptr);
}

TEST_F(VersionedFileTest, RejectsWhatIsNotExactlyItsFormat) {
    const std::string good = WriteProfileIndex("good.pmf", "0123456789");
    const std::string path = PathOf("bad.pmf");
    const std::string formatError = "Incorrect \"" + path + "\" file format";
    struct Case {
        std::string bytes;
        const char* magic;
        uint32_t version;
        std::string error;
    };
    const Case cases[] = {
        {good, "FLPMF", 100, ""},
        {good, "VBPRF", 100, formatError},
        {good + "x", "FLPMF", 100, formatError},
        {good.substr(0, good.size() - 1), "FLPMF", 100, formatError},
        {U32(22) + good.substr(4), "FLPMF", 100, formatError},
        {good, "FLPMF", 101, "Incorrect \"" + path + "\" format version (100), current is 101"},
        {U32(23) + "FLPMF" + U32(99) + "0123456789", "FLPMF", 100,
         "Incorrect \"" + path + "\" format version (99), current is 100"},
        {good.substr(0, 12), "FLPMF", 100, "Failed to read 13 bytes from \"" + path + "\" file"},
        {"", "FLPMF", 100, "Failed to read 13 bytes from \"" + path + "\" file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.bytes.size() << " bytes read as " << c.magic << " " << c.version);
        WriteBytes(path, c.bytes);
        EXPECT_EQ(ReadError("bad.pmf", c.magic, c.version), c.error);
    }
    EXPECT_NE(ReadError("missing.pmf", "FLPMF", 100), "");
}

TEST_F(VersionedFileTest, AnyVersionIsReportedWhenAccepted) {
    WriteBytes(folder / "old.pmf", U32(13) + "FLPMF" + U32(7));
    VersionedFile reader("FLPMF", 100);
    uint32_t found = 0;
    reader.Open(PathOf("old.pmf"), VersionedFile::ModeRead, true, &found);
    EXPECT_EQ(found, 7u);
    reader.Open(PathOf("old.pmf"), VersionedFile::ModeRead, true, nullptr);
    EXPECT_NE(reader.GetFile(), nullptr);
    // The magic and the size are still checked.
    WriteBytes(folder / "old.pmf", U32(14) + "FLPMF" + U32(7));
    EXPECT_THROW(reader.Open(PathOf("old.pmf"), VersionedFile::ModeRead, true, &found),
                 OrvexEngine::FileError);
}

TEST_F(VersionedFileTest, CloseIsIdempotentAndReopeningCompletesTheFirstFile) {
    VersionedFile never("GFHSF", 101);
    never.Close();
    never.Close();

    VersionedFile writer("GFHSF", 101);
    writer.Open(PathOf("first.hsf"), VersionedFile::ModeWrite);
    writer.GetFile()->Write("abc", 3);
    writer.Open(PathOf("second.hsf"), VersionedFile::ModeWrite);
    EXPECT_EQ(U32At(ReadBytes(folder / "first.hsf"), 0), 16u);
    writer.Close();
    writer.Close();
    EXPECT_EQ(ReadBytes(folder / "second.hsf").size(), 13u);

    // A writer that goes out of scope completes its header too.
    {
        VersionedFile scoped("GFHSF", 101);
        scoped.Open(PathOf("scoped.hsf"), VersionedFile::ModeWrite);
        scoped.GetFile()->Write("xy", 2);
    }
    EXPECT_EQ(ReadError("scoped.hsf", "GFHSF", 101), "");
}

TEST_F(VersionedFileTest, AFailedSaveKeepsThePreviousFile) {
    const std::string previous = WriteProfileIndex("scores.hsf", "old scores");
    const std::string big(500, 'x');
    auto unchanged = [&] {
        EXPECT_EQ(ReadBytes(folder / "scores.hsf"), previous);
        EXPECT_FALSE(fs::exists(folder / "scores.hsf.tmp"));
    };

    // The final write fails: Close reports it.
    {
        VelmoraTest::FileSizeLimit limit(100);
        VersionedFile writer("FLPMF", 100);
        writer.Open(PathOf("scores.hsf"), VersionedFile::ModeWrite);
        writer.GetFile()->Write(big.data(), uint32_t(big.size()));
        EXPECT_THROW(writer.Close(), OrvexEngine::FileError);
        EXPECT_EQ(writer.GetFile(), nullptr);
    }
    unchanged();

    // The same failure when the destructor closes: logged, not thrown.
    {
        VelmoraTest::FileSizeLimit limit(100);
        VersionedFile writer("FLPMF", 100);
        writer.Open(PathOf("scores.hsf"), VersionedFile::ModeWrite);
        writer.GetFile()->Write(big.data(), uint32_t(big.size()));
    }
    EXPECT_TRUE(log.Contains("Failed to write"));
    unchanged();

    // The writer's own code fails half-way: the unfinished file is dropped as the exception passes.
    try {
        VersionedFile writer("FLPMF", 100);
        writer.Open(PathOf("scores.hsf"), VersionedFile::ModeWrite);
        writer.GetFile()->Write("new", 3);
        throw OrvexEngine::Error("the body could not be made");
    } catch (const OrvexEngine::Error&) {
    }
    unchanged();

    // A complete save replaces the file and leaves nothing beside it.
    EXPECT_EQ(WriteProfileIndex("scores.hsf", "new scores").substr(13), "new scores");
    EXPECT_FALSE(fs::exists(folder / "scores.hsf.tmp"));
}
