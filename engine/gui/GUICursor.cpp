#include "engine/gui/GUICursor.h"

#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/VertexBuffer.h"
#include "engine/math/Matrix4.h"

namespace OrvexEngine {

GUICursor::GUICursor(Camera* newCamera, const Model* sourceModel, const ShaderDescriptor* material,
                     float size)
    : camera(newCamera) {
    ModelManager* models = ModelManager::Instance();
    if (sourceModel != nullptr) {
        model = models->CreateModelCopy(*sourceModel, nullptr, 0);
        model->SetFlags(ModelSecondList | ModelFixedSortDepth);
        model->ClearFlags(ModelVisible | ModelLit | ModelDepthTest);
        model->SetCamera(camera);
        model->sortDepth = SortDepth;
        // The source's own placement stays under the cursor's translation.
        model->baseTransform = model->transform;
    } else if (material != nullptr) {
        model = models->CreateModelFromArrays(0x48C11, 4, 4, 1, material, camera, 0);
        model->sortDepth = SortDepth;
        const uint32_t indices[4] = {0, 1, 2, 3};
        model->indexBuffer->SetIndices(0, 4, indices);
        // Upper left corner at the hot spot; v grows upwards.
        const float corners[4][4] = {{size, -size, 1, 0}, {size, 0, 1, 1}, {0, -size, 0, 0}, {0, 0, 0, 1}};
        PlainVertex* vertices = model->vertexBuffer->LockPlainVertices(0, 4);
        for (int i = 0; i < 4; ++i) {
            vertices[i].position = Vec3(corners[i][0], corners[i][1], 0);
            vertices[i].normal = Vec3(0, 0, 1);
            vertices[i].u = corners[i][2];
            vertices[i].v = corners[i][3];
        }
        model->vertexBuffer->Unlock();
        model->ComputeBoundingBox(model->box);
        model->baseTransform = model->transform;
        model->box.SetTransform(model->transform);
    }
    visible = false;
}

GUICursor::~GUICursor() {
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
}

void GUICursor::UpdateFromMouse() {
    const Window* window = Window::Instance();
    const Controls* controls = Controls::Instance();
    // A minimised window may report an empty client area: dividing by it would give inf or NaN.
    if (window == nullptr || controls == nullptr || camera == nullptr || window->width == 0 ||
        window->height == 0)
        return;
    const float w = static_cast<float>(window->width);
    const float h = static_cast<float>(window->height);
    const Vec2 m = controls->GetMousePosition();
    position = Vec2(m.x / w * camera->orthoWidth, (h - m.y - 1) / h * camera->orthoHeight);
}

void GUICursor::Update() {
    if (model == nullptr)
        return;
    model->transform = model->baseTransform;
    model->box.SetTransform(model->transform);
    model->transform = Matrix4::Translation(Vec3(position.x, position.y, 0)).Multiply(model->transform);
    model->box.SetTransform(model->transform);
    if (visible)
        model->SetFlags(ModelVisible);
    else
        model->ClearFlags(ModelVisible);
}

} // namespace OrvexEngine
