#include "engine/graphics/TextureManager.h"

#include "engine/core/StringUtils.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/Texture2D.h"

namespace OrvexEngine {

TextureManager::~TextureManager() {
    DeleteAll();
}

std::string TextureManager::MakeTextureKey(const std::string& diffuseName, const std::string& opacityName,
                                           bool mipMaps) {
    std::string key = "diffuse_" + ToLowerCopy(diffuseName);
    if (!opacityName.empty())
        key += "_plus_opacity_" + ToLowerCopy(opacityName);
    if (mipMaps)
        key += "_with_mip_mapping";
    return key;
}

Texture2D* TextureManager::GetTexture(bool /*mipMaps*/, const std::string& diffuseName,
                                      const std::string& opacityName, bool onDemand) {
    const std::string key = MakeTextureKey(diffuseName, opacityName, true);
    auto found = textures.find(key);
    if (found != textures.end()) {
        ++found->second->refCount;
        return found->second;
    }
    Texture2D* texture = RenderSystem::Instance()->LoadTexture(key, diffuseName, opacityName, true, onDemand);
    textures[key] = texture;
    return texture;
}

void TextureManager::ReleaseTexture(Texture2D* texture) {
    if (texture == nullptr)
        return;
    auto found = textures.find(texture->name);
    // Only the texture filed under that key is counted down: another one of the same name is not ours.
    if (found == textures.end() || found->second != texture)
        return;
    if (--texture->refCount <= 0) {
        textures.erase(found);
        delete texture;
    }
}

void TextureManager::Update() {
    for (auto& [key, texture] : textures) {
        if (!texture->onDemand)
            continue;
        if (texture->framesUnused > 2)
            texture->ReleaseSurface();
        ++texture->framesUnused;
    }
}

uint32_t TextureManager::GetUsedVideoMemory() const {
    uint32_t total = 0;
    for (const auto& [key, texture] : textures)
        total += texture->memoryBytes;
    return total;
}

void TextureManager::ListTextures(std::vector<Texture2D*>& list) const {
    list.clear();
    for (const auto& [key, texture] : textures)
        list.push_back(texture);
}

void TextureManager::DeleteAll() {
    for (auto& [key, texture] : textures)
        delete texture;
    textures.clear();
}

} // namespace OrvexEngine
