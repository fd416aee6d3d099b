#include "game/play/GameLogicData.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/ShaderUser.h"
#include "game/play/Fatal.h"
#include "gametools/VersionedFile.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "gametools/XMLValue.h"

#include <algorithm>

using namespace OrvexEngine;
using GameTools::XMLNode;
using GameTools::XMLValue;

namespace VelmoraBall {

namespace {

constexpr uint32_t keyFrameSize = 28;
// The smallest block record (an empty type name, flags, two indices, scale, the animated byte, one key
// frame) and the smallest neighbour record (two zero counts): counts are checked against these before
// anything is reserved.
constexpr uint64_t minimumBlockSize = 1 + 4 + 4 + 4 + 12 + 1 + keyFrameSize + 4;

template <class T> T ReadValue(FileBinary& in) {
    T value{};
    in.Read(&value, sizeof(T));
    return value;
}

uint64_t BytesLeft(const FileBinary& in) {
    return in.GetSize() - in.GetPosition();
}

[[noreturn]] void Malformed(const std::string& path) {
    throw FileError("Incorrect \"" + path + "\" file format");
}

// The file's name without folder and extension, lower-cased.
std::string TypeNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.resize(dot);
    ToLower(name);
    return name;
}

std::string TextOf(XMLNode* node, const char* attribute) {
    XMLValue* value = node->GetAttribute(attribute, 0);
    return value != nullptr ? value->AsString() : std::string();
}

bool HasSupportCycle(const std::vector<BlockDescriptor*>& blocks) {
    // Iterative depth-first walk along the below lists: 0 unvisited, 1 on the path, 2 done.
    std::vector<uint8_t> state(blocks.size(), 0);
    std::vector<std::pair<size_t, size_t>> path; // block, next below index to follow
    for (size_t start = 0; start < blocks.size(); ++start) {
        if (state[start] != 0)
            continue;
        state[start] = 1;
        path.emplace_back(start, 0);
        while (!path.empty()) {
            auto& [block, next] = path.back();
            const std::vector<uint16_t>& below = blocks[block]->blocksBelow;
            if (next == below.size()) {
                state[block] = 2;
                path.pop_back();
                continue;
            }
            const uint16_t other = below[next++];
            if (state[other] == 1)
                return true;
            if (state[other] == 0) {
                state[other] = 1;
                path.emplace_back(other, 0);
            }
        }
    }
    return false;
}

} // namespace

