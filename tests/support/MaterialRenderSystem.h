// A render system without a device for tests of materials and textures: every state that reaches the "device"
// is written to a list of calls ("alpha 1", "blend 4 5", "texture 0 <name>", "filter 0 2", "address-u 0 1",
// "address-v 0 1", "matrix 0 1 1 0 0"), and its textures are RecordingTextures that make a pretend surface
// when a stage binds them. Created by a test and registered as the RenderSystem for its life (a Config must
// exist).
#pragma once

#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/Texture2D.h"

#include <string>
#include <vector>

namespace VelmoraTest {

class RecordingTexture final : public OrvexEngine::Texture2D {
public:
    using Texture2D::Texture2D;
    void ReleaseSurface() override {
        if (surface)
            ++releases;
        surface = false;
        memoryBytes = 0;
    }
    bool HasSurface() const override { return surface; }
    // What a bind does on a device: the surface is made when there is none.
    void Bind() {
        if (!surface)
            ++creations;
        surface = true;
        memoryBytes = 1000;
    }

    bool surface = false;
    int creations = 0;
    int releases = 0;
};

class MaterialRenderSystem final : public OrvexEngine::RenderSystem {
public:
    explicit MaterialRenderSystem(uint32_t stages = 2);
    ~MaterialRenderSystem() override = default;

    OrvexEngine::Texture2D* CreateTexture(const std::string& name, OrvexEngine::Image* diffuse,
                                          OrvexEngine::Image* opacity, bool mipMaps, bool onDemand) override;
    OrvexEngine::Texture2D* LoadTexture(const std::string& name, const std::string& diffuseName,
                                        const std::string& opacityName, bool mipMaps, bool onDemand) override;

    OrvexEngine::Camera* CreateCamera(int32_t) override { return nullptr; }
    OrvexEngine::VertexBuffer* CreateVertexBuffer(int32_t, bool, uint32_t) override { return nullptr; }
    OrvexEngine::VertexBuffer* CreateVertexBufferFrom(int32_t, bool,
                                                      const OrvexEngine::VertexBuffer&) override {
        return nullptr;
    }
    OrvexEngine::VertexBuffer* CloneVertexBuffer(const OrvexEngine::VertexBuffer&) override {
        return nullptr;
    }
    OrvexEngine::IndexBuffer* CreateIndexBuffer(int32_t, uint32_t) override { return nullptr; }
    OrvexEngine::IndexBuffer* CreateIndexBufferFrom(int32_t, const OrvexEngine::IndexBuffer&) override {
        return nullptr;
    }
    OrvexEngine::IndexBuffer* CloneIndexBuffer(const OrvexEngine::IndexBuffer&) override { return nullptr; }
    OrvexEngine::Light* CreateLight(int32_t) override { return nullptr; }
    void CaptureScreen(OrvexEngine::Image&) override {}
    void SetMaterial(const OrvexEngine::Vec4&, const OrvexEngine::Vec4&, const OrvexEngine::Vec4&,
                     const OrvexEngine::Vec4&, float) override {}

    // Calls recorded since the last TakeCalls, which empties the list.
    std::vector<std::string> TakeCalls();

    std::vector<std::string> calls;
    std::vector<std::string> loaded; // names of every texture made, in order

protected:
    void UpdateProjectionMatrix() override {}
    void UpdateViewMatrix() override {}
    void UpdateWorldMatrix() override {}
    void UpdateAmbientColor() override {}
    void UpdateAlphaBlend() override;
    void UpdateBlend() override;
    void UpdateTexture(uint32_t stage) override;
    void UpdateMaxTextureAnisotropy(uint32_t) override {}
    void UpdateTextureFilter(uint32_t stage) override;
    void UpdateTextureAdressU(uint32_t stage) override;
    void UpdateTextureAdressV(uint32_t stage) override;
    void UpdateTextureMatrix(uint32_t stage) override;
    void UpdateCullMode() override {}
    void UpdateLighting() override {}
    void UpdatenormalizeNormals() override {}
    void UpdateZ() override {}
    void UpdateZWrite() override {}
    void UpdateStencil() override {}
};

} // namespace VelmoraTest
