#define GL_GLEXT_PROTOTYPES 1
#include "platform/d3d/DirectDraw.h"

#include "platform/d3d/D3DSettings.h"
#include "platform/d3d/Direct3D.h"
#include "platform/d3d/TextureSurface.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

PixelFormat ColorFormat(uint32_t bits) {
    PixelFormat f;
    f.flags = PixelRGB;
    f.bitCount = bits;
    if (bits == 16) {
        f.redMask = 0xF800;
        f.greenMask = 0x07E0;
        f.blueMask = 0x001F;
    } else if (bits == 24 || bits == 32) {
        f.redMask = 0xFF0000;
        f.greenMask = 0x00FF00;
        f.blueMask = 0x0000FF;
    } else {
        f.flags = 0x20; // palette-indexed
    }
    return f;
}

SurfaceDesc ModeDesc(uint32_t width, uint32_t height, uint32_t bits, uint32_t refresh) {
    SurfaceDesc d;
    d.flags = DescWidth | DescHeight | DescPitch | DescPixelFormat;
    d.width = width;
    d.height = height;
    d.pitch = static_cast<int32_t>(width * std::max(1u, bits / 8));
    d.refreshRate = refresh;
    d.pixelFormat = ColorFormat(bits);
    return d;
}

uint32_t BytesPerPixel(const PixelFormat& f) {
    return std::max(1u, f.bitCount / 8);
}

// The depth buffer's GL format: 16 bits, 24 bits of depth with 8 of stencil when a stencil is asked for,
// else 24 bits of depth alone (a stencil the program never uses would only make every clear and depth write
// keep its bits).
bool IsDepth16(const PixelFormat& f) {
    return f.bitCount <= 16;
}

bool HasStencil(const PixelFormat& f) {
    return !IsDepth16(f) && ((f.flags & PixelStencilBuffer) != 0 || f.stencilBits != 0);
}

GLenum DepthAttachment(const PixelFormat& f) {
    return HasStencil(f) ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
}

// Drivers without a display have no refresh to wait for.
bool HasDisplay() {
    const char* name = SDL_GetCurrentVideoDriver();
    return name != nullptr && std::strcmp(name, "offscreen") != 0 && std::strcmp(name, "dummy") != 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------

uint32_t RefCounted::Release() {
    uint32_t left = --references;
    if (left == 0)
        delete this;
    return left;
}

RefCounted::~RefCounted() = default;

Result Clipper::SetWindow(WindowHandle target) {
    window = target;
    return ResultOk;
}

// ---------------------------------------------------------------------------------------------------------

std::vector<DisplayMode> ListDisplayModes() {
    if (!Settings().modes.empty())
        return Settings().modes;
    DisplayMode desktop = GetDesktopMode();
    std::vector<std::pair<uint32_t, uint32_t>> sizes;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        int count = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode mode;
            if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w > 0 && mode.h > 0)
                sizes.emplace_back(mode.w, mode.h);
        }
    }
    // Displays without a mode list (such as the off-screen one) get the usual sizes up to the desktop's.
    const std::pair<uint32_t, uint32_t> standard[] = {{640, 480},  {800, 600},   {1024, 768}, {1152, 864},
                                                      {1280, 960}, {1280, 1024}, {1600, 1200}};
    for (const auto& size : standard)
        if ((size.first <= desktop.width && size.second <= desktop.height) || size.first == 1024)
            sizes.push_back(size);
    sizes.emplace_back(desktop.width, desktop.height);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    std::vector<DisplayMode> modes;
    for (const auto& size : sizes)
        for (uint32_t bits : {16u, 32u})
            modes.push_back(DisplayMode{size.first, size.second, bits});
    return modes;
}

Result EnumerateDrivers(uint32_t /*flags*/, const DriverCallback& callback) {
    callback(nullptr, "Primary Display Driver", "display");
    return ResultOk;
}

Result CreateDisplayDriver(const Guid* guid, DisplayDriver** out) {
    *out = nullptr;
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::CreateDriver, &r))
        return r;
    if (guid != nullptr)
        return MakeDDResult(561); // no such driver
    *out = new DisplayDriver();
    return ResultOk;
}

