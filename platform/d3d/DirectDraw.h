// The DirectDraw 7 stand-in: display drivers, display modes, cooperative levels and surfaces, drawn by
// OpenGL (compatibility profile) in the SDL window. Objects are reference counted: whoever creates or
// receives one owns one reference and gives it back with Release(), which returns the count left; an object
// is deleted when its count reaches zero. Surfaces hold their driver, a back buffer holds its depth buffer.
// Texture surfaces are in TextureSurface.h. A render target of the window's size (one per driver) draws
// straight into the window's own framebuffer, so presenting it is a swap; other sizes, and a depth buffer
// the window's cannot stand for, get a framebuffer object copied to the window at present. What it does not
// implement: palettes, overlays, colour keys, more than one adapter. Main thread only; one OpenGL context
// per driver object, made current on creation.
#pragma once

#include "platform/d3d/D3DTypes.h"
#include "platform/win/NativeWindow.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

class DisplayDriver;
class Direct3D;
class TextureStorage;

class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    uint32_t AddRef() { return ++references; }
    // Returns the references left; at zero the object is deleted.
    uint32_t Release();

protected:
    virtual ~RefCounted();

private:
    uint32_t references = 1;
};

class Clipper final : public RefCounted {
public:
    Result SetWindow(WindowHandle window);
    WindowHandle GetWindow() const { return window; }

private:
    WindowHandle window = 0;
};

class Surface final : public RefCounted {
public:
    enum class Kind { Primary, RenderTarget, ZBuffer, SystemMemory, Texture };

    Result GetSurfaceDesc(SurfaceDesc& out) const;
    // The first attached surface whose capabilities include caps; one more reference for the caller.
    Result GetAttachedSurface(uint32_t caps, Surface** out);
    // Attaches a depth buffer to a render target; the render target holds a reference to it.
    Result AddAttachedSurface(Surface* surface);
    Result SetClipper(Clipper* clipper);
    // Primary only: presents the attached back buffer.
    Result Flip(Surface* target, uint32_t flags);
    // Copies the whole source: a render target to the primary (presents it) or into a system-memory surface
    // (reads its pixels back, rows top first as the desc's pitch lays them out). A render target drawn into
    // the window is read back from the frame being drawn: read it before presenting it.
    Result Blt(const Rect* destination, Surface* source, const Rect* sourceRect, uint32_t flags);
    // System-memory surfaces only: the pixels, rows top first, `pitch` bytes apart.
    Result Lock(const Rect* rect, SurfaceDesc& desc, void** bits, uint32_t flags);
    Result Unlock(const Rect* rect);
    Result IsLost() const;
    Result Restore();

    // For the device.
    Kind GetKind() const { return kind; }
    // Texture surfaces: the GL texture of their chain.
    uint32_t GetTexture() const;
    // Render targets: the GL framebuffer to draw into; 0, the window's own, for the one drawn into the
    // window.
    uint32_t GetFramebuffer() const { return framebuffer; }
    bool DrawsIntoWindow() const { return drawsIntoWindow; }
    Surface* GetDepthBuffer() const { return depthBuffer; }
    void MarkLost() { lost = true; }

private:
    friend class DisplayDriver;
    friend Result CreateTextureChain(DisplayDriver* driver, const SurfaceDesc& request, Surface** out);
    Surface(DisplayDriver* driver, Kind kind, const SurfaceDesc& desc);
    Result LockTexture(SurfaceDesc& out, void** bits); // TextureSurface.cpp
    Result UnlockTexture();
    ~Surface() override;
    Result Present(Surface* backBuffer, bool waitForRefresh);
    Result ReadBack(Surface* source);
    // Render targets: gives the target a framebuffer object of its own (its colour and any attached depth).
    void CreateFramebuffer();
    // Depth buffers: the GL storage, made when first attached to a framebuffer object.
    void CreateDepthStorage();

    DisplayDriver* driver = nullptr; // holds a reference
    Kind kind = Kind::SystemMemory;
    SurfaceDesc desc;
    bool lost = false;
    bool locked = false;
    bool drawsIntoWindow = false;      // a render target drawn into the window's own framebuffer
    uint32_t framebuffer = 0;          // GL framebuffer of a render target (0: the window's)
    uint32_t colorBuffer = 0;          // GL renderbuffer of a render target
    uint32_t depthRenderbuffer = 0;    // GL renderbuffer of a depth buffer
    Surface* backBuffer = nullptr;     // primary of a flip chain: its back buffer, holds a reference
    Surface* depthBuffer = nullptr;    // render target: its attached depth buffer, holds a reference
    Clipper* clipper = nullptr;        // holds a reference
    std::vector<uint8_t> memory;       // system-memory pixels
    TextureStorage* texture = nullptr; // texture surfaces: the chain's GL texture, one reference
    uint32_t textureLevel = 0;
    Surface* nextLevel = nullptr; // texture surfaces: the next mip level, holds a reference
};

