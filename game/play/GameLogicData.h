// The data keeper of one level: besides the stage's resources that the framework loads into it, its own
// loading step reads the block database (one XML description per block type), the level geometry file
// ("VBVBG" 105: every block with its material, scale, key frames and neighbours) and loads the block,
// collision and fragment models under fixed names. Created by the game for the chosen level before the level
// starts and deleted after the level in play; blocks keep pointers into it.
#pragma once

#include "engine/math/Quaternion.h"
#include "engine/math/Vector.h"
#include "gametools/DataKeeper.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {
class FileBinary;
class ShaderUser;
} // namespace OrvexEngine

namespace GameTools {
class XMLNode;
}

namespace VelmoraBall {

struct BlockKeyFrame {
    OrvexEngine::Vec3 position;
    OrvexEngine::Quaternion rotation;
};

// One block of the level as the geometry file describes it.
struct BlockDescriptor {
    static constexpr uint32_t FlagFixed = 0x1; // never falls

    GameTools::XMLNode* type = nullptr; // not owned: the block database entry of its kind
    uint32_t flags = 0;
    OrvexEngine::ShaderUser* material = nullptr; // owned by the keeper
    OrvexEngine::Vec3 scale{1, 1, 1};
    std::vector<BlockKeyFrame> keyFrames; // one for a still block, the level's count for an animated one
    std::vector<uint16_t> blocksBelow;    // the blocks this one rests on
    std::vector<uint16_t> blocksAbove;    // the blocks resting on this one
};

class GameLogicData : public GameTools::DataKeeper {
public:
    // Nothing is read yet. geometryFile: the level's file name below data\levels_geometry\ ("00_02.vbg").
    GameLogicData(const std::string& language, const std::string& geometryFile);
    ~GameLogicData() override;

    // Step ~0u, or the first step after the resource steps, performs the whole level load and answers true.
    // A broken block description, a missing or malformed geometry file or an unknown block type ends the
    // program with the error's text; the level data is never used half-loaded.
    bool Load(uint32_t step) override;

    const std::vector<BlockDescriptor*>& GetBlockDescriptors() const { return blockDescriptors; }
    const std::vector<GameTools::XMLNode*>& GetBlockDatabase() const { return blockDatabase; }
    uint32_t GetKeyFrameCount() const { return keyFrameCount; }
    float GetAnimationSpeed() const { return animationSpeed; }
    const std::string& GetGeometryFile() const { return geometryFile; }

    static constexpr uint32_t FirstOwnStep = 101;

private:
    void LoadLevel();
    void ReadBlockDatabase();
    void ReadGeometry(const std::string& path);
    void ReadBlock(OrvexEngine::FileBinary& in, const std::string& path,
                   const std::vector<std::string>& textures, BlockDescriptor& block);
    void LoadModels();
    GameTools::XMLNode* FindType(const std::string& typeName) const;

    std::string geometryFile;
    uint32_t keyFrameCount = 0;
    float animationSpeed = 0;
    std::vector<GameTools::XMLNode*> blockDatabase; // owned document trees
    std::vector<BlockDescriptor*> blockDescriptors; // owned, in file order
};

// A number written with at least two digits ("07", "12", "123").
std::string TwoDigits(uint32_t value);

} // namespace VelmoraBall