// ---------------------------------------------------------------------------------------------------------

DisplayDriver::DisplayDriver() {
    Settings().liveObjects++;
    Settings().drivers.push_back(this);
}

DisplayDriver::~DisplayDriver() {
    Settings().liveObjects--;
    std::erase(Settings().drivers, this);
    if (glContext != nullptr) {
        SDL_GL_MakeCurrent(sdlWindow, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext));
    }
}

Result DisplayDriver::GetCaps(DriverCaps* hardware, DriverCaps* emulation) const {
    if (hardware != nullptr)
        *hardware = DriverCaps{0x1, Caps2CanRenderWindowed};
    if (emulation != nullptr)
        *emulation = DriverCaps{0x1, Caps2CanRenderWindowed};
    return ResultOk;
}

Result DisplayDriver::EnumDisplayModes(uint32_t /*flags*/, const ModeCallback& callback) const {
    for (const DisplayMode& mode : ListDisplayModes())
        if (!callback(ModeDesc(mode.width, mode.height, mode.bitsPerPixel, 60)))
            break;
    return ResultOk;
}

Result DisplayDriver::SetCooperativeLevel(WindowHandle target, uint32_t flags) {
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::CooperativeLevel, &r))
        return r;
    bool fullScreen = (flags & CoopFullScreen) != 0;
    if (fullScreen && (flags & CoopExclusive) == 0)
        return ErrInvalidParams;
    SDL_Window* sdl = target != 0 ? GetSdlWindow(target) : nullptr;
    if ((target != 0 && sdl == nullptr) || (target == 0 && fullScreen))
        return ErrNoHwnd;
    if (target != 0 && window != 0 && target != window)
        return MakeDDResult(571); // already bound to another window
    if (sdl != nullptr && glContext == nullptr) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GLContext context = SDL_GL_CreateContext(sdl);
        if (context == nullptr)
            return ErrNoHwnd;
        glContext = context;
        window = target;
        sdlWindow = sdl;
        // What the window's own framebuffer offers decides which render targets can draw straight into it.
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        GLint bits = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE,
                                              &bits);
        windowDepthBits = bits;
        bits = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL,
                                              GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE, &bits);
        windowStencilBits = bits;
        glGetError(); // a window without one of the buffers reports an invalid operation
        // A new context's viewport is its window's framebuffer.
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        surfaceWidth = viewport[2];
        surfaceHeight = viewport[3];
        SDL_DisplayMode current;
        if (SDL_GetWindowDisplayMode(sdl, &current) == 0 && current.refresh_rate > 0)
            refreshRate = static_cast<uint32_t>(current.refresh_rate);
    }
    if (!fullScreen)
        modeSet = false; // leaving full screen gives the desktop its mode back
    cooperativeFlags = flags;
    desktopAtCooperation = GetDesktopMode();
    return ResultOk;
}

uint32_t DisplayDriver::GetDisplayBits() const {
    return modeSet ? displayMode.pixelFormat.bitCount : GetDesktopMode().bitsPerPixel;
}

Result DisplayDriver::GetDisplayMode(SurfaceDesc& out) const {
    if (D3DShouldFail(D3DStep::DisplayModeRead, nullptr)) {
        out = ModeDesc(640, 480, 8, 60);
        return ResultOk;
    }
    if (modeSet) {
        out = displayMode;
        return ResultOk;
    }
    DisplayMode desktop = GetDesktopMode();
    out = ModeDesc(desktop.width, desktop.height, desktop.bitsPerPixel, 60);
    return ResultOk;
}

Result DisplayDriver::SetDisplayMode(uint32_t width, uint32_t height, uint32_t bits, uint32_t refreshRate,
                                     uint32_t /*flags*/) {
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::SetDisplayMode, &r))
        return r;
    if ((cooperativeFlags & CoopExclusive) == 0)
        return ErrNoExclusiveMode;
    for (const DisplayMode& mode : ListDisplayModes()) {
        if (mode.width == width && mode.height == height && mode.bitsPerPixel == bits) {
            displayMode = ModeDesc(width, height, bits, refreshRate);
            modeSet = true;
            return ResultOk;
        }
    }
    return ErrInvalidMode;
}

