#include "engine/graphics/ModelManager.h"

#include "engine/core/Error.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/RenderSystem.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace OrvexEngine {

namespace {

// A model that fails half-way through its construction is deleted before the failure travels on.
template <class Build> Model* Construct(Model* fresh, Build build) {
    std::unique_ptr<Model> model(fresh);
    build(*model);
    return model.release();
}

} // namespace

int64_t DepthKey(float depth) {
    const double scaled = double(depth) * 1e6;
    if (std::isnan(scaled))
        return 0;
    constexpr double limit = 9e18;
    return static_cast<int64_t>(std::llround(std::clamp(scaled, -limit, limit)));
}

bool ModelDepthLess(const Model* a, const Model* b) {
    const int64_t ka = DepthKey(a->sortDepth);
    const int64_t kb = DepthKey(b->sortDepth);
    if (ka != kb)
        return ka < kb;
    return std::less<const Model*>()(a, b);
}

bool ModelDepthGreater(const Model* a, const Model* b) {
    const int64_t ka = DepthKey(a->sortDepth);
    const int64_t kb = DepthKey(b->sortDepth);
    if (ka != kb)
        return ka > kb;
    return std::greater<const Model*>()(a, b);
}

ModelManager::ModelManager() = default;

ModelManager::~ModelManager() {
    nearFirst.clear();
    farFirst.clear();
}

Model* ModelManager::Register(Model* model) {
    registry.Add(model);
    return model;
}

Model* ModelManager::NewBoxModel(const Vec3& min, const Vec3& max, const ShaderDescriptor* descriptor,
                                 Camera* camera, uint32_t extraFlags) {
    return Construct(new Model(),
                     [&](Model& model) { model.InitBox(min, max, descriptor, camera, extraFlags); });
}

Model* ModelManager::CreateBoxModel(const Vec3& min, const Vec3& max, const ShaderDescriptor* descriptor,
                                    Camera* camera, uint32_t extraFlags) {
    return Register(NewBoxModel(min, max, descriptor, camera, extraFlags));
}

Model* ModelManager::CreateModelFromArrays(uint32_t flags, uint32_t vertexCount, uint32_t indexCount,
                                           uint32_t frameCount, const ShaderDescriptor* descriptor,
                                           Camera* camera, uint8_t onDemand) {
    return Register(Construct(new Model(), [&](Model& model) {
        model.InitFromArrays(flags, vertexCount, indexCount, frameCount, descriptor, camera, onDemand);
    }));
}

Model* ModelManager::LoadModel(const std::string& name, Camera* camera, uint32_t extraFlags,
                               uint8_t onDemand) {
    try {
        return Construct(new Model(),
                         [&](Model& model) { model.LoadFromFile(name, camera, extraFlags, onDemand); });
    } catch (const FatalError&) {
        // Not a broken file but a state the program cannot go on from: the top level must see it.
        throw;
    } catch (const Error&) {
        // The model has logged why; its users still get something to place and draw.
        Model* box = NewBoxModel(Vec3(-1.0f), Vec3(1.0f), nullptr, camera, extraFlags);
        box->name = name;
        return box;
    }
}

Model* ModelManager::NewModelCopy(const Model& source, Camera* camera, uint32_t extraFlags) {
    return Construct(new Model(), [&](Model& model) { model.CopyFrom(source, camera, extraFlags); });
}

Model* ModelManager::CreateModelCopy(const Model& source, Camera* camera, uint32_t extraFlags) {
    return Register(NewModelCopy(source, camera, extraFlags));
}

void ModelManager::DeleteModel(Model* model) {
    if (registry.Remove(model))
        delete model;
}

void ModelManager::Render() {
    visiblePrimitives = 0;
    drawnPrimitives = 0;
    visibleModels = 0;
    drawnModels = 0;
    RenderSystem* renderSystem = RenderSystem::Instance();
    if (!renderSystem->ready)
        return;

    const std::vector<Model*>& slots = registry.GetObjects();
    nearFirst.clear();
    farFirst.clear();
    if (nearFirst.capacity() < slots.size())
        nearFirst.reserve(slots.size());
    if (farFirst.capacity() < slots.size())
        farFirst.reserve(slots.size());

    for (Model* model : slots) {
        if (model == nullptr)
            continue;
        model->Update(true);
        const uint32_t drawn = model->GetDrawnPrimitives();
        if (model->GetFlags() & ModelVisible) {
            visiblePrimitives += model->GetPrimitiveCount();
            drawnPrimitives += drawn;
            ++visibleModels;
            if (drawn > 0)
                ++drawnModels;
        }
        if (drawn > 0)
            (model->GetFlags() & ModelFirstList ? nearFirst : farFirst).push_back(model);
    }
    std::sort(farFirst.begin(), farFirst.end(), ModelDepthGreater);
    std::sort(nearFirst.begin(), nearFirst.end(), ModelDepthLess);

    renderSystem->BeginScene();
    for (Model* model : nearFirst)
        model->Render();
    for (Model* model : farFirst)
        model->Render();
    renderSystem->EndScene();
}

void ModelManager::Present() {
    RenderSystem* renderSystem = RenderSystem::Instance();
    if (renderSystem->ready)
        renderSystem->SwapBuffers();
}

} // namespace OrvexEngine
