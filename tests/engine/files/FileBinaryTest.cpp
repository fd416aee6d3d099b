// ctest-label: files
#include "engine/files/FileBinary.h"

#include "engine/core/Error.h"
#include "platform/win/Process.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

std::string Dir() {
    std::string dir = VelmoraTest::TempDir() + "/binary";
    fs::create_directories(dir);
    return dir;
}

std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = Dir() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.GetText();
    }
    return "(no FileError)";
}

// The four ways a 100-byte file can be backed; every reading rule must hold for each.
struct Backing {
    const char* what;
    std::function<std::unique_ptr<FileBinary>()> open;
};

class FileBinaryBackings : public testing::Test {
protected:
    void SetUp() override {
        content = Counting(100);
        path = WriteBytes("hundred.bin", content);
        // A pack-like file: 7 bytes of something else, then the member.
        std::vector<uint8_t> packed(7, 0xEE);
        packed.insert(packed.end(), content.begin(), content.end());
        shared = std::fopen(WriteBytes("shared.bin", packed).c_str(), "rb");
        backings = {
            {"own stream", [this] { return std::make_unique<FileBinary>(path, false, 0); }},
            {"own image", [this] { return std::make_unique<FileBinary>(path, false, 100); }},
            {"shared stream",
             [this] {
                 return std::make_unique<FileBinary>("member", false, 0, 100, nullptr, false, shared, 7);
             }},
            {"borrowed image",
             [this] { return std::make_unique<FileBinary>("member", false, 0, 100, content.data(), false); }},
        };
    }
    void TearDown() override { std::fclose(shared); }

    std::vector<uint8_t> content;
    std::string path;
    std::FILE* shared = nullptr;
    std::vector<Backing> backings;
};

} // namespace

TEST_F(FileBinaryBackings, SeekClampsToTheLastByte) {
    struct Case {
        uint32_t from;
        int origin;
        int32_t offset;
        bool result;
        uint32_t position;
    };
    const Case cases[] = {
        {0, 1, 0, false, 99},  {0, 0, 99, true, 99},  {0, 0, 100, false, 99}, {0, 1, 100, true, 0},
        {0, 1, 101, false, 0}, {3, 2, -5, false, 0},  {3, 2, 5, true, 8},     {0, 0, -1, false, 0},
        {50, 7, 10, true, 50}, {0, 1, -5, false, 99}, {90, 2, 20, false, 99},
    };
    for (const Backing& backing : backings) {
        for (const Case& c : cases) {
            auto file = backing.open();
            file->Seek(0, static_cast<int32_t>(c.from));
            EXPECT_EQ(file->Seek(c.origin, c.offset), c.result) << backing.what << " origin " << c.origin;
            EXPECT_EQ(file->GetPosition(), c.position) << backing.what << " origin " << c.origin;
            uint8_t byte = 0;
            file->Read(&byte, 1);
            EXPECT_EQ(byte, c.position) << backing.what << ": the next read starts at the new position";
        }
    }
}

TEST_F(FileBinaryBackings, ReadingPastTheEndDeliversWhatThereIsThenFails) {
    for (const Backing& backing : backings) {
        auto file = backing.open();
        uint8_t buffer[10] = {};
        uint32_t got = 99;
        file->Seek(0, 95);
        EXPECT_EQ(file->Read(buffer, 10, &got), 5u) << backing.what;
        EXPECT_EQ(got, 5u);
        EXPECT_EQ(buffer[0], 95);
        EXPECT_EQ(buffer[4], 99);

        std::fill(std::begin(buffer), std::end(buffer), 0);
        file->Seek(0, 95);
        EXPECT_EQ(ErrorOf([&] { file->Read(buffer, 10); }),
                  "Failed to read 10 bytes from \"" + file->GetName() + "\" file")
            << backing.what;
        EXPECT_EQ(buffer[4], 99) << backing.what;
        EXPECT_EQ(file->GetPosition(), 100u);

        EXPECT_EQ(file->Read(buffer, 0), 0u) << "a read of nothing never fails, also at the end";
        EXPECT_EQ(file->Read(buffer, 0, &got), 0u);
        EXPECT_EQ(got, 0u);
        // A count near 2^32 must not wrap the end test around.
        std::vector<uint8_t> rest(100, 0);
        file->Seek(0, 10);
        EXPECT_EQ(file->Read(rest.data(), 0xFFFFFFF8u, &got), 90u) << backing.what;
        EXPECT_EQ(rest[89], 99);
    }
}

TEST(FileBinary, HugeCountIsClampedBeforeAnyCopy) {
    std::vector<uint8_t> content = Counting(16);
    std::vector<uint8_t> destination(16, 0);
    FileBinary file("image", false, 0, 16, content.data(), false);
    file.Seek(0, 8);
    // position + count wraps in 32 bits; the read must still stop at the end of the image.
    EXPECT_EQ(ErrorOf([&] { file.Read(destination.data(), 0xFFFFFFFCu); }),
              "Failed to read 4294967292 bytes from \"image\" file");
    EXPECT_EQ(destination[7], 15);
    EXPECT_EQ(destination[8], 0);
    EXPECT_EQ(file.GetPosition(), 16u);
}

