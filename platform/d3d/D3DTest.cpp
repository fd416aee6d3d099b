#include "platform/d3d/D3DTest.h"

#include "platform/d3d/D3DSettings.h"

namespace platform {

D3DSettings& Settings() {
    static D3DSettings settings;
    return settings;
}

void D3DTest::SetModes(const std::vector<std::vector<uint32_t>>& modes) {
    Settings().modes.clear();
    for (const std::vector<uint32_t>& mode : modes)
        if (mode.size() == 3)
            Settings().modes.push_back(DisplayMode{mode[0], mode[1], mode[2]});
}

void D3DTest::SetStageCount(uint16_t stages, uint16_t softwareStages) {
    Settings().stageCount = stages;
    Settings().softwareStageCount = softwareStages;
}

void D3DTest::SetMaxAnisotropy(uint32_t value) {
    Settings().maxAnisotropy = value;
}

void D3DTest::SetMaxTextureSize(uint32_t value) {
    Settings().maxTextureSize = value;
}

void D3DTest::SetHardwareDevice(bool offered) {
    Settings().hardwareDevice = offered;
}

void D3DTest::SetStencilFormats(bool offered) {
    Settings().stencilFormats = offered;
}

void D3DTest::FailStep(D3DStep step, uint32_t times, Result result) {
    Settings().failures[static_cast<size_t>(step)] = times;
    Settings().failureResults[static_cast<size_t>(step)] = result;
}

void D3DTest::SetCooperativeResult(Result result) {
    Settings().cooperativeResult = result;
}

void D3DTest::LoseSurfaces() {
    DisplayDriver::LoseEverySurface();
}

uint32_t D3DTest::LiveObjects() {
    return static_cast<uint32_t>(Settings().liveObjects);
}

uint32_t D3DTest::Presents() {
    return Settings().presents;
}

uint32_t D3DTest::DrawCalls() {
    return Settings().drawCalls;
}

void D3DTest::Reset() {
    D3DSettings& s = Settings();
    std::vector<DisplayDriver*> drivers = s.drivers;
    int32_t live = s.liveObjects;
    s = D3DSettings();
    s.drivers = drivers;
    s.liveObjects = live;
}

bool D3DShouldFail(D3DStep step, Result* result) {
    D3DSettings& s = Settings();
    uint32_t& pending = s.failures[static_cast<size_t>(step)];
    if (pending == 0)
        return false;
    --pending;
    if (result != nullptr)
        *result = s.failureResults[static_cast<size_t>(step)];
    return true;
}

} // namespace platform
