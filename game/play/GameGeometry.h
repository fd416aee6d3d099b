// The block set of the level in play: turns every block descriptor of the level data into a Brick or a
// BallKeeper, links them into stacks, registers each type's debris with its explosion manager, drives the
// level's key-frame animation, updates the blocks, reaps and deletes the destroyed ones, and counts the
// blocks that must still be destroyed. Owned by the level in play.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace OrvexEngine {
class AnimationControl;
}

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {
class AudioPlayer;
class ScoreKeeper;
} // namespace GameFramework

namespace VelmoraBall {

class BallManager;
class Block;
class BonusManager;
class BulletManager;
class Effects;
class ExplosionManager;
class GameLogicData;
struct BlockDescriptor;

class GameGeometry {
public:
    static constexpr int KindBrick = 0;
    static constexpr int KindBallKeeper = 1;
    static constexpr int KindOther = 2;

    GameGeometry(GameTools::DataKeeper* gameData, GameLogicData* levelData, Effects* effects,
                 GameFramework::ScoreKeeper* scoreKeeper, GameFramework::AudioPlayer* audioPlayer);
    GameGeometry(const GameGeometry&) = delete;
    GameGeometry& operator=(const GameGeometry&) = delete;
    virtual ~GameGeometry();

    // Creates, links and starts every block once the level's other objects exist; logs the block count.
    void Build(BonusManager* bonusManager, BallManager* ballManager, BulletManager* bulletManager);
    // Once a frame with the level's pause fade: animation, reaping, blocks, debris. Nothing while paused.
    void Update(float fade);
    void SetPaused(bool value) { paused = value; }
    int GetBlockKind(const Block* block) const;

    const std::vector<Block*>& GetBlocks() const { return blocks; }
    uint32_t GetCountedBlocksLeft() const { return countedBlocksLeft; }
    uint32_t GetCountedBlocksAtStart() const { return countedBlocksAtStart; }
    ExplosionManager& GetExplosionManager() const { return *explosionManager; }
    const OrvexEngine::AnimationControl* GetAnimation() const { return animation.get(); }

private:
    void CreateBlock(const BlockDescriptor* descriptor);
    void RemoveBlock(Block* block);
    static bool IsCounted(const Block* block);

    GameTools::DataKeeper* gameData = nullptr;         // not owned
    GameLogicData* levelData = nullptr;                // not owned
    Effects* effects = nullptr;                        // not owned
    GameFramework::ScoreKeeper* scoreKeeper = nullptr; // not owned
    BonusManager* bonusManager = nullptr;              // not owned
    BallManager* ballManager = nullptr;                // not owned
    BulletManager* bulletManager = nullptr;            // not owned
    std::unique_ptr<ExplosionManager> explosionManager;
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    std::vector<Block*> blocks;                        // owned, in descriptor order
    std::vector<Block*> bricks;                        // not owned
    std::vector<Block*> ballKeepers;                   // not owned
    std::unique_ptr<OrvexEngine::AnimationControl> animation;
    uint32_t countedBlocksLeft = 0;
    uint32_t countedBlocksAtStart = 0;
    bool paused = false;
};

} // namespace VelmoraBall
