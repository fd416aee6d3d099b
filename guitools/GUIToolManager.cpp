#include "guitools/GUIToolManager.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextTool.h"

#include <vector>

namespace GUITools {

GUIToolManager::GUIToolManager(const std::string& languageCode)
    : language(languageCode), fontTool(new GUIFontTool(languageCode)),
      textTool(new GUITextTool(languageCode)), windowDescriptions(new GameTools::XMLNode()) {
    std::vector<std::string> files;
    OrvexEngine::FileManager::Instance()->ListFiles(WindowsDirectory, "*.xml", files);
    for (const std::string& file : files) {
        GameTools::XMLNode* root = nullptr;
        try {
            GameTools::XMLParser().ParseFile(root, file);
        } catch (const OrvexEngine::FileError& error) {
            OrvexEngine::Log()->Error(error.GetText());
            continue;
        }
        if (root != nullptr)
            windowDescriptions->AddChild(root);
    }
}

GUIToolManager::~GUIToolManager() {
    delete fontTool;
    delete textTool;
    delete windowDescriptions;
}

} // namespace GUITools
