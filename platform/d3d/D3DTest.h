// The test controls of the Direct3D stand-in: what Linux cannot show (a desktop of another shape or depth,
// another mode list, a device without stencil or with fewer stages, a lost display) and every creation step
// that the render system handles failing. One process-wide record; Reset() puts everything back. The desktop
// itself is the window platform's (platform::sim::SetDesktopMode).
// Only tests and tools touch it; the game never does.
#pragma once

#include "platform/d3d/D3DTypes.h"

#include <cstdint>
#include <vector>

namespace platform {

enum class D3DStep {
    CreateDriver,        // creating a display driver object
    CooperativeLevel,    // setting a cooperative level
    DisplayModeRead,     // reading the display mode: reports an 8-bit desktop
    SetDisplayMode,      // setting a full-screen display mode
    CreatePrimary,       // creating the primary surface
    CreateBackBuffer,    // an off-screen render target or the flip chain's attached back buffer
    CreateClipper,       // creating a clipper
    QueryDirect3D,       // getting Direct3D from a driver
    CreateDevice,        // creating a device
    SetViewport,         // setting the viewport
    CreateZBuffer,       // creating a depth buffer
    AttachZBuffer,       // attaching a depth buffer
    SetRenderTarget,     // setting the render target
    CreateSystemSurface, // creating a system-memory surface (the capture's)
    LockSurface,         // locking a system-memory surface
    CreateTexture,       // creating a texture surface chain
    LockTexture,         // locking a level of a texture (ErrWasStillDrawing makes the caller retry)
    RestoreSurfaces,     // restoring lost surfaces
    Count
};

class D3DTest {
public:
    // The adapter's display modes (width, height, bits); empty: the layer's own list.
    static void SetModes(const std::vector<std::vector<uint32_t>>& modes);
    // Device capabilities; 0 keeps what OpenGL reports.
    // The stages of the hardware device and of the software one (0: the same as the hardware device's).
    static void SetStageCount(uint16_t stages, uint16_t softwareStages = 0);
    static void SetMaxAnisotropy(uint32_t value);
    static void SetMaxTextureSize(uint32_t value);
    static void SetHardwareDevice(bool offered);
    static void SetStencilFormats(bool offered);

    // The next `times` calls of the step fail with the result.
    static void FailStep(D3DStep step, uint32_t times = 1, Result result = ErrGeneric);
    // What the cooperative-level test reports besides a changed desktop (0: the display is ours).
    static void SetCooperativeResult(Result result);
    // Every surface of every live driver is lost until restored.
    static void LoseSurfaces();

    // Counters for tests.
    static uint32_t LiveObjects();
    static uint32_t Presents();
    static uint32_t DrawCalls();

    static void Reset();
};

// Used by the layer: true when a failure of the step is due now (and counts it).
bool D3DShouldFail(D3DStep step, Result* result);

} // namespace platform
