// ctest-label: files
#include "engine/files/FileTextual.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

std::string PathOf(const std::string& name) {
    fs::create_directories(VelmoraTest::TempDir() + "/text");
    return VelmoraTest::TempDir() + "/text/" + name;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
    std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Lines(const std::string& bytes, bool stripComments = false, bool tokens = false) {
    FileTextual text(WriteFile("lines.txt", bytes), 0, 0);
    std::vector<std::string> lines;
    std::string line;
    while (text.ReadLine(line, stripComments, tokens))
        lines.push_back(line);
    return lines;
}

using List = std::vector<std::string>;

} // namespace

TEST(FileTextual, DetectsTheEncodingFromTheSignature) {
    struct Case {
        const char* what;
        std::string bytes;
        int encoding;
        std::wstring text;
    };
    const Case cases[] = {
        {"UTF-16LE",
         std::string("\xFF\xFE"
                     "A\0b\0",
                     6),
         2, L"Ab"},
        {"UTF-16BE", std::string("\xFE\xFF\0A\0b", 6), 1, L"Ab"},
        {"UTF-8",
         "\xEF\xBB\xBF"
         "A\xC3\xA9\xE2\x82\xAC",
         3, L"A\u00E9\u20AC"},
        {"ANSI", "Ab", 0, L"Ab"},
        {"one byte", "A", 0, L"A"},
        {"empty", "", 0, L""},
        {"UTF-8 without signature", "\xC3\xA9t\xC3\xA9", 0, L"\u00E9t\u00E9"},
        {"four-byte sequence", "\xEF\xBB\xBF\xF0\x9F\x98\x80!", 3, L"\U0001F600!"},
        {"not UTF-8: stray continuation, surrogate, over-long, cut",
         "\xEF\xBB\xBF\x80x\xED\xA0\x80y\xC0\xAFz\xF0\x9F", 3, L"\xFFFDx\xFFFDy\xFFFDz"},
    };
    for (const Case& c : cases) {
        FileTextual text(WriteFile("detect.txt", c.bytes), 0, 2);
        EXPECT_EQ(text.GetEncoding(), c.encoding) << c.what;
        std::wstring all;
        text.ReadAll(all, false);
        EXPECT_EQ(all, c.text) << c.what;
    }
    // Two bytes of a signature without the third: text from the very first byte.
    FileTextual almost(WriteFile("detect.txt", "\xEF\xBB"
                                               "A"),
                       0, 3);
    EXPECT_EQ(almost.GetEncoding(), 0);
    std::string line;
    EXPECT_TRUE(almost.ReadLine(line, false, false));
    EXPECT_EQ(line, "\xEF\xBB"
                    "A");
}

