// ctest-label: data
// The stages of the game: every level of the level list has its design and its laid-out geometry file, no two
// blocks of a design stand in each other at any key frame (the compiler only checks what a block stands on),
// and every stage's scenery is complete: each model its description names is declared by its resource list
// with the ball models, lies in the packs with a material beside it, and a looping one has frames to loop.
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "gametools/VersionedFile.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "gametools/XMLValue.h"
#include "platform/win/Process.h"
#include "tools/gen/BlockCatalogue.h"
#include "tools/gen/LevelCompiler.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>

namespace fs = std::filesystem;
using GameTools::XMLNode;

namespace {

fs::path SourceDir() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path();
}

fs::path BinDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Attribute(XMLNode* node, const std::string& name) {
    GameTools::XMLValue* value = node->GetAttribute(name, XMLNode::SeverityNone);
    return value != nullptr ? value->AsString() : std::string();
}

std::unique_ptr<XMLNode> ParseData(const std::string& path) {
    XMLNode* root = nullptr;
    GameTools::XMLParser().ParseFile(root, path);
    return std::unique_ptr<XMLNode>(root);
}

// The stages of data\levels\levels.xml: each stage's environment and its number of levels.
std::vector<std::pair<std::string, int>> Stages() {
    std::vector<std::pair<std::string, int>> stages;
    std::unique_ptr<XMLNode> document = ParseData("data\\levels\\levels.xml");
    if (document == nullptr)
        return stages;
    XMLNode* levels = document->GetName() == "levels" ? document.get() : document->GetChild("levels", XMLNode::SeverityNone);
    if (levels == nullptr)
        return stages;
    for (XMLNode* stage : levels->children)
        stages.emplace_back(Attribute(stage, "environment"), int(stage->children.size()));
    return stages;
}

struct LaidOutData {
    VelmoraTest::TestLog log;
    OrvexEngine::FileManager files{BinDir().string(), true, "data", 16u << 20};
    LaidOutData() { OrvexEngine::FileManager::Instance(&files); }
};

// A block's place at one key frame: its footprint as a turned rectangle and its height range.
struct Placed {
    float x, y, yaw, hx, hy, z0, z1;
};

// Separating axes of two turned rectangles: they overlap when no axis of either separates them by more
// than a hair (blocks laid edge to edge touch without standing in each other).
bool Overlap(const Placed& a, const Placed& b) {
    const float hair = 0.01f;
    if (std::min(a.z1, b.z1) - std::max(a.z0, b.z0) <= hair)
        return false;
    for (const Placed* owner : {&a, &b}) {
        for (int k = 0; k < 2; ++k) {
            const float angle = owner->yaw + float(k) * 1.57079633f;
            const float ax = std::cos(angle), ay = std::sin(angle);
            auto radius = [&](const Placed& p) {
                return p.hx * std::fabs(std::cos(p.yaw) * ax + std::sin(p.yaw) * ay) +
                       p.hy * std::fabs(-std::sin(p.yaw) * ax + std::cos(p.yaw) * ay);
            };
            const float distance = std::fabs((b.x - a.x) * ax + (b.y - a.y) * ay);
            if (distance >= radius(a) + radius(b) - hair)
                return false;
        }
    }
    return true;
}

} // namespace

TEST(StageData, EveryLevelHasItsDesignAndNoBlocksStandInEachOther) {
    const std::map<std::string, VbGen::BlockType> types = VbGen::ReadBlockCatalogue((SourceDir() / "content").string());
    LaidOutData data;
    const std::vector<std::pair<std::string, int>> stages = Stages();
    ASSERT_EQ(stages.size(), 3u);
    std::set<std::string> expected;
    for (size_t stage = 0; stage < stages.size(); ++stage)
        for (int level = 0; level < stages[stage].second; ++level) {
            char name[32];
            std::snprintf(name, sizeof(name), "%02d_%02d", int(stage), level);
            expected.insert(name);
        }
    std::set<std::string> designs;
    for (const fs::directory_entry& entry : fs::directory_iterator(SourceDir() / "content/levels/designs"))
        if (entry.path().extension() == ".lvl")
            designs.insert(entry.path().stem().string());
    EXPECT_EQ(designs, expected) << "one design per level of the level list, and no other";

    for (const std::string& name : designs) {
        SCOPED_TRACE(name);
        const VbFormats::LevelGeometry level =
            VbGen::CompileLevel(ReadText(SourceDir() / "content/levels/designs" / (name + ".lvl")), name, types);
        EXPECT_GE(level.blocks.size(), 30u) << "every bonus kind needs room to drop";
        for (uint32_t frame = 0; frame < level.keyFrameCount; ++frame) {
            std::vector<Placed> placed;
            for (const VbFormats::LevelBlock& block : level.blocks) {
                const VbFormats::LevelKeyFrame& key = block.keyFrames[block.animated ? frame : 0];
                const VbFormats::Float3& size = types.at(block.type).size;
                const float hz = size[2] * block.scale[2] / 2;
                placed.push_back({key.position[0], key.position[1], 2 * std::atan2(key.rotation[2], key.rotation[3]),
                                  size[0] * block.scale[0] / 2, size[1] * block.scale[1] / 2,
                                  key.position[2] - hz, key.position[2] + hz});
            }
            for (size_t i = 0; i < placed.size(); ++i)
                for (size_t j = i + 1; j < placed.size(); ++j)
                    EXPECT_FALSE(Overlap(placed[i], placed[j]))
                        << "blocks " << i << " (" << level.blocks[i].type << " at " << placed[i].x << ", "
                        << placed[i].y << ") and " << j << " (" << level.blocks[j].type << " at " << placed[j].x
                        << ", " << placed[j].y << ") overlap at key frame " << frame;
        }
        // The laid-out file is there to be found by the level's place.
        EXPECT_TRUE(data.files.FindInPacks("data\\levels_geometry\\" + name + ".vbg"));
    }
}

