// The engine services a level's objects run on, for tests of the bat, the guns, the hammer, the barrier and
// the floating texts: models, particles and cameras over a recording render system, a GUI manager on the
// 800 x 600 screen, a sound system that records what is played, the audio player with every gameplay effect
// id registered, the lighting and the effects, and a frame driven by a fake clock. Models the objects need
// are made here as files (boxes, animated boxes) and registered in the game keeper under their names.
#pragma once

#include "engine/core/TimerManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Block.h"
#include "game/play/BonusManager.h"
#include "game/play/Effects.h"
#include "game/play/GameField.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Lighting.h"
#include "gametools/DataKeeper.h"
#include "platform/win/Time.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tests/support/RecordingSoundSystem.h"
#include "tests/support/TestGuiManager.h"
#include "tools/formats/FieldWriter.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace VelmoraTest {

using Box3 = std::array<float, 3>;

// Installed before every other service, so that the frame clock and the sounds' repeat guard run on it.
struct FakeClockScope {
    FakeClockScope() { platform::InstallFakeClock(0); }
    ~FakeClockScope() { platform::RemoveFakeClock(); }
    FakeClockScope(const FakeClockScope&) = delete;
    FakeClockScope& operator=(const FakeClockScope&) = delete;
};

class PlayTestWorld {
public:
    explicit PlayTestWorld(const std::string& folder) : services(folder) {
        // Well past the frame clock's start, so that no sound looks as if it had just been played.
        platform::AdvanceFakeClockMilliseconds(1000);
        services.timers.Update();
        SoundSystemInstance();
        sounds = std::make_unique<OrvexEngine::SoundManager>();
        OrvexEngine::SoundManager::Instance(sounds.get());
        audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
        for (int id = 0; id <= 30; ++id)
            audio->AddSound(id, SoundName(id), false, 2, true);
        gui = std::make_unique<TestGuiManager>();
        Save("environment/lighting/lighting.ini", "100 100 100 0");
        lighting = std::make_unique<VelmoraBall::Lighting>("lighting.ini");
        effects = std::make_unique<VelmoraBall::Effects>(lighting.get());
    }
    virtual ~PlayTestWorld() {
        geometry.reset();
        bonuses.reset();
        levelData.reset();
        field.reset();
        effects.reset();
        lighting.reset();
        keeper.reset();
        gui.reset();
        audio.reset();
        sounds.reset();
        system.reset();
    }
    PlayTestWorld(const PlayTestWorld&) = delete;
    PlayTestWorld& operator=(const PlayTestWorld&) = delete;

    static std::string SoundName(int id) { return "sound_" + std::to_string(id) + ".wav"; }