TEST(FileTextual, LineEndsAndComments) {
    struct Case {
        const char* what;
        std::string bytes;
        bool strip;
        List lines;
    };
    const Case cases[] = {
        {"CR LF twice", "a\r\n\r\nb", false, {"a", "", "b"}},
        {"final CR LF", "a\r\nb\r\n", false, {"a", "b", ""}},
        {"no final end", "a\nb", false, {"a", "b"}},
        {"LF CR is two ends", "a\n\rb", false, {"a", "", "b"}},
        {"CR alone", "a\rb", false, {"a", "b"}},
        {"comment", "v_mode 1 // note\r\n// whole line\r\nx", true, {"v_mode 1 ", "", "x"}},
        {"comment kept", "a // b", false, {"a // b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Lines(c.bytes, c.strip), c.lines) << c.what;
}

TEST(FileTextual, TokensSkipBlanksAndComments) {
    FileTextual text(WriteFile("tokens.txt", "1.5  2\r\n// note\r\n3\n1.0//x y\nmy_name -7 0.25 0.5 0.75"), 0,
                     0);
    EXPECT_FLOAT_EQ(text.ReadFloat(), 1.5f);
    EXPECT_EQ(text.ReadInt(), 2);
    EXPECT_EQ(text.ReadInt(), 3);
    std::string token;
    EXPECT_TRUE(text.ReadToken(token, false));
    EXPECT_EQ(token, "1.0");
    EXPECT_TRUE(text.ReadToken(token, false));
    EXPECT_EQ(token, "y");
    EXPECT_TRUE(text.ReadToken(token, true));
    EXPECT_EQ(token, "my name");
    EXPECT_EQ(text.ReadInt(), -7);
    Vec3 v = text.ReadVec3();
    EXPECT_FLOAT_EQ(v.x, 0.25f);
    EXPECT_FLOAT_EQ(v.z, 0.75f);
    EXPECT_FALSE(text.ReadToken(token, false));
    EXPECT_EQ(text.ReadFloat(), 0.0f);

    text.Rewind();
    EXPECT_FLOAT_EQ(text.ReadFloat(), 1.5f);
}

TEST(FileTextual, ReadAllJoinsLinesWithCrLf) {
    FileTextual text(WriteFile("all.txt", "a\nb\nc"), 0, 0);
    std::wstring all;
    text.ReadAll(all, false);
    EXPECT_EQ(all, L"a\r\nb\r\nc");
    FileTextual ending(WriteFile("all2.txt", "\xFF\xFE" + std::string("x\0\n\0", 4)), 0, 0);
    ending.ReadAll(all, false);
    EXPECT_EQ(all, L"x\r\n");
}

TEST(FileTextual, TheWholeUtf8TextReadsAsTheCharacterReaderReadsIt) {
    // The one-piece read checks sixteen bytes at a time: line ends and multi-byte characters on both sides
    // of those boundaries, every kind of line end, and text it must leave to the character reader.
    const std::string run15(15, 'x');
    const std::string run16(16, 'y');
    struct Case {
        const char* what;
        std::string bytes;
        bool plain;      // read in one piece at all
        bool bareFeeds; // its line ends are all a bare LF, kept when the caller asks
    };
    const Case cases[] = {
        {"empty", "", true, false},
        {"no line end", run16 + run16 + "z", true, false},
        {"CR LF", "a\r\nb\r\n", true, false},
        {"CR LF across a block", run15 + "\r\n" + run16 + "\r\n", true, false},
        {"LF", "a\nb\n", true, true},
        {"LF at a block's end", run15 + "\n" + run16 + "\n" + run15, true, true},
        {"CR", "a\rb\r", true, false},
        {"CR at a block's end", run15 + "\r" + run16, true, false},
        {"a trailing CR", run16 + "a\r", true, false},
        {"mixed", "a\r\nb\nc\rd", true, false},
        {"CR LF then a lone LF far on", "a\r\n" + run16 + run16 + "\n", true, false},
        {"LF CR", "a\n\rb", true, false},
        {"characters", "Höhe\r\n" + run15 + "é\r\n№\r\n", true, false},
        {"characters and feeds", run15 + "é\n" + "€\n", true, true},
        {"CR before a character", "a\ré", true, false},
        {"four-byte form", "\xF0\x9F\x8E\xB1\n", false, true},
        {"latin-1", "H\xF6he\n", false, false},
        {"cut character", run16 + "\xC3", false, false},
        {"overlong", "\xC0\xAF", false, false},
        {"surrogate half", "\xED\xA0\x80", false, false},
        {"zero", run16 + std::string("\0x", 2), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool withSignature : {false, true}) {
            const std::string bytes = (withSignature ? "\xEF\xBB\xBF" : "") + c.bytes;
            std::wstring expected;
            FileTextual(WriteFile("whole-chars.txt", bytes), 0, 0).ReadAll(expected, false);

            FileTextual text(WriteFile("whole.txt", bytes), 0, 0);
            std::string whole;
            bool bareFeeds = true;
            const bool plain = text.ReadAllPlainUtf8(whole, &bareFeeds);
            // Four-byte forms are taken only without a signature (the ANSI reading).
            const bool expectPlain = c.plain || (!withSignature && std::string(c.what) == "four-byte form");
            ASSERT_EQ(plain, expectPlain);
            if (!plain) {
                EXPECT_FALSE(bareFeeds);
                // Nothing was read: the character reader still gets the whole text.
                std::wstring rest;
                text.ReadAll(rest, false);
                EXPECT_EQ(rest, expected);
                continue;
            }
            EXPECT_EQ(bareFeeds, c.bareFeeds);
            std::string joined;
            for (const char ch : whole) {
                if (ch == '\n' && bareFeeds)
                    joined += '\r';
                joined += ch;
            }
            EXPECT_EQ(ToWide(joined), expected);

            std::string alone;
            FileTextual(WriteFile("whole-alone.txt", bytes), 0, 0).ReadAllPlainUtf8(alone);
            EXPECT_EQ(alone, joined) << "without the question every line end is CR LF";
        }
    }
}

TEST(FileTextual, LinesCrossTheBufferRefill) {
    // The second line starts 3 bytes before the 1024-byte boundary and ends well after it; the CR LF of the
    // first line is split across an earlier boundary in the UTF-16 copy.
    std::string first(1019, 'x');
    std::string second = "abcdefghij" + std::string(1500, 'y');
    List lines = Lines(first + "\r\n" + second + "\r\nlast");
    EXPECT_EQ(lines, (List{first, second, "last"}));

    std::string utf16 = "\xFF\xFE";
    std::string ascii = std::string(510, 'p') + "\r\n" + "q\u00E9" + "\r\n";
    for (char c : std::string(510, 'p') + "\r\nq")
        utf16 += std::string{c, '\0'};
    utf16 += std::string("\xE9\0\r\0\n\0", 6);
    FileTextual wide(WriteFile("wide.txt", utf16), 0, 0);
    std::wstring line;
    EXPECT_TRUE(wide.ReadLine(line, false, false));
    EXPECT_EQ(line, std::wstring(510, L'p'));
    EXPECT_TRUE(wide.ReadLine(line, false, false));
    EXPECT_EQ(line, L"q\u00E9");
    std::string narrow;
    EXPECT_TRUE(wide.ReadLine(narrow, false, false));
    EXPECT_EQ(narrow, "");
    EXPECT_FALSE(wide.ReadLine(narrow, false, false));
}

TEST(FileTextual, WritesEachEncodingByteForByte) {
    struct Case {
        int encoding;
        std::string bytes;
    };
    const Case cases[] = {
        {2, std::string("\xFF\xFE"
                        "A\0b\0\r\0\n\0",
                        10)},
        {1, std::string("\xFE\xFF\0A\0b\0\r\0\n", 10)},
        {3, "\xEF\xBB\xBF"
            "Ab\r\n"},
        {0, "Ab\r\n"},
    };
    for (const Case& c : cases) {
        std::string path = PathOf("written.txt");
        {
            FileTextual text(path, 1, c.encoding);
            text.WriteText("Ab");
            text.WriteLineEnd();
        }
        EXPECT_EQ(ReadFile(path), c.bytes) << "encoding " << c.encoding;
    }
    // Text beyond the buffer and beyond 16 bits round-trips through every encoding.
    std::string long_text = std::string(3000, 'z') + "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    for (int encoding : {0, 1, 2, 3}) {
        std::string path = PathOf("round.txt");
        {
            FileTextual text(path, 1, encoding);
            text.WriteText(long_text);
            text.WriteLineEnd();
            text.WriteText("next");
        }
        FileTextual in(path, 0, 0);
        std::string line;
        EXPECT_TRUE(in.ReadLine(line, false, false));
        EXPECT_EQ(line, long_text) << "encoding " << encoding;
        EXPECT_TRUE(in.ReadLine(line, false, false));
        EXPECT_EQ(line, "next");
        EXPECT_FALSE(in.ConversionFailed());
    }
    // UTF-8 has no surrogate halves: a character beyond 16 bits is written as its one four-byte sequence.
    std::string path = PathOf("astral.txt");
    {
        FileTextual text(path, 1, 3);
        text.WriteText("\xF0\x9F\x98\x80");
    }
    EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF\xF0\x9F\x98\x80");
}

TEST(FileTextual, AFailedWriteReachesTheWriterNotTheDestructor) {
    VelmoraTest::TestLog log;
    {
        FileTextual text("/dev/full", 1, 0);
        text.WriteText("v_mode 800x600x32");
        text.WriteLineEnd();
        try {
            text.Flush();
            ADD_FAILURE() << "a full disk must be reported";
        } catch (const FileError& error) {
            EXPECT_EQ(error.GetText(), "Failed to write 19 bytes from \"/dev/full\" file");
        }
        text.WriteText("more");
    } // the destructor's own flush fails too: logged, not thrown
    EXPECT_TRUE(log.Contains("Error: Failed to write 4 bytes from \"/dev/full\" file!"));

    EXPECT_THROW(FileTextual(PathOf("missing.txt"), 0, 0), FileError);
}
