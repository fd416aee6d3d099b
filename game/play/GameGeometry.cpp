#include "game/play/GameGeometry.h"

#include "engine/core/MessageManager.h"
#include "engine/graphics/AnimationControl.h"
#include "game/play/BallKeeper.h"
#include "game/play/Brick.h"
#include "game/play/ExplosionManager.h"
#include "game/play/GameLogicData.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLValue.h"

#include <algorithm>

using namespace OrvexEngine;
using GameTools::XMLNode;
using GameTools::XMLValue;

namespace VelmoraBall {

GameGeometry::GameGeometry(GameTools::DataKeeper* game, GameLogicData* level, Effects* geometryEffects,
                           GameFramework::ScoreKeeper* score, GameFramework::AudioPlayer* player)
    : gameData(game), levelData(level), effects(geometryEffects), scoreKeeper(score),
      explosionManager(std::make_unique<ExplosionManager>(level, geometryEffects)), audioPlayer(player) {}

GameGeometry::~GameGeometry() {
    for (Block* block : blocks)
        delete block;
    blocks.clear();
    explosionManager.reset();
    animation.reset();
}

bool GameGeometry::IsCounted(const Block* block) {
    return (block->GetKindFlags() & (Brick::KindSimple | Brick::KindStrong | Brick::KindExplosive)) != 0;
}

void GameGeometry::CreateBlock(const BlockDescriptor* descriptor) {
    XMLValue* type = descriptor->type->GetAttribute("type", 0);
    if (type != nullptr && type->AsString() == "ball_keeper") {
        Block* keeper = new BallKeeper(audioPlayer, gameData, levelData, scoreKeeper, effects, this,
                                       descriptor, ballManager);
        blocks.push_back(keeper);
        ballKeepers.push_back(keeper);
        return;
    }
    Block* brick =
        new Brick(audioPlayer, gameData, levelData, scoreKeeper, effects, this, descriptor, bonusManager);
    blocks.push_back(brick);
    bricks.push_back(brick);
    if (IsCounted(brick))
        ++countedBlocksLeft;
}

void GameGeometry::Build(BonusManager* bonuses, BallManager* balls, BulletManager* bullets) {
    bonusManager = bonuses;
    ballManager = balls;
    bulletManager = bullets;
    countedBlocksLeft = 0;
    const std::vector<BlockDescriptor*>& descriptors = levelData->GetBlockDescriptors();
    for (const BlockDescriptor* descriptor : descriptors)
        CreateBlock(descriptor);

    // Each type with debris gets one pool, sized by the number of its blocks.
    std::vector<std::pair<XMLNode*, uint32_t>> types;
    for (const BlockDescriptor* descriptor : descriptors) {
        auto found = std::find_if(types.begin(), types.end(),
                                  [&](const auto& t) { return t.first == descriptor->type; });
        if (found == types.end())
            types.emplace_back(descriptor->type, 1);
        else
            ++found->second;
    }
    for (const auto& [type, count] : types) {
        XMLValue* fragments = type->GetAttribute("fragment_count", 0);
        const int32_t fragmentCount = fragments != nullptr ? fragments->AsInt() : 0;
        XMLValue* fake = type->GetAttribute("fake_fragments", 0);
        const bool fakeFragments = fake != nullptr && fake->AsBool();
        if (fragmentCount <= 0)
            continue;
        XMLValue* name = type->GetAttribute("name", 0);
        const int handle = explosionManager->RegisterType(
            "geometry/" + (name != nullptr ? name->AsString() : std::string()) + "/fragments",
            static_cast<uint32_t>(fragmentCount), !fakeFragments, count);
        for (size_t i = 0; i < descriptors.size(); ++i)
            if (descriptors[i]->type == type)
                blocks[i]->SetExplosionType(handle);
    }

    for (size_t i = 0; i < descriptors.size(); ++i) {
        for (uint16_t below : descriptors[i]->blocksBelow)
            blocks[i]->AddBlockBelow(blocks[below]);
        for (uint16_t above : descriptors[i]->blocksAbove)
            blocks[i]->AddBlockAbove(blocks[above]);
    }

    // A level without animated blocks may have no key frames; the clock still needs one frame.
    animation = std::make_unique<AnimationControl>(0, std::max(1u, levelData->GetKeyFrameCount()));
    animation->loop = true;
    animation->position = 0;
    animation->Play();

    for (Block* block : blocks)
        block->RefreshTransform();
    for (Block* block : blocks)
        block->StartCreation();
    countedBlocksAtStart = countedBlocksLeft;
    if (MessageManager* log = Log())
        log->Message("...Blocks count: " + std::to_string(blocks.size()));
}

int GameGeometry::GetBlockKind(const Block* block) const {
    if (std::find(bricks.begin(), bricks.end(), block) != bricks.end())
        return KindBrick;
    if (std::find(ballKeepers.begin(), ballKeepers.end(), block) != ballKeepers.end())
        return KindBallKeeper;
    return KindOther;
}

void GameGeometry::Update(float fade) {
    if (paused)
        return;
    animation->speed = fade * levelData->GetAnimationSpeed();
    animation->Update();
    // By index: a removed block closes the gap, so the next one is examined at the same place.
    for (size_t i = 0; i < blocks.size();) {
        if (blocks[i]->IsAlive())
            ++i;
        else
            RemoveBlock(blocks[i]);
    }
    for (size_t i = 0; i < blocks.size(); ++i)
        blocks[i]->Update(animation->currentFrame, animation->nextFrame, animation->blendFraction);
    explosionManager->Update();
}

void GameGeometry::RemoveBlock(Block* block) {
    if (GetBlockKind(block) == KindBrick && IsCounted(block) && countedBlocksLeft > 0)
        --countedBlocksLeft;
    blocks.erase(std::find(blocks.begin(), blocks.end(), block));
    const auto brick = std::find(bricks.begin(), bricks.end(), block);
    if (brick != bricks.end())
        bricks.erase(brick);
    else
        ballKeepers.erase(std::remove(ballKeepers.begin(), ballKeepers.end(), block), ballKeepers.end());
    for (Block* survivor : blocks) {
        survivor->RemoveBlockBelow(block);
        survivor->RemoveBlockAbove(block);
    }
    if (block->HasFragments())
        explosionManager->Trigger(block->GetExplosionType(), *block->GetModel(), block->IsShadowEnabled());
    delete block;
}

} // namespace VelmoraBall
