// The texts shown to the player in one language, looked up by key: the game's own texts file first, then
// the default texts shipped with it. Created once by the GUI tool manager for the chosen language and
// deleted with it; its texts never change afterwards (a language change needs a new tool).
#pragma once

#include <string>
#include <vector>

namespace GameTools {
class XMLNode;
}

namespace GUITools {

class GUITextTool {
public:
    // Reads both text files; a file that is missing or broken is logged and leaves the other in use.
    explicit GUITextTool(const std::string& language);
    GUITextTool(const GUITextTool&) = delete;
    GUITextTool& operator=(const GUITextTool&) = delete;
    virtual ~GUITextTool();

    // The key's text in the tool's language from the first file that has it; "UNKNOWN" when none does.
    std::wstring GetText(const std::string& key) const;

    static constexpr const char* TextsFileName = "data\\ui\\texts\\texts.xml";
    static constexpr const char* DefaultTextsFileName = "data\\ui\\texts\\default_texts.xml";

    std::string language;
    GameTools::XMLNode* document = nullptr; // owned: one unnamed child per text file read
    std::vector<GameTools::XMLNode*>
        textsNodes; // not owned: each file's "texts" element, in precedence order
};

} // namespace GUITools
