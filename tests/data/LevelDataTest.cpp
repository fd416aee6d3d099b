// ctest-label: data
// Checks the laid-out gameplay data of the first stage through the engine's own file layer: the level
// geometry files read back record by record the way the level load reads them, every block type of the
// catalogue is used by one of the stage's levels, the models each used type needs exist, the field's
// walls give the limits the game expects, and the lights file holds what the lighting reads.
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FileTextual.h"
#include "gametools/VersionedFile.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "gametools/XMLValue.h"
#include "platform/win/Process.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

namespace fs = std::filesystem;

namespace {

fs::path BuildDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path();
}

struct LaidOutData {
    VelmoraTest::TestLog log;
    OrvexEngine::FileManager files{(BuildDir() / "bin").string(), true, "data", 16u << 20};
    LaidOutData() { OrvexEngine::FileManager::Instance(&files); }
};

struct BlockTypeInfo {
    bool counted = false;
    bool collisionModel = false;
    int fragmentCount = 0;
};

// The block database as the level load builds it: every description file by its lower-cased file name.
std::map<std::string, BlockTypeInfo> ReadDatabase(OrvexEngine::FileManager& files) {
    std::map<std::string, BlockTypeInfo> types;
    std::vector<std::string> list;
    files.ListFiles("data\\game_objects\\blocks", "*.xml", list);
    for (const std::string& path : list) {
        GameTools::XMLNode* root = nullptr;
        GameTools::XMLParser().ParseFile(root, path);
        std::unique_ptr<GameTools::XMLNode> owner(root);
        const size_t slash = path.find_last_of('\\');
        const std::string name = path.substr(slash + 1, path.find_last_of('.') - slash - 1);
        auto attribute = [&](const char* key) {
            return root->GetAttribute(key, GameTools::XMLNode::SeverityNone);
        };
        BlockTypeInfo info;
        const bool keeper = attribute("type") != nullptr && attribute("type")->AsString() == "ball_keeper";
        const int strength = attribute("strength") != nullptr ? attribute("strength")->AsInt() : 1;
        const bool explosive = attribute("explosive") != nullptr && attribute("explosive")->AsBool();
        info.counted = !keeper && (strength != 0 || explosive);
        info.collisionModel =
            attribute("collision_model") != nullptr && attribute("collision_model")->AsBool();
        info.fragmentCount =
            attribute("fragment_count") != nullptr ? attribute("fragment_count")->AsInt() : 0;
        types[name] = info;
    }
    return types;
}

uint32_t U32(OrvexEngine::FileBinary& file) {
    uint32_t value = 0;
    file.Read(&value, 4);
    return value;
}

uint16_t U16(OrvexEngine::FileBinary& file) {
    uint16_t value = 0;
    file.Read(&value, 2);
    return value;
}

struct ReadLevel {
    uint32_t keyFrames = 0;
    std::vector<std::string> textures;
    std::vector<std::string> types;
    std::vector<std::vector<uint16_t>> below, above;
    size_t end = 0, size = 0;
};

// The level load's reading order: header, K, speed, textures, block records, neighbour records.
ReadLevel ReadGeometry(const std::string& path) {
    ReadLevel level;
    GameTools::VersionedFile versioned("VBVBG", 105);
    versioned.Open(path, GameTools::VersionedFile::ModeRead);
    OrvexEngine::FileBinary& file = *versioned.GetFile();
    level.keyFrames = U32(file);
    float speed = 0;
    file.Read(&speed, 4);
    const uint32_t textureCount = U32(file);
    for (uint32_t i = 0; i < textureCount; ++i) {
        std::string name;
        file.ReadString(name);
        level.textures.push_back(name);
    }
    const uint32_t blockCount = U32(file);
    for (uint32_t i = 0; i < blockCount; ++i) {
        std::string type;
        file.ReadString(type);
        level.types.push_back(type);
        uint32_t fields[3];
        file.Read(fields, sizeof(fields)); // flags, diffuse index, opacity index
        EXPECT_LT(fields[1], textureCount) << path;
        EXPECT_LT(fields[2], textureCount) << path;
        EXPECT_NE(level.textures.at(fields[1]), "") << path << ": a block without a colour picture";
        float scale[3];
        file.Read(scale, sizeof(scale));
        uint8_t animated = 0;
        file.Read(&animated, 1);
        const uint32_t frames = animated != 0 ? level.keyFrames : 1;
        std::vector<float> keys(size_t(frames) * 7);
        file.Read(keys.data(), uint32_t(keys.size() * 4));
    }
    for (uint32_t i = 0; i < blockCount; ++i) {
        for (auto* list : {&level.below, &level.above}) {
            std::vector<uint16_t> indices(U16(file));
            for (uint16_t& index : indices) {
                index = U16(file);
                EXPECT_LT(index, blockCount) << path;
            }
            list->push_back(indices);
        }
    }
    level.end = file.GetPosition();
    level.size = file.GetSize();
    return level;
}

} // namespace

