#include "tools/gen/TextFormat.h"

#include <charconv>
#include <cmath>

namespace VbGen {

std::string FormatFloat(float value) {
    // Rounded first, so that a tiny negative value does not print as "-0".
    double rounded = std::round(double(value) * 10000.0) / 10000.0;
    if (rounded == 0)
        rounded = 0;
    char buffer[64];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, rounded,
                                                std::chars_format::fixed, 4);
    std::string text(buffer, result.ptr);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace VbGen
