#include "guitools/GUIBackgroundBase.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "guitools/GUIBackgroundLayer.h"

#include <algorithm>
#include <cmath>

using GameTools::XMLNode;
using GameTools::XMLValue;
using OrvexEngine::GUI_WINDOW_VISIBLE;
using OrvexEngine::GUIManager;

namespace GUITools {

GUIBackgroundBase::GUIBackgroundBase(GameTools::DataKeeper* keeper, OrvexEngine::GUIWindow* parent,
                                     const std::string& fileName)
    : dataKeeper(keeper) {
    GUIManager* gui = GUIManager::Instance();
    rootWindow = gui->CreateEmptyWindow(GUI_WINDOW_VISIBLE, parent);
    layersWindow = gui->CreateEmptyWindow(0, rootWindow);
    foregroundWindow = gui->CreateEmptyWindow(GUI_WINDOW_VISIBLE, rootWindow);
    try {
        GameTools::XMLParser parser;
        parser.ParseFile(description, fileName);
    } catch (const OrvexEngine::FileError& error) {
        OrvexEngine::Log()->Error(error.GetText());
        delete description;
        description = nullptr;
    }
    if (description == nullptr)
        return;
    if (XMLValue* prefix = description->GetAttribute("resources_prefix", XMLNode::SeverityNone))
        resourcesPrefix = prefix->AsString() + "/";
    // Over every layer, whose orders are their entries' positions.
    foregroundWindow->SetOrder(int(description->children.size()) + 3);
}

GUIBackgroundBase::~GUIBackgroundBase() {
    GUIManager* gui = GUIManager::Instance();
    gui->DeleteWindow(rootWindow);
    gui->DeleteWindow(layersWindow);
    gui->DeleteWindow(foregroundWindow);
    OrvexEngine::DeletePointerVector(layers);
    delete description;
}

void GUIBackgroundBase::LoadBasicLayers() {
    LoadLayers(true);
}

void GUIBackgroundBase::LoadAdditionalLayers() {
    LoadLayers(false);
}

void GUIBackgroundBase::LoadLayers(bool basic) {
    if (description == nullptr)
        return;
    for (size_t i = 0; i < description->children.size(); ++i) {
        XMLNode* entry = description->children[i];
        if (basic == IsAdditionalLayer(entry))
            continue;
        GUIBackgroundLayer* layer = CreateLayer(entry, int(i) + 1);
        if (layer == nullptr)
            continue;
        if (IsVisible())
            layer->Show(true, true, 1);
        layers.push_back(layer);
    }
}

bool GUIBackgroundBase::IsAdditionalLayer(XMLNode* entry) {
    XMLValue* additional = entry->GetAttribute("additional", XMLNode::SeverityNone);
    return additional != nullptr && additional->AsBool();
}

GUIBackgroundLayer* GUIBackgroundBase::CreateLayer(XMLNode* entry, int order) {
    XMLValue* name = entry->GetAttribute("name", XMLNode::SeverityNone);
    XMLValue* shader = entry->GetAttribute("shader", XMLNode::SeverityNone);
    XMLValue* animator = entry->GetAttribute("animator_model", XMLNode::SeverityNone);
    XMLValue* speed = entry->GetAttribute("animation_speed", XMLNode::SeverityNone);
    XMLValue* randomStart = entry->GetAttribute("random_start_frame", XMLNode::SeverityNone);
    XMLValue* loop = entry->GetAttribute("animation_loop", XMLNode::SeverityNone);
    XMLValue* color = entry->GetAttribute("color", XMLNode::SeverityNone);
    if (name == nullptr)
        return nullptr;
    const std::string& layerName = name->AsString();
    std::string modelName, particleSystemName;
    if (entry->name == "model")
        modelName = layerName.empty() ? std::string() : resourcesPrefix + layerName;
    else if (entry->name == "particles")
        particleSystemName = resourcesPrefix + layerName;
    else
        return nullptr;
    return new GUIBackgroundLayer(
        dataKeeper, layerName, nullptr, modelName, particleSystemName,
        shader != nullptr ? resourcesPrefix + shader->AsString() : std::string(),
        animator != nullptr ? resourcesPrefix + animator->AsString() : std::string(),
        randomStart == nullptr || randomStart->AsBool(), speed != nullptr ? speed->AsFloat() : -1.0f,
        loop == nullptr || loop->AsBool(),
        color != nullptr ? color->GetFloat4() : OrvexEngine::Vec4(1, 1, 1, 1), order, layersWindow);
}

void GUIBackgroundBase::Show(bool show, bool fade, float speed) {
    showing = show;
    fading = fade;
    fadeSpeed = speed;
    fadeTime = 0;
    if (show) {
        layersWindow->SetFlags(GUI_WINDOW_VISIBLE);
        for (GUIBackgroundLayer* layer : layers)
            layer->Show(true, false, 1);
    } else if (!fade) {
        layersWindow->ClearFlags(GUI_WINDOW_VISIBLE);
        for (GUIBackgroundLayer* layer : layers)
            layer->Show(false, false, 1);
    }
}

bool GUIBackgroundBase::IsVisible() const {
    return layersWindow->visible;
}

void GUIBackgroundBase::Update() {
    if (!layersWindow->visible)
        return;
    for (GUIBackgroundLayer* layer : layers)
        layer->Update();
    if (!fading)
        return;
    bool finished = false;
    const float b = AdvanceFade(fadeTime, fadeSpeed, showing, finished);
    if (finished) {
        fading = false;
        if (!showing) {
            layersWindow->ClearFlags(GUI_WINDOW_VISIBLE);
            for (GUIBackgroundLayer* layer : layers)
                layer->Show(false, false, 1);
        }
    }
    for (GUIBackgroundLayer* layer : layers)
        layer->ApplyAlpha(b);
}

} // namespace GUITools
