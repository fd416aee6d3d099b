// The font registry of the XML-described GUI: reads the fonts files, makes for every font entry a material
// from its two images and a loaded font in the GUI's font manager, sets the font's layout values (with the
// current language's overrides) and answers the id of a font name. Ids run from 0 in file order across both
// files. Created and deleted by the GUI tool manager; one per tool manager.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace GameTools {
class XMLNode;
}

namespace OrvexEngine {
class GUIFont;
class GUIFontManager;
class ShaderUser;
} // namespace OrvexEngine

namespace GUITools {

class GUIFontTool {
public:
    static constexpr const char* BasicFontsFileName = "data\\ui\\fonts\\fonts_basic.xml";
    static constexpr const char* AdditionalFontsFileName = "data\\ui\\fonts\\fonts_additional.xml";

    // Reads the basic fonts at once. Needs the GUI manager.
    explicit GUIFontTool(const std::string& language);
    GUIFontTool(const GUIFontTool&) = delete;
    GUIFontTool& operator=(const GUIFontTool&) = delete;
    // Removes every font it made from the font manager and releases every material it made.
    virtual ~GUIFontTool();

    // The additional fonts, read once after the staged loading.
    void LoadAdditionalFonts();
    // One fonts file. A missing or malformed file is logged; the entries read before a format error are
    // used. An entry without name, size or one of its three files is logged and skipped.
    void LoadFontFile(const std::string& path);
    // -1 for a name that is not registered (also "").
    int GetFontIndex(const std::string& name) const;
    // Null for a name that is not registered.
    OrvexEngine::GUIFont* GetFont(const std::string& name) const;

    OrvexEngine::GUIFontManager* fontManager = nullptr; // not owned: the GUI manager's
    std::string language;
    int nextFontId = 0;
    std::map<std::string, int> fontIds; // the first entry of a name keeps it

private:
    void LoadEntry(GameTools::XMLNode* entry, int index);

    // Every font and material made, also those of an entry whose name was already taken: each is given
    // back at destruction.
    std::vector<int> createdFontIds;
    std::vector<OrvexEngine::ShaderUser*> shaderUsers; // released through ShaderManager
};

} // namespace GUITools
