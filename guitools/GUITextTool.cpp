#include "guitools/GUITextTool.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"

using GameTools::XMLNode;
using GameTools::XMLValue;

namespace GUITools {

GUITextTool::GUITextTool(const std::string& language) : language(language), document(new XMLNode()) {
    GameTools::XMLParser parser;
    // Each file is read on its own: a broken or missing texts file must not hide the default texts, which
    // exist exactly so that something sensible shows when the first file lacks a text.
    for (const char* fileName : {TextsFileName, DefaultTextsFileName}) {
        XMLNode* fileNode = document->AddNewChild();
        try {
            parser.Load(fileNode, fileName);
        } catch (const OrvexEngine::FileError& error) {
            OrvexEngine::Log()->Error(error.GetText());
        }
    }
    for (XMLNode* fileNode : document->children) {
        XMLNode* texts = fileNode->GetChild("texts", XMLNode::SeverityNone);
        if (texts == nullptr) {
            OrvexEngine::Log()->Error("Incorrect \"text file\" format");
            continue;
        }
        textsNodes.push_back(texts);
    }
}

GUITextTool::~GUITextTool() {
    delete document; // textsNodes point into it
}

std::wstring GUITextTool::GetText(const std::string& key) const {
    const std::string path = key + "/" + language;
    for (XMLNode* texts : textsNodes) {
        XMLNode* node = XMLNode::SelectNode(texts, path);
        if (node == nullptr)
            continue;
        if (XMLValue* text = node->GetAttribute("text", XMLNode::SeverityNone))
            return text->AsWideString();
    }
    return L"UNKNOWN";
}

} // namespace GUITools
