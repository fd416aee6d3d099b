// Text helpers shared by every part of the engine: numbers as text and back, trimming, case changes,
// replacing, narrow <-> wide conversion. Narrow text is UTF-8, wide text is std::wstring (one code point per
// element); numbers are always written and read with ".", whatever locale the process selected.
// Functions named ...W work on wide text. "In place" functions change their argument, "Copy" ones return a
// new text. Free functions without state.
#pragma once

#include "engine/math/Quaternion.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

// Parsing. Text that does not parse gives 0, 0.0 or false; results beyond 32 bits saturate.
// Base 10: leading white space, optional sign, decimal digits up to the first other character.
int32_t ParseInt(const std::string& text, int base = 10);
// A leading "-" negates in 32-bit arithmetic ("-1" gives 0xFFFFFFFF).
uint32_t ParseUInt(const std::string& text, int base = 10);
float ParseFloat(const std::string& text);
// True when ParseInt(text, 10) is not 0: "2" and "-1" are true, "true" is false.
bool ParseBool(const std::string& text);
int32_t ParseIntW(const std::wstring& text, int base = 10);
float ParseFloatW(const std::wstring& text);
bool ParseBoolW(const std::wstring& text);

// Formatting; each result holds at most 63 characters. Digits > 0: at least that many digits, zero-padded
// after the sign; 0: as many as needed.
std::string IntToText(int32_t value, int digits = 0);
std::string UIntToText(uint32_t value, int digits = 0);
// Upper case, no prefix.
std::string HexToText(uint32_t value, int digits = 0);
// Always exactly `decimals` decimals, rounded; 0 gives the nearest integer without a point.
std::string FloatToText(float value, int decimals);
std::string BoolToText(bool value);
std::wstring IntToTextW(int32_t value, int digits = 0);
std::wstring UIntToTextW(uint32_t value, int digits = 0);
std::wstring FloatToTextW(float value, int decimals);
// The components by FloatToTextW, separated by one blank.
std::wstring Vec3ToTextW(const Vec3& value, int decimals);
std::wstring Vec4ToTextW(const Vec4& value, int decimals);
// x, y, z and w, as Vec4ToTextW writes them.
std::wstring QuaternionToTextW(const Quaternion& value, int decimals);

// Case changes, one character at a time (Unicode simple case mapping; narrow text is decoded as UTF-8 and
// bytes that are not UTF-8 are kept as they are).
void ToUpper(std::string& text);
void ToLower(std::string& text);
void ToUpperW(std::wstring& text);
void ToLowerW(std::wstring& text);
std::string ToUpperCopy(const std::string& text);
std::string ToLowerCopy(const std::string& text);
std::wstring ToLowerCopyW(const std::wstring& text);

// Trimming white space: blank, tab, line feed, vertical tab, form feed, carriage return (wide text: also the
// other Unicode spaces).
void TrimLeft(std::string& text);
void TrimRight(std::string& text);
void Trim(std::string& text);
// Removes every leading occurrence of `character`.
void TrimLeftChar(std::string& text, char character);
void TrimLeftW(std::wstring& text);
void TrimRightW(std::wstring& text);
std::string TrimRightCopy(const std::string& text);
std::wstring TrimLeftCopyW(const std::wstring& text);
std::wstring TrimRightCopyW(const std::wstring& text);
std::wstring TrimCopyW(const std::wstring& text);

// Replaces every occurrence from left to right; the search goes on after the inserted replacement, so a
// replacement containing the pattern is not searched again. An empty pattern changes nothing.
void ReplaceAll(std::string& text, const std::string& pattern, const std::string& replacement);
void ReplaceAllW(std::wstring& text, const std::wstring& pattern, const std::wstring& replacement);
std::wstring ReplaceAllCopyW(const std::wstring& text, const std::wstring& pattern,
                             const std::wstring& replacement);
// With nothing in between, the search goes on at the same place: three blanks less "  " leave one blank.
void EraseAll(std::string& text, const std::string& pattern);
std::wstring EraseAllCopyW(const std::wstring& text, const std::wstring& pattern);

// UTF-8 to wide: stops at the first zero byte; a byte that starts no valid character is skipped.
void MultiByteToWide(const std::string& text, std::wstring& out);
std::wstring ToWide(const std::string& text);
// Wide to UTF-8: stops at the first zero character; a value that is no character (a surrogate, beyond
// U+10FFFF) is skipped.
void WideToMultiByte(const std::wstring& text, std::string& out);
std::string ToMultiByte(const std::wstring& text);

// Wide text <-> UTF-16 code units, for files that store wide text as UTF-16. Unpaired surrogates and values
// that are no character become U+FFFD.
std::u16string WideToUtf16(const std::wstring& text);
std::wstring Utf16ToWide(const std::u16string& text);

// The directory of the running executable, without a trailing separator.
std::string GetExecutableDirectory();

// True for a path that names its own root: "/..." on this system, or the drive and UNC forms ("C:...",
// "\\server") that data and settings files may still carry.
bool IsAbsolutePath(const std::string& path);

} // namespace OrvexEngine
