// The one UTF-8 codec and the one case fold of the program: narrow text is UTF-8 everywhere, and every place
// that compares names whatever their case (file names on disk, pack members, configuration names) folds
// them by the same Unicode simple lower-case mapping, so that a name found by one is found by the other.
// Free functions, no state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// One character of UTF-8 at text[0 .. available): its byte length and value, or 0 when no valid character
// starts there (a stray continuation byte, a truncated or over-long sequence, a surrogate, beyond U+10FFFF).
size_t DecodeUtf8(const char* text, size_t available, uint32_t& value);
// Appends the UTF-8 form of a character (one to four bytes); a value that is no character is not appended.
void AppendUtf8(std::string& out, uint32_t value);

// Unicode simple mappings of one character; anything without a mapping stays as it is.
uint32_t LowerCaseOf(uint32_t value);
uint32_t UpperCaseOf(uint32_t value);
// Unicode white space (ASCII's blank, tab and line breaks among it).
bool IsSpaceCharacter(uint32_t value);
// The text with every character lower-cased; bytes that are not UTF-8 are kept as they are.
std::string FoldCase(const std::string& text);

} // namespace platform
