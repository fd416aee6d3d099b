#include "tests/support/MaterialRenderSystem.h"

#include "engine/core/StringUtils.h"

namespace VelmoraTest {

using namespace OrvexEngine;

MaterialRenderSystem::MaterialRenderSystem(uint32_t stages) : RenderSystem(false, false) {
    stageCount = stages;
    maxTextureWidth = maxTextureHeight = 4096;
    textureFormats = 1u << TextureFormatA8R8G8B8;
    InitStateCache();
    calls.clear();
    RenderSystem::Instance(this);
}

Texture2D* MaterialRenderSystem::CreateTexture(const std::string& name, Image* diffuse, Image* opacity,
                                               bool mipMaps, bool onDemand) {
    loaded.push_back(name);
    return new RecordingTexture(name, diffuse, opacity, mipMaps, onDemand);
}

Texture2D* MaterialRenderSystem::LoadTexture(const std::string& name, const std::string& diffuseName,
                                             const std::string& opacityName, bool mipMaps, bool onDemand) {
    loaded.push_back(name);
    return new RecordingTexture(name, diffuseName, opacityName, mipMaps, onDemand);
}

std::vector<std::string> MaterialRenderSystem::TakeCalls() {
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
}

void MaterialRenderSystem::UpdateAlphaBlend() {
    calls.push_back("alpha " + std::to_string(alphaBlend ? 1 : 0));
}

void MaterialRenderSystem::UpdateBlend() {
    calls.push_back("blend " + std::to_string(sourceBlend) + " " + std::to_string(destinationBlend));
}

void MaterialRenderSystem::UpdateTexture(uint32_t stage) {
    Texture2D* texture = stageTextures[stage];
    if (auto* recording = dynamic_cast<RecordingTexture*>(texture))
        recording->Bind();
    calls.push_back("texture " + std::to_string(stage) + " " + (texture != nullptr ? texture->name : "none"));
}

void MaterialRenderSystem::UpdateTextureFilter(uint32_t stage) {
    calls.push_back("filter " + std::to_string(stage) + " " + std::to_string(stageFilters[stage]));
}

void MaterialRenderSystem::UpdateTextureAdressU(uint32_t stage) {
    calls.push_back("address-u " + std::to_string(stage) + " " + std::to_string(stageAddressU[stage]));
}

void MaterialRenderSystem::UpdateTextureAdressV(uint32_t stage) {
    calls.push_back("address-v " + std::to_string(stage) + " " + std::to_string(stageAddressV[stage]));
}

void MaterialRenderSystem::UpdateTextureMatrix(uint32_t stage) {
    const Vec4& m = stageTextureMatrices[stage];
    calls.push_back("matrix " + std::to_string(stage) + " " + FloatToText(m.x, 6) + " " +
                    FloatToText(m.y, 6) + " " + FloatToText(m.z, 6) + " " + FloatToText(m.w, 6));
}

} // namespace VelmoraTest
