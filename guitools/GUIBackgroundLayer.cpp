#include "guitools/GUIBackgroundLayer.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/DataKeeper.h"

#include <algorithm>
#include <cmath>

using OrvexEngine::GUI_WINDOW_VERTEX_COLORS;
using OrvexEngine::GUI_WINDOW_VISIBLE;
using OrvexEngine::GUIManager;
using OrvexEngine::Vec2;

namespace GUITools {

namespace {

constexpr float epsilon = 0.0001f;
// Engine blend codes.
constexpr int32_t blendSourceAlpha = 4;
constexpr int32_t blendInverseSourceAlpha = 5;

void Restart(OrvexEngine::AnimationControl* animation, bool random) {
    if (animation == nullptr)
        return;
    if (random)
        animation->SetRandomStartFrame();
    else
        animation->position = 0;
    animation->Play();
}

} // namespace

float AdvanceFade(float& time, float speed, bool showing, bool& finished) {
    OrvexEngine::TimerManager* timers = OrvexEngine::TimerManager::Instance();
    time += timers != nullptr ? timers->frameTime : 0.0f;
    float factor = std::clamp(speed * time, 0.0f, 1.0f);
    if (std::isnan(factor))
        factor = 1;
    if (!showing)
        factor = 1 - factor;
    finished = showing ? std::fabs(factor - 1) < epsilon : std::fabs(factor) < epsilon;
    return factor;
}

GUIBackgroundLayer::GUIBackgroundLayer(GameTools::DataKeeper* keeper, const std::string& layerName,
                                       OrvexEngine::GUIWindow* existingWindow, const std::string& modelName,
                                       const std::string& particleSystemName, const std::string& shaderName,
                                       const std::string& animatorModelName, bool randomStart, float speed,
                                       bool loop, const OrvexEngine::Vec4& layerColor, int order,
                                       OrvexEngine::GUIWindow* parent)
    : dataKeeper(keeper), name(layerName), randomStartFrame(randomStart) {
    GUIManager* gui = GUIManager::Instance();
    if (particleSystemName.empty() || existingWindow != nullptr) {
        if (existingWindow != nullptr) {
            window = existingWindow;
            window->SetParent(parent);
        } else {
            const OrvexEngine::Model* source = modelName.empty() ? nullptr : dataKeeper->GetModel(modelName);
            window =
                gui->CreateWindow(GUI_WINDOW_VERTEX_COLORS, Vec2(0, 0), Vec2(1, 1), source, nullptr, parent);
        }
        if (OrvexEngine::Model* model = window->GetModel()) {
            if (speed >= 0)
                model->animationControl->speed = speed;
            model->animationControl->loop = loop;
        }
    } else {
        window =
            gui->CreateWindow(GUI_WINDOW_VERTEX_COLORS, Vec2(0, 0), Vec2(1, 1), nullptr, nullptr, parent);
        particleSystem = OrvexEngine::ParticleSystemManager::Instance()->CreateParticleSystemCopy(
            *dataKeeper->GetParticleSystem(particleSystemName));
        particleSystem->SetVisible(false);
        particleSystem->GetModel()->SetCamera(gui->GetCamera());
        particleSystem->looping = true;
        particleSystem->active = true;
    }
    window->SetOrder(order);
    if (particleSystem != nullptr) {
        OrvexEngine::Model* model = particleSystem->GetModel();
        model->SetFlags(OrvexEngine::ModelFixedSortDepth);
        model->sortDepth = window->GetDepth();
        particleSystem->SetVisible(true);
    }
    if (!shaderName.empty()) {
        const OrvexEngine::ShaderUser* material = dataKeeper->GetShaderUser(shaderName);
        if (particleSystem != nullptr)
            particleSystem->SetShader(*material);
        else if (OrvexEngine::Model* model = window->GetModel())
            model->ChangeShader(*material);
        // A model layer without a model has nothing to carry the material: it is left out.
    }
    OrvexEngine::ShaderUser* layerMaterial =
        particleSystem != nullptr ? particleSystem->GetShaderUser() : window->GetShaderUser();
    if (layerMaterial != nullptr) {
        layerMaterial->AddFlags(OrvexEngine::ShaderFlagAlphaBlend);
        layerMaterial->SetBlend(0, blendSourceAlpha);
        layerMaterial->SetBlend(1, blendInverseSourceAlpha);
        if (OrvexEngine::AnimationControl* stage = layerMaterial->GetAnimation(0))
            stage->Play();
    }
    if (!animatorModelName.empty()) {
        animatorModel = OrvexEngine::ModelManager::Instance()->NewModelCopy(
            *dataKeeper->GetModel(animatorModelName), nullptr, 0);
        OrvexEngine::AnimationControl* animation = animatorModel->animationControl;
        if (speed >= 0)
            animation->speed = speed;
        animation->loop = loop;
        animation->Play();
        if (randomStartFrame)
            animation->SetRandomStartFrame();
        // Updating the copy must refresh its bounds, which only a visible model does.
        animatorModel->SetFlags(OrvexEngine::ModelVisible);
    }
    color = layerColor;
}

GUIBackgroundLayer::~GUIBackgroundLayer() {
    GUIManager::Instance()->DeleteWindow(window);
    delete animatorModel;
    // Left registered, the copy would go on being updated and drawn after its background is gone.
    if (particleSystem != nullptr)
        OrvexEngine::ParticleSystemManager::Instance()->Release(particleSystem);
}

void GUIBackgroundLayer::Show(bool show, bool fade, float speed) {
    showing = show;
    fading = fade;
    fadeSpeed = speed;
    fadeTime = 0;
    if (show) {
        window->SetFlags(GUI_WINDOW_VISIBLE);
        if (particleSystem != nullptr)
            particleSystem->SetVisible(true);
        fadeFactor = fade ? 0.0f : 1.0f;
        if (OrvexEngine::Model* model = window->GetModel())
            Restart(model->animationControl, randomStartFrame);
        if (animatorModel != nullptr)
            Restart(animatorModel->animationControl, randomStartFrame);
    } else {
        if (!fade) {
            window->ClearFlags(GUI_WINDOW_VISIBLE);
            if (particleSystem != nullptr)
                particleSystem->SetVisible(false);
        }
        fadeFactor = 1;
    }
    ApplyAlpha(1);
}

void GUIBackgroundLayer::Update() {
    if (!window->visible)
        return;
    if (animatorModel != nullptr) {
        animatorModel->Update(false);
        const OrvexEngine::Vec3& centre = animatorModel->box.GetCentre();
        window->SetPosition(Vec2(centre.x, centre.y));
    }
    if (particleSystem != nullptr) {
        const Vec2& at = window->position;
        if (particleSystem->emissionShape == 1) {
            const OrvexEngine::Vec3& half = particleSystem->emissionBox.GetHalfSize();
            particleSystem->emissionBox.Set(OrvexEngine::Vec3(at.x - half.x, at.y - half.y, 0),
                                            OrvexEngine::Vec3(at.x + half.x, at.y + half.y, 0));
        } else {
            particleSystem->emitterPosition = OrvexEngine::Vec3(at.x, at.y, 0);
        }
    }
    if (!fading)
        return;
    bool finished = false;
    fadeFactor = AdvanceFade(fadeTime, fadeSpeed, showing, finished);
    if (finished) {
        fading = false;
        if (!showing) {
            window->ClearFlags(GUI_WINDOW_VISIBLE);
            if (particleSystem != nullptr)
                particleSystem->SetVisible(false);
        }
    }
    ApplyAlpha(1);
}

void GUIBackgroundLayer::ApplyAlpha(float factor) {
    OrvexEngine::Vec4 c = color;
    c.w *= factor * fadeFactor;
    window->SetColor(c);
    if (particleSystem != nullptr)
        particleSystem->SetColor(c);
}

} // namespace GUITools
