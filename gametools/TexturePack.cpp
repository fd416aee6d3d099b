#include "gametools/TexturePack.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "gametools/VersionedFile.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace GameTools {

namespace {

constexpr uint32_t FrameBytes = 28;

void ReadFrame(OrvexEngine::FileBinary& file, TexturePackFrame& frame) {
    uint8_t bytes[FrameBytes];
    file.Read(bytes, FrameBytes);
    auto u32 = [&](size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    auto f32 = [&](size_t at) {
        const uint32_t bits = u32(at);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    frame.number = u32(0);
    frame.first = OrvexEngine::Vec2(f32(4), f32(8));
    frame.second = OrvexEngine::Vec2(f32(12), f32(16));
    frame.third = OrvexEngine::Vec2(f32(20), f32(24));
}

uint32_t ReadU32(OrvexEngine::FileBinary& file) {
    uint8_t bytes[4];
    file.Read(bytes, 4);
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

} // namespace

TexturePack::TexturePack(const std::string& name, bool onDemand) : name(name) {
    OrvexEngine::ShaderManager* shaders = OrvexEngine::ShaderManager::Instance();
    assert(shaders && "create the ShaderManager before loading texture packs");
    textureManager = shaders->GetTextureManager();
    std::string materialName = name;
    OrvexEngine::ReplaceExtension(materialName, "srf");
    material = shaders->LoadShaderUser(materialName, onDemand);
    try {
        ReadPackFile();
    } catch (const OrvexEngine::FileError& error) {
        // The destructor will not run: give back what the constructor took before passing the failure on.
        DeleteTextures();
        shaders->ReleaseShaderUser(material);
        material = nullptr;
        throw OrvexEngine::Error(error.GetText());
    }
}

TexturePack::TexturePack(const OrvexEngine::ShaderDescriptor* description) : name("default") {
    OrvexEngine::ShaderManager* shaders = OrvexEngine::ShaderManager::Instance();
    assert(shaders && description && "the default pack needs the ShaderManager and a description");
    textureManager = shaders->GetTextureManager();
    material = shaders->CreateShaderUserByPolicy(*description, false);
    auto* frames = new FrameList;
    auto* frame = new TexturePackFrame;
    frame->second = OrvexEngine::Vec2(1, 1);
    frames->push_back(frame);
    textures["default"] = frames;
}

TexturePack::~TexturePack() {
    DeleteTextures();
    if (OrvexEngine::ShaderManager* shaders = OrvexEngine::ShaderManager::Instance())
        shaders->ReleaseShaderUser(material);
}

const TexturePack::FrameList* TexturePack::GetFrames(const std::string& texture) const {
    auto found = textures.find(texture);
    return found == textures.end() ? nullptr : found->second;
}

void TexturePack::ReadPackFile() {
    VersionedFile pack("GFTPF", 101);
    pack.Open(OrvexEngine::MakeDataPath(name), VersionedFile::ModeRead);
    OrvexEngine::FileBinary& file = *pack.GetFile();
    const uint32_t count = ReadU32(file);
    if (count == 0)
        throw OrvexEngine::FileError("TexturePack (\"" + name + "\"): No textures in pack");
    for (uint32_t i = 0; i < count; ++i) {
        std::string texture;
        file.ReadString(texture);
        if (textures.count(texture))
            throw OrvexEngine::FileError("TexturePack (\"" + name + " \"): Texture \"" + texture +
                                         "\" is dublicated");
        auto* frames = new FrameList;
        textures[texture] = frames;
        const uint32_t frameCount = ReadU32(file);
        // Reserve no more than the rest of the file can hold: a bad count then fails at its first missing
        // frame with the file layer's short-read error instead of asking for gigabytes.
        frames->reserve(std::min(
            frameCount,
            (file.GetSize() > file.GetPosition() ? file.GetSize() - file.GetPosition() : 0) / FrameBytes));
        for (uint32_t f = 0; f < frameCount; ++f) {
            auto* frame = new TexturePackFrame;
            frames->push_back(frame);
            ReadFrame(file, *frame);
        }
    }
    pack.Close();
}

void TexturePack::DeleteTextures() {
    for (auto& [texture, frames] : textures) {
        for (TexturePackFrame* frame : *frames)
            delete frame;
        delete frames;
    }
    textures.clear();
}

} // namespace GameTools
