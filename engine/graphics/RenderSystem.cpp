#include "engine/graphics/RenderSystem.h"

#include "engine/core/Config.h"

#include <cmath>

namespace OrvexEngine {

TextureFormat ClassifyPixelFormat(const platform::PixelFormat& f) {
    const uint32_t rgbAlpha = platform::PixelRGB | platform::PixelAlphaPixels;
    if (f.flags == rgbAlpha && f.bitCount == 32 && f.alphaMask == 0xFF000000u && f.redMask == 0x00FF0000u &&
        f.greenMask == 0x0000FF00u && f.blueMask == 0x000000FFu)
        return TextureFormatA8R8G8B8;
    if (f.flags == rgbAlpha && f.bitCount == 16 && f.alphaMask == 0xF000u && f.redMask == 0x0F00u &&
        f.greenMask == 0x00F0u && f.blueMask == 0x000Fu)
        return TextureFormatA4R4G4B4;
    if (f.flags == platform::PixelRGB && f.bitCount == 16 && f.alphaMask == 0 && f.redMask == 0xF800u &&
        f.greenMask == 0x07E0u && f.blueMask == 0x001Fu)
        return TextureFormatR5G6B5;
    if ((f.flags & platform::PixelFourCC) != 0) {
        for (char digit = '1'; digit <= '5'; ++digit)
            if (f.fourCC == platform::MakeFourCC('D', 'X', 'T', digit))
                return static_cast<TextureFormat>(TextureFormatDXT1 + (digit - '1'));
    }
    return TextureFormatUnknown;
}

RenderSystem::RenderSystem(bool stencil, bool oversized)
    : stencilWanted(stencil), allowOversizedWindow(oversized) {
    videoSettings = &Config::Instance()->GetSettings();
}

RenderSystem::~RenderSystem() {
    for (AdapterInfo* adapter : adapters) {
        for (DeviceInfo* device : adapter->devices) {
            for (ModeInfo* mode : device->modes)
                delete mode;
            delete device;
        }
        delete adapter;
    }
    adapters.clear();
}

void RenderSystem::Refresh() {
    int32_t value = videoSettings->rTextureAnisotropy;
    if (static_cast<int32_t>(maxAnisotropy) < value)
        value = static_cast<int32_t>(maxAnisotropy);
    if (value < 1)
        value = 1;
    videoSettings->rTextureAnisotropy = value;
    for (uint32_t stage = 0; stage < CachedStages(); ++stage) {
        if (forceStates || stageAnisotropy[stage] != value) {
            stageAnisotropy[stage] = value;
            UpdateMaxTextureAnisotropy(stage);
        }
    }
}

void RenderSystem::UpdateVideoMode() {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bits = 0;
    ParseVideoMode(videoSettings->vMode, &width, &height, &bits);
    if (currentAdapter == nullptr || currentAdapter->currentDevice == nullptr)
        return;
    DeviceInfo* device = currentAdapter->currentDevice;
    ModeInfo* mode = device->currentMode;
    if (device->fullScreen != videoSettings->vFullscreen || mode == nullptr || mode->height != height ||
        mode->width != width || mode->bitsPerPixel != bits)
        resetNeeded = true;
}

void RenderSystem::Reset(int32_t flags) {
    if ((flags & 1) != 0) {
        resetNeeded = false;
        ready = true;
    }
    if ((flags & 2) != 0)
        recreateTextures = false;
}

void RenderSystem::ResizeStageCache() {
    stageTextures.resize(stageCount, nullptr);
    stageAnisotropy.resize(stageCount, 0);
    stageFilters.resize(stageCount, 0);
    stageAddressU.resize(stageCount, 0);
    stageAddressV.resize(stageCount, 0);
    stageTextureMatrices.resize(stageCount, Vec4(0, 0, 0, 0));
}

void RenderSystem::InitStateCache() {
    stageTextures.assign(stageCount, nullptr);
    stageAnisotropy.assign(stageCount, 0);
    stageFilters.assign(stageCount, 0);
    stageAddressU.assign(stageCount, 0);
    stageAddressV.assign(stageCount, 0);
    stageTextureMatrices.assign(stageCount, Vec4(0, 0, 0, 0));
    ready = true;
    SetDefaultStates();
}

void RenderSystem::SetDefaultStates() {
    SetMaterial(Vec4(0.6f, 0.6f, 0.6f, 1), Vec4(1, 1, 1, 1), Vec4(0, 0, 0, 0), Vec4(0, 0, 0, 1), 0);
    forceStates = true;
    SetViewMatrix(Matrix4::Identity());
    SetWorldMatrix(Matrix4::Identity());
    SetAmbientColor(Vec4(0, 0, 0, 1));
    SetAlphaBlend(false);
    SetBlend(0, 0);
    for (uint32_t stage = 0; stage < CachedStages(); ++stage) {
        SetTexture(stage, nullptr);
        stageAnisotropy[stage] = 1;
        UpdateMaxTextureAnisotropy(stage);
        SetTextureFilter(stage, FilterBilinear);
        SetTextureAdressU(stage, AddressWrapCode);
        SetTextureAdressV(stage, AddressWrapCode);
        SetTextureMatrix(stage, 1, 1, 0, 0);
    }
    SetCullMode(CullCodeNone);
    SetLighting(false);
    SetNormalizeNormals(false);
    SetZ(false);
    SetZWrite(true);
    SetStencil(false);
    forceStates = false;
}

void RenderSystem::SetViewMatrix(const Matrix4& matrix) {
    if (!forceStates && viewMatrix.Equals(matrix))
        return;
    viewMatrix = matrix;
    UpdateViewMatrix();
}

void RenderSystem::SetWorldMatrix(const Matrix4& matrix) {
    if (!forceStates && worldMatrix.Equals(matrix))
        return;
    worldMatrix = matrix;
    UpdateWorldMatrix();
}

void RenderSystem::SetAmbientColor(const Vec4& colour) {
    if (!forceStates && !ambientColor.NotEquals(colour))
        return;
    ambientColor = colour;
    UpdateAmbientColor();
}

void RenderSystem::SetAlphaBlend(bool on) {
    if (!forceStates && alphaBlend == on)
        return;
    alphaBlend = on;
    UpdateAlphaBlend();
}

void RenderSystem::SetBlend(int32_t source, int32_t destination) {
    if (!forceStates && sourceBlend == source && destinationBlend == destination)
        return;
    sourceBlend = source;
    destinationBlend = destination;
    UpdateBlend();
}

void RenderSystem::SetTexture(uint32_t stage, Texture2D* texture) {
    if (stage >= CachedStages() || (!forceStates && stageTextures[stage] == texture))
        return;
    stageTextures[stage] = texture;
    UpdateTexture(stage);
}

void RenderSystem::SetTextureFilter(uint32_t stage, int32_t code) {
    if (stage >= CachedStages() || (!forceStates && stageFilters[stage] == code))
        return;
    stageFilters[stage] = code;
    UpdateTextureFilter(stage);
}

void RenderSystem::SetTextureAdressU(uint32_t stage, int32_t code) {
    if (stage >= CachedStages() || (!forceStates && stageAddressU[stage] == code))
        return;
    stageAddressU[stage] = code;
    UpdateTextureAdressU(stage);
}

void RenderSystem::SetTextureAdressV(uint32_t stage, int32_t code) {
    if (stage >= CachedStages() || (!forceStates && stageAddressV[stage] == code))
        return;
    stageAddressV[stage] = code;
    UpdateTextureAdressV(stage);
}

void RenderSystem::SetTextureMatrix(uint32_t stage, float scaleU, float scaleV, float offsetU,
                                    float offsetV) {
    Vec4 value(scaleU, scaleV, offsetU, offsetV);
    if (stage >= CachedStages() || (!forceStates && !stageTextureMatrices[stage].NotEquals(value)))
        return;
    stageTextureMatrices[stage] = value;
    UpdateTextureMatrix(stage);
}

void RenderSystem::SetCullMode(int32_t code) {
    if (!forceStates && cullMode == code)
        return;
    cullMode = code;
    UpdateCullMode();
}

void RenderSystem::SetLighting(bool on) {
    if (!forceStates && lighting == on)
        return;
    lighting = on;
    UpdateLighting();
}

void RenderSystem::SetNormalizeNormals(bool on) {
    if (!forceStates && normalizeNormals == on)
        return;
    normalizeNormals = on;
    UpdatenormalizeNormals();
}

void RenderSystem::SetZ(bool on) {
    if (!forceStates && depthTest == on)
        return;
    depthTest = on;
    UpdateZ();
}

void RenderSystem::SetZWrite(bool on) {
    if (!forceStates && depthWrite == on)
        return;
    depthWrite = on;
    UpdateZWrite();
}

void RenderSystem::SetStencil(bool on) {
    if (!forceStates && stencilTest == on)
        return;
    stencilTest = on;
    UpdateStencil();
}

} // namespace OrvexEngine