Result DisplayDriver::CreateSurface(const SurfaceDesc& request, Surface** out) {
    *out = nullptr;
    if (sdlWindow == nullptr)
        return ErrNoCooperativeLevelSet;
    Result r = ErrGeneric;
    SurfaceDesc desc = request;
    SurfaceDesc mode;
    GetDisplayMode(mode);
    if ((request.caps & CapsTexture) != 0)
        return CreateTextureChain(this, request, out);
    if ((request.caps & CapsPrimarySurface) != 0) {
        if (D3DShouldFail(D3DStep::CreatePrimary, &r))
            return r;
        bool chain = (request.caps & CapsFlip) != 0;
        if (chain && (!IsFullScreen() || request.backBufferCount == 0))
            return ErrNoExclusiveMode;
        for (Surface* s : surfaces)
            if (s->kind == Surface::Kind::Primary)
                return MakeDDResult(564); // a primary surface exists already
        desc = mode;
        desc.caps = request.caps | CapsVideoMemory;
        desc.flags |= DescCaps;
        Surface* primary = new Surface(this, Surface::Kind::Primary, desc);
        if (chain) {
            SurfaceDesc back = desc;
            back.caps = CapsBackBuffer | Caps3DDevice | CapsFlip | CapsComplex | CapsVideoMemory;
            back.backBufferCount = 0;
            primary->backBuffer = new Surface(this, Surface::Kind::RenderTarget, back);
        }
        *out = primary;
        return ResultOk;
    }
    if ((request.caps & CapsZBuffer) != 0) {
        if (D3DShouldFail(D3DStep::CreateZBuffer, &r))
            return r;
        if ((request.pixelFormat.flags & PixelZBuffer) == 0 || request.width == 0 || request.height == 0)
            return ErrInvalidPixelFormat;
        *out = new Surface(this, Surface::Kind::ZBuffer, desc);
        return ResultOk;
    }
    if ((request.flags & DescPixelFormat) == 0)
        desc.pixelFormat = mode.pixelFormat;
    desc.flags |= DescPixelFormat | DescPitch;
    if (desc.width == 0 || desc.height == 0 || desc.width > 16384 || desc.height > 16384)
        return ErrInvalidParams;
    desc.pitch = static_cast<int32_t>(desc.width * BytesPerPixel(desc.pixelFormat));
    if ((request.caps & Caps3DDevice) != 0) {
        if (D3DShouldFail(D3DStep::CreateBackBuffer, &r))
            return r;
        *out = new Surface(this, Surface::Kind::RenderTarget, desc);
        return ResultOk;
    }
    if ((request.caps & (CapsOffscreenPlain | CapsSystemMemory)) != 0) {
        if (D3DShouldFail(D3DStep::CreateSystemSurface, &r))
            return r;
        *out = new Surface(this, Surface::Kind::SystemMemory, desc);
        return ResultOk;
    }
    return ErrUnsupported;
}

Result DisplayDriver::CreateClipper(uint32_t /*flags*/, Clipper** out) {
    *out = nullptr;
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::CreateClipper, &r))
        return r;
    *out = new Clipper();
    return ResultOk;
}

Result DisplayDriver::QueryDirect3D(Direct3D** out) {
    *out = nullptr;
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::QueryDirect3D, &r))
        return r;
    *out = new Direct3D(this);
    return ResultOk;
}

Result DisplayDriver::TestCooperativeLevel() const {
    if (Settings().cooperativeResult != ResultOk)
        return Settings().cooperativeResult;
    if (!IsFullScreen()) {
        DisplayMode now = GetDesktopMode();
        if (now.width != desktopAtCooperation.width || now.height != desktopAtCooperation.height ||
            now.bitsPerPixel != desktopAtCooperation.bitsPerPixel)
            return ErrWrongMode;
    }
    return ResultOk;
}

