#include "game/play/Environment.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderUser.h"
#include "gametools/DataKeeper.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "gametools/XMLValue.h"

using namespace OrvexEngine;
using GameTools::XMLNode;
using GameTools::XMLValue;

namespace VelmoraBall {

Environment::Environment(GameTools::DataKeeper* data, const std::string& environmentName) : levelData(data) {
    XMLNode document;
    try {
        GameTools::XMLParser().Load(&document, "data\\environment\\" + environmentName + ".xml");
    } catch (const FileError& error) {
        Log()->Error(error.GetText());
        return;
    }
    XMLNode* environment = document.GetChild("environment", 0);
    if (environment == nullptr)
        return;
    std::vector<XMLNode*> children;
    environment->GetChildren(children);
    ModelManager* manager = ModelManager::Instance();
    for (XMLNode* element : children) {
        XMLValue* name = element->GetName() == "model" ? element->GetAttribute("name", 0) : nullptr;
        if (name == nullptr)
            continue;
        Model* model = manager->CreateModelCopy(*levelData->GetModel(name->AsString()), nullptr, 0);
        if (XMLValue* shader = element->GetAttribute("shader", 0))
            model->ChangeShader(*levelData->GetShaderUser(shader->AsString()));
        const bool transparent =
            model->material != nullptr && (model->material->flags & ShaderFlagAlphaBlend) != 0;
        if (transparent) {
            model->SetFlags(ModelSecondList);
            if (XMLValue* depth = element->GetAttribute("depth", 0)) {
                model->SetFlags(ModelFixedSortDepth | ModelNoDepthWrite);
                model->sortDepth = -5.0f - static_cast<float>(depth->AsInt()) * 0.01f;
            }
        }
        if (XMLValue* colour = element->GetAttribute("color", 0))
            model->SetColor(colour->GetFloat4());
        XMLValue* lighting = element->GetAttribute("lighting", 0);
        if ((lighting != nullptr && !lighting->AsBool()) || transparent)
            model->ClearFlags(ModelLit);
        AnimationControl& animation = *model->animationControl;
        animation.loop = true;
        animation.SetRandomStartFrame();
        if (XMLValue* speed = element->GetAttribute("animation_speed", 0))
            animation.speed = speed->AsFloat();
        animation.Play();
        models.push_back(model);
    }
}

Environment::~Environment() {
    if (ModelManager* manager = ModelManager::Instance())
        for (Model* model : models)
            manager->DeleteModel(model);
}

} // namespace VelmoraBall
