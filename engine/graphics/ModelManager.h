// Makes, keeps and draws models. Models made by the Create... operations are registered: updated, culled
// and drawn by the render pass every frame and deleted with the manager; those made by New... and
// LoadModel belong to their callers. Render is the frame's one render pass, between one begin and one end
// of scene. Created by the Engine after the shader manager and deleted before it; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/core/ObjectManager.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class Camera;
class Model;
class ShaderDescriptor;

class ModelManager : public GlobalPointerHolder<ModelManager> {
public:
    ModelManager();
    ModelManager(const ModelManager&) = delete;
    ModelManager& operator=(const ModelManager&) = delete;
    // Deletes the registered models; unregistered ones must be gone already.
    virtual ~ModelManager();

    Model* NewBoxModel(const Vec3& min, const Vec3& max, const ShaderDescriptor* descriptor, Camera* camera,
                       uint32_t extraFlags);
    Model* CreateBoxModel(const Vec3& min, const Vec3& max, const ShaderDescriptor* descriptor,
                          Camera* camera, uint32_t extraFlags);
    Model* CreateModelFromArrays(uint32_t flags, uint32_t vertexCount, uint32_t indexCount,
                                 uint32_t frameCount, const ShaderDescriptor* descriptor, Camera* camera,
                                 uint8_t onDemand);
    // Never null and never registered: a file that fails to load gives a 2 x 2 x 2 box named after it.
    Model* LoadModel(const std::string& name, Camera* camera, uint32_t extraFlags, uint8_t onDemand);
    Model* NewModelCopy(const Model& source, Camera* camera, uint32_t extraFlags);
    Model* CreateModelCopy(const Model& source, Camera* camera, uint32_t extraFlags);
    // Deletes a registered model; null or an unregistered model is left alone.
    void DeleteModel(Model* model);

    // The render pass: every registered model updated and culled, the visible ones drawn, those with the
    // first-list flag nearest first, then the others farthest first.
    void Render();
    void Present();

    const std::vector<Model*>& GetModels() const { return registry.GetObjects(); }

    // Of the last pass.
    uint32_t visiblePrimitives = 0;
    uint32_t drawnPrimitives = 0;
    uint32_t visibleModels = 0;
    uint32_t drawnModels = 0;

private:
    Model* Register(Model* model);

    ObjectManager<Model> registry;
    std::vector<Model*> nearFirst; // not owned: this frame's drawn models of the first list
    std::vector<Model*> farFirst;  // not owned: the other drawn models
};

// The sort key of a depth: steps of 0.000001, NaN as 0, infinities at the ends. Keys always compare, so a
// sort on them is a strict ordering whatever the depths hold.
int64_t DepthKey(float depth);

// Draw orders of the two lists: by sort depth in steps of 0.000001, equal steps by address, so that the
// order is strict and the same from frame to frame.
bool ModelDepthLess(const Model* a, const Model* b);
bool ModelDepthGreater(const Model* a, const Model* b);

} // namespace OrvexEngine