Result DisplayDriver::RestoreAllSurfaces() {
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::RestoreSurfaces, &r))
        return r;
    if (TestCooperativeLevel() != ResultOk)
        return TestCooperativeLevel();
    for (Surface* s : surfaces)
        s->lost = false;
    return ResultOk;
}

Result DisplayDriver::WaitForVerticalBlank(uint32_t /*flags*/) {
    // GL cannot wait for the blank on its own; the next present to the window does.
    waitForBlank = true;
    return ResultOk;
}

void DisplayDriver::MakeCurrent() const {
    if (glContext != nullptr && SDL_GL_GetCurrentContext() != glContext)
        SDL_GL_MakeCurrent(sdlWindow, static_cast<SDL_GLContext>(glContext));
}

void DisplayDriver::ForgetSurface(Surface* surface) {
    std::erase(surfaces, surface);
    if (windowTarget == surface)
        windowTarget = nullptr;
}

void DisplayDriver::GetWindowFramebufferSize(int* width, int* height) const {
    // The off-screen driver's window keeps the framebuffer it was made with whatever size it is given later.
    if (!HasDisplay()) {
        *width = surfaceWidth;
        *height = surfaceHeight;
        return;
    }
    SDL_GL_GetDrawableSize(sdlWindow, width, height);
}

bool DisplayDriver::CanDrawIntoWindow(uint32_t width, uint32_t height) const {
    if (sdlWindow == nullptr || windowTarget != nullptr)
        return false;
    int windowWidth = 0;
    int windowHeight = 0;
    GetWindowFramebufferSize(&windowWidth, &windowHeight);
    return static_cast<uint32_t>(windowWidth) == width && static_cast<uint32_t>(windowHeight) == height;
}

bool DisplayDriver::WindowHasDepth(const PixelFormat& format) const {
    // A 16-bit request keeps its 16 bits: pictures made for that precision must look the same here.
    if (IsDepth16(format))
        return windowDepthBits == 16;
    return windowDepthBits == 24 && (HasStencil(format) ? windowStencilBits >= 8 : windowStencilBits == 0);
}

void DisplayDriver::SwapWindow(bool waitForRefresh) {
    int interval = waitForRefresh ? 1 : 0;
    if (interval != swapInterval) {
        swapInterval = interval;
        // A display whose swap cannot wait for its refresh is paced here instead, so that a window does not
        // draw flat out; the off-screen driver has no refresh and is never paced.
        bool waits = SDL_GL_SetSwapInterval(interval) == 0;
        pacePresents = waitForRefresh && !waits && HasDisplay();
        nextRefresh = 0;
    }
    SDL_GL_SwapWindow(sdlWindow);
    if (!pacePresents)
        return;
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t period = frequency / std::max(1u, refreshRate);
    uint64_t now = SDL_GetPerformanceCounter();
    // A late frame starts a new rhythm instead of hurrying to catch up.
    if (nextRefresh == 0 || now > nextRefresh + period)
        nextRefresh = now;
    nextRefresh += period;
    if (nextRefresh > now)
        SDL_Delay(static_cast<Uint32>((nextRefresh - now) * 1000 / frequency));
}

void DisplayDriver::LoseEverySurface() {
    for (DisplayDriver* driver : Settings().drivers)
        for (Surface* s : driver->surfaces)
            s->lost = true;
}

// ---------------------------------------------------------------------------------------------------------

Surface::Surface(DisplayDriver* owner, Kind surfaceKind, const SurfaceDesc& surfaceDesc)
    : driver(owner), kind(surfaceKind), desc(surfaceDesc) {
    Settings().liveObjects++;
    driver->AddRef();
    driver->surfaces.push_back(this);
    driver->MakeCurrent();
    if (kind == Kind::RenderTarget) {
        // Drawing into the window itself spares the copy of every frame at present.
        if (driver->CanDrawIntoWindow(desc.width, desc.height)) {
            drawsIntoWindow = true;
            driver->windowTarget = this;
        } else {
            CreateFramebuffer();
        }
    } else if (kind == Kind::SystemMemory) {
        memory.assign(static_cast<size_t>(desc.pitch) * desc.height, 0);
    }
}

