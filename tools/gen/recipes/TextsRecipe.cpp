#include "tools/gen/recipes/TextsRecipe.h"

#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace VbGen {

namespace {

bool IsLanguage(const std::string& name) {
    const std::vector<std::string>& languages = ShippedLanguages();
    return std::find(languages.begin(), languages.end(), name) != languages.end();
}

void Collect(const XmlElement& element, const std::string& key, std::vector<TextEntry>& entries,
             std::map<std::string, size_t>& seen) {
    TextEntry entry;
    entry.key = key;
    for (const XmlElement& child : element.children) {
        const std::string* text = child.Attribute("text");
        if (IsLanguage(child.name) && text != nullptr)
            entry.texts.emplace_back(child.name, *text);
        else if (!IsLanguage(child.name))
            Collect(child, key.empty() ? child.name : key + "/" + child.name, entries, seen);
    }
    if (entry.texts.empty() || key.empty())
        return;
    auto [it, inserted] = seen.emplace(key, entries.size());
    if (inserted) {
        entries.push_back(std::move(entry));
        return;
    }
    // A later definition only fills languages the first one lacks, as the lookup falls through to it.
    TextEntry& first = entries[it->second];
    for (auto& text : entry.texts)
        if (std::none_of(first.texts.begin(), first.texts.end(),
                         [&](const auto& known) { return known.first == text.first; }))
            first.texts.push_back(std::move(text));
}

} // namespace

const std::vector<std::string>& ShippedLanguages() {
    static const std::vector<std::string> languages{"en", "ru"};
    return languages;
}

std::vector<TextEntry> TextEntries(const XmlElement& texts) {
    std::vector<TextEntry> entries;
    std::map<std::string, size_t> seen;
    Collect(texts, "", entries, seen);
    return entries;
}

std::string DefaultTextsXml(const std::vector<TextEntry>& entries) {
    std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<!-- made by the generator from texts.xml: the English text under every language -->\n"
                      "<texts>\n";
    for (const TextEntry& entry : entries) {
        auto english = std::find_if(entry.texts.begin(), entry.texts.end(),
                                    [](const auto& text) { return text.first == ShippedLanguages().front(); });
        if (english == entry.texts.end())
            throw GenError("ui/texts/texts.xml: the key " + entry.key + " has no English text");
        // Nested elements, one per key segment: an element name cannot hold "/".
        std::string open, close;
        size_t start = 0;
        while (start <= entry.key.size()) {
            size_t slash = std::min(entry.key.find('/', start), entry.key.size());
            std::string segment = entry.key.substr(start, slash - start);
            open += "<" + segment + ">";
            close = "</" + segment + ">" + close;
            start = slash + 1;
        }
        std::string languages;
        for (const std::string& language : ShippedLanguages())
            languages += "<" + language + " text=\"" + english->second + "\"/>";
        xml += "  " + open + languages + close + "\n";
    }
    xml += "</texts>\n";
    return xml;
}

void TextsRecipe::Run(const RecipeContext& context) const {
    const std::filesystem::path source = std::filesystem::path(context.contentDir) / "ui" / "texts" / "texts.xml";
    std::error_code error;
    if (!std::filesystem::exists(source, error))
        return; // a content folder without texts (a test's) gets no defaults either
    const std::vector<uint8_t> bytes = ReadBytes(source.string());
    const XmlElement root = ParseXml(std::string(bytes.begin(), bytes.end()), "content/ui/texts/texts.xml");
    if (root.name != "texts")
        throw GenError("content/ui/texts/texts.xml: the root element must be texts");
    context.out->Write("ui\\texts\\default_texts.xml", DefaultTextsXml(TextEntries(root)));
}

} // namespace VbGen
