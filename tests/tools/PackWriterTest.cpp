// ctest-label: files
#include "tools/formats/PackWriter.h"
#include "tools/formats/BinaryWriter.h"
#include "tools/formats/FormatError.h"
#include "tools/formats/PackBuilder.h"
#include "tools/formats/PackReader.h"
#include "tools/formats/VersionedWriter.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace VbFormats;
namespace fs = std::filesystem;

TEST(PackWriter, WritesTheLayoutByteForByte) {
    PackWriter writer;
    writer.Add("b", "z");
    writer.Add("a", "xy");
    const std::vector<uint8_t> expected = {0x2A, 0,   0,  0, 'O', 'E', 'P', 'A',
                                           'K',  100, 0,  0, 0,      // total size 42, magic, version
                                           2,    0,   0,  0,         // two members, sorted by name
                                           2,    'a', 0,  2, 'b', 0, // names with their count bytes
                                           39,   0,   0,  0, 2,   0,   0,   0, // a: offset 39, size 2
                                           41,   0,   0,  0, 1,   0,   0,   0, // b: offset 41, size 1
                                           'x',  'y', 'z'};
    EXPECT_EQ(writer.Build(), expected);

    PackReader reader(writer.Build());
    ASSERT_EQ(reader.Members().size(), 2u);
    EXPECT_EQ(reader.Members()[1].name, "b");
    EXPECT_EQ(reader.Bytes(reader.Members()[0]), (std::vector<uint8_t>{'x', 'y'}));
}

TEST(PackWriter, RefusesNamesTheReaderCannotTrust) {
    for (const char* name :
         {"", "UI\\a.xml", "ui/a.xml", "\\a", "a\\", "..\\a", "ui\\..\\..\\a", "c:\\a", "ui\\\\a"}) {
        PackWriter writer;
        EXPECT_THROW(writer.Add(name, "x"), FormatError) << name;
    }
    PackWriter writer;
    writer.Add("ui\\a.xml", "x");
    EXPECT_THROW(writer.Add("ui\\a.xml", "y"), FormatError);

    BinaryWriter strings;
    EXPECT_THROW(strings.String(std::string(255, 'a')), FormatError);
    EXPECT_THROW(strings.WideString(std::wstring(200, L'a') + std::wstring(30, L'\U0001F600')), FormatError);
    strings.String(std::string(254, 'a'));
    strings.WideString(L"\U0001F600");
    EXPECT_EQ(strings.Data()[0], 255);
    EXPECT_EQ(std::vector<uint8_t>(strings.Data().begin() + 256, strings.Data().end()),
              (std::vector<uint8_t>{3, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
    EXPECT_THROW(VersionedWriter("OEPA", 100), FormatError);
}

TEST(PackWriter, ExtractionStaysInsideItsFolder) {
    fs::path dir = fs::path(VelmoraTest::TempDir()) / "extract";
    fs::remove_all(dir);
    PackWriter sound;
    sound.Add("ui\\fonts\\a.fnt", "font");
    sound.Save((dir / "sound.pak").string());
    ExtractPack((dir / "sound.pak").string(), (dir / "out").string());
    std::ifstream in(dir / "out" / "ui" / "fonts" / "a.fnt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "font");

    PackWriter hostile;
    hostile.faults.keepNamesAsGiven = true;
    hostile.Add("..\\..\\escaped.txt", "x");
    hostile.Save((dir / "hostile.pak").string());
    EXPECT_THROW(ExtractPack((dir / "hostile.pak").string(), (dir / "out2").string()), FormatError);
    EXPECT_FALSE(fs::exists(dir.parent_path() / "escaped.txt"));

    PackWriter lying;
    lying.Add("a", "data");
    lying.faults.badEntry = 0;
    lying.faults.badOffset = 10;
    lying.faults.badSize = 1000;
    EXPECT_THROW(PackReader(lying.Build()), FormatError);
}
