// Turns material descriptions into ShaderUsers: every equal description shares one Shader (its textures),
// found through the description's name hash. Loads material files with a fallback, releases users, advances
// all material animations once a frame and owns the TextureManager. Created by the Engine after the light
// manager, deleted before it; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace OrvexEngine {

class ShaderDescriptor;
class ShaderUser;
class TextureManager;

class ShaderManager : public GlobalPointerHolder<ShaderManager> {
public:
    ShaderManager();
    ShaderManager(const ShaderManager&) = delete;
    ShaderManager& operator=(const ShaderManager&) = delete;
    // Deletes every user (and so every shader and texture), then the texture manager.
    virtual ~ShaderManager();

    // A new registered user with a copy of the description. Never null.
    ShaderUser* CreateShaderUser(const ShaderDescriptor& description, bool onDemand);
    ShaderUser* CreateShaderUserByPolicy(const ShaderDescriptor& description, bool onDemand);
    // Never fails: a missing or broken file gives an untextured material without blending (the file error is
    // in the log).
    ShaderUser* LoadShaderUser(const std::string& name, bool onDemand);
    // Null does nothing; a user this manager does not hold stops the program through Fatal.
    void ReleaseShaderUser(ShaderUser* user);

    // Once a frame, before the render pass: material animations, then the textures' ageing.
    void Update();

    TextureManager* GetTextureManager() const { return textureManager; }
    uint32_t GetShaderUserCount() const { return static_cast<uint32_t>(users.size()); }
    uint32_t GetShaderCount() const { return shaderCount; }

private:
    TextureManager* textureManager = nullptr;             // owned
    std::unordered_multimap<uint32_t, ShaderUser*> users; // owned, by name hash
    uint32_t shaderCount = 0;
};

} // namespace OrvexEngine
