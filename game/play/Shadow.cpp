#include "game/play/Shadow.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "game/play/Lighting.h"

#include <algorithm>
#include <cmath>

using namespace OrvexEngine;

namespace VelmoraBall {

Shadow::Shadow(const Lighting* shadowLighting, const Model* ownerModel, bool modelShaped)
    : lighting(shadowLighting), owner(ownerModel) {
    // Darkens what lies below: blended with the source alpha, one shadow per pixel through the stencil.
    ShaderDescriptor material;
    material.AddFlags(ShaderFlagAlphaBlend);
    material.SetBlend(0, 4);
    material.SetBlend(1, 5);
    ModelManager* models = ModelManager::Instance();
    if (modelShaped) {
        model = models->CreateModelCopy(*owner, nullptr, ModelVertexColors);
        model->SetShader(material);
    } else {
        model = models->CreateBoxModel(owner->box.GetLocalMin(), owner->box.GetLocalMax(), &material, nullptr,
                                       ModelVertexColors);
    }
    model->ClearFlags(ModelVisible | ModelLit | ModelCullClockwise | ModelCullCounterClockwise);
    model->SetFlags(ModelStencil | ModelFixedSortDepth | ModelSecondList);
    model->sortDepth = -0.01f;
    model->SetColor(Vec4(0, 0, 0, opacity));
}

Shadow::~Shadow() {
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
}

void Shadow::SetVisible(bool shown) {
    if (shown)
        model->SetFlags(ModelVisible);
    else
        model->ClearFlags(ModelVisible);
}

bool Shadow::IsVisible() const {
    return (model->GetFlags() & ModelVisible) != 0;
}

float Shadow::Alpha(float shadowOpacity, float bottom) {
    const float h = std::clamp(bottom, 0.0f, FadeHeight);
    return shadowOpacity * std::max((FadeHeight - h) / FadeHeight, 0.1f);
}

void Shadow::Update() {
    if (!IsVisible())
        return;
    if (model->animationControl->frameCount == owner->animationControl->frameCount)
        model->animationControl->CopyState(*owner->animationControl);
    const Vec2& d = lighting->GetShadowDirection();
    const Matrix4 flattened = Matrix4::Translation(Vec3(d.x, d.y, 0.02f))
                                  .Multiply(Matrix4::Scaling(Vec3(1, 1, 0)))
                                  .Multiply(owner->transform);
    model->transform = flattened;
    model->box.SetTransform(flattened);
    const float alpha = Alpha(opacity, owner->box.GetCentre().z - owner->box.GetHalfSize().z);
    model->sortDepth = alpha * 0.01f - 0.021f;
    // Writing the colour touches every vertex, so only a visible change is written.
    if (std::fabs(model->GetColor().w - alpha) > 0.01f)
        model->SetColor(Vec4(0, 0, 0, alpha));
}

} // namespace VelmoraBall
