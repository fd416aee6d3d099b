// Shares textures among materials: keeps them by a key made of the image file names, counts references, takes
// the device surfaces of on-demand textures back after three unused frames, and reports counts and memory for
// the statistics commands. Created and deleted by the ShaderManager (one exists); its textures are made by
// the registered RenderSystem.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {

class Texture2D;

class TextureManager {
public:
    TextureManager() = default;
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;
    // Deletes every texture, whatever its references.
    virtual ~TextureManager();

    // The texture of these names, shared (one reference more) or made now. The key always asks for mip
    // levels: whether they exist is the configuration's choice, not the caller's.
    Texture2D* GetTexture(bool mipMaps, const std::string& diffuseName, const std::string& opacityName,
                          bool onDemand);
    // One reference less; the texture is deleted with its last one. Null or a texture the manager did not
    // make does nothing.
    void ReleaseTexture(Texture2D* texture);

    static std::string MakeTextureKey(const std::string& diffuseName, const std::string& opacityName,
                                      bool mipMaps);

    // Once a frame, before the render pass: on-demand textures unused for three frames lose their surface.
    void Update();

    uint32_t GetTextureCount() const { return static_cast<uint32_t>(textures.size()); }
    uint32_t GetUsedVideoMemory() const;
    // Replaces list with every texture in key order.
    void ListTextures(std::vector<Texture2D*>& list) const;
    void DeleteAll();

private:
    std::map<std::string, Texture2D*> textures; // owned, by key
};

} // namespace OrvexEngine