using ModeCallback = std::function<bool(const SurfaceDesc& mode)>;

class DisplayDriver final : public RefCounted {
public:
    Result GetCaps(DriverCaps* hardware, DriverCaps* emulation) const;
    // Every display mode of the adapter (width, height, bit count and refresh rate filled in).
    Result EnumDisplayModes(uint32_t flags, const ModeCallback& callback) const;
    Result SetCooperativeLevel(WindowHandle window, uint32_t flags);
    Result GetDisplayMode(SurfaceDesc& out) const;
    Result SetDisplayMode(uint32_t width, uint32_t height, uint32_t bits, uint32_t refreshRate,
                          uint32_t flags);
    Result CreateSurface(const SurfaceDesc& desc, Surface** out);
    Result CreateClipper(uint32_t flags, Clipper** out);
    Result QueryDirect3D(Direct3D** out);
    // 0 while the driver can draw; ErrNoExclusiveMode while a full-screen driver lost the display;
    // ErrWrongMode when the desktop mode changed under a windowed driver.
    Result TestCooperativeLevel() const;
    Result RestoreAllSurfaces();
    Result WaitForVerticalBlank(uint32_t flags);

    // For the layer's objects.
    SDL_Window* GetWindow() const { return sdlWindow; }
    bool IsFullScreen() const { return (cooperativeFlags & CoopFullScreen) != 0; }
    uint32_t GetDisplayBits() const;
    void MakeCurrent() const;
    void ForgetSurface(Surface* surface);
    static void LoseEverySurface();
    // The size of the window's own framebuffer, in pixels.
    void GetWindowFramebufferSize(int* width, int* height) const;
    // True when a render target of that size can be drawn into the window's own framebuffer: the window
    // has that size and no other target of this driver draws into it.
    bool CanDrawIntoWindow(uint32_t width, uint32_t height) const;
    // True when the window's own depth buffer serves for a depth buffer of that format.
    bool WindowHasDepth(const PixelFormat& format) const;
    // Shows the window's back buffer; waits for the display's refresh when asked and the display has one.
    void SwapWindow(bool waitForRefresh);

private:
    friend class Surface;
    friend Result CreateDisplayDriver(const Guid* guid, DisplayDriver** out);
    DisplayDriver();
    ~DisplayDriver() override;

    WindowHandle window = 0;
    SDL_Window* sdlWindow = nullptr; // not owned: the window's
    void* glContext = nullptr;       // owned
    uint32_t cooperativeFlags = 0;
    bool modeSet = false;
    SurfaceDesc displayMode;
    DisplayMode desktopAtCooperation;
    std::vector<Surface*> surfaces;  // not owned: every live surface made by this driver
    Surface* windowTarget = nullptr; // not owned: the render target drawn into the window, if any
    int surfaceWidth = 0;            // the window's framebuffer when the context was made
    int surfaceHeight = 0;
    int windowDepthBits = 0; // the window's own depth and stencil buffers
    int windowStencilBits = 0;
    int swapInterval = -1;     // what the context was last given; -1 not yet set
    bool pacePresents = false; // a real display that cannot wait for its refresh in the swap: the layer waits
    uint32_t refreshRate = 60;
    uint64_t nextRefresh = 0;  // performance-counter time of the next refresh when pacing
    bool waitForBlank = false; // the next copy to the window waits for the vertical blank
};

// The adapters: one, the primary display driver (no GUID). The callback returns false to stop.
using DriverCallback = std::function<bool(const Guid* guid, const char* description, const char* name)>;
Result EnumerateDrivers(uint32_t flags, const DriverCallback& callback);
Result CreateDisplayDriver(const Guid* guid, DisplayDriver** out);

// The display modes the adapter offers: those of the display, or a standard list up to the desktop's size
// (always with 1024 x 768) when the display reports none, each at 16 and 32 bits.
std::vector<DisplayMode> ListDisplayModes();

} // namespace platform
