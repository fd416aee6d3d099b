// The C library's locale as a Windows program selects it by language name ("english", "russian"...): every
// category English first, then character classes and collation in the language, the multibyte code page
// following them. Here a language is its installed UTF-8 locale, else C.UTF-8, so that wide case mapping and
// narrow <-> wide conversion cover every language, while numbers always use ".". Free function.
#pragma once

#include <string>

namespace platform {

// Sets the process locale for the language; returns the name now in force for character classes.
std::string SetLanguageLocale(const std::string& languageName);

} // namespace platform