TEST(FileBinary, BackingFollowsTheMemoryLimit) {
    std::string path = WriteBytes("limit.bin", Counting(64));
    FileBinary streamed(path, false, 63);
    EXPECT_EQ(streamed.GetMemoryImage(), nullptr);
    EXPECT_EQ(streamed.GetSize(), 64u);
    FileBinary held(path, false, 64);
    ASSERT_NE(held.GetMemoryImage(), nullptr);
    EXPECT_EQ(held.GetMemoryImage()[63], 63);

    // An empty file always becomes an (empty) image, and any real read of it fails.
    std::string empty = WriteBytes("empty.bin", {});
    FileBinary none(empty, false, 0);
    EXPECT_EQ(none.GetSize(), 0u);
    EXPECT_NE(none.GetMemoryImage(), nullptr);
    EXPECT_FALSE(none.Seek(0, 0));
    EXPECT_FALSE(none.Seek(1, 0));
    EXPECT_EQ(none.GetPosition(), 0u);
    uint8_t byte = 0;
    EXPECT_EQ(ErrorOf([&] { none.Read(&byte, 1); }), "Failed to read 1 bytes from \"" + empty + "\" file");
}

TEST(FileBinary, SharedStreamMemberGetsItsOwnImageOrRepositionsTheStream) {
    std::vector<uint8_t> pack(10, 0xAA);
    std::vector<uint8_t> member = Counting(20);
    pack.insert(pack.end(), member.begin(), member.end());
    std::FILE* stream = std::fopen(WriteBytes("pack.bin", pack).c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    {
        FileBinary small("small", false, 20, 20, nullptr, false, stream, 10);
        ASSERT_NE(small.GetMemoryImage(), nullptr);
        std::fseek(stream, 0, SEEK_SET); // the pack moves its stream; the copy is unaffected
        uint8_t bytes[3] = {};
        small.Seek(0, 5);
        small.Read(bytes, 3);
        EXPECT_EQ(bytes[0], 5);
        EXPECT_EQ(bytes[2], 7);
    }
    {
        FileBinary big("big", false, 19, 20, nullptr, false, stream, 10);
        EXPECT_EQ(big.GetMemoryImage(), nullptr);
        uint8_t a[4] = {};
        uint8_t b[4] = {};
        big.Read(a, 4);
        std::fseek(stream, 0, SEEK_SET); // someone else read the pack in between
        big.Read(b, 4);
        EXPECT_EQ(a[0], 0);
        EXPECT_EQ(b[0], 4);
        EXPECT_EQ(b[3], 7);
    }
    // A member that claims more bytes than the file holds is a read error, not uninitialised bytes.
    EXPECT_EQ(ErrorOf([&] { FileBinary cut("cut", false, 100, 40, nullptr, false, stream, 10); }),
              "Failed to read 40 bytes from \"cut\" file");
    {
        FileBinary cutStream("cut", false, 0, 40, nullptr, false, stream, 10);
        std::vector<uint8_t> bytes(40);
        EXPECT_EQ(ErrorOf([&] { cutStream.Read(bytes.data(), 40); }),
                  "Failed to read 40 bytes from \"cut\" file");
    }
    std::fclose(stream); // still open until here: no member closed it
}

TEST(FileBinary, ImagesAreFreedOnlyWhenOwned) {
    // ASan reports a free of the vector's buffer, or a leak of the handed-over one.
    std::vector<uint8_t> borrowed = Counting(8);
    { FileBinary file("borrowed", false, 0, 8, borrowed.data(), false); }
    EXPECT_EQ(borrowed[7], 7);
    auto* handed = new uint8_t[8]();
    { FileBinary file("owned", false, 0, 8, handed, true); }
}

TEST(FileBinary, RelativeNamesLieBelowTheExecutable) {
    std::string bin = Dir() + "/Bin";
    fs::create_directories(bin + "/Data");
    std::ofstream(bin + "/Data/X.bin", std::ios::binary) << "xyz";
    std::ofstream(bin + "/q", std::ios::binary) << "q";
    platform::SetExecutablePathForTests(bin + "/game");

    FileBinary relative("data\\x.bin", false, 16);
    EXPECT_EQ(relative.GetSize(), 3u);
    EXPECT_EQ(relative.GetName(), "data\\x.bin");
    FileBinary oneLetter("q", false, 16);
    EXPECT_EQ(oneLetter.GetSize(), 1u);
    FileBinary absolute(bin + "\\data\\x.bin", false, 16);
    EXPECT_EQ(absolute.GetSize(), 3u);

    EXPECT_EQ(ErrorOf([] { FileBinary missing("data\\missing.bin", false); }),
              "Failed to open \"data\\missing.bin\" file");
    EXPECT_EQ(ErrorOf([] { FileBinary directory("data", false); }), "Failed to open \"data\" file");
    EXPECT_EQ(ErrorOf([] { FileBinary noFolder("nowhere\\x.bin", true); }),
              "Failed to open \"nowhere\\x.bin\" file");
    platform::SetExecutablePathForTests("");
}

TEST(FileBinary, StringsUseACountByteThatIncludesTheTerminator) {
    std::string path = Dir() + "/strings.bin";
    const std::string long254(254, 'a');
    const std::string long300(300, 'b');
    // 253 ASCII letters and a two-byte character: the cut at 254 would split it.
    const std::string utf8Tail = std::string(253, 'c') + "\xC3\xA9";
    const std::wstring astral = L"x\U0001F600y";
    {
        FileBinary out(path, true);
        out.WriteWideString(L"abc");
        out.WriteString("");
        out.WriteString(long254.c_str());
        out.WriteString(long300.c_str());
        out.WriteString(utf8Tail.c_str());
        out.WriteWideString(astral);
        out.WriteWideString(std::wstring(300, L'w'));
        EXPECT_EQ(out.GetSize(), out.GetPosition());
    }
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 11u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 11),
              (std::vector<uint8_t>{0x04, 0x61, 0x00, 0x62, 0x00, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(bytes[11], 255) << "254 characters and the terminator";
    EXPECT_EQ(bytes[11 + 256], 255) << "a longer text is cut to 254, never wrapped to a small count";

    FileBinary in(path, false, 1 << 20);
    std::wstring wide;
    std::string narrow;
    in.ReadWideString(wide);
    EXPECT_EQ(wide, L"abc");
    in.ReadString(narrow);
    EXPECT_EQ(narrow, "");
    in.ReadString(narrow);
    EXPECT_EQ(narrow, long254);
    in.ReadString(narrow);
    EXPECT_EQ(narrow, std::string(254, 'b'));
    in.ReadString(narrow);
    EXPECT_EQ(narrow, std::string(253, 'c'));
    in.ReadWideString(wide);
    EXPECT_EQ(wide, astral) << "a character beyond 16 bits travels as a surrogate pair";
    in.ReadWideString(wide);
    EXPECT_EQ(wide, std::wstring(254, L'w'));
    EXPECT_EQ(in.GetPosition(), in.GetSize());
}

TEST(FileBinary, MalformedStringsNeverReadPastTheFile) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool wide;
        const char* error; // null: reads fine as expected
        std::wstring expected;
    };
    const Case cases[] = {
        {"count 0", {0x00, 0x7A}, false, nullptr, L""},
        {"no terminator", {0x03, 'a', 'b', 'c'}, false, nullptr, L"abc"},
        {"zero inside", {0x04, 'a', 0, 'c', 0}, false, nullptr, L"a"},
        {"truncated", {0x09, 'a', 'b'}, false, "Failed to read 9 bytes from \"s\" file", L""},
        {"wide count 0", {0x00}, true, nullptr, L""},
        {"wide no terminator", {0x02, 'h', 0, 'i', 0}, true, nullptr, L"hi"},
        {"wide lone surrogate", {0x02, 0x00, 0xD8, 'i', 0}, true, nullptr, L"\xFFFDi"},
        {"wide truncated", {0x05, 'h', 0}, true, "Failed to read 10 bytes from \"s\" file", L""},
        {"nothing at all", {}, false, "Failed to read 1 bytes from \"s\" file", L""},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = c.bytes;
        bytes.push_back(0xCC); // a byte beyond the file's end, which no read may see
        FileBinary file("s", false, 0, static_cast<uint32_t>(c.bytes.size()), bytes.data(), false);
        std::wstring wide;
        std::string narrow;
        std::string error = ErrorOf([&] {
            if (c.wide)
                file.ReadWideString(wide);
            else
                file.ReadString(narrow);
        });
        EXPECT_EQ(error, c.error != nullptr ? c.error : "(no FileError)") << c.what;
        if (c.error == nullptr) {
            EXPECT_EQ(c.wide ? wide : std::wstring(narrow.begin(), narrow.end()), c.expected) << c.what;
        }
    }
}

TEST(FileBinary, WritesGrowTheSizeAndFailuresAreReported) {
    std::string path = Dir() + "/written.bin";
    {
        FileBinary out(path, true);
        uint32_t values[2] = {0x04030201, 0x08070605};
        out.Write(values, 8);
        EXPECT_TRUE(out.Seek(0, 2));
        out.Write("\xFF", 1);
        EXPECT_EQ(out.GetSize(), 8u);
        EXPECT_EQ(out.GetPosition(), 3u);
    }
    EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{1, 2, 0xFF, 4, 5, 6, 7, 8}));

    // A read-only file takes no bytes.
    FileBinary in(path, false, 100);
    uint32_t written = 7;
    EXPECT_EQ(in.Write("x", 1, &written), 0u);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(ErrorOf([&] { in.Write("x", 1); }), "Failed to write 1 bytes from \"" + path + "\" file");

    // A full device refuses bytes once the stream's buffer is passed.
    FileBinary full("/dev/full", true);
    std::vector<uint8_t> block(1 << 20, 0x55);
    EXPECT_EQ(ErrorOf([&] { full.Write(block.data(), static_cast<uint32_t>(block.size())); }),
              "Failed to write 1048576 bytes from \"/dev/full\" file");
}
