#include "engine/graphics/CameraManager.h"

#include "engine/core/MessageManager.h"
#include "engine/core/Window.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/RenderSystem.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace OrvexEngine {

CameraManager::CameraManager() {
    defaultCamera = CreateCamera(0);
}

CameraManager::~CameraManager() {
    DestroyCamera(std::exchange(defaultCamera, nullptr));
    freeIds.clear();
    for (uint32_t id : liveIds) {
        delete slots[id];
        slots[id] = nullptr;
    }
    liveIds.clear();
    slots.clear();
}

Camera* CameraManager::CreateCamera(int32_t projectionKind) {
    uint32_t id = static_cast<uint32_t>(slots.size());
    if (!freeIds.empty()) {
        id = freeIds.front();
        freeIds.pop_front();
    }
    liveIds.push_back(id);
    Camera* camera = RenderSystem::Instance()->CreateCamera(projectionKind);
    if (id < slots.size())
        slots[id] = camera;
    else
        slots.push_back(camera);
    return camera;
}

void CameraManager::DestroyCamera(Camera* camera) {
    if (camera == nullptr)
        return;
    // Everything without a camera of its own draws through the default one: it lives as long as the manager.
    if (camera == defaultCamera) {
        Log()->Error("CameraManager: the default camera cannot be destroyed");
        return;
    }
    auto found =
        std::find_if(liveIds.begin(), liveIds.end(), [&](uint32_t id) { return slots[id] == camera; });
    if (found == liveIds.end())
        return;
    uint32_t id = *found;
    delete camera;
    slots[id] = nullptr;
    freeIds.push_back(id);
    liveIds.erase(found);
    if (activeCamera == camera)
        activeCamera = nullptr;
}

void CameraManager::Update() {
    Window* window = Window::Instance();
    viewportX = 0;
    viewportY = 0;
    if (window != nullptr) {
        viewportWidth = window->width;
        viewportHeight = window->height;
    }
    float aspect =
        viewportHeight != 0 ? static_cast<float>(viewportWidth) / static_cast<float>(viewportHeight) : 1;
    for (uint32_t id : liveIds)
        slots[id]->Update(aspect);
    activeCamera = nullptr;
}

void CameraManager::SetActiveCamera(Camera* camera, bool zBiased) {
    if (camera == activeCamera && zBiased == activeZBiased)
        return;
    activeCamera = camera;
    activeZBiased = zBiased;
    if (zBiased)
        camera->ApplyZBiased();
    else
        camera->Apply();
}

Vec3 CameraManager::Unproject(const Camera& camera, const Vec3& screen) const {
    Matrix4 m = camera.viewMatrix.Multiply(camera.projectionMatrix);
    m.Inverse();
    m.Transpose();
    float w = viewportWidth != 0 ? static_cast<float>(viewportWidth) : 1;
    float h = viewportHeight != 0 ? static_cast<float>(viewportHeight) : 1;
    Vec4 s(2 * (screen.x - static_cast<float>(viewportX)) / w - 1,
           2 * (screen.y - static_cast<float>(viewportY)) / h - 1, 2 * screen.z - 1, 1);
    Vec4 v = m.MultiplyVec4(s);
    if (std::fabs(v.w) < 0.0001f)
        return Vec3(0, 0, 0);
    return Vec3(v.x / v.w, v.y / v.w, v.z / v.w);
}

Vec2 CameraManager::Project(const Camera& camera, const Vec3& world) const {
    Matrix4 m = camera.viewMatrix.Multiply(camera.projectionMatrix);
    m.Transpose();
    Vec4 v = m.MultiplyVec4(Vec4(world.x, world.y, world.z, 1));
    Vec3 p = Vec3(v.x / v.w, v.y / v.w, v.z / v.w) * 0.5f + Vec3(0.5f, 0.5f, 0.5f);
    return Vec2(static_cast<float>(viewportWidth) * p.x + static_cast<float>(viewportX),
                static_cast<float>(viewportHeight) * p.y + static_cast<float>(viewportY));
}

} // namespace OrvexEngine