TEST(StageData, EveryStageSceneryIsDeclaredAndLaidOut) {
    LaidOutData data;
    OrvexEngine::FileManager& files = data.files;
    std::set<std::string> environments;
    for (const auto& [environment, levels] : Stages()) {
        EXPECT_GE(levels, 1) << environment;
        environments.insert(environment);
    }
    EXPECT_EQ(environments, (std::set<std::string>{"meadow", "coast", "forge"}));
    for (const std::string& environment : environments) {
        SCOPED_TRACE(environment);
        const std::string description = "data\\environment\\" + environment + ".xml";
        const std::string list = "data\\environment\\" + environment + "_resources.xml";
        ASSERT_TRUE(files.FileExists(description));
        ASSERT_TRUE(files.FileExists(list));

        // The list's models by full name, groups making the prefix.
        std::map<std::string, std::string> declared;
        std::unique_ptr<XMLNode> listRoot = ParseData(list);
        ASSERT_NE(listRoot, nullptr);
        std::vector<std::pair<XMLNode*, std::string>> open = {{listRoot.get(), ""}};
        while (!open.empty()) {
            auto [node, prefix] = open.back();
            open.pop_back();
            for (XMLNode* child : node->children) {
                const std::string name = Attribute(child, "name");
                if (name.empty())
                    open.emplace_back(child, child->GetName() == "resources" ? prefix : prefix + child->GetName() + "/");
                else if (child->GetName() == "model")
                    declared[prefix + name] = Attribute(child, "file_name");
            }
        }
        for (const char* ball : {"balls/simple/model", "balls/super/model"})
            EXPECT_TRUE(declared.count(ball)) << ball << ": ball keepers take it from the level's keeper";

        std::unique_ptr<XMLNode> sceneryRoot = ParseData(description);
        ASSERT_NE(sceneryRoot, nullptr);
        XMLNode* scenery = sceneryRoot->GetName() == "environment"
                               ? sceneryRoot.get()
                               : sceneryRoot->GetChild("environment", XMLNode::SeverityNone);
        ASSERT_NE(scenery, nullptr);
        EXPECT_GE(scenery->children.size(), 6u);
        for (XMLNode* model : scenery->children) {
            const std::string name = Attribute(model, "name");
            SCOPED_TRACE(name);
            EXPECT_EQ(name.rfind(environment + "/", 0), 0u);
            ASSERT_TRUE(declared.count(name)) << "not in " << list;
            std::string file = "data\\environment\\" + declared.at(name);
            ASSERT_TRUE(files.FileExists(file));
            EXPECT_TRUE(files.FileExists(file.substr(0, file.size() - 4) + ".srf"));
            // Scenery loops from a random frame: an animated model needs two frames at least.
            GameTools::VersionedFile model3d("OEMLF", 202);
            model3d.Open(file, GameTools::VersionedFile::ModeRead, true);
            OrvexEngine::FileBinary& binary = *model3d.GetFile();
            uint32_t flags = 0, frames = 1;
            binary.Read(&flags, 4);
            if (flags & 0x6)
                binary.Read(&frames, 4);
            if (!Attribute(model, "animation_speed").empty()) {
                EXPECT_GE(frames, 2u) << "an animated scenery model";
            }
        }
    }
}
