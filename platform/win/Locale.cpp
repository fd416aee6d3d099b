#include "platform/win/Locale.h"

#include <clocale>
#include <map>

namespace platform {

namespace {

std::string InstalledLocale(const std::string& languageName) {
    static const std::map<std::string, std::string> names = {
        {"english", "en_US.UTF-8"},  {"russian", "ru_RU.UTF-8"}, {"german", "de_DE.UTF-8"},
        {"french", "fr_FR.UTF-8"},   {"italian", "it_IT.UTF-8"}, {"spanish", "es_ES.UTF-8"},
        {"japanese", "ja_JP.UTF-8"}, {"czech", "cs_CZ.UTF-8"},
    };
    auto found = names.find(languageName);
    return found != names.end() ? found->second : "";
}

} // namespace

std::string SetLanguageLocale(const std::string& languageName) {
    // "english" for every category: on this system that is C.UTF-8, whose numbers use ".".
    if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr)
        std::setlocale(LC_ALL, "C");
    const std::string wanted = InstalledLocale(languageName);
    if (!wanted.empty() && std::setlocale(LC_CTYPE, wanted.c_str()) != nullptr)
        std::setlocale(LC_COLLATE, wanted.c_str());
    const char* now = std::setlocale(LC_CTYPE, nullptr);
    return now != nullptr ? now : "";
}

} // namespace platform
