// The fallback texts: reads the hand-written ui\texts\texts.xml (copied as it is by the content recipe) and
// writes ui\texts\default_texts.xml with the English text of every key under every shipped language, so a
// key a translation lacks shows English rather than "UNKNOWN". Refuses a texts.xml that does not parse or
// a key without an English text; a content folder without texts.xml gets no default texts.
#pragma once

#include "tools/gen/Recipe.h"
#include "tools/gen/XmlReader.h"

#include <string>
#include <utility>
#include <vector>

namespace VbGen {

// The languages the game ships, the default first.
const std::vector<std::string>& ShippedLanguages();

struct TextEntry {
    std::string key; // "common/ok"
    std::vector<std::pair<std::string, std::string>> texts; // language code -> text, in document order
};

// Every key of a texts document in document order: an element with a language child that carries "text"
// is a key; its own name joins the names above it with "/". A key defined twice keeps its first definition,
// as the game's lookup does.
std::vector<TextEntry> TextEntries(const XmlElement& texts);

// The default texts document for the entries.
std::string DefaultTextsXml(const std::vector<TextEntry>& entries);

class TextsRecipe final : public Recipe {
public:
    std::string Family() const override { return "texts"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