std::string TwoDigits(uint32_t value) {
    return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

GameLogicData::GameLogicData(const std::string& language, const std::string& geometry)
    : DataKeeper(language), geometryFile(geometry) {}

GameLogicData::~GameLogicData() {
    for (BlockDescriptor* descriptor : blockDescriptors)
        delete descriptor;
    for (XMLNode* tree : blockDatabase)
        delete tree;
}

bool GameLogicData::Load(uint32_t step) {
    if (step != ~0u && step != FirstOwnStep)
        return DataKeeper::Load(step);
    try {
        LoadLevel();
    } catch (const FileError& error) {
        EndProgram(error.GetText());
    }
    return true;
}

void GameLogicData::LoadLevel() {
    ReadBlockDatabase();
    ReadGeometry("data\\levels_geometry\\" + geometryFile);
    LoadModels();
}

void GameLogicData::ReadBlockDatabase() {
    std::vector<std::string> files;
    FileManager::Instance()->ListFiles("data\\game_objects\\blocks\\", "*.xml", files);
    std::sort(files.begin(), files.end());
    GameTools::XMLParser parser;
    for (const std::string& file : files) {
        XMLNode* root = nullptr;
        parser.ParseFile(root, file);
        if (root == nullptr)
            continue;
        root->SetAttribute("name", TypeNameOf(file));
        blockDatabase.push_back(root);
    }
}

XMLNode* GameLogicData::FindType(const std::string& typeName) const {
    // A type is served by the first entry whose name occurs anywhere in it.
    for (XMLNode* entry : blockDatabase)
        if (typeName.find(TextOf(entry, "name")) != std::string::npos)
            return entry;
    return nullptr;
}

void GameLogicData::ReadGeometry(const std::string& path) {
    GameTools::VersionedFile file("VBVBG", 105);
    file.Open(path, GameTools::VersionedFile::ModeRead);
    FileBinary& in = *file.GetFile();
    keyFrameCount = ReadValue<uint32_t>(in);
    animationSpeed = ReadValue<float>(in);

    const uint32_t textureCount = ReadValue<uint32_t>(in);
    if (textureCount > BytesLeft(in))
        Malformed(path);
    std::vector<std::string> textures(textureCount);
    for (std::string& texture : textures) {
        in.ReadString(texture);
        if (!texture.empty())
            texture = "game_objects\\blocks\\textures\\" + texture;
    }

    const uint32_t blockCount = ReadValue<uint32_t>(in);
    if (blockCount * minimumBlockSize > BytesLeft(in))
        Malformed(path);
    blockDescriptors.reserve(blockCount);
    for (uint32_t i = 0; i < blockCount; ++i) {
        blockDescriptors.push_back(new BlockDescriptor());
        ReadBlock(in, path, textures, *blockDescriptors.back());
    }

    for (BlockDescriptor* block : blockDescriptors)
        for (std::vector<uint16_t>* list : {&block->blocksBelow, &block->blocksAbove}) {
            const uint16_t count = ReadValue<uint16_t>(in);
            if (count * uint64_t{2} > BytesLeft(in))
                Malformed(path);
            list->resize(count);
            for (uint16_t& index : *list) {
                index = ReadValue<uint16_t>(in);
                if (index >= blockCount)
                    Malformed(path);
            }
        }
    // Blocks find their height through the blocks below them, so a cycle there would never end.
    if (HasSupportCycle(blockDescriptors))
        Malformed(path);
    file.Close();
}

void GameLogicData::ReadBlock(FileBinary& in, const std::string& path,
                              const std::vector<std::string>& textures, BlockDescriptor& block) {
    std::string typeName;
    in.ReadString(typeName);
    ToLower(typeName);
    block.type = FindType(typeName);
    if (block.type == nullptr)
        throw FileError("Can't find block \"" + typeName + "\" in database");

    block.flags = ReadValue<uint32_t>(in);
    const uint32_t diffuse = ReadValue<uint32_t>(in);
    const uint32_t opacity = ReadValue<uint32_t>(in);
    float scale[3];
    in.Read(scale, sizeof(scale));
    block.scale = Vec3(scale[0], scale[1], scale[2]);
    const uint8_t animated = ReadValue<uint8_t>(in);
    if (diffuse >= textures.size() || opacity >= textures.size())
        Malformed(path);
    // Blocks read key frame 0, so an animated block in a level without key frames has nothing to show.
    const uint32_t frames = animated != 0 ? keyFrameCount : 1;
    if (frames == 0 || frames * uint64_t{keyFrameSize} > BytesLeft(in))
        Malformed(path);
    block.keyFrames.resize(frames);
    for (BlockKeyFrame& frame : block.keyFrames) {
        float v[7];
        in.Read(v, sizeof(v));
        frame.position = Vec3(v[0], v[1], v[2]);
        frame.rotation = Quaternion(v[3], v[4], v[5], v[6]);
    }

    uint32_t frameCount = 1;
    float speed = 0;
    if (XMLNode* shader = block.type->GetChild("shader", 0)) {
        if (XMLValue* value = shader->GetAttribute("frame_count", 0))
            frameCount = static_cast<uint32_t>(value->AsInt());
        if (XMLValue* value = shader->GetAttribute("animation_speed", 0))
            speed = value->AsFloat();
    }
    ShaderDescriptor description;
    description.InitAnimated(true, frameCount > 1 ? AnimationColorSequence : AnimationStill, 1, 1, frameCount,
                             speed, textures[diffuse], textures[opacity], true);
    block.material = ShaderManager::Instance()->CreateShaderUser(description, false);
    KeepShaderUser(block.material);
}

void GameLogicData::LoadModels() {
    ModelManager* manager = ModelManager::Instance();
    auto load = [&](const std::string& name, const std::string& file) {
        AddModel(name, manager->LoadModel(file, nullptr, 0, 0));
    };
    for (XMLNode* type : blockDatabase) {
        const bool used = std::any_of(blockDescriptors.begin(), blockDescriptors.end(),
                                      [type](const BlockDescriptor* block) { return block->type == type; });
        if (!used)
            continue;
        const std::string name = TextOf(type, "name");
        load("geometry/" + name + "/model", "game_objects\\blocks\\models\\" + name + ".mlf");
        XMLValue* collision = type->GetAttribute("collision_model", 0);
        if (collision != nullptr && collision->AsBool())
            load("geometry/" + name + "/collision_model",
                 "game_objects\\blocks\\models\\" + name + "_collision.mlf");
        XMLValue* fragments = type->GetAttribute("fragment_count", 0);
        const int32_t fragmentCount = fragments != nullptr ? fragments->AsInt() : 0;
        for (int32_t i = 0; i < fragmentCount; ++i)
            load("geometry/" + name + "/fragments/" + TwoDigits(static_cast<uint32_t>(i)),
                 "game_objects\\blocks\\models\\fragments\\" + name + "_" +
                     TwoDigits(static_cast<uint32_t>(i)) + ".mlf");
    }
    for (uint32_t i = 0; i < 10; ++i)
        load("geometry/fragments/common/" + TwoDigits(i),
             "game_objects\\blocks\\models\\fragments\\common\\fragment_" + std::to_string(i) + ".mlf");
}

} // namespace VelmoraBall
