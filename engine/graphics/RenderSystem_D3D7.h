// The renderer on DirectDraw 7 and Direct3D 7: finds the adapter, its devices and display modes, chooses
// device and video mode from "v_mode" and "v_fullscreen", creates the device with its surfaces and depth
// buffer (falling back to the software rasterizer), runs the frame (clear, scene, present), detects a lost
// device, restores or resets it, and turns cached render states into device calls. Created by the Engine
// and registered as the RenderSystem; single instance.
#pragma once

#include "engine/graphics/RenderSystem.h"
#include "platform/d3d/D3DTypes.h"
#include "platform/win/NativeWindow.h"

#include <string>
#include <vector>

namespace platform {
class DisplayDriver;
class Direct3D;
class Device;
class Surface;
} // namespace platform

namespace OrvexEngine {

class Texture2D_D3D7;

struct AdapterInfo_D3D7 final : AdapterInfo {
    platform::Guid driverGuid;
    const platform::Guid* driverGuidPointer = nullptr; // null for the primary display driver
    char description[64] = {};
    platform::DriverCaps hardwareCaps;
    platform::DriverCaps emulationCaps;
    bool selectable = false;
    platform::DisplayMode desktopMode;
    std::vector<platform::SurfaceDesc> displayModes; // at least 640 x 400, largest first
};

struct DeviceInfo_D3D7 final : DeviceInfo {
    platform::Guid deviceGuid;
    const platform::Guid* deviceGuidPointer = nullptr;
    char name[64] = {};
    char description[64] = {};
    platform::DeviceDesc deviceDesc;
    bool hardware = false;
};

struct ModeInfo_D3D7 final : ModeInfo {
    const platform::SurfaceDesc* mode = nullptr; // not owned: the adapter's record of the mode
};

class RenderSystem_D3D7 final : public RenderSystem {
public:
    // Throws FatalError (after logging it) when no usable device or mode exists.
    RenderSystem_D3D7(bool stencilWanted, bool allowOversizedWindow);
    ~RenderSystem_D3D7() override;

    void Refresh() override;
    void BeginScene() override;
    void EndScene() override;
    void SwapBuffers() override;
    void UpdateVideoMode() override;
    void Reset(int32_t flags) override;
    void DrawIndexedPrimitive(bool strip, IndexBuffer* indices, VertexBuffer* vertices,
                              uint32_t primitiveCount) override;
    Camera* CreateCamera(int32_t projectionKind) override;
    VertexBuffer* CreateVertexBuffer(int32_t kind, bool withColor, uint32_t vertexCount) override;
    VertexBuffer* CreateVertexBufferFrom(int32_t kind, bool withColor, const VertexBuffer& source) override;
    VertexBuffer* CloneVertexBuffer(const VertexBuffer& source) override;
    IndexBuffer* CreateIndexBuffer(int32_t kind, uint32_t indexCount) override;
    IndexBuffer* CreateIndexBufferFrom(int32_t kind, const IndexBuffer& source) override;
    IndexBuffer* CloneIndexBuffer(const IndexBuffer& source) override;
    Light* CreateLight(int32_t deviceIndex) override;
    Texture2D* CreateTexture(const std::string& name, Image* diffuse, Image* opacity, bool mipMaps,
                             bool onDemand) override;
    Texture2D* LoadTexture(const std::string& name, const std::string& diffuseName, const std::string& opacityName,
                           bool mipMaps, bool onDemand) override;
    void CaptureScreen(Image& image) override;
    void SetDefaultStates() override;
    void SetMaterial(const Vec4& ambient, const Vec4& diffuse, const Vec4& specular, const Vec4& emissive,
                     float power) override;

    // Logs a failed result as "Direct3D Subsystem (context): text"; a success does nothing. The context is a
    // plain text: draws and state changes check every result of every frame and must not build a string.
    void ErrorText(const char* context, platform::Result result) const;
    // The current device, or null between a release and the next creation.
    platform::Device* GetDevice() const { return device; }
    platform::DisplayDriver* GetDirectDraw() const { return directDraw; }
    // True on the hardware devices, whose textures the driver manages.
    bool IsHardwareDevice() const;

    // The live textures, kept by every Texture2D_D3D7 for its whole life; a texture that is not in the list
    // stops the program through Fatal.
    void AddTexture(Texture2D_D3D7* texture);
    void RemoveTexture(Texture2D_D3D7* texture);

protected:
    void UpdateProjectionMatrix() override;
    void UpdateViewMatrix() override;
    void UpdateWorldMatrix() override;
    void UpdateAmbientColor() override;
    void UpdateAlphaBlend() override;
    void UpdateBlend() override;
    void UpdateTexture(uint32_t stage) override;
    void UpdateMaxTextureAnisotropy(uint32_t stage) override;
    void UpdateTextureFilter(uint32_t stage) override;
    void UpdateTextureAdressU(uint32_t stage) override;
    void UpdateTextureAdressV(uint32_t stage) override;
    void UpdateTextureMatrix(uint32_t stage) override;
    void UpdateCullMode() override;
    void UpdateLighting() override;
    void UpdatenormalizeNormals() override;
    void UpdateZ() override;
    void UpdateZWrite() override;
    void UpdateStencil() override;

private:
    void EnumerateAdapters();
    void EnumerateAdapter(const platform::Guid* guid, const char* description);
    void SelectDevice(bool softwareOnly);
    void ChooseVideoMode();
    bool CreateDevice(bool logCapabilities);
    void CreateD3DDevice(bool logCapabilities);
    void CreateDepthBuffer();
    void ReleaseDevice();
    void RestoreAllSurfaces(const char* context);
    void CaptureInto(Image& image);
    void CorrectAspect(Image& image) const;
    void SetStageState(const char* context, uint32_t stage, uint32_t state, uint32_t value);
    void SetRenderState(const char* context, uint32_t state, uint32_t value);

    platform::DisplayDriver* directDraw = nullptr; // owned reference
    platform::Direct3D* direct3D = nullptr;        // owned reference
    platform::Device* device = nullptr;            // owned reference
    platform::Surface* depthSurface = nullptr;     // owned reference
    platform::Surface* primarySurface = nullptr;   // owned reference
    platform::Surface* backBuffer = nullptr;       // owned reference
    platform::SurfaceDesc backBufferDesc;
    std::vector<Texture2D_D3D7*> textures; // not owned: every live texture, in the order made
};

} // namespace OrvexEngine
