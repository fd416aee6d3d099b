// Chooses once, at start-up, the language the game speaks: the registry's "Language" when its font folder
// exists, else the first supported language that has a font folder, else English; then sets the process
// locale to match (numbers always with "."). The application root creates the one instance right after the
// engine and deletes it with itself; the language never changes while the game runs.
#pragma once

#include <string>
#include <vector>

namespace GameFramework {

struct LanguageInfo {
    std::string code;       // "en", "ru"...
    std::string localeName; // the language as the C library names it: "english", "russian"...
};

class LanguageManager {
public:
    // registryKey: the installation's key, below which "Language" lies. Needs the file manager.
    explicit LanguageManager(const std::string& registryKey);
    LanguageManager(const LanguageManager&) = delete;
    LanguageManager& operator=(const LanguageManager&) = delete;
    virtual ~LanguageManager();

    const std::string& GetCurrentLanguage() const { return current->code; }
    const LanguageInfo& GetCurrentInfo() const { return *current; }
    // The record of exactly that code (case matters); null when the table has none.
    const LanguageInfo* FindLanguage(const std::string& code) const;

private:
    std::vector<LanguageInfo*> languages;  // owned, in the order of the search
    const LanguageInfo* current = nullptr; // one of languages, never null after construction
};

} // namespace GameFramework
