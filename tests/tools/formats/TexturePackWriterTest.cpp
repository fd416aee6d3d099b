// ctest-label: gametools
// The texture-pack writer against the bytes of the format written out by hand, and the rules it enforces.
#include "tools/formats/TexturePackWriter.h"
#include "tools/formats/FormatError.h"

#include <gtest/gtest.h>

using namespace VbFormats;

TEST(TexturePackWriter, WritesTheHeaderCountNamesAndFrames) {
    const std::vector<uint8_t> bytes =
        TexturePackWriter::Write({{"ab", {{5, {1.0f, 0}, {0, 0}, {0, 2.0f}}}}, {"c", {}}});
    const std::vector<uint8_t> expected = {
        60, 0,   0,   0, 'G', 'F', 'T',  'P',  'F', 101, 0, 0, 0, // header: size, magic, version
        2,  0,   0,   0,                                          // texture count
        3,  'a', 'b', 0, 1,   0,   0,    0,                       // "ab", one frame
        5,  0,   0,   0, 0,   0,   0x80, 0x3F, 0,   0,   0, 0,    // number 5, first pair (1, 0)
        0,  0,   0,   0, 0,   0,   0,    0,                       // second pair (0, 0)
        0,  0,   0,   0, 0,   0,   0,    0x40,                    // third pair (0, 2)
        2,  'c', 0,   0, 0,   0,   0,                             // "c", no frames
    };
    EXPECT_EQ(bytes, expected);
}

TEST(TexturePackWriter, RejectsWhatTheReaderRefusesUnlessAFixtureAsks) {
    EXPECT_THROW(TexturePackWriter::Write({}), FormatError);
    EXPECT_THROW(TexturePackWriter::Write({{"a", {}}, {"a", {}}}), FormatError);
    EXPECT_NO_THROW(TexturePackWriter::Write({{"a", {}}, {"A", {}}}));
    TexturePackFaults faults;
    faults.skipChecks = true;
    EXPECT_EQ(TexturePackWriter::Write({}, faults).size(), 17u);

    faults.truncateBy = 2;
    const std::vector<uint8_t> cut = TexturePackWriter::Write({{"a", {}}}, faults);
    ASSERT_EQ(cut.size(), 13u + 4 + 3 + 4 - 2);
    EXPECT_EQ(cut[0], cut.size()); // the size field follows the cut
}
