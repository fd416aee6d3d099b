// A brick: simple, strong (several hits, its texture cracking frame by frame), unbreakable (25 simple hits,
// or one super hit), invisible until its cascade shows it, explosive (always dies in a chain explosion).
// A destroyed brick scores, sounds and may drop a bonus. Built by the block set.
#pragma once

#include "game/play/Block.h"

namespace GameFramework {
class AudioPlayer;
class ScoreKeeper;
} // namespace GameFramework

namespace VelmoraBall {

class BonusManager;

class Brick : public Block {
public:
    static constexpr uint32_t KindSimple = 0x1;
    static constexpr uint32_t KindStrong = 0x2;
    static constexpr uint32_t KindUnbreakable = 0x4;
    static constexpr uint32_t KindInvisible = 0x8;
    static constexpr uint32_t KindExplosive = 0x10;

    Brick(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* particleKeeper,
          GameTools::DataKeeper* modelKeeper, GameFramework::ScoreKeeper* scoreKeeper, Effects* effects,
          GameGeometry* geometry, const BlockDescriptor* descriptor, BonusManager* bonusManager);
    ~Brick() override = default;

    void Hit(int kind, bool chain) override;

    uint32_t GetStrength() const { return strength; }
    // The crash sounds of simple bricks take turns across all bricks; tests start the turn over.
    static void ResetCrashSoundTurn() { crashSoundTurn = 0; }

private:
    void ShowCrackFrame();

    GameFramework::ScoreKeeper* scoreKeeper = nullptr; // not owned
    BonusManager* bonusManager = nullptr;              // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    uint32_t strength = 1;                             // hits still needed

    static inline int crashSoundTurn = 0;
};

} // namespace VelmoraBall
