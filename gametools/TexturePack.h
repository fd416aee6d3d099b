// One material with a table of named textures, each a list of frame records read from a texture-pack file
// ("GFTPF" 101) beside the material file of the same name. The resource database creates one per listed pack
// plus a default pack around its default material, and deletes them; a pack never changes after construction.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {
class ShaderDescriptor;
class ShaderUser;
class TextureManager;
} // namespace OrvexEngine

namespace GameTools {

struct TexturePackFrame {
    uint32_t number = 0;
    OrvexEngine::Vec2 first;
    OrvexEngine::Vec2 second;
    OrvexEngine::Vec2 third;
};

class TexturePack {
public:
    using FrameList = std::vector<TexturePackFrame*>;

    // name: the pack file relative to the data folder; its material is the ".srf" file of the same name
    // (a material that cannot be read gives the default one). onDemand is the material's on-demand flag.
    // Throws Error (not FileError) with the file layer's or the reader's text when the pack cannot be read.
    TexturePack(const std::string& name, bool onDemand);
    // The default pack: name "default", one texture "default" with one frame covering the whole texture.
    explicit TexturePack(const OrvexEngine::ShaderDescriptor* description);
    TexturePack(const TexturePack&) = delete;
    TexturePack& operator=(const TexturePack&) = delete;
    virtual ~TexturePack();

    const std::string& GetName() const { return name; }
    OrvexEngine::ShaderUser* GetShaderUser() const { return material; }
    // Null when the pack has no texture of that name (names compare exactly).
    const FrameList* GetFrames(const std::string& texture) const;
    const std::map<std::string, FrameList*>& GetTextures() const { return textures; }

private:
    void ReadPackFile();
    void DeleteTextures();

    OrvexEngine::TextureManager* textureManager = nullptr; // not owned
    std::string name;
    OrvexEngine::ShaderUser* material = nullptr; // released through the shader manager
    std::map<std::string, FrameList*> textures;  // owned, with their frames
};

} // namespace GameTools
