// A render system without a device for tests of the state cache and of the parts that only need the
// RenderSystem interface (cameras, lights): every state push is recorded by name ("UpdateZ", "UpdateTexture
// 1"), factories make the platform-free classes. Registers itself as the RenderSystem; needs a Config.
#pragma once

#include "engine/graphics/Camera.h"
#include "engine/graphics/IndexBuffer_D3D7.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/VertexBuffer_D3D7.h"

#include <algorithm>
#include <string>
#include <vector>

namespace VelmoraTest {

// A camera that records its applications into the render system's call list.
class RecordingCamera final : public OrvexEngine::Camera {
public:
    RecordingCamera(int32_t kind, std::vector<std::string>& calls) : Camera(kind), calls(calls) {}
    void Apply() override { calls.push_back("Apply"); }
    void ApplyZBiased() override { calls.push_back("ApplyZBiased"); }

private:
    std::vector<std::string>& calls;
};

class RecordingRenderSystem : public OrvexEngine::RenderSystem {
public:
    explicit RecordingRenderSystem(uint32_t stages) : RenderSystem(false, false) {
        stageCount = stages;
        maxAnisotropy = 16;
        InitStateCache();
        OrvexEngine::RenderSystem::Instance(this);
    }

    OrvexEngine::Camera* CreateCamera(int32_t kind) override { return new RecordingCamera(kind, calls); }
    OrvexEngine::VertexBuffer* CreateVertexBuffer(int32_t kind, bool colour, uint32_t count) override {
        return new OrvexEngine::VertexBuffer_D3D7(kind, colour, count);
    }
    OrvexEngine::VertexBuffer* CreateVertexBufferFrom(int32_t kind, bool colour,
                                                      const OrvexEngine::VertexBuffer& source) override {
        return new OrvexEngine::VertexBuffer_D3D7(kind, colour, source);
    }
    OrvexEngine::VertexBuffer* CloneVertexBuffer(const OrvexEngine::VertexBuffer& source) override {
        return new OrvexEngine::VertexBuffer_D3D7(source);
    }
    OrvexEngine::IndexBuffer* CreateIndexBuffer(int32_t kind, uint32_t count) override {
        return new OrvexEngine::IndexBuffer_D3D7(kind, count);
    }
    OrvexEngine::IndexBuffer* CreateIndexBufferFrom(int32_t kind,
                                                    const OrvexEngine::IndexBuffer& source) override {
        return new OrvexEngine::IndexBuffer_D3D7(kind, source);
    }
    OrvexEngine::IndexBuffer* CloneIndexBuffer(const OrvexEngine::IndexBuffer& source) override {
        return new OrvexEngine::IndexBuffer_D3D7(source);
    }
    OrvexEngine::Light* CreateLight(int32_t index) override {
        calls.push_back("CreateLight " + std::to_string(index));
        return new OrvexEngine::Light(static_cast<uint32_t>(index));
    }
    OrvexEngine::Texture2D* CreateTexture(const std::string& name, OrvexEngine::Image* diffuse,
                                          OrvexEngine::Image* opacity, bool mipMaps, bool onDemand) override {
        return new OrvexEngine::Texture2D(name, diffuse, opacity, mipMaps, onDemand);
    }
    OrvexEngine::Texture2D* LoadTexture(const std::string& name, const std::string& diffuseName,
                                        const std::string& opacityName, bool mipMaps,
                                        bool onDemand) override {
        return new OrvexEngine::Texture2D(name, diffuseName, opacityName, mipMaps, onDemand);
    }
    void CaptureScreen(OrvexEngine::Image&) override {}
    void SetMaterial(const OrvexEngine::Vec4&, const OrvexEngine::Vec4&, const OrvexEngine::Vec4&,
                     const OrvexEngine::Vec4&, float) override {
        calls.push_back("SetMaterial");
    }

    // Frame operations are recorded by name too; every draw also keeps its arguments and the cached states
    // it was drawn with.
    struct Draw {
        bool strip = false;
        OrvexEngine::IndexBuffer* indices = nullptr;   // not owned
        OrvexEngine::VertexBuffer* vertices = nullptr; // not owned
        uint32_t primitives = 0;
        int32_t cull = 0;
        bool depthTest = false;
        bool depthWrite = false;
        bool lighting = false;
    };
    void BeginScene() override { calls.push_back("BeginScene"); }
    void EndScene() override { calls.push_back("EndScene"); }
    void SwapBuffers() override { calls.push_back("SwapBuffers"); }
    void DrawIndexedPrimitive(bool strip, OrvexEngine::IndexBuffer* indices,
                              OrvexEngine::VertexBuffer* vertices, uint32_t primitives) override {
        calls.push_back("DrawIndexedPrimitive");
        draws.push_back({strip, indices, vertices, primitives, cullMode, depthTest, depthWrite, lighting});
    }

    int Count(const std::string& name) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }
    const OrvexEngine::Matrix4& CachedView() const { return viewMatrix; }
    int32_t StageAnisotropy(uint32_t stage) const { return stageAnisotropy[stage]; }

    std::vector<std::string> calls;
    std::vector<Draw> draws;

protected:
    void Record(const std::string& name) { calls.push_back(name); }
    void Record(const std::string& name, uint32_t stage) {
        calls.push_back(name + " " + std::to_string(stage));
    }
    void UpdateProjectionMatrix() override { Record("UpdateProjectionMatrix"); }
    void UpdateViewMatrix() override { Record("UpdateViewMatrix"); }
    void UpdateWorldMatrix() override { Record("UpdateWorldMatrix"); }
    void UpdateAmbientColor() override { Record("UpdateAmbientColor"); }
    void UpdateAlphaBlend() override { Record("UpdateAlphaBlend"); }
    void UpdateBlend() override { Record("UpdateBlend"); }
    void UpdateTexture(uint32_t s) override { Record("UpdateTexture", s); }
    void UpdateMaxTextureAnisotropy(uint32_t s) override { Record("UpdateMaxTextureAnisotropy", s); }
    void UpdateTextureFilter(uint32_t s) override { Record("UpdateTextureFilter", s); }
    void UpdateTextureAdressU(uint32_t s) override { Record("UpdateTextureAdressU", s); }
    void UpdateTextureAdressV(uint32_t s) override { Record("UpdateTextureAdressV", s); }
    void UpdateTextureMatrix(uint32_t s) override { Record("UpdateTextureMatrix", s); }
    void UpdateCullMode() override { Record("UpdateCullMode"); }
    void UpdateLighting() override { Record("UpdateLighting"); }
    void UpdatenormalizeNormals() override { Record("UpdatenormalizeNormals"); }
    void UpdateZ() override { Record("UpdateZ"); }
    void UpdateZWrite() override { Record("UpdateZWrite"); }
    void UpdateStencil() override { Record("UpdateStencil"); }
};

} // namespace VelmoraTest
