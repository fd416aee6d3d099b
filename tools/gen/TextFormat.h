// Numbers and text as the generator prints them into XML: independent of the locale, always with ".", and
// with a fixed precision so that the same value gives the same bytes on every machine.
#pragma once

#include <string>

namespace VbGen {

// Up to four decimals, trailing zeros dropped: 0.25 -> "0.25", 20 -> "20", -0.00001 -> "0".
std::string FormatFloat(float value);

} // namespace VbGen
