#include "guitools/GUIFontTool.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"

using GameTools::XMLNode;
using GameTools::XMLValue;

namespace GUITools {

namespace {

const std::string errorHead = "(GUIFontTool::GUIFontTool): font with \"";

// The attribute "path" of the element `tag`: the language child's first, else the entry's own.
XMLValue* FindPath(XMLNode* entry, XMLNode* languageChild, const std::string& tag) {
    if (languageChild != nullptr)
        if (XMLValue* path = XMLNode::SelectAttribute(languageChild, tag, "path"))
            return path;
    return XMLNode::SelectAttribute(entry, tag, "path");
}

} // namespace

GUIFontTool::GUIFontTool(const std::string& languageCode)
    : fontManager(OrvexEngine::GUIManager::Instance()->GetFontManager()), language(languageCode) {
    LoadFontFile(BasicFontsFileName);
}

GUIFontTool::~GUIFontTool() {
    for (int id : createdFontIds)
        fontManager->RemoveFont(id);
    for (OrvexEngine::ShaderUser* user : shaderUsers)
        OrvexEngine::ShaderManager::Instance()->ReleaseShaderUser(user);
}

void GUIFontTool::LoadAdditionalFonts() {
    LoadFontFile(AdditionalFontsFileName);
}

void GUIFontTool::LoadFontFile(const std::string& path) {
    XMLNode document;
    try {
        GameTools::XMLParser().Load(&document, path);
    } catch (const OrvexEngine::FileError& error) {
        // What the parse attached before a format error is still used.
        OrvexEngine::Log()->Error(error.GetText());
    }
    XMLNode* fonts = document.GetChild("fonts", XMLNode::SeverityNone);
    if (fonts == nullptr)
        return;
    for (size_t i = 0; i < fonts->children.size(); ++i)
        LoadEntry(fonts->children[i], static_cast<int>(i));
}

void GUIFontTool::LoadEntry(XMLNode* entry, int index) {
    OrvexEngine::MessageManager* log = OrvexEngine::Log();
    XMLNode* languageChild = language.empty() ? nullptr : entry->GetChild(language, XMLNode::SeverityNone);
    XMLValue* nameValue = entry->GetAttribute("name", XMLNode::SeverityNone);
    if (nameValue == nullptr) {
        log->Error(errorHead + std::to_string(index) + "\" index have not name");
        return;
    }
    const std::string name = nameValue->AsString();
    XMLValue* sizeValue =
        languageChild != nullptr ? languageChild->GetAttribute("size", XMLNode::SeverityNone) : nullptr;
    if (sizeValue == nullptr)
        sizeValue = entry->GetAttribute("size", XMLNode::SeverityNone);
    XMLValue* descriptionPath = FindPath(entry, languageChild, "description_file_path");
    XMLValue* diffusePath = FindPath(entry, languageChild, "diffuse_image_path");
    XMLValue* opacityPath = FindPath(entry, languageChild, "opacity_image_path");
    const std::string head = errorHead + name + "\" name have not ";
    if (sizeValue == nullptr)
        log->Error(head + "size");
    if (descriptionPath == nullptr)
        log->Error(head + "description file");
    if (diffusePath == nullptr)
        log->Error(head + "diffuse image");
    if (opacityPath == nullptr)
        log->Error(head + "opacity image");
    // Without these values there is nothing to make a font from.
    if (sizeValue == nullptr || descriptionPath == nullptr || diffusePath == nullptr ||
        opacityPath == nullptr)
        return;

    XMLValue* temporary = entry->GetAttribute("temporary_textures", XMLNode::SeverityNone);
    OrvexEngine::ShaderDescriptor description;
    description.InitFromImages(true, diffusePath->AsString(), opacityPath->AsString(), true);
    OrvexEngine::ShaderUser* material = OrvexEngine::ShaderManager::Instance()->CreateShaderUser(
        description, temporary != nullptr && temporary->AsBool());
    shaderUsers.push_back(material);
    const int id = nextFontId++;
    OrvexEngine::GUIFont* font = fontManager->CreateFont(id, material, descriptionPath->AsString());
    createdFontIds.push_back(id);
    fontIds.emplace(name, id);

    const float size = sizeValue->AsFloat();
    font->size = size;
    if (size <= 0)
        log->Error(errorHead + name + "\" name have incorrect size");
    if (XMLValue* monospace = entry->GetAttribute("monospace", XMLNode::SeverityNone))
        font->monospace = monospace->AsBool();
    if (XMLValue* folding = entry->GetAttribute("case", XMLNode::SeverityNone)) {
        if (folding->AsString() == "upper")
            font->CopyUpperCaseGlyphs();
        else if (folding->AsString() == "lower")
            font->CopyLowerCaseGlyphs();
    }
    // The entry's properties, then the language's, so a language may change a single one.
    for (XMLNode* owner : {entry, languageChild}) {
        XMLNode* properties =
            owner != nullptr ? owner->GetChild("properties", XMLNode::SeverityNone) : nullptr;
        if (properties == nullptr)
            continue;
        if (XMLValue* space = properties->GetAttribute("space", XMLNode::SeverityNone))
            font->space = space->AsFloat();
        if (XMLValue* shift = properties->GetAttribute("shift", XMLNode::SeverityNone))
            font->shift = shift->AsFloat();
        // A size of 0 or less would make every measured height infinite or NaN.
        XMLValue* virtualSize = properties->GetAttribute("virtual_size", XMLNode::SeverityNone);
        if (virtualSize != nullptr && size > 0)
            font->virtualSizeRatio = virtualSize->AsFloat() / size;
    }
}

int GUIFontTool::GetFontIndex(const std::string& name) const {
    auto found = fontIds.find(name);
    return found != fontIds.end() ? found->second : -1;
}

OrvexEngine::GUIFont* GUIFontTool::GetFont(const std::string& name) const {
    return fontManager->GetFont(GetFontIndex(name));
}

} // namespace GUITools
