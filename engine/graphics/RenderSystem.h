// The renderer as the rest of the engine sees it: frame operations, factories for buffers, cameras and
// lights, the records of adapters, devices and modes, the device limits, the status flags the frame driver
// and the render pass read, and a cache of every render state the engine uses, so that a state reaches the
// device only when it changes. The Engine creates the one implementation right after the window and
// deletes it after the managers that use it; single instance, reached through RenderSystem::Instance().
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Vector.h"
#include "platform/d3d/D3DTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

struct EngineSettings;
class Camera;
class Image;
class IndexBuffer;
class Light;
class Texture2D;
class VertexBuffer;

// Codes of the pixel formats textures may take; bit n of RenderSystem::textureFormats stands for code n.
enum TextureFormat : uint32_t {
    TextureFormatUnknown = 0,
    TextureFormatR8G8B8 = 1,
    TextureFormatA8R8G8B8 = 3,
    TextureFormatA4R4G4B4 = 4,
    TextureFormatR5G6B5 = 5,
    TextureFormatDXT1 = 6,
    TextureFormatDXT2 = 7,
    TextureFormatDXT3 = 8,
    TextureFormatDXT4 = 9,
    TextureFormatDXT5 = 10,
};

// The texture-format code of a platform pixel format (never R8G8B8).
TextureFormat ClassifyPixelFormat(const platform::PixelFormat& format);

// Cache codes shared by materials, the render pass and the GUI.
enum BlendCode : int32_t {
    BlendCodeZero = 0,
    BlendCodeOne,
    BlendCodeDestColor,
    BlendCodeInvDestColor,
    BlendCodeSrcAlpha,
    BlendCodeInvSrcAlpha,
    BlendCodeDestAlpha,
    BlendCodeInvDestAlpha,
    BlendCodeSrcAlphaSat,
    BlendCodeSrcColor,
    BlendCodeInvSrcColor
};
enum FilterCode : int32_t { FilterPoint = 0, FilterBilinear = 1, FilterMipmapped = 2 };
enum AddressCode : int32_t { AddressClampCode = 0, AddressWrapCode = 1 };
enum CullCode : int32_t { CullCodeNone = 0, CullCodeClockwise = 1, CullCodeCounterClockwise = 2 };

// Records of what enumeration found; the render system owns and deletes them.
struct ModeInfo {
    virtual ~ModeInfo() = default;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0; // 16 or 32
};

struct DeviceInfo {
    virtual ~DeviceInfo() = default;
    std::vector<ModeInfo*> modes;    // owned by the render system
    ModeInfo* currentMode = nullptr; // not owned: one of modes
    bool fullScreen = false;
};

struct AdapterInfo {
    virtual ~AdapterInfo() = default;
    std::vector<DeviceInfo*> devices;    // owned by the render system
    DeviceInfo* currentDevice = nullptr; // not owned: one of devices
};

class RenderSystem : public GlobalPointerHolder<RenderSystem> {
public:
    // Points videoSettings at Config's record (a Config must exist).
    RenderSystem(bool stencilWanted, bool allowOversizedWindow);
    RenderSystem(const RenderSystem&) = delete;
    RenderSystem& operator=(const RenderSystem&) = delete;
    virtual ~RenderSystem();

    // Once a frame, also while the window is inactive: keeps "r_texture_anisotropy" within the device's
    // limit.
    virtual void Refresh();
    virtual void BeginScene() {}
    virtual void EndScene() {}
    virtual void SwapBuffers() {}
    // Flags a reset when the configured video mode differs from the current one.
    virtual void UpdateVideoMode();
    // Bit 0: the device is ready again and needs no reset; bit 1: textures need no re-creation.
    virtual void Reset(int32_t flags);
    virtual void DrawIndexedPrimitive(bool /*strip*/, IndexBuffer* /*indices*/, VertexBuffer* /*vertices*/,
                                      uint32_t /*primitiveCount*/) {}

    // Factories; the caller owns what they return (managers delete it).
    virtual Camera* CreateCamera(int32_t projectionKind) = 0;
    virtual VertexBuffer* CreateVertexBuffer(int32_t kind, bool withColor, uint32_t vertexCount) = 0;
    virtual VertexBuffer* CreateVertexBufferFrom(int32_t kind, bool withColor,
                                                 const VertexBuffer& source) = 0;
    virtual VertexBuffer* CloneVertexBuffer(const VertexBuffer& source) = 0;
    virtual IndexBuffer* CreateIndexBuffer(int32_t kind, uint32_t indexCount) = 0;
    virtual IndexBuffer* CreateIndexBufferFrom(int32_t kind, const IndexBuffer& source) = 0;
    virtual IndexBuffer* CloneIndexBuffer(const IndexBuffer& source) = 0;
    virtual Light* CreateLight(int32_t deviceIndex) = 0;
    // Textures for the TextureManager, which owns and deletes them: from images it takes over, or from files
    // read whenever the surface is made. Never null.
    virtual Texture2D* CreateTexture(const std::string& name, Image* diffuse, Image* opacity, bool mipMaps,
                                     bool onDemand) = 0;
    virtual Texture2D* LoadTexture(const std::string& name, const std::string& diffuseName,
                                   const std::string& opacityName, bool mipMaps, bool onDemand) = 0;
    // Never fails towards the caller: the image is re-created (white when the frame cannot be read).
    virtual void CaptureScreen(Image& image) = 0;

