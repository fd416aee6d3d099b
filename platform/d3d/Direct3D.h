// The Direct3D 7 stand-in: the device list of a display driver, depth-buffer and texture formats, and the
// device, which draws with OpenGL's fixed-function pipeline into the back buffer's framebuffer. States,
// transforms, lights and the material follow Direct3D's meaning: row-vector matrices, depth 0..1, lights in
// world space, the clear ignoring write masks. Reference counted like the DirectDraw objects; the device
// holds its render target and its Direct3D object, which holds its driver.
#pragma once

#include "platform/d3d/DirectDraw.h"

#include <array>
#include <cstdint>
#include <functional>

namespace platform {

class Device;

using DeviceCallback = std::function<bool(const char* description, const char* name, const DeviceDesc& desc)>;
using FormatCallback = std::function<bool(const PixelFormat& format)>;

class Direct3D final : public RefCounted {
public:
    // A transform-and-lighting hardware device (unless a test removed it) and a software device.
    Result EnumDevices(const DeviceCallback& callback) const;
    Result EnumZBufferFormats(const Guid& device, const FormatCallback& callback) const;
    Result CreateDevice(const Guid& device, Surface* renderTarget, Device** out);

    DisplayDriver* GetDriver() const { return driver; }

private:
    friend class DisplayDriver;
    explicit Direct3D(DisplayDriver* driver);
    ~Direct3D() override;

    DisplayDriver* driver = nullptr; // holds a reference
};

class Device final : public RefCounted {
public:
    static constexpr uint32_t MaxStages = 8;
    static constexpr uint32_t MaxLights = 8;

    Result GetCaps(DeviceDesc& out) const;
    Result EnumTextureFormats(const FormatCallback& callback) const;
    Result SetViewport(const Viewport& viewport);
    Result SetRenderTarget(Surface* target, uint32_t flags);
    Result Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t color, float z,
                 uint32_t stencil);
    Result BeginScene();
    Result EndScene();
    Result SetTransform(uint32_t type, const Matrix& matrix);
    Result SetRenderState(uint32_t state, uint32_t value);
    Result GetRenderState(uint32_t state, uint32_t* value) const;
    Result SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value);
    Result GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* value) const;
    // A texture surface (any level of a chain binds the whole chain), or none: a stage without a texture
    // passes its colour through. The device holds no reference to the texture.
    Result SetTexture(uint32_t stage, Surface* texture);
    Result SetMaterial(const Material& material);
    Result SetLight(uint32_t index, const LightDesc& light);
    Result LightEnable(uint32_t index, bool enable);
    // Indexed triangles from system memory; fvf is position+normal+tex1, optionally with a diffuse colour.
    Result DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                                const uint16_t* indices, uint32_t indexCount, uint32_t flags);
    Result DrawIndexedPrimitive32(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                                  const uint32_t* indices, uint32_t indexCount, uint32_t flags);

private:
    friend class Direct3D;
    Device(Direct3D* direct3D, Surface* target, const DeviceDesc& desc);
    ~Device() override;
    void ApplyDefaults();
    Result ApplyViewport(const Viewport& viewport);
    void ApplyRenderState(uint32_t state);
    void ApplyStageState(uint32_t stage, uint32_t state);
    void BindTarget() const;
    void LoadModelView() const;
    void LoadProjection() const;
    void SendLight(uint32_t index) const;
    Result Draw(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount, const void* indices,
                bool wide, uint32_t indexCount);

    Direct3D* direct3D = nullptr; // holds a reference
    Surface* target = nullptr;    // holds a reference
    DeviceDesc caps;
    bool inScene = false;
    std::array<uint32_t, 256> renderStates{};
    std::array<std::array<uint32_t, 32>, MaxStages> stageStates{};
    std::array<uint32_t, MaxStages> samplers{}; // GL sampler objects, one per stage
    Matrix world, view, projection;
    uint32_t viewportX = 0;
    uint32_t viewportY = 0;
    uint32_t viewportWidth = 1;
    uint32_t viewportHeight = 1;
    std::array<Matrix, MaxStages> textureMatrices;
    std::array<LightDesc, MaxLights> lights{};
    std::array<bool, MaxLights> lightSet{};
    std::array<bool, MaxLights> lightOn{};
    Material material;
    uint32_t texturedStages = 0;   // bit per stage with a texture bound
    uint32_t coordinateArrays = 0; // bit per texture unit whose coordinate array is switched on
};

} // namespace platform
