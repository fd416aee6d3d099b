// The error every writer of vb_formats throws when the data it is given breaks a rule the game's reader
// relies on (the text names the rule), or when a file cannot be written.
#pragma once

#include <stdexcept>

namespace VbFormats {

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace VbFormats