    void Save(const std::string& name, const std::string& text) {
        services.data.Save(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

    // The field file of the game's field: side walls from y -95 to 110, the far wall at y 100 to 110.
    static std::vector<uint8_t> FieldFile() {
        VbFormats::FieldWall left, right, top;
        left.min = {-85, -95, 0};
        left.max = {-75, 110, 10};
        right.min = {75, -95, 0};
        right.max = {85, 110, 10};
        top.min = {-85, 100, 0};
        top.max = {85, 110, 10};
        return VbFormats::FieldWriter::Write({left, right, top});
    }

    // A model file loaded and registered in the game keeper under the name.
    OrvexEngine::Model* AddModel(const std::string& name, const VbFormats::ModelDescription& description) {
        const std::string file = "fixtures/" + std::to_string(fileCount++) + ".mlf";
        VbFormats::ModelWriter::Save(services.data.Path(file), description);
        OrvexEngine::Model* model = OrvexEngine::ModelManager::Instance()->LoadModel(file, nullptr, 0, 0);
        keeper->AddModel(name, model);
        return model;
    }
    static VbFormats::ModelDescription BoxModel(const Box3& centre, const Box3& half) {
        VbFormats::ModelDescription model;
        AppendBox(model.vertices, model.indices, centre, half);
        model.boxes = {{{centre[0] - half[0], centre[1] - half[1], centre[2] - half[2]},
                        {centre[0] + half[0], centre[1] + half[1], centre[2] + half[2]}}};
        return model;
    }
    // A box whose centre and half size change with the frame, one exact box per frame.
    static VbFormats::ModelDescription AnimatedBox(uint32_t frames, float speed,
                                                   const std::function<Box3(uint32_t)>& centre,
                                                   const std::function<Box3(uint32_t)>& half) {
        VbFormats::ModelDescription model;
        model.flags = 0x422CA;
        model.frameCount = frames;
        model.speed = speed;
        for (uint32_t f = 0; f < frames; ++f) {
            std::vector<uint32_t> indices;
            const Box3 c = centre(f);
            const Box3 h = half(f);
            AppendBox(model.vertices, indices, c, h);
            if (f == 0)
                model.indices = indices;
            model.boxes.push_back(
                {{c[0] - h[0], c[1] - h[1], c[2] - h[2]}, {c[0] + h[0], c[1] + h[1], c[2] + h[2]}});
        }
        return model;
    }

    // Blocks are the 2 x 2 x 2 placeholder boxes of missing model files, scaled by the block's scale: a block
    // at height z spans z - scale .. z + scale. Types: "simple" (one hit), "wall" (unbreakable).
    static VbFormats::LevelBlock BlockAt(const std::string& type, float x, float y, float z = 1,
                                         float scale = 1) {
        VbFormats::LevelBlock block;
        block.type = type;
        block.scale = {scale, scale, scale};
        block.keyFrames = {{{x, y, z}, {0, 0, 0, 1}}};
        return block;
    }
    // The level's block set, with a bonus manager and no balls or bullets; replaces the last one.
    void BuildLevel(const std::vector<VbFormats::LevelBlock>& blocks,
                    void (*link)(VbFormats::LevelGeometry&) = nullptr) {
        Save("game_objects/blocks/simple.xml", "<block/>");
        Save("game_objects/blocks/wall.xml", "<block strength=\"0\"/>");
        VbFormats::LevelGeometry level;
        level.textures = {""};
        level.blocks = blocks;
        if (link != nullptr)
            link(level);
        services.data.Save("levels_geometry/00_00.vbg", VbFormats::LevelGeometryWriter::Write(level));
        geometry.reset();
        bonuses.reset();
        levelData = std::make_unique<VelmoraBall::GameLogicData>("en", "00_00.vbg");
        levelData->Load(~0u);
        bonuses = std::make_unique<VelmoraBall::BonusManager>(audio.get(), keeper.get(), effects.get());
        geometry = std::make_unique<VelmoraBall::GameGeometry>(keeper.get(), levelData.get(), effects.get(),
                                                               &score, audio.get());
        geometry->Build(bonuses.get(), nullptr, nullptr);
    }
    // The field's walls, each an untransformed box.
    void BuildField(const std::vector<VbFormats::FieldWall>& walls) {
        services.data.Save("environment/field.vbf", VbFormats::FieldWriter::Write(walls));
        field = std::make_unique<VelmoraBall::GameField>("field.vbf");
    }
    size_t AliveBlocks() const {
        size_t alive = 0;
        for (const VelmoraBall::Block* block : geometry->GetBlocks())
            alive += block->IsAlive() ? 1 : 0;
        return alive;
    }

    // One frame of the given length: the clock, the objects' updates, then what the engine does at the end
    // of a frame (every registered model animated and boxed, the queued sounds carried out).
    void Frame(uint32_t milliseconds, const std::function<void()>& update) {
        platform::AdvanceFakeClockMilliseconds(milliseconds);
        services.timers.Update();
        update();
        EndFrame();
    }
    void EndFrame() {
        services.particles->Update();
        for (OrvexEngine::Model* model : services.models->GetModels())
            if (model != nullptr)
                model->Update(false);
        sounds->Update(true);
    }

    // The effects started since the last call, in order; requests still queued are carried out first.
    std::vector<int> TakePlayedSounds() {
        sounds->Update(true);
        std::vector<int> played;
        for (const std::string& call : system->calls)
            for (int id = 0; id <= 30; ++id)
                if (call == "play " + SoundName(id))
                    played.push_back(id);
        system->calls.clear();
        return played;
    }

    void SetCursor(float x, float y) { gui->GetMainCursor()->position = OrvexEngine::Vec2(x, y); }

    FakeClockScope clock;
    ModelServices services;
    std::unique_ptr<RecordingSoundSystem> system;
    std::unique_ptr<OrvexEngine::SoundManager> sounds;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<TestGuiManager> gui;
    std::unique_ptr<GameTools::DataKeeper> keeper = std::make_unique<GameTools::DataKeeper>("en");
    std::unique_ptr<VelmoraBall::Lighting> lighting;
    std::unique_ptr<VelmoraBall::Effects> effects;
    GameFramework::ScoreKeeper score;
    std::unique_ptr<VelmoraBall::GameField> field;
    std::unique_ptr<VelmoraBall::GameLogicData> levelData;
    std::unique_ptr<VelmoraBall::BonusManager> bonuses;
    std::unique_ptr<VelmoraBall::GameGeometry> geometry;

private:
    void SoundSystemInstance() {
        system = std::make_unique<RecordingSoundSystem>();
        OrvexEngine::SoundSystem::Instance(system.get());
    }
    int fileCount = 0;
};

} // namespace VelmoraTest