void Surface::CreateFramebuffer() {
    if (drawsIntoWindow)
        driver->windowTarget = nullptr;
    drawsIntoWindow = false;
    driver->MakeCurrent();
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(desc.width),
                          static_cast<GLsizei>(desc.height));
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer);
    if (depthBuffer != nullptr) {
        depthBuffer->CreateDepthStorage();
        GLenum attachment = DepthAttachment(depthBuffer->desc.pixelFormat);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER,
                                  depthBuffer->depthRenderbuffer);
    }
}

void Surface::CreateDepthStorage() {
    if (depthRenderbuffer != 0)
        return;
    glGenRenderbuffers(1, &depthRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
    GLenum format = IsDepth16(desc.pixelFormat)    ? GL_DEPTH_COMPONENT16
                    : HasStencil(desc.pixelFormat) ? GL_DEPTH24_STENCIL8
                                                   : GL_DEPTH_COMPONENT24;
    glRenderbufferStorage(GL_RENDERBUFFER, format, static_cast<GLsizei>(desc.width),
                          static_cast<GLsizei>(desc.height));
}

Surface::~Surface() {
    Settings().liveObjects--;
    if (nextLevel != nullptr)
        nextLevel->Release();
    if (texture != nullptr) {
        driver->MakeCurrent();
        texture->Release();
    }
    if (backBuffer != nullptr)
        backBuffer->Release();
    if (depthBuffer != nullptr)
        depthBuffer->Release();
    if (clipper != nullptr)
        clipper->Release();
    driver->MakeCurrent();
    if (framebuffer != 0)
        glDeleteFramebuffers(1, &framebuffer);
    if (colorBuffer != 0)
        glDeleteRenderbuffers(1, &colorBuffer);
    if (depthRenderbuffer != 0)
        glDeleteRenderbuffers(1, &depthRenderbuffer);
    driver->ForgetSurface(this);
    driver->Release();
}

Result Surface::GetSurfaceDesc(SurfaceDesc& out) const {
    out = desc;
    return ResultOk;
}

Result Surface::GetAttachedSurface(uint32_t caps, Surface** out) {
    *out = nullptr;
    Result r = ErrGeneric;
    if ((caps & CapsBackBuffer) != 0 && D3DShouldFail(D3DStep::CreateBackBuffer, &r))
        return r;
    for (Surface* s : {backBuffer, depthBuffer, nextLevel}) {
        if (s != nullptr && (s->desc.caps & caps) == caps) {
            s->AddRef();
            *out = s;
            return ResultOk;
        }
    }
    return ErrNotFound;
}

Result Surface::AddAttachedSurface(Surface* surface) {
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::AttachZBuffer, &r))
        return r;
    if (surface == nullptr || surface->kind != Kind::ZBuffer || kind != Kind::RenderTarget)
        return MakeDDResult(10); // cannot attach
    if (depthBuffer != nullptr)
        return MakeDDResult(410); // already attached
    if (surface->desc.width != desc.width || surface->desc.height != desc.height)
        return MakeDDResult(10);
    surface->AddRef();
    depthBuffer = surface;
    driver->MakeCurrent();
    if (drawsIntoWindow) {
        // The window's own depth buffer stands for it when it has the same format; otherwise the target
        // draws into a framebuffer object that carries the depth buffer asked for.
        if (!driver->WindowHasDepth(surface->desc.pixelFormat))
            CreateFramebuffer();
        return ResultOk;
    }
    surface->CreateDepthStorage();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    GLenum attachment = DepthAttachment(surface->desc.pixelFormat);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, surface->depthRenderbuffer);
    return ResultOk;
}

Result Surface::SetClipper(Clipper* newClipper) {
    if (newClipper != nullptr)
        newClipper->AddRef();
    if (clipper != nullptr)
        clipper->Release();
    clipper = newClipper;
    return ResultOk;
}