TEST(LevelData, FirstStageLevelsReadBackAndUseEveryBlockType) {
    LaidOutData data;
    OrvexEngine::FileManager& files = data.files;
    const std::map<std::string, BlockTypeInfo> database = ReadDatabase(files);
    ASSERT_EQ(database.size(), 12u);

    std::set<std::string> used;
    for (int level = 0; level < 5; ++level) {
        const std::string path = "data\\levels_geometry\\00_0" + std::to_string(level) + ".vbg";
        SCOPED_TRACE(path);
        ASSERT_TRUE(files.FindInPacks(path));
        ReadLevel read = ReadGeometry(path);
        EXPECT_EQ(read.end, read.size) << "bytes left after the last neighbour record";
        EXPECT_GE(read.keyFrames, 1u);
        bool counted = false;
        for (const std::string& type : read.types) {
            ASSERT_EQ(database.count(type), 1u) << "no description of the block type " << type;
            used.insert(type);
            counted = counted || database.at(type).counted;
        }
        EXPECT_TRUE(counted) << "a level must hold a block that counts towards finishing it";
        EXPECT_GE(read.types.size(), 30u) << "every bonus kind needs room to drop";
        for (size_t i = 1; i < read.textures.size(); ++i)
            EXPECT_TRUE(files.FileExists("data\\game_objects\\blocks\\textures\\" + read.textures[i]))
                << read.textures[i];
        // Every "below" link is mirrored by an "above" link.
        for (size_t i = 0; i < read.below.size(); ++i)
            for (uint16_t j : read.below[i]) {
                const std::vector<uint16_t>& above = read.above.at(j);
                EXPECT_NE(std::find(above.begin(), above.end(), uint16_t(i)), above.end())
                    << i << " on " << j;
            }
    }
    for (const auto& [name, info] : database) {
        EXPECT_EQ(used.count(name), 1u) << "no level of the first stage uses the block type " << name;
        // The models the level load registers for a used type.
        const std::string models = "data\\game_objects\\blocks\\models\\";
        EXPECT_TRUE(files.FileExists(models + name + ".mlf")) << name;
        EXPECT_EQ(files.FileExists(models + name + "_collision.mlf"), info.collisionModel) << name;
        for (int i = 0; i < info.fragmentCount; ++i)
            EXPECT_TRUE(files.FileExists(models + "fragments\\" + name + "_0" + std::to_string(i) + ".mlf"))
                << name;
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(files.FileExists("data\\game_objects\\blocks\\models\\fragments\\common\\fragment_" +
                                     std::to_string(i) + ".mlf"));
}

TEST(LevelData, FieldAndLightsGiveWhatTheGameReads) {
    LaidOutData data;
    // The walls: one far wall and a side wall on each side give the limits -75, 75 and 100.
    GameTools::VersionedFile field("VBVBF", 100);
    field.Open("data\\environment\\field.vbf", GameTools::VersionedFile::ModeRead);
    OrvexEngine::FileBinary& file = *field.GetFile();
    const uint32_t count = U32(file);
    ASSERT_EQ(file.GetSize(), 17 + 88 * count);
    float left = -1000, right = 1000, top = 1000;
    for (uint32_t i = 0; i < count; ++i) {
        float values[22];
        file.Read(values, sizeof(values));
        const float minX = values[0], minY = values[1], maxX = values[3], maxY = values[4];
        EXPECT_GE(minY, -95) << "a wall reaches into the bat's zone";
        if ((maxY - minY) / 2 < (maxX - minX) / 2)
            top = minY;
        else if ((minX + maxX) / 2 > 0)
            right = minX;
        else
            left = maxX;
    }
    EXPECT_EQ(left, -75);
    EXPECT_EQ(right, 75);
    EXPECT_EQ(top, 100);

    // The lights: the ambient colour, then at most eight point lights of fifteen numbers each.
    std::unique_ptr<OrvexEngine::FileTextual> lights(
        data.files.OpenTextFile("data\\environment\\lighting\\lighting.ini", 0, 0));
    ASSERT_NE(lights, nullptr);
    std::vector<float> values;
    std::string token;
    while (lights->ReadToken(token, false))
        values.push_back(std::stof(token));
    ASSERT_GE(values.size(), 4u);
    const int lightCount = int(values[3]);
    EXPECT_GE(lightCount, 1);
    EXPECT_LE(lightCount, 8);
    EXPECT_EQ(values.size(), size_t(4 + 15 * lightCount));
}
