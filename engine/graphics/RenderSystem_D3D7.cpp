#include "engine/graphics/RenderSystem_D3D7.h"

#include "engine/core/Config.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/core/Window.h"
#include "engine/graphics/Camera_D3D7.h"
#include "engine/graphics/DirectXResultTexts.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/IndexBuffer_D3D7.h"
#include "engine/graphics/Light_D3D7.h"
#include "engine/graphics/Texture2D_D3D7.h"
#include "engine/graphics/VertexBuffer_D3D7.h"
#include "platform/d3d/Direct3D.h"
#include "platform/d3d/DirectDraw.h"

#include <algorithm>
#include <cstring>

namespace OrvexEngine {

namespace {

const char* const Dots = "........................................................";

// A colour as the device's A8R8G8B8 word. Components are clamped first: a value outside 0..1 would otherwise
// spill into the neighbouring channel.
uint32_t PackColor(const Vec4& c) {
    auto byte = [](float v) {
        return static_cast<uint32_t>(static_cast<int32_t>(std::clamp(v, 0.0f, 1.0f) * 255));
    };
    return byte(c.w) << 24 | byte(c.x) << 16 | byte(c.y) << 8 | byte(c.z);
}

uint32_t DeviceBlend(int32_t code) {
    static const uint32_t blends[] = {
        platform::BlendZero,         platform::BlendOne,          platform::BlendDestColor,
        platform::BlendInvDestColor, platform::BlendSrcAlpha,     platform::BlendInvSrcAlpha,
        platform::BlendDestAlpha,    platform::BlendInvDestAlpha, platform::BlendSrcAlphaSat,
        platform::BlendSrcColor,     platform::BlendInvSrcColor};
    return code >= 0 && code <= 10 ? blends[code] : platform::BlendZero;
}

bool CompareDisplayModes(const platform::SurfaceDesc& a, const platform::SurfaceDesc& b) {
    if (a.width != b.width)
        return a.width > b.width;
    if (a.height != b.height)
        return a.height > b.height;
    return a.pixelFormat.bitCount > b.pixelFormat.bitCount;
}

void CopyName(char (&to)[64], const char* from) {
    std::strncpy(to, from != nullptr ? from : "", 63);
    to[63] = 0;
}

void ThrowOnFailure(platform::Result result, const char* text) {
    if (platform::Failed(result))
        throw Error(text);
}

} // namespace

RenderSystem_D3D7::RenderSystem_D3D7(bool stencil, bool oversized) : RenderSystem(stencil, oversized) {
    Log()->Message("\nInitialization of Direct3D subsystem...");
    EnumerateAdapters();
    CreateD3DDevice(true);
    InitStateCache();
    Log()->Message(" ");
}

RenderSystem_D3D7::~RenderSystem_D3D7() {
    Log()->Message("\nDirect3D Subsystem destroying:");
    ReleaseDevice();
}

// ----- Set-up ---------------------------------------------------------------------------------------------

void RenderSystem_D3D7::EnumerateAdapters() {
    Log()->Message("...Level device list...");
    platform::EnumerateDrivers(7, [this](const platform::Guid* guid, const char* description, const char*) {
        EnumerateAdapter(guid, description);
        return true;
    });
    if (adapters.empty() || adapters[0]->devices.empty())
        Log()->Fatal("RenderSystem_D3D7: Failed to find any compatible Direct3D devices");
}

void RenderSystem_D3D7::EnumerateAdapter(const platform::Guid* guid, const char* description) {
    platform::DisplayDriver* driver = nullptr;
    if (platform::Failed(platform::CreateDisplayDriver(guid, &driver)))
        return;
    platform::Direct3D* d3d = nullptr;
    if (platform::Failed(driver->QueryDirect3D(&d3d))) {
        driver->Release();
        return;
    }
    auto* adapter = new AdapterInfo_D3D7();
    adapters.push_back(adapter);
    if (guid != nullptr) {
        adapter->driverGuid = *guid;
        adapter->driverGuidPointer = &adapter->driverGuid;
    }
    CopyName(adapter->description, description);
    driver->GetCaps(&adapter->hardwareCaps, &adapter->emulationCaps);
    adapter->selectable =
        guid == nullptr && (adapter->hardwareCaps.caps2 & platform::Caps2CanRenderWindowed) != 0;
    adapter->desktopMode = platform::GetDesktopMode();
    driver->EnumDisplayModes(0, [adapter](const platform::SurfaceDesc& mode) {
        if (mode.width >= 640 && mode.height >= 400)
            adapter->displayModes.push_back(mode);
        return true;
    });
    std::sort(adapter->displayModes.begin(), adapter->displayModes.end(), CompareDisplayModes);

    d3d->EnumDevices(
        [adapter](const char* deviceDescription, const char* name, const platform::DeviceDesc& desc) {
            auto* device = new DeviceInfo_D3D7();
            device->deviceGuid = desc.deviceGuid;
            device->deviceGuidPointer = &device->deviceGuid;
            CopyName(device->name, name);
            CopyName(device->description, deviceDescription);
            device->deviceDesc = desc;
            device->hardware = (desc.devCaps & platform::DevCapsHwRasterization) != 0;
            if (adapter->driverGuidPointer != nullptr && !device->hardware) {
                delete device;
                return true;
            }
            for (const platform::SurfaceDesc& mode : adapter->displayModes) {
                uint32_t bits = mode.pixelFormat.bitCount;
                uint32_t depths = desc.renderBitDepth;
                if ((bits == 32 && (depths & platform::RenderDepth32) != 0) ||
                    (bits == 24 && (depths & platform::RenderDepth24) != 0) ||
                    (bits == 16 && (depths & platform::RenderDepth16) != 0)) {
                    auto* info = new ModeInfo_D3D7();
                    info->width = mode.width;
                    info->height = mode.height;
                    info->bitsPerPixel = bits == 16 ? 16 : 32;
                    info->mode = &mode;
                    device->modes.push_back(info);
                }
            }
            if (device->modes.empty())
                delete device;
            else
                adapter->devices.push_back(device);
            return true;
        });
    d3d->Release();
    driver->Release();
}

void RenderSystem_D3D7::SelectDevice(bool softwareOnly) {
    // Candidates: hardware with transform and lighting, other hardware, other software, reference.
    AdapterInfo* adapterOf[4] = {};
    DeviceInfo* deviceOf[4] = {};
    for (AdapterInfo* adapter : adapters) {
        if (!static_cast<AdapterInfo_D3D7*>(adapter)->selectable)
            continue;
        for (DeviceInfo* info : adapter->devices) {
            auto* device = static_cast<DeviceInfo_D3D7*>(info);
            int kind = 0;
            if (device->hardware)
                kind = device->deviceGuid == platform::DeviceGuidTnLHal ? 0 : 1;
            else
                kind = device->deviceGuid == platform::DeviceGuidReference ? 3 : 2;
            adapterOf[kind] = adapter;
            deviceOf[kind] = device;
        }
    }
    int order[4] = {0, 1, 2, 3};
    int chosen = -1;
    for (int kind : order) {
        if (softwareOnly && kind < 2)
            continue;
        if (deviceOf[kind] != nullptr) {
            chosen = kind;
            break;
        }
    }
    if (chosen < 0)
        Log()->Fatal("RenderSystem_D3D7: Failed to find any compatible Direct3D devices");
    currentAdapter = adapterOf[chosen];
    currentAdapter->currentDevice = deviceOf[chosen];
}

void RenderSystem_D3D7::ChooseVideoMode() {
    Window* window = Window::Instance();
    auto* adapter = static_cast<AdapterInfo_D3D7*>(currentAdapter);
    DeviceInfo* device = currentAdapter->currentDevice;
    uint32_t workWidth = static_cast<uint32_t>(std::max(0, window->workArea.width));
    uint32_t workHeight = static_cast<uint32_t>(std::max(0, window->workArea.height));
    for (;;) {
        uint32_t width = 0;
        uint32_t height = 0;
        uint32_t bits = 0;
        std::string mode = ToLowerCopy(videoSettings->vMode);
        if (mode == "desktop") {
            width = adapter->desktopMode.width;
            height = adapter->desktopMode.height;
            bits = adapter->desktopMode.bitsPerPixel;
            videoSettings->vFullscreen = true;
        } else {
            ParseVideoMode(videoSettings->vMode, &width, &height, &bits);
        }
        if (videoSettings->vFullscreen || allowOversizedWindow ||
            (width < workWidth && height < workHeight)) {
            ModeInfo* found = nullptr;
            for (ModeInfo* m : device->modes)
                if (m->width == width && m->height == height && m->bitsPerPixel == bits) {
                    found = m;
                    break;
                }
            if (found != nullptr) {
                device->currentMode = found;
                break;
            }
            std::string fallback = "640x480x16";
            if (mode == ToLowerCopy(Config::Instance()->GetDefaultText("v_mode")) || mode == fallback) {
                if (mode == fallback)
                    Log()->Fatal("RenderSystem_D3D7: Failed to find compatible video mode");
                videoSettings->vMode = fallback;
            } else {
                Config::Instance()->ResetToDefault("v_mode");
            }
            continue;
        }
        // A window that does not fit the work area: a smaller 4:3 mode, else one of the desktop's size.
        ModeInfo* preferred[3] = {};
        ModeInfo* desktopSized = nullptr;
        for (ModeInfo* m : device->modes) {
            if (m->bitsPerPixel != bits)
                continue;
            if (m->width == adapter->desktopMode.width && m->height == adapter->desktopMode.height) {
                desktopSized = m;
                continue;
            }
            bool fourThree = m->width % 4 == 0 && m->height % 3 == 0 && m->width / 4 == m->height / 3;
            if (!fourThree || m->width >= workWidth || m->height >= workHeight)
                continue;
            if (m->width == 1024 && m->height == 768)
                preferred[0] = m;
            else if (m->width == 800 && m->height == 600)
                preferred[1] = m;
            else if (m->width == 640 && m->height == 480)
                preferred[2] = m;
        }
        ModeInfo* chosen = preferred[0] != nullptr   ? preferred[0]
                           : preferred[1] != nullptr ? preferred[1]
                           : preferred[2] != nullptr ? preferred[2]
                                                     : desktopSized;
        device->currentMode = chosen != nullptr ? chosen : device->modes.front();
        break;
    }
    device->fullScreen = videoSettings->vFullscreen && window->parentWindow == 0;
}

void RenderSystem_D3D7::CreateD3DDevice(bool logCapabilities) {
    if (currentAdapter == nullptr)
        SelectDevice(false);
    if (CreateDevice(logCapabilities))
        return;
    if (static_cast<DeviceInfo_D3D7*>(currentAdapter->currentDevice)->hardware) {
        Log()->Warning("......RenderSystem_D3D7: Switching to the software rasterizer");
        SelectDevice(true);
        CreateD3DDevice(true);
        return;
    }
    Log()->Fatal("RenderSystem_D3D7: Failed to create Direct3D device");
}

bool RenderSystem_D3D7::CreateDevice(bool logCapabilities) {
    ChooseVideoMode();
    Window* window = Window::Instance();
    auto* adapter = static_cast<AdapterInfo_D3D7*>(currentAdapter);
    auto* info = static_cast<DeviceInfo_D3D7*>(currentAdapter->currentDevice);
    auto* mode = static_cast<ModeInfo_D3D7*>(info->currentMode);
    bool fullScreen = info->fullScreen;
    try {
        Log()->Message("...Creating DirectDraw...");
        ThrowOnFailure(platform::CreateDisplayDriver(adapter->driverGuidPointer, &directDraw),
                       "Failed to create DirectDraw");

        uint32_t cooperation =
            (fullScreen ? platform::CoopFullScreen | platform::CoopAllowReboot | platform::CoopExclusive
                        : platform::CoopNormal) |
            platform::CoopFpuSetup;
        Log()->Message("......Setting cooperative level...");
        ThrowOnFailure(directDraw->SetCooperativeLevel(window->handle, cooperation),
                       "Failed to set DirectDraw cooperative level");

        platform::SurfaceDesc display;
        directDraw->GetDisplayMode(display);
        if (display.pixelFormat.bitCount <= 8)
            throw Error("Invalid DirectDraw display mode");

        Log()->Message("......Creating screen buffers...");
        window->SetMode(mode->width, mode->height, fullScreen);
        if (fullScreen)
            ThrowOnFailure(directDraw->SetDisplayMode(mode->width, mode->height,
                                                      mode->mode->pixelFormat.bitCount,
                                                      mode->mode->refreshRate, 0),
                           "Failed to set display mode");

        platform::SurfaceDesc primary;
        primary.flags = platform::DescCaps;
        primary.caps = platform::CapsPrimarySurface;
        if (fullScreen) {
            primary.flags |= platform::DescBackBufferCount;
            primary.caps |= platform::CapsFlip | platform::CapsComplex | platform::Caps3DDevice;
            primary.backBufferCount = 1;
        }
        ThrowOnFailure(directDraw->CreateSurface(primary, &primarySurface),
                       "Failed to create primary surface");

        if (fullScreen) {
            ThrowOnFailure(primarySurface->GetAttachedSurface(platform::CapsBackBuffer, &backBuffer),
                           "Failed to create back buffer");
        } else {
            platform::Clipper* clipper = nullptr;
            ThrowOnFailure(directDraw->CreateClipper(0, &clipper), "Failed to create clipper");
            clipper->SetWindow(window->handle);
            primarySurface->SetClipper(clipper);
            clipper->Release();
            platform::SurfaceDesc back;
            back.flags = platform::DescCaps | platform::DescWidth | platform::DescHeight;
            back.caps = platform::CapsOffscreenPlain | platform::Caps3DDevice;
            back.width = mode->width;
            back.height = mode->height;
            ThrowOnFailure(directDraw->CreateSurface(back, &backBuffer), "Failed to create back buffer");
        }
        backBuffer->GetSurfaceDesc(backBufferDesc);

        Log()->Message("...Creating Direct3D...");
        ThrowOnFailure(directDraw->QueryDirect3D(&direct3D), "Failed to create Direct3D");
        Log()->Message("...Creating Direct3D device...");
        ThrowOnFailure(direct3D->CreateDevice(info->deviceGuid, backBuffer, &device),
                       "Failed to create Direct3D device");

        Log()->Message("......Setting viewport...");
        ThrowOnFailure(device->SetViewport(platform::Viewport{0, 0, mode->width, mode->height, 0, 1}),
                       "Failed to set viewport");

        Log()->Message("......Creating Z Buffer...");
        if ((info->deviceDesc.triRasterCaps & platform::RasterZBufferLessHsr) == 0) {
            CreateDepthBuffer();
            ThrowOnFailure(device->SetRenderTarget(backBuffer, 0), "Failed to set render target");
        }
    } catch (const Error& error) {
        ReleaseDevice();
        Log()->Error("RenderSystem_D3D7: " + error.GetText());
        return false;
    }

    const platform::DeviceDesc& caps = info->deviceDesc;
    stageCount = caps.maxSimultaneousTextures;
    maxTextureWidth = caps.maxTextureWidth;
    maxTextureHeight = caps.maxTextureHeight;
    maxAnisotropy = caps.maxAnisotropy;
    if (logCapabilities) {
        Log()->Message(Dots);
        Log()->Message("......Capabilities:");
        Log()->Message(".........Maximal texture units: " + UIntToText(stageCount));
        Log()->Message(".........Maximal texture size: " + UIntToText(maxTextureWidth) + "x" +
                       UIntToText(maxTextureHeight));
        Log()->Message(".........Maximal texture anisotropy: " + UIntToText(maxAnisotropy));
    }
    textureFormats = 0;
    device->EnumTextureFormats([this](const platform::PixelFormat& format) {
        textureFormats |= 1u << ClassifyPixelFormat(format);
        return true;
    });
    return true;
}

void RenderSystem_D3D7::CreateDepthBuffer() {
    auto* info = static_cast<DeviceInfo_D3D7*>(currentAdapter->currentDevice);
    platform::SurfaceDesc depth = backBufferDesc;
    depth.flags = platform::DescCaps | platform::DescWidth | platform::DescHeight | platform::DescPixelFormat;
    bool videoMemory =
        info->deviceGuid == platform::DeviceGuidTnLHal || info->deviceGuid == platform::DeviceGuidHal;
    depth.caps =
        platform::CapsZBuffer | (videoMemory ? platform::CapsVideoMemory : platform::CapsSystemMemory);
    bool stencil = stencilWanted;
    bool found = false;
    while (!found) {
        uint32_t wantedStencil = stencil ? 1 : 0;
        for (uint32_t wantedDepth : {backBufferDesc.pixelFormat.bitCount, 16u}) {
            direct3D->EnumZBufferFormats(info->deviceGuid, [&](const platform::PixelFormat& format) {
                if (format.bitCount == wantedDepth && format.stencilBits >= wantedStencil) {
                    depth.pixelFormat = format;
                    found = true;
                    return false;
                }
                return true;
            });
            if (found)
                break;
        }
        if (!found) {
            if (!stencil)
                throw Error("Failed to create Z Buffer");
            stencil = false;
        }
    }
    hasStencil = stencil;
    ThrowOnFailure(directDraw->CreateSurface(depth, &depthSurface), "Failed to create Z Buffer");
    ThrowOnFailure(backBuffer->AddAttachedSurface(depthSurface), "Failed to create Z Buffer");
}

void RenderSystem_D3D7::ReleaseDevice() {
    Window* window = Window::Instance();
    if (directDraw != nullptr)
        directDraw->SetCooperativeLevel(window != nullptr ? window->handle : 0, platform::CoopNormal);
    Log()->Message("...Releasing device...");
    uint32_t deviceLeft = device != nullptr ? device->Release() : 0;
    device = nullptr;
    Log()->Message("...Releasing surfaces...");
    for (platform::Surface** surface : {&backBuffer, &depthSurface, &primarySurface}) {
        if (*surface != nullptr)
            (*surface)->Release();
        *surface = nullptr;
    }
    Log()->Message("...Releasing Direct3D...");
    if (direct3D != nullptr)
        direct3D->Release();
    direct3D = nullptr;
    Log()->Message("...Releasing DirectDraw...");
    uint32_t driverLeft = directDraw != nullptr ? directDraw->Release() : 0;
    directDraw = nullptr;
    if (deviceLeft != 0)
        Log()->Fatal("RenderSystem_D3D7: device object is still referenced");
    if (driverLeft != 0)
        Log()->Fatal("RenderSystem_D3D7: DirectDraw object is still referenced");
}

// ----- Frame ----------------------------------------------------------------------------------------------

void RenderSystem_D3D7::RestoreAllSurfaces(const char* context) {
    ErrorText(context, directDraw->RestoreAllSurfaces());
}

void RenderSystem_D3D7::Refresh() {
    RenderSystem::Refresh();
    if (directDraw == nullptr) {
        ready = false;
        return;
    }
    platform::Result r = directDraw->TestCooperativeLevel();
    if (r != platform::ResultOk) {
        ready = false;
        if (r == platform::ErrWrongMode && !videoSettings->vFullscreen) {
            resetNeeded = true;
            recreateTextures = true;
        }
        return;
    }
    if (ready)
        return;
    r = directDraw->RestoreAllSurfaces();
    ErrorText("RenderSystem_D3D7::Refresh", r);
    if (platform::Succeeded(r)) {
        ready = true;
    } else {
        resetNeeded = true;
        recreateTextures = true;
    }
}

void RenderSystem_D3D7::BeginScene() {
    if (device == nullptr)
        return;
    const char* context = "RenderSystem_D3D7::BeginScene";
    if (clearFlags != 0) {
        uint32_t flags = ((clearFlags & 1) != 0 ? platform::ClearTarget : 0) |
                         ((clearFlags & 2) != 0 ? platform::ClearZBuffer : 0) |
                         (hasStencil ? platform::ClearStencil : 0);
        ErrorText(context, device->Clear(0, nullptr, flags, PackColor(clearColor), 1.0f, 0));
    }
    platform::Result r = device->BeginScene();
    if (r == platform::ErrSurfaceLost) {
        RestoreAllSurfaces(context);
        r = device->BeginScene();
    }
    ErrorText(context, r);
}

void RenderSystem_D3D7::EndScene() {
    if (device == nullptr)
        return;
    platform::Result r = device->EndScene();
    if (r == platform::ErrSurfaceLost)
        r = directDraw->RestoreAllSurfaces();
    ErrorText("RenderSystem_D3D7::EndScene", r);
}

void RenderSystem_D3D7::SwapBuffers() {
    if (!ready || primarySurface == nullptr)
        return;
    Window* window = Window::Instance();
    platform::Result r = platform::ResultOk;
    if (window->fullscreen) {
        uint32_t flags = platform::FlipWait | (videoSettings->vVsync ? 0 : platform::FlipNoVSync);
        r = primarySurface->Flip(nullptr, flags);
    } else {
        platform::ScreenRect client = platform::GetClientRect(window->handle);
        platform::Rect target{client.left, client.top, client.left + client.width,
                              client.top + client.height};
        if (videoSettings->vVsync)
            directDraw->WaitForVerticalBlank(platform::WaitBlankBegin);
        r = primarySurface->Blt(&target, backBuffer, nullptr, platform::BltWait);
    }
    if (r == platform::ErrSurfaceLost)
        RestoreAllSurfaces("RenderSystem_D3D7::SwapBuffers");
}

void RenderSystem_D3D7::UpdateVideoMode() {
    RenderSystem::UpdateVideoMode();
    recreateTextures = true;
}

void RenderSystem_D3D7::Reset(int32_t flags) {
    if ((flags & 1) != 0) {
        Log()->Message("\nReseting Direct3D device:");
        if (recreateTextures)
            for (Texture2D_D3D7* texture : textures)
                texture->ReleaseSurface();
        Log()->Message(Dots);
        ReleaseDevice();
        Log()->Message(Dots);
        CreateD3DDevice(false);
        Log()->Message(Dots);
        // The device may have come back with another number of stages (a software fallback); the per-stage
        // cache follows it before the defaults walk the stages.
        ResizeStageCache();
        SetDefaultStates();
    }
    if ((flags & 2) != 0 && recreateTextures)
        for (Texture2D_D3D7* texture : textures)
            if (!texture->HasSurface())
                texture->CreateSurface();
    RenderSystem::Reset(flags);
}

void RenderSystem_D3D7::DrawIndexedPrimitive(bool strip, IndexBuffer* indices, VertexBuffer* vertices,
                                             uint32_t primitiveCount) {
    if (device == nullptr || indices == nullptr || vertices == nullptr)
        return;
    const char* context = "RenderSystem_D3D7::DrawIndexedPrimitive";
    vertices->PrepareDraw();
    indices->PrepareDraw();
    uint32_t indexCount = strip ? primitiveCount + 2 : primitiveCount * 3;
    uint32_t fvf = platform::FvfXyz | platform::FvfNormal | platform::FvfTex1 |
                   (vertices->HasColor() ? platform::FvfDiffuse : 0);
    uint32_t vertexCount = indices->GetMinIndex() + indices->GetIndexSpan();
    // Indices beyond those in use, or reaching past the vertices, would have the device read past the arrays.
    if (indexCount > indices->GetIndexCount() || vertexCount > vertices->GetVertexCount()) {
        ErrorText(context, platform::ErrInvalidParams);
        return;
    }
    uint32_t type = strip ? platform::PrimitiveTriangleStrip : platform::PrimitiveTriangleList;
    platform::Result r;
    if (indices->Is32Bit())
        r = device->DrawIndexedPrimitive32(type, fvf, vertices->GetData(), vertexCount,
                                           reinterpret_cast<const uint32_t*>(indices->GetData()), indexCount,
                                           0);
    else
        r = device->DrawIndexedPrimitive(type, fvf, vertices->GetData(), vertexCount,
                                         reinterpret_cast<const uint16_t*>(indices->GetData()), indexCount,
                                         0);
    ErrorText(context, r);
}

// ----- Factories ------------------------------------------------------------------------------------------

Camera* RenderSystem_D3D7::CreateCamera(int32_t projectionKind) {
    return new Camera_D3D7(projectionKind, this);
}

VertexBuffer* RenderSystem_D3D7::CreateVertexBuffer(int32_t kind, bool withColor, uint32_t vertexCount) {
    return new VertexBuffer_D3D7(kind, withColor, vertexCount);
}

VertexBuffer* RenderSystem_D3D7::CreateVertexBufferFrom(int32_t kind, bool withColor,
                                                        const VertexBuffer& source) {
    return new VertexBuffer_D3D7(kind, withColor, source);
}

VertexBuffer* RenderSystem_D3D7::CloneVertexBuffer(const VertexBuffer& source) {
    return new VertexBuffer_D3D7(source);
}

IndexBuffer* RenderSystem_D3D7::CreateIndexBuffer(int32_t kind, uint32_t indexCount) {
    return new IndexBuffer_D3D7(kind, indexCount);
}

IndexBuffer* RenderSystem_D3D7::CreateIndexBufferFrom(int32_t kind, const IndexBuffer& source) {
    return new IndexBuffer_D3D7(kind, source);
}

IndexBuffer* RenderSystem_D3D7::CloneIndexBuffer(const IndexBuffer& source) {
    return new IndexBuffer_D3D7(source);
}

Light* RenderSystem_D3D7::CreateLight(int32_t deviceIndex) {
    return new Light_D3D7(static_cast<uint32_t>(deviceIndex), this);
}

Texture2D* RenderSystem_D3D7::CreateTexture(const std::string& name, Image* diffuse, Image* opacity, bool mipMaps,
                                            bool onDemand) {
    return new Texture2D_D3D7(this, name, diffuse, opacity, mipMaps, onDemand);
}

Texture2D* RenderSystem_D3D7::LoadTexture(const std::string& name, const std::string& diffuseName,
                                          const std::string& opacityName, bool mipMaps, bool onDemand) {
    return new Texture2D_D3D7(this, name, diffuseName, opacityName, mipMaps, onDemand);
}

bool RenderSystem_D3D7::IsHardwareDevice() const {
    if (currentAdapter == nullptr || currentAdapter->currentDevice == nullptr)
        return false;
    const auto* info = static_cast<const DeviceInfo_D3D7*>(currentAdapter->currentDevice);
    return info->deviceGuid == platform::DeviceGuidTnLHal || info->deviceGuid == platform::DeviceGuidHal;
}

void RenderSystem_D3D7::AddTexture(Texture2D_D3D7* texture) {
    textures.push_back(texture);
}

void RenderSystem_D3D7::RemoveTexture(Texture2D_D3D7* texture) {
    auto found = std::find(textures.begin(), textures.end(), texture);
    if (found == textures.end())
        Log()->Fatal("RenderSystem_D3D7: Failed to remove texture \"" + texture->name + "\"");
    textures.erase(found);
    // A stage must not keep pointing at a texture that is gone.
    for (uint32_t stage = 0; stage < CachedStages(); ++stage)
        if (stageTextures[stage] == texture)
            SetTexture(stage, nullptr);
}

// ----- States ---------------------------------------------------------------------------------------------

void RenderSystem_D3D7::ErrorText(const char* context, platform::Result result) const {
    if (platform::Succeeded(result))
        return;
    const char* text = DirectXResultText(result);
    std::string description = text != nullptr ? text : "Unknown error (Code: " + IntToText(result) + ")";
    Log()->Error(std::string("Direct3D Subsystem (") + context + "): " + description);
}

void RenderSystem_D3D7::SetRenderState(const char* context, uint32_t state, uint32_t value) {
    if (device != nullptr)
        ErrorText(context, device->SetRenderState(state, value));
}

void RenderSystem_D3D7::SetStageState(const char* context, uint32_t stage, uint32_t state, uint32_t value) {
    if (device != nullptr)
        ErrorText(context, device->SetTextureStageState(stage, state, value));
}

void RenderSystem_D3D7::SetDefaultStates() {
    RenderSystem::SetDefaultStates();
    const char* context = "RenderSystem_D3D7::SetDefaultStates";
    for (uint32_t stage = 0; stage < CachedStages(); ++stage) {
        SetStageState(context, stage, platform::TssTextureTransformFlags, platform::TextureTransformCount2);
        SetStageState(context, stage, platform::TssTexCoordIndex, 0);
        SetStageState(context, stage, platform::TssColorOp, platform::TopModulate);
        SetStageState(context, stage, platform::TssAlphaArg1, platform::TaTexture);
        SetStageState(context, stage, platform::TssAlphaArg2, platform::TaDiffuse);
        SetStageState(context, stage, platform::TssAlphaOp,
                      stage == 0 ? platform::TopModulate : platform::TopDisable);
    }
    SetRenderState(context, platform::RsColorVertex, 1);
    SetRenderState(context, platform::RsDiffuseMaterialSource, platform::MaterialSourceColor1);
    SetRenderState(context, platform::RsAmbientMaterialSource, platform::MaterialSourceColor1);
    SetRenderState(context, platform::RsZFunc, platform::CmpLess);
    if (hasStencil) {
        SetRenderState(context, platform::RsStencilFunc, platform::CmpEqual);
        SetRenderState(context, platform::RsStencilRef, 0);
        SetRenderState(context, platform::RsStencilMask, 0xFFFFFFFFu);
        SetRenderState(context, platform::RsStencilFail, platform::StencilKeep);
        SetRenderState(context, platform::RsStencilZFail, platform::StencilKeep);
        SetRenderState(context, platform::RsStencilPass, platform::StencilIncr);
    }
}

void RenderSystem_D3D7::SetMaterial(const Vec4& ambient, const Vec4& diffuse, const Vec4& specular,
                                    const Vec4& emissive, float power) {
    if (device == nullptr)
        return;
    auto color = [](const Vec4& c) { return platform::ColorValue{c.x, c.y, c.z, c.w}; };
    platform::Material material{color(diffuse), color(ambient), color(specular), color(emissive), power};
    ErrorText("RenderSystem_D3D7::SetMaterial", device->SetMaterial(material));
}

void RenderSystem_D3D7::UpdateProjectionMatrix() {
    if (device == nullptr)
        return;
    platform::Matrix m;
    std::memcpy(m.m, projectionMatrix.Data(), sizeof(m.m));
    ErrorText("RenderSystem_D3D7::UpdateProjectionMatrix",
              device->SetTransform(platform::TransformProjection, m));
}

void RenderSystem_D3D7::UpdateViewMatrix() {
    if (device == nullptr)
        return;
    // The camera's view is right-handed (looking down -z); the device's is left-handed.
    platform::Matrix m;
    std::memcpy(m.m, viewMatrix.Data(), sizeof(m.m));
    for (int i : {2, 6, 10, 14})
        m.m[i] = -m.m[i];
    ErrorText("RenderSystem_D3D7::UpdateViewMatrix", device->SetTransform(platform::TransformView, m));
}

void RenderSystem_D3D7::UpdateWorldMatrix() {
    if (device == nullptr)
        return;
    platform::Matrix m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m.m[4 * r + c] = worldMatrix.At(c, r);
    ErrorText("RenderSystem_D3D7::UpdateWorldMatrix", device->SetTransform(platform::TransformWorld, m));
}

void RenderSystem_D3D7::UpdateAmbientColor() {
    SetRenderState("RenderSystem_D3D7::UpdateAmbientColor", platform::RsAmbient, PackColor(ambientColor));
}

void RenderSystem_D3D7::UpdateAlphaBlend() {
    SetRenderState("RenderSystem_D3D7::UpdateAlphaBlend", platform::RsAlphaBlendEnable, alphaBlend ? 1 : 0);
}

void RenderSystem_D3D7::UpdateBlend() {
    SetRenderState("RenderSystem_D3D7::UpdateBlend", platform::RsSrcBlend, DeviceBlend(sourceBlend));
    SetRenderState("RenderSystem_D3D7::UpdateBlend", platform::RsDestBlend, DeviceBlend(destinationBlend));
}

void RenderSystem_D3D7::UpdateTexture(uint32_t stage) {
    if (device == nullptr)
        return;
    // The surface is made here when the texture has none (on demand, or after a reset).
    auto* texture = static_cast<Texture2D_D3D7*>(stageTextures[stage]);
    ErrorText("RenderSystem_D3D7::UpdateTexture",
              device->SetTexture(stage, texture != nullptr ? texture->GetSurface() : nullptr));
}

void RenderSystem_D3D7::UpdateMaxTextureAnisotropy(uint32_t stage) {
    SetStageState("RenderSystem_D3D7::UpdateMaxTextureAnisotropy", stage, platform::TssMaxAnisotropy,
                  static_cast<uint32_t>(stageAnisotropy[stage]));
}

void RenderSystem_D3D7::UpdateTextureFilter(uint32_t stage) {
    const char* context = "RenderSystem_D3D7::UpdateTextureFilter";
    uint32_t mag = 0;
    uint32_t min = 0;
    uint32_t mip = 0;
    switch (stageFilters[stage]) {
    case FilterMipmapped: {
        bool anisotropic = videoSettings->rTextureAnisotropy > 1;
        mag = anisotropic ? platform::MagAnisotropic : platform::MagLinear;
        min = anisotropic ? platform::MinAnisotropic : platform::MinLinear;
        mip = platform::MipLinear;
        break;
    }
    case FilterBilinear:
        mag = platform::MagLinear;
        min = platform::MinLinear;
        mip = platform::MipNone;
        break;
    case FilterPoint:
        mag = platform::MagPoint;
        min = platform::MinPoint;
        mip = platform::MipNone;
        break;
    default:
        return;
    }
    SetStageState(context, stage, platform::TssMagFilter, mag);
    SetStageState(context, stage, platform::TssMinFilter, min);
    SetStageState(context, stage, platform::TssMipFilter, mip);
}

void RenderSystem_D3D7::UpdateTextureAdressU(uint32_t stage) {
    SetStageState("RenderSystem_D3D7::UpdateTextureAdressU", stage, platform::TssAddressU,
                  stageAddressU[stage] == AddressClampCode ? platform::AddressClamp : platform::AddressWrap);
}

void RenderSystem_D3D7::UpdateTextureAdressV(uint32_t stage) {
    SetStageState("RenderSystem_D3D7::UpdateTextureAdressV", stage, platform::TssAddressV,
                  stageAddressV[stage] == AddressClampCode ? platform::AddressClamp : platform::AddressWrap);
}

void RenderSystem_D3D7::UpdateTextureMatrix(uint32_t stage) {
    if (device == nullptr)
        return;
    const Vec4& t = stageTextureMatrices[stage];
    platform::Matrix m;
    m.m[0] = t.x;
    m.m[5] = t.y;
    // Two-component coordinates take their translation from the third row.
    m.m[8] = t.z;
    m.m[9] = t.w;
    ErrorText("RenderSystem_D3D7::UpdateTextureMatrix",
              device->SetTransform(platform::TransformTexture0 + stage, m));
}

void RenderSystem_D3D7::UpdateCullMode() {
    uint32_t mode = cullMode == CullCodeClockwise          ? platform::CullClockwise
                    : cullMode == CullCodeCounterClockwise ? platform::CullCounterClockwise
                                                           : platform::CullNone;
    SetRenderState("RenderSystem_D3D7::UpdateCullMode", platform::RsCullMode, mode);
}

void RenderSystem_D3D7::UpdateLighting() {
    SetRenderState("RenderSystem_D3D7::UpdateLighting", platform::RsLighting, lighting ? 1 : 0);
}

void RenderSystem_D3D7::UpdatenormalizeNormals() {
    SetRenderState("RenderSystem_D3D7::UpdatenormalizeNormals", platform::RsNormalizeNormals,
                   normalizeNormals ? 1 : 0);
}

void RenderSystem_D3D7::UpdateZ() {
    SetRenderState("RenderSystem_D3D7::UpdateZ", platform::RsZEnable, depthTest ? 1 : 0);
}

void RenderSystem_D3D7::UpdateZWrite() {
    SetRenderState("RenderSystem_D3D7::UpdateZWrite", platform::RsZWriteEnable, depthWrite ? 1 : 0);
}

void RenderSystem_D3D7::UpdateStencil() {
    SetRenderState("RenderSystem_D3D7::UpdateStencil", platform::RsStencilEnable, stencilTest ? 1 : 0);
}

// ----- Capture --------------------------------------------------------------------------------------------

void RenderSystem_D3D7::CaptureScreen(Image& image) {
    CaptureInto(image);
    CorrectAspect(image);
}

void RenderSystem_D3D7::CaptureInto(Image& image) {
    ModeInfo* mode = currentAdapter->currentDevice->currentMode;
    // The image takes the back buffer's depth, not the mode's: a window keeps the desktop's depth whatever
    // the mode says, and 32-bit pixels must never go into a 24-bit image.
    uint32_t surfaceBits = backBufferDesc.pixelFormat.bitCount;
    image.Release();
    image.Create(mode->width, mode->height, surfaceBits == 32 ? 32 : 24, true);
    platform::Surface* copy = nullptr;
    try {
        if (directDraw == nullptr || backBuffer == nullptr)
            throw Error("Error creating temporary surface!");
        platform::SurfaceDesc desc = backBufferDesc;
        desc.flags =
            platform::DescCaps | platform::DescWidth | platform::DescHeight | platform::DescPixelFormat;
        desc.caps = platform::CapsOffscreenPlain | platform::CapsSystemMemory;
        if (platform::Failed(directDraw->CreateSurface(desc, &copy)))
            throw Error("Error creating temporary surface!");
        copy->Blt(nullptr, backBuffer, nullptr, 0);
        platform::SurfaceDesc locked;
        void* bits = nullptr;
        if (platform::Failed(copy->Lock(nullptr, locked, &bits, platform::LockWait | platform::LockReadOnly)))
            throw Error("Error creating temporary surface!");
        uint32_t width = std::min(image.width, locked.width);
        uint32_t height = std::min(image.height, locked.height);
        uint32_t bytes = image.BytesPerPixel();
        for (uint32_t r = 0; r < height; ++r) {
            const uint8_t* from =
                static_cast<const uint8_t*>(bits) +
                static_cast<size_t>(locked.height - 1 - r) * static_cast<size_t>(locked.pitch);
            uint8_t* to = image.Row(r);
            for (uint32_t x = 0; x < width; ++x, to += bytes) {
                if (surfaceBits == 32) {
                    const uint8_t* p = from + x * 4;
                    to[0] = p[2];
                    to[1] = p[1];
                    to[2] = p[0];
                    to[3] = static_cast<uint8_t>(255 - p[3]);
                } else if (surfaceBits == 24) {
                    const uint8_t* p = from + x * 3;
                    to[0] = p[2];
                    to[1] = p[1];
                    to[2] = p[0];
                } else {
                    uint16_t v = 0;
                    std::memcpy(&v, from + x * 2, 2);
                    uint32_t red = (v >> 11) & 0x1F;
                    uint32_t green = (v >> 5) & 0x3F;
                    uint32_t blue = v & 0x1F;
                    to[0] = static_cast<uint8_t>(red << 3 | red >> 2);
                    to[1] = static_cast<uint8_t>(green << 2 | green >> 4);
                    to[2] = static_cast<uint8_t>(blue << 3 | blue >> 2);
                }
            }
        }
        copy->Unlock(nullptr);
        copy->Release();
        copy = nullptr;
    } catch (const Error&) {
        if (copy != nullptr)
            copy->Release();
        image.Fill(Vec4(1, 1, 1, 1));
    }
}

void RenderSystem_D3D7::CorrectAspect(Image& image) const {
    Window* window = Window::Instance();
    if (window == nullptr || !window->fullscreen || (!window->wideDesktop && !window->tallDesktop))
        return;
    int32_t w = static_cast<int32_t>(image.width);
    int32_t h = static_cast<int32_t>(image.height);
    float k =
        window->wideDesktop ? window->desktopAspect / (4.0f / 3.0f) : (4.0f / 3.0f) / window->desktopAspect;
    int32_t a = static_cast<int32_t>((static_cast<float>(w) * k - static_cast<float>(w)) / 2) + 1;
    Image cropped;
    if (window->wideDesktop) {
        if (2 * a >= w)
            return;
        image.Crop(static_cast<uint32_t>(a), 0, static_cast<uint32_t>(w - 2 * a), image.height, cropped);
    } else {
        if (2 * a >= h)
            return;
        image.Crop(0, static_cast<uint32_t>(a), image.width, static_cast<uint32_t>(h - 2 * a), cropped);
    }
    cropped.Resize(image.width, image.height, Bilinear, image);
}

} // namespace OrvexEngine