Result Surface::Flip(Surface* /*target*/, uint32_t flags) {
    if (kind != Kind::Primary || backBuffer == nullptr)
        return MakeDDResult(582); // not flippable
    if (lost || backBuffer->lost)
        return ErrSurfaceLost;
    return Present(backBuffer, (flags & FlipNoVSync) == 0);
}

Result Surface::Blt(const Rect* /*destination*/, Surface* source, const Rect* /*sourceRect*/,
                    uint32_t /*flags*/) {
    if (source == nullptr || source->kind != Kind::RenderTarget)
        return ErrUnsupported;
    if (lost || source->lost)
        return ErrSurfaceLost;
    if (kind == Kind::Primary) {
        bool wait = driver->waitForBlank;
        driver->waitForBlank = false;
        return Present(source, wait);
    }
    if (kind == Kind::SystemMemory)
        return ReadBack(source);
    return ErrUnsupported;
}

Result Surface::Present(Surface* source, bool waitForRefresh) {
    driver->MakeCurrent();
    int width = 0;
    int height = 0;
    driver->GetWindowFramebufferSize(&width, &height);
    bool sameSize = static_cast<uint32_t>(width) == source->desc.width &&
                    static_cast<uint32_t>(height) == source->desc.height;
    if (source->drawsIntoWindow) {
        driver->SwapWindow(waitForRefresh);
        // A window that changed size under its target gets the target's picture stretched over it from the
        // next frame on.
        if (!sameSize)
            source->CreateFramebuffer();
        Settings().presents++;
        return ResultOk;
    }
    GLint drawBinding = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawBinding);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source->framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(0, 0, static_cast<GLint>(source->desc.width), static_cast<GLint>(source->desc.height),
                      0, 0, width, height, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
    driver->SwapWindow(waitForRefresh);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(drawBinding));
    Settings().presents++;
    return ResultOk;
}

Result Surface::ReadBack(Surface* source) {
    uint32_t width = std::min(desc.width, source->desc.width);
    uint32_t height = std::min(desc.height, source->desc.height);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    driver->MakeCurrent();
    GLint readBinding = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readBinding);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source->framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_BGRA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readBinding));
    uint32_t bytes = BytesPerPixel(desc.pixelFormat);
    // GL rows run bottom up; a surface's run top down.
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* from = pixels.data() + static_cast<size_t>(height - 1 - y) * width * 4;
        uint8_t* to = memory.data() + static_cast<size_t>(y) * static_cast<size_t>(desc.pitch);
        for (uint32_t x = 0; x < width; ++x, from += 4, to += bytes) {
            if (bytes == 4) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
                to[3] = 0; // the unused byte of X8R8G8B8
            } else if (bytes == 3) {
                std::memcpy(to, from, 3);
            } else if (bytes == 2) {
                uint16_t v =
                    static_cast<uint16_t>((from[2] >> 3) << 11 | (from[1] >> 2) << 5 | (from[0] >> 3));
                std::memcpy(to, &v, 2);
            } else {
                to[0] = from[1];
            }
        }
    }
    return ResultOk;
}

Result Surface::Lock(const Rect* /*rect*/, SurfaceDesc& out, void** bits, uint32_t /*flags*/) {
    *bits = nullptr;
    if (kind == Kind::Texture)
        return LockTexture(out, bits);
    Result r = ErrGeneric;
    if (D3DShouldFail(D3DStep::LockSurface, &r))
        return r;
    if (kind != Kind::SystemMemory)
        return ErrUnsupported;
    if (locked)
        return MakeDDResult(430); // surface busy
    locked = true;
    out = desc;
    *bits = memory.data();
    return ResultOk;
}

Result Surface::Unlock(const Rect* /*rect*/) {
    if (kind == Kind::Texture)
        return UnlockTexture();
    if (!locked)
        return ErrNotLocked;
    locked = false;
    return ResultOk;
}

Result Surface::IsLost() const {
    return lost ? ErrSurfaceLost : ResultOk;
}

Result Surface::Restore() {
    Result r = driver->TestCooperativeLevel();
    if (r != ResultOk)
        return r;
    lost = false;
    return ResultOk;
}

} // namespace platform
