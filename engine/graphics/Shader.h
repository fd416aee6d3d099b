// The textures of one material description: per stage, one texture per animation frame, taken from the
// TextureManager. Shared by every ShaderUser whose description is equal (ShaderDescriptor::Equals); the
// ShaderManager creates it for the first such user and the last user to go deletes it. Many exist.
#pragma once

#include <cstdint>
#include <vector>

namespace OrvexEngine {

class ShaderDescriptor;
class ShaderUser;
class Texture2D;
class TextureManager;

class Shader {
public:
    // Asks the manager for the texture of every frame of every stage that names a colour image.
    Shader(TextureManager* textureManager, const ShaderDescriptor& description, bool onDemand);
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
    // Gives every texture reference back.
    virtual ~Shader();

    // Sets the user's blending and the texture states of every device stage through the render-state cache.
    void Apply(const ShaderUser& user);

    uint32_t GetStageCount() const { return static_cast<uint32_t>(stages.size()); }
    uint32_t GetFrameCount(uint32_t stage) const {
        return stage < stages.size() ? static_cast<uint32_t>(stages[stage].size()) : 0;
    }
    // The frame's texture, or null (no image, or out of range).
    Texture2D* GetTexture(uint32_t stage, uint32_t frame) const;

    uint32_t referenceCount = 0; // ShaderUsers using this shader

private:
    TextureManager* textureManager = nullptr;    // not owned
    std::vector<std::vector<Texture2D*>> stages; // one reference each on non-null entries
};

} // namespace OrvexEngine