    virtual void InitStateCache();
    virtual void SetDefaultStates();
    virtual void SetMaterial(const Vec4& ambient, const Vec4& diffuse, const Vec4& specular,
                             const Vec4& emissive, float power) = 0;

    // Cache setters: each pushes its state only when it differs from the cached one (or while forced).
    // A stage beyond the device's stages is ignored.
    void SetViewMatrix(const Matrix4& matrix);
    void SetWorldMatrix(const Matrix4& matrix);
    void SetAmbientColor(const Vec4& colour);
    void SetAlphaBlend(bool on);
    void SetBlend(int32_t source, int32_t destination);
    void SetTexture(uint32_t stage, Texture2D* texture);
    void SetTextureFilter(uint32_t stage, int32_t code);
    void SetTextureAdressU(uint32_t stage, int32_t code);
    void SetTextureAdressV(uint32_t stage, int32_t code);
    void SetTextureMatrix(uint32_t stage, float scaleU, float scaleV, float offsetU, float offsetV);
    void SetCullMode(int32_t code);
    void SetLighting(bool on);
    void SetNormalizeNormals(bool on);
    void SetZ(bool on);
    void SetZWrite(bool on);
    void SetStencil(bool on);

    // Read directly by the frame driver, the render pass and the texture code.
    EngineSettings* videoSettings = nullptr; // not owned: Config's record
    std::vector<AdapterInfo*> adapters;      // owned
    AdapterInfo* currentAdapter = nullptr;   // not owned: one of adapters
    bool stencilWanted = false;
    bool hasStencil = false;
    bool allowOversizedWindow = false;
    int32_t clearFlags = 3;
    Vec4 clearColor{0, 0, 0, 1};
    uint32_t maxTextureWidth = 0;
    uint32_t maxTextureHeight = 0;
    uint32_t stageCount = 0;
    uint32_t maxAnisotropy = 0;
    uint32_t textureFormats = 0;
    bool ready = false;
    bool resetNeeded = false;
    bool recreateTextures = false;
    bool forceStates = false;

protected:
    virtual void UpdateProjectionMatrix() = 0;
    virtual void UpdateViewMatrix() = 0;
    virtual void UpdateWorldMatrix() = 0;
    virtual void UpdateAmbientColor() = 0;
    virtual void UpdateAlphaBlend() = 0;
    virtual void UpdateBlend() = 0;
    virtual void UpdateTexture(uint32_t stage) = 0;
    virtual void UpdateMaxTextureAnisotropy(uint32_t stage) = 0;
    virtual void UpdateTextureFilter(uint32_t stage) = 0;
    virtual void UpdateTextureAdressU(uint32_t stage) = 0;
    virtual void UpdateTextureAdressV(uint32_t stage) = 0;
    virtual void UpdateTextureMatrix(uint32_t stage) = 0;
    virtual void UpdateCullMode() = 0;
    virtual void UpdateLighting() = 0;
    virtual void UpdatenormalizeNormals() = 0;
    virtual void UpdateZ() = 0;
    virtual void UpdateZWrite() = 0;
    virtual void UpdateStencil() = 0;

    // Sizes the per-stage arrays to stageCount; new stages start with no texture and zero codes.
    void ResizeStageCache();
    // The stages the cache holds (at most stageCount).
    uint32_t CachedStages() const { return static_cast<uint32_t>(stageTextures.size()); }

    Matrix4 projectionMatrix;
    Matrix4 viewMatrix;
    Matrix4 worldMatrix;
    Vec4 ambientColor{0, 0, 0, 1};
    bool alphaBlend = false;
    int32_t sourceBlend = 0;
    int32_t destinationBlend = 0;
    std::vector<Texture2D*> stageTextures; // not owned
    std::vector<int32_t> stageAnisotropy;
    std::vector<int32_t> stageFilters;
    std::vector<int32_t> stageAddressU;
    std::vector<int32_t> stageAddressV;
    std::vector<Vec4> stageTextureMatrices; // scale u, scale v, offset u, offset v
    int32_t cullMode = 0;
    bool lighting = false;
    bool normalizeNormals = false;
    bool depthTest = false;
    bool depthWrite = false;
    bool stencilTest = false;
};

} // namespace OrvexEngine
