#include "guitools/GUIControl.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/DataKeeper.h"

#include <algorithm>
#include <cmath>

using OrvexEngine::AnimationControl;
using OrvexEngine::GUI_WINDOW_VISIBLE;

namespace GUITools {

namespace {

constexpr float epsilon = 0.0001f;

float FrameTime() {
    OrvexEngine::TimerManager* timers = OrvexEngine::TimerManager::Instance();
    return timers != nullptr ? timers->frameTime : 0.0f;
}

} // namespace

GUIControl::GUIControl(GameTools::DataKeeper* keeper, const GUIControlDescription& description)
    : dataKeeper(keeper), name(description.name) {}

GUIControl::~GUIControl() {
    delete animatorModel;
}

OrvexEngine::Model* GUIControl::DescribedModel(const std::string& modelName) const {
    return modelName.empty() ? nullptr : dataKeeper->GetModel("ui/" + modelName);
}

const OrvexEngine::ShaderDescriptor* GUIControl::DescribedMaterial(const std::string& shaderName) const {
    return shaderName.empty() ? nullptr : dataKeeper->GetShaderUser("ui/" + shaderName);
}

AnimationControl* GUIControl::SetUpRanges(AnimationControl* animation, int32_t startFrame, int32_t endFrame) {
    animation->loop = false;
    // A model without frames is shown as a one-frame model: its top frame would otherwise wrap around.
    const uint32_t top = animation->frameCount == 0 ? 0 : animation->frameCount - 1;
    uint32_t start = 0, end = top;
    if (startFrame != -1)
        start = std::min(uint32_t(startFrame), top);
    if (endFrame != -1)
        end = std::max(std::min(uint32_t(endFrame), top), start);
    if (end == start) {
        animation->position = float(start);
        return nullptr;
    }
    animation->AddRange(ShowRange, start, end);
    animation->AddRange(HideRange, end, start);
    return animation;
}

void GUIControl::InitElement(OrvexEngine::GUIWindow* newElement, const GUIControlDescription& description) {
    element = newElement;
    model = element->GetModel();
    modelAnimation = nullptr;
    if (model != nullptr && model->animationControl != nullptr)
        modelAnimation =
            SetUpRanges(model->animationControl, description.model_start_frame, description.model_end_frame);
    if (!description.animator_model.empty()) {
        OrvexEngine::Model* source = dataKeeper->GetModel("ui/" + description.animator_model);
        animatorModel = OrvexEngine::ModelManager::Instance()->NewModelCopy(*source, nullptr, 0);
        if (animatorModel->animationControl != nullptr)
            animatorAnimation =
                SetUpRanges(animatorModel->animationControl, description.animator_model_start_frame,
                            description.animator_model_end_frame);
        // Updating the copy must refresh its bounds, which only a visible model does; being unregistered,
        // it is never drawn.
        animatorModel->SetFlags(OrvexEngine::ModelVisible);
    }
    element->ClearFlags(GUI_WINDOW_VISIBLE);
}

void GUIControl::StartRange(AnimationControl* animation, uint32_t range) {
    if (animation == nullptr)
        return;
    animation->SetRange(range);
    animation->Play();
}

bool GUIControl::HideRangeEnded(const AnimationControl* animation) {
    return animation->currentRangeId == HideRange && !animation->playing;
}

void GUIControl::Show(bool show, bool applyActions) {
    if (applyActions) {
        const std::string& action = show ? show_action : hide_action;
        if (action == "show")
            showRequested = true;
        else if (action == "hide")
            showRequested = false;
        else
            return;
    } else {
        showRequested = show;
    }
    transitionPending = true;
    delayTime = 0;
    fadeTime = 0;
    // A show waits hidden for its delay; a hide stays visible while it runs.
    if (showRequested)
        element->ClearFlags(GUI_WINDOW_VISIBLE);
    else
        element->SetFlags(GUI_WINDOW_VISIBLE);
    fadeValue = showRequested ? min : max;
}

bool GUIControl::IsActive() const {
    return showRequested || element->visible;
}

void GUIControl::Update() {
    const float dt = FrameTime();
    if (showRequested && transitionPending) {
        delayTime += dt;
        if (fader.empty() || delayTime >= show_offset) {
            element->SetFlags(GUI_WINDOW_VISIBLE);
            StartRange(modelAnimation, ShowRange);
            StartRange(animatorAnimation, ShowRange);
            transitionPending = false;
        }
    }
    if (!element->visible) {
        if (showRequested)
            return;
        if ((element->GetFlags() & GUI_WINDOW_VISIBLE) != 0) {
            element->ClearFlags(GUI_WINDOW_VISIBLE);
            transitionPending = false;
        }
        return;
    }
    if (!showRequested && transitionPending) {
        delayTime += dt;
        if (fader.empty() || delayTime >= hide_offset) {
            StartRange(modelAnimation, HideRange);
            StartRange(animatorAnimation, HideRange);
            if (fader.empty() && modelAnimation == nullptr && animatorAnimation == nullptr) {
                element->ClearFlags(GUI_WINDOW_VISIBLE);
                return;
            }
            transitionPending = false;
        }
    }
    const bool hideEndsWithAnimation = fader.empty() || type == "model_animation";
    if (modelAnimation != nullptr && animatorAnimation == nullptr && HideRangeEnded(modelAnimation) &&
        hideEndsWithAnimation)
        element->ClearFlags(GUI_WINDOW_VISIBLE);
    if (animatorAnimation != nullptr && HideRangeEnded(animatorAnimation) && hideEndsWithAnimation)
        element->ClearFlags(GUI_WINDOW_VISIBLE);

    element->SetOrder(height);
    OrvexEngine::Vec2 place = position;
    if (animatorModel != nullptr) {
        animatorModel->Update(false);
        const OrvexEngine::Vec3& corner = animatorModel->box.GetWorldMin();
        place += OrvexEngine::Vec2(corner.x, corner.y);
    }
    element->SetPosition(place);
    element->size = size;
    element->selection = hasSelection;
    if (hasSelection) {
        element->selectionPosition = selection_position;
        element->selectionSize = selection_size;
    }

    if (fader.empty())
        return;
    if (!showRequested && delayTime < hide_offset)
        return;
    float v = std::clamp(ComputeFaderValue(dt), 0.0f, 1.0f);
    if (std::isnan(v))
        v = 0;
    if (!showRequested && v < epsilon)
        element->ClearFlags(GUI_WINDOW_VISIBLE);
    fadeValue = v * max + (1 - v) * min;
    if (std::fabs(element->GetAlpha() - fadeValue) > epsilon)
        element->SetAlpha(fadeValue);
}

float GUIControl::ComputeFaderValue(float frameTime) {
    const float speed = showRequested ? show_speed : hide_speed;
    if (type == "model_animation") {
        const AnimationControl* source = animatorModel != nullptr ? animatorAnimation : modelAnimation;
        if (source == nullptr)
            return 0;
        const auto range = source->ranges.find(source->currentRangeId);
        uint32_t length = 0;
        if (range != source->ranges.end())
            length = std::max(range->second.first, range->second.second) -
                     std::min(range->second.first, range->second.second);
        float t = source->position;
        if (source->currentRangeId == HideRange)
            t = float(length) - t;
        t = length == 0 ? 1.0f : t / float(length);
        return t * speed;
    }
    fadeTime += frameTime;
    const float d = std::max(fadeTime - fade_offset, 0.0f);
    return showRequested ? d * speed : 1 - d * speed;
}

} // namespace GUITools
