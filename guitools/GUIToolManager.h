// The root of the GUI tools for one language: the font registry, the localised texts and the description
// root under which the document element of every window description file hangs, in the sorted order of the
// files. Created once by the application root for the chosen language and deleted at shutdown.
#pragma once

#include <string>

namespace GameTools {
class XMLNode;
}

namespace GUITools {

class GUIFontTool;
class GUITextTool;

class GUIToolManager {
public:
    static constexpr const char* WindowsDirectory = "data\\ui\\windows";

    // Reads the basic fonts, the texts and every window description; a description file that cannot be
    // read is logged and left out.
    explicit GUIToolManager(const std::string& language);
    GUIToolManager(const GUIToolManager&) = delete;
    GUIToolManager& operator=(const GUIToolManager&) = delete;
    virtual ~GUIToolManager();

    std::string language;
    GUIFontTool* fontTool = nullptr; // owned
    GUITextTool* textTool = nullptr; // owned
    // owned: no name, no value, no parent; children are the files' document elements in file order, so
    // of two files naming the same window the one listed first is found.
    GameTools::XMLNode* windowDescriptions = nullptr;
};

} // namespace GUITools
