#include "engine/graphics/Shader.h"

#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureManager.h"

#include <string>

namespace OrvexEngine {

Shader::Shader(TextureManager* manager, const ShaderDescriptor& description, bool onDemand)
    : textureManager(manager) {
    std::vector<std::string> names;
    for (uint32_t i = 0; i < description.stageCount && i < ShaderDescriptor::MaxStages; ++i) {
        description.FindTextureImageFile(i, names);
        std::vector<Texture2D*>& frames = stages.emplace_back(names.size() / 2, nullptr);
        const bool mipMaps = (description.stages[i].flags & StageFlagMipMaps) != 0;
        for (size_t k = 0; k < frames.size(); ++k) {
            if (!names[2 * k].empty())
                frames[k] = textureManager->GetTexture(mipMaps, names[2 * k], names[2 * k + 1], onDemand);
        }
    }
}

Shader::~Shader() {
    for (std::vector<Texture2D*>& frames : stages)
        for (Texture2D* texture : frames)
            textureManager->ReleaseTexture(texture);
}

Texture2D* Shader::GetTexture(uint32_t stage, uint32_t frame) const {
    if (stage >= stages.size() || frame >= stages[stage].size())
        return nullptr;
    return stages[stage][frame];
}

void Shader::Apply(const ShaderUser& user) {
    RenderSystem* renderSystem = RenderSystem::Instance();
    if ((user.flags & ShaderFlagAlphaBlend) != 0) {
        renderSystem->SetAlphaBlend(true);
        renderSystem->SetBlend(user.blendSource, user.blendDestination);
    } else {
        renderSystem->SetAlphaBlend(false);
    }
    // The render pass does not draw a material with more stages than the device has; the cache has no entries
    // beyond them either.
    const uint32_t deviceStages = renderSystem->stageCount;
    uint32_t stage = 0;
    for (; stage < user.stageCount && stage < deviceStages; ++stage) {
        const ShaderStage& settings = user.stages[stage];
        // A frame past the end of the table (a description changed after creation) shows the last frame.
        const uint32_t frames = GetFrameCount(stage);
        Texture2D* texture = nullptr;
        if (frames > 0)
            texture = GetTexture(stage, settings.currentFrame < frames ? settings.currentFrame : frames - 1);
        renderSystem->SetTexture(stage, texture);
        if (texture == nullptr)
            continue;
        texture->framesUnused = 0;
        renderSystem->SetTextureFilter(stage, texture->HasMipMaps() ? 2 : 1);
        renderSystem->SetTextureAdressU(stage, settings.addressU);
        renderSystem->SetTextureAdressV(stage, settings.addressV);
        renderSystem->SetTextureMatrix(stage, settings.scaleU, settings.scaleV, settings.offsetU,
                                       settings.offsetV);
    }
    for (; stage < deviceStages; ++stage)
        renderSystem->SetTexture(stage, nullptr);
}

} // namespace OrvexEngine
