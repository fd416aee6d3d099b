// The layer's shared simulated state behind D3DTest: overrides of the desktop, modes and capabilities, the
// pending failures and the counters. Internal to platform/d3d.
#pragma once

#include "platform/d3d/D3DTest.h"
#include "platform/d3d/DirectDraw.h"

#include <array>
#include <vector>

namespace platform {

struct D3DSettings {
    std::vector<DisplayMode> modes;
    uint16_t stageCount = 0;
    uint16_t softwareStageCount = 0;
    uint32_t maxAnisotropy = 0;
    uint32_t maxTextureSize = 0;
    bool hardwareDevice = true;
    bool stencilFormats = true;
    std::array<uint32_t, static_cast<size_t>(D3DStep::Count)> failures{};
    std::array<Result, static_cast<size_t>(D3DStep::Count)> failureResults{};
    Result cooperativeResult = ResultOk;
    int32_t liveObjects = 0;
    uint32_t presents = 0;
    uint32_t drawCalls = 0;
    std::vector<DisplayDriver*> drivers; // not owned: every live driver
};

D3DSettings& Settings();

} // namespace platform
