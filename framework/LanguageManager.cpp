#include "framework/LanguageManager.h"

#include "engine/core/ObjectManager.h"
#include "engine/files/FileManager.h"
#include "framework/Registry.h"
#include "platform/win/Locale.h"

#include <cassert>

using namespace OrvexEngine;

namespace GameFramework {

namespace {

bool HasFontFolder(const std::string& code) {
    return !code.empty() && FileManager::Instance()->DirectoryExists("data\\ui\\fonts\\" + code);
}

} // namespace

LanguageManager::LanguageManager(const std::string& registryKey) {
    assert(FileManager::Instance() != nullptr &&
           "the language is chosen by its font folder; create the engine first");
    const char* const table[][2] = {
        {"en", "english"}, {"ru", "russian"}, {"ge", "german"},   {"fr", "french"},
        {"it", "italian"}, {"sp", "spanish"}, {"jp", "japanese"}, {"cz", "czech"},
    };
    for (const auto& row : table)
        languages.push_back(new LanguageInfo{row[0], row[1]});

    std::string code;
    if (!Registry::ReadString(registryKey, "Language", code) || !HasFontFolder(code))
        code.clear();
    for (size_t i = 0; code.empty() && i < languages.size(); ++i)
        if (HasFontFolder(languages[i]->code))
            code = languages[i]->code;
    current = FindLanguage(code.empty() ? "en" : code);
    if (current == nullptr)
        current = FindLanguage("en");

    platform::SetLanguageLocale(current->localeName);
}

LanguageManager::~LanguageManager() {
    DeletePointerVector(languages);
}

const LanguageInfo* LanguageManager::FindLanguage(const std::string& code) const {
    for (const LanguageInfo* language : languages)
        if (language->code == code)
            return language;
    return nullptr;
}

} // namespace GameFramework
