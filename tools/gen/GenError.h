// The error the data generator throws when its input breaks a rule of the data set (the text names the
// file and the rule) or when an output cannot be written.
#pragma once

#include <stdexcept>

namespace VbGen {

class GenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace VbGen
