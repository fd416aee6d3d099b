// ctest-label: core
#include "engine/core/StringUtils.h"

#include "platform/win/Process.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace OrvexEngine;

TEST(StringUtils, FormatsNumbers) {
    struct Case {
        std::string got;
        std::string expected;
    };
    const Case cases[] = {
        {IntToText(-42, 5), "-00042"},
        {IntToText(7, 0), "7"},
        {IntToText(0, 0), "0"}, // no precision: 0 must still print a digit
        {IntToText(INT32_MIN, 0), "-2147483648"},
        {IntToText(12, -3), "12"},
        {UIntToText(4294967295u, 0), "4294967295"},
        {UIntToText(7, 3), "007"},
        {HexToText(255, 4), "00FF"},
        {HexToText(0xDEADBEEF, 0), "DEADBEEF"},
        {FloatToText(0.95f, 4), "0.9500"},
        {FloatToText(3.7f, 0), "4"},
        {FloatToText(-1.25f, 1), "-1.2"}, // the float is exactly -1.25: ties go to even, as printf does
        {FloatToText(2.0f, 6), "2.000000"},
        {FloatToText(-0.0001f, 2), "-0.00"},
        {FloatToText(1e10f, 0), "10000000000"},
        {BoolToText(true), "1"},
        {BoolToText(false), "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);

    EXPECT_EQ(IntToTextW(-42, 5), L"-00042");
    EXPECT_EQ(UIntToTextW(9, 2), L"09");
    EXPECT_EQ(FloatToTextW(0.5f, 2), L"0.50");
    EXPECT_EQ(Vec3ToTextW(Vec3(1, 2, 3), 1), L"1.0 2.0 3.0");
    EXPECT_EQ(Vec4ToTextW(Vec4(1, -2, 0.25f, 4), 2), L"1.00 -2.00 0.25 4.00");
    EXPECT_EQ(QuaternionToTextW(Quaternion(0.5f, 0, -1, 2), 1), L"0.5 0.0 -1.0 2.0"); // w last
}

TEST(StringUtils, ParsesNumbers) {
    struct IntCase {
        const char* text;
        int base;
        int32_t expected;
    };
    const IntCase ints[] = {
        {"12abc", 10, 12},
        {"  -7", 10, -7},
        {"abc", 10, 0},
        {"", 10, 0},
        {"+3", 10, 3},
        {"0x1F", 10, 0},
        {"0x1F", 16, 31},
        {"ff", 16, 255},
        {"777", 8, 511},
        {"99999999999", 10, INT32_MAX},
        {"-99999999999", 10, INT32_MIN},
        {"ffffffff", 16, INT32_MAX},
    };
    for (const IntCase& c : ints) {
        EXPECT_EQ(ParseInt(c.text, c.base), c.expected) << c.text;
        EXPECT_EQ(ParseIntW(ToWide(c.text), c.base), c.expected) << c.text;
    }

    struct UIntCase {
        const char* text;
        int base;
        uint32_t expected;
    };
    const UIntCase uints[] = {
        {"ff", 16, 255u},
        {"4294967295", 10, 4294967295u},
        {"4294967296", 10, 4294967295u},
        {"-1", 10, 4294967295u},
        {"-5", 10, 4294967291u},
        {"--5", 10, 0u},
        {"x", 10, 0u},
        {" 42z", 10, 42u},
    };
    for (const UIntCase& c : uints)
        EXPECT_EQ(ParseUInt(c.text, c.base), c.expected) << c.text;

    EXPECT_FLOAT_EQ(ParseFloat("1.5"), 1.5f);
    EXPECT_FLOAT_EQ(ParseFloat(" -2.25e1x"), -22.5f);
    EXPECT_FLOAT_EQ(ParseFloat("1,5"), 1.0f);
    EXPECT_EQ(ParseFloat("abc"), 0.0f);
    EXPECT_TRUE(std::isinf(ParseFloat("1e300")));
    EXPECT_FLOAT_EQ(ParseFloatW(L"0.125"), 0.125f);

    const std::pair<const char*, bool> bools[] = {{"1", true},  {"2", true},     {"-1", true},
                                                  {"0", false}, {"true", false}, {"", false}};
    for (const auto& [text, expected] : bools) {
        EXPECT_EQ(ParseBool(text), expected) << text;
        EXPECT_EQ(ParseBoolW(ToWide(text)), expected) << text;
    }
}

// A language whose locale writes "," as the decimal point must not change how numbers are written or read:
// settings files and data files are shared between languages. Machines without such a locale installed get
// one built into the test's temporary folder.
TEST(StringUtils, NumbersKeepTheDecimalPointUnderACommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    bool selected = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    if (!selected) {
        const std::string dir = VelmoraTest::TempDir() + "/locales";
        const std::string build = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' > /dev/null 2>&1";
        std::filesystem::create_directories(dir);
        if (std::system(build.c_str()) == 0) {
            setenv("LOCPATH", dir.c_str(), 1);
            selected = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        }
    }
    if (!selected)
        GTEST_SKIP() << "no locale with a decimal comma could be installed or built";
    char printed[32];
    std::snprintf(printed, sizeof(printed), "%.1f", 1.5);
    EXPECT_STREQ(printed, "1,5") << "the locale in force does not use a comma; the test proves nothing";

    EXPECT_EQ(FloatToText(1.5f, 2), "1.50");
    EXPECT_EQ(FloatToTextW(-0.25f, 2), L"-0.25");
    EXPECT_FLOAT_EQ(ParseFloat("2.75"), 2.75f);
    EXPECT_FLOAT_EQ(ParseFloatW(L"2.75"), 2.75f);

    std::setlocale(LC_ALL, saved.c_str());
    unsetenv("LOCPATH");
}

TEST(StringUtils, ConvertsBetweenUtf8AndWide) {
    struct Case {
        std::string narrow;
        std::wstring wide;
    };
    // é (2 bytes), Cyrillic (2 bytes each), a CJK ideograph (3 bytes), a character beyond the 16-bit plane.
    const Case roundTrips[] = {
        {"", L""},
        {"plain", L"plain"},
        {"caf\xC3\xA9", L"caf\u00E9"},
        {"\xD0\x9F\xD1\x80\xD0\xB8", L"\u041F\u0440\u0438"},
        {"\xE6\x97\xA5", L"\u65E5"},
        {"\xF0\x9F\x8E\xBE", L"\U0001F3BE"},
    };
    for (const Case& c : roundTrips) {
        EXPECT_EQ(ToWide(c.narrow), c.wide) << c.narrow;
        EXPECT_EQ(ToMultiByte(c.wide), c.narrow) << c.narrow;
    }

    // Bytes that start no valid character are skipped one at a time, the rest still converts.
    const Case badNarrow[] = {
        {std::string("a\xE9z"), L"az"},           // a Latin-1 byte, not UTF-8
        {std::string("a\x80\xBFz"), L"az"},       // stray continuation bytes
        {std::string("\xC0\xAF"), L""},           // over-long "/"
        {std::string("\xED\xA0\x80x"), L"x"},     // an encoded surrogate
        {std::string("ab\xE6\x97"), L"ab"},       // truncated at the end
        {std::string("\xF4\x90\x80\x80!"), L"!"}, // beyond U+10FFFF
        {std::string("ab\0cd", 5), L"ab"},        // stops at a zero byte
    };
    for (const Case& c : badNarrow)
        EXPECT_EQ(ToWide(c.narrow), c.wide);

    std::wstring withBad = L"a";
    withBad += static_cast<wchar_t>(0xD800);
    withBad += static_cast<wchar_t>(0x110000);
    withBad += L'b';
    withBad += L'\0';
    withBad += L'c';
    EXPECT_EQ(ToMultiByte(withBad), "ab");

    // The out forms replace what the out text held.
    std::wstring wide = L"old";
    MultiByteToWide("new", wide);
    EXPECT_EQ(wide, L"new");
    std::string narrow = "old";
    WideToMultiByte(L"n\u00E9", narrow);
    EXPECT_EQ(narrow, "n\xC3\xA9");
}

TEST(StringUtils, ConvertsBetweenWideAndUtf16) {
    const std::wstring wide = L"A\u00E9\u65E5\U0001F3BE";
    const std::u16string units = u"A\u00E9\u65E5\U0001F3BE";
    EXPECT_EQ(units.size(), 5u); // the last character takes a surrogate pair
    EXPECT_EQ(WideToUtf16(wide), units);
    EXPECT_EQ(Utf16ToWide(units), wide);

    std::u16string lone = u"x";
    lone += static_cast<char16_t>(0xDC00);
    lone += static_cast<char16_t>(0xD800);
    EXPECT_EQ(Utf16ToWide(lone), L"x\uFFFD\uFFFD");
}

TEST(StringUtils, ChangesCase) {
    struct Case {
        std::string text;
        std::string upper;
        std::string lower;
    };
    const Case cases[] = {
        {"v_Mode 1024X768", "V_MODE 1024X768", "v_mode 1024x768"},
        {"Data\\UI\\Fonts.xml", "DATA\\UI\\FONTS.XML", "data\\ui\\fonts.xml"},
        {"caf\xC3\xA9", "CAF\xC3\x89", "caf\xC3\xA9"},                                        // é <-> É
        {"\xD0\x9F\xD1\x80\xD0\xB8", "\xD0\x9F\xD0\xA0\xD0\x98", "\xD0\xBF\xD1\x80\xD0\xB8"}, // При
        {"stra\xC3\x9F"
         "e",
         "STRA\xC3\x9F"
         "E",
         "stra\xC3\x9F"
         "e"},                                                                 // ß has no one-letter capital
        {std::string("a\xFFz"), std::string("A\xFFZ"), std::string("a\xFFz")}, // not UTF-8: kept
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToUpperCopy(c.text), c.upper) << c.text;
        EXPECT_EQ(ToLowerCopy(c.text), c.lower) << c.text;
        std::string inPlace = c.text;
        ToUpper(inPlace);
        EXPECT_EQ(inPlace, c.upper);
        ToLower(inPlace);
        EXPECT_EQ(inPlace, ToLowerCopy(c.upper));
    }

    std::wstring wide = L"Gr\u00FC\u00DFe \u0414\u0430 \u03A3\u03C3";
    ToUpperW(wide);
    EXPECT_EQ(wide, L"GR\u00DC\u00DFE \u0414\u0410 \u03A3\u03A3");
    ToLowerW(wide);
    EXPECT_EQ(wide, L"gr\u00FC\u00DFe \u0434\u0430 \u03C3\u03C3");
    EXPECT_EQ(ToLowerCopyW(L"\u00C9COLE"), L"\u00E9cole");
}

TEST(StringUtils, Trims) {
    std::string blanks = " \t\r\n\v\f ";
    Trim(blanks);
    EXPECT_EQ(blanks, "");

    std::string text = "  a b \r\n";
    TrimLeft(text);
    EXPECT_EQ(text, "a b \r\n");
    TrimRight(text);
    EXPECT_EQ(text, "a b");
    EXPECT_EQ(TrimRightCopy("x \xC2\xA0"), "x \xC2\xA0"); // bytes of a UTF-8 character are never blanks

    std::string slashes = "\\\\x\\";
    TrimLeftChar(slashes, '\\');
    EXPECT_EQ(slashes, "x\\");

    // Wide text also drops the other Unicode spaces (here the ideographic space).
    const std::wstring wide = L"\u3000 \tw i\n\u3000";
    EXPECT_EQ(TrimCopyW(wide), L"w i");
    EXPECT_EQ(TrimLeftCopyW(wide), L"w i\n\u3000");
    EXPECT_EQ(TrimRightCopyW(wide), L"\u3000 \tw i");
    std::wstring inPlace = L"  z  ";
    TrimLeftW(inPlace);
    TrimRightW(inPlace);
    EXPECT_EQ(inPlace, L"z");
}

TEST(StringUtils, ReplacesAndErases) {
    struct Case {
        std::string text, pattern, replacement, expected;
    };
    const Case cases[] = {
        {"aaa", "a", "aa", "aaaaaa"}, // the replacement is not searched again
        {"a.b.c", ".", "\\", "a\\b\\c"}, {"abcabc", "bc", "", "aa"},
        {"   ", "  ", "", " "}, // erasing goes on at the same place
        {"    ", "  ", "", ""},          {"xyz", "q", "r", "xyz"},
        {"xyz", "", "r", "xyz"}, // an empty pattern would never end
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        ReplaceAll(text, c.pattern, c.replacement);
        EXPECT_EQ(text, c.expected) << c.text << " / " << c.pattern;
        std::wstring wide = ToWide(c.text);
        ReplaceAllW(wide, ToWide(c.pattern), ToWide(c.replacement));
        EXPECT_EQ(wide, ToWide(c.expected));
        EXPECT_EQ(ReplaceAllCopyW(ToWide(c.text), ToWide(c.pattern), ToWide(c.replacement)),
                  ToWide(c.expected));
    }

    std::string spaced = "a   b";
    EraseAll(spaced, "  ");
    EXPECT_EQ(spaced, "a b");
    EXPECT_EQ(EraseAllCopyW(L"a\u00E9b\u00E9", L"\u00E9"), L"ab");
}

TEST(StringUtils, ExecutableDirectoryHasNoTrailingSeparator) {
    const std::string dir = GetExecutableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
    EXPECT_EQ(dir.front(), '/');

    const std::pair<const char*, const char*> cases[] = {
        {"/opt/velmora/velmora-ball", "/opt/velmora"}, {"C:\\Games\\x.exe", "C:\\Games"}, {"x.exe", "x.exe"}};
    for (const auto& [path, expected] : cases) {
        platform::SetExecutablePathForTests(path);
        EXPECT_EQ(GetExecutableDirectory(), expected);
    }
    platform::SetExecutablePathForTests("");
}
