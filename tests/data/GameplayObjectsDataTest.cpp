// ctest-label: data
// The game-wide gameplay resources as the built packs deliver them, loaded through the game's own resource
// list into a data keeper on a headless render stack: every name the gameplay code looks up is there with
// the frames its user plays; the boxes that carry gameplay (ball radius, bat length per frame, the bonus
// catch height, the barrier's line) have the sizes the code relies on; the particle systems emit, bursts end
// and trails keep going; and the objects drawn where the game puts them look like what they are
// (gameplay-objects.png, gameplay-objects-close.png).
#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/math/Ray.h"
#include "game/play/Lighting.h"
#include "gametools/DataKeeper.h"
#include "gametools/TexturePack.h"
#include "platform/win/Process.h"

#include "tests/support/SceneRenderFixture.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <cmath>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using namespace OrvexEngine;

namespace {

fs::path BinDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
}

std::string TwoDigits(int i) {
    return (i < 10 ? "0" : "") + std::to_string(i);
}

// The bonus kinds by id; each names its model "bonuses/" + kind and its icon in the texture pack.
const char* const bonusKinds[] = {"life",           "bat_increase", "bat_decrease", "balls_speed_up",
                                  "balls_slow_down", "balls_split",  "balls_super",  "barrier",
                                  "arbalest",        "ballista",     "hammer"};

// The models the gameplay code looks up, with the frames the code plays of each: a position set to the
// bat's size, clips of the guns and the hammer, looped animations that must advance.
struct ModelName {
    std::string name;
    uint32_t minimumFrames;
};

std::vector<ModelName> GameplayModels() {
    std::vector<ModelName> names = {
        {"balls/simple/model", 1}, {"balls/super/model", 1}, {"bat/head", 61}, {"bat/body", 1},
        {"bat/screw", 1},          {"bat/fragments/screw/00", 1},
    };
    for (int i = 0; i < 7; ++i)
        names.push_back({"bat/fragments/head/" + TwoDigits(i), 1});
    for (int i = 0; i < 35; ++i)
        names.push_back({"bat/fragments/body/" + TwoDigits(i), 1});
    for (const char* kind : bonusKinds)
        names.push_back({std::string("bonuses/") + kind, 2});
    const std::vector<ModelName> weapons = {
        {"guns/arbalet/gun", 41},   {"guns/ballista/gun", 26},  {"guns/arbalet/bullet", 2},
        {"guns/ballista/bullet", 2}, {"hammer/model", 10},      {"barrier/hardware_0", 2},
        {"barrier/hardware_1", 2},  {"barrier/rope_0", 2},      {"barrier/rope_1", 2},
        {"barrier/rope_2", 2}};
    names.insert(names.end(), weapons.begin(), weapons.end());
    return names;
}

// Particle systems by name; trails loop (their owners set looping), the rest run once.
struct ParticleName {
    std::string name;
    bool trail;
};

std::vector<ParticleName> GameplayParticles() {
    return {{"balls/simple/hit", false},
            {"balls/super/hit", false},
            {"balls/simple/train", true},
            {"balls/super/train", true},
            {"bat/destruction", false},
            {"blocks/creation", false},
            {"blocks/destruction_simple", false},
            {"blocks/destruction_super", false},
            {"blocks/explosive_destruction", false},
            {"bonuses/catch", false},
            {"bonuses/end_level_creation", false},
            {"guns/arbalet/bullet_train", true},
            {"guns/ballista/bullet_train", true},
            {"guns/arbalet/bullet_destruction", false},
            {"guns/ballista/bullet_destruction", false}};
}

const char* const gameplayMaterials[] = {"balls/flare", "bonuses/flare"};

class GameplayObjectsData : public testing::Test {
protected:
    GameplayObjectsData() {
        FileManager::Instance(&files);
        scene = std::make_unique<VelmoraTest::SceneRenderFixture>(640, 480, 800.0f, 600.0f);
        scene->timers.frameTime = 0.02f;
        keeper = std::make_unique<GameTools::DataKeeper>("en");
        keeper->LoadResourceList("data\\game_objects\\resources.xml", true);
    }
    ~GameplayObjectsData() override {
        for (Model* copy : copies)
            scene->models->DeleteModel(copy);
        keeper.reset();
        scene.reset();
    }

    // Errors logged so far: a name the keeper lacks is logged when it is looked up.
    size_t Errors() const {
        const std::vector<std::string> texts = log.Texts();
        return size_t(std::count_if(texts.begin(), texts.end(),
                                    [](const std::string& text) { return text.find("Error") != std::string::npos; }));
    }

    // The model's box at a frame of its animation, placed where the model stands untransformed.
    static BoundingBox BoxAtFrame(Model& model, float frame) {
        model.animationControl->playing = false;
        model.animationControl->position = frame;
        model.transform = Matrix4::Identity();
        model.Update(false);
        return model.box;
    }

    // A registered copy, drawn by the model manager, placed by the matrix.
    Model* Show(const std::string& name, const Matrix4& place, float frame = 0) {
        Model* copy = scene->models->CreateModelCopy(*keeper->GetModel(name), nullptr, 0);
        copy->animationControl->playing = false;
        copy->animationControl->position = frame;
        copy->transform = place;
        copies.push_back(copy);
        return copy;
    }

    VelmoraTest::TestLog log;
    FileManager files{BinDir().string(), true, "data", 16u << 20};
    std::unique_ptr<VelmoraTest::SceneRenderFixture> scene;
    std::unique_ptr<GameTools::DataKeeper> keeper;
    std::vector<Model*> copies;
};

} // namespace

TEST_F(GameplayObjectsData, EveryNameTheGameplayLooksUpIsThereWithItsFrames) {
    ASSERT_EQ(Errors(), 0u) << "loading the list";
    for (const ModelName& entry : GameplayModels()) {
        const Model* model = keeper->GetModel(entry.name);
        EXPECT_EQ(Errors(), 0u) << entry.name;
        EXPECT_GE(model->animationControl->frameCount, entry.minimumFrames) << entry.name;
    }
    for (const ParticleName& entry : GameplayParticles()) {
        keeper->GetParticleSystem(entry.name);
        EXPECT_EQ(Errors(), 0u) << entry.name;
    }
    for (const char* name : gameplayMaterials) {
        keeper->GetShaderUser(name);
        EXPECT_EQ(Errors(), 0u) << name;
    }
}

TEST_F(GameplayObjectsData, ParticleSystemsEmitAndBurstsEnd) {
    for (const ParticleName& entry : GameplayParticles()) {
        SCOPED_TRACE(entry.name);
        ParticleSystem* system = scene->particles->CreateParticleSystemCopy(*keeper->GetParticleSystem(entry.name));
        system->looping = entry.trail;
        system->SetVisible(true);
        system->emitterTime = 0;
        system->active = true;
        for (int frame = 0; frame < 5; ++frame)
            scene->particles->Update();
        EXPECT_GT(system->liveParticles, 0u) << "nothing emitted in the first 0.1 s";
        // Three seconds later a burst has finished (its owner waits for that to hide it or to retire);
        // a trail is still emitting.
        for (int frame = 0; frame < 145; ++frame)
            scene->particles->Update();
        if (entry.trail) {
            EXPECT_GT(system->liveParticles, 0u);
        } else {
            EXPECT_FALSE(system->active);
            EXPECT_EQ(system->liveParticles, 0u);
        }
        scene->particles->Release(system);
    }
}

TEST_F(GameplayObjectsData, BoxesHaveTheSizesTheGameplayReadsFromThem) {
    // A ball's radius is the smallest half size of its model's box; balls turn about their centre.
    const struct {
        const char* name;
        float radius;
    } balls[] = {{"balls/simple/model", 2.5f}, {"balls/super/model", 3.0f}};
    for (const auto& ball : balls) {
        const BoundingBox box = BoxAtFrame(*keeper->GetModel(ball.name), 0);
        const Vec3 half = box.GetHalfSize();
        EXPECT_NEAR(std::min({half.x, half.y, half.z}), ball.radius, 1e-3) << ball.name;
        EXPECT_NEAR(box.GetCentre().Length(), 0, 1e-3) << ball.name;
    }

    // The bat's length is the head's frame: 14 + 0.6 x frame units, so 26 at the start size and 50 at the
    // largest, which keeps the head inside the 150-unit mouse range. The ball rests on the head's front
    // (its box's maximum y), the same line at every size.
    Model& head = *keeper->GetModel("bat/head");
    const BoundingBox start = BoxAtFrame(head, 20);
    for (int frame : {0, 20, 40, 60}) {
        const BoundingBox box = BoxAtFrame(head, float(frame));
        EXPECT_NEAR(box.GetHalfSize().x, 7 + 0.3f * float(frame), 1e-3) << frame;
        EXPECT_NEAR(box.GetCentre().x, 0, 1e-3) << frame;
        EXPECT_NEAR(box.GetWorldMax().y, start.GetWorldMax().y, 1e-4) << frame;
        EXPECT_NEAR(box.GetWorldMin().z, 0, 1e-4) << frame;
    }
    EXPECT_LT(BoxAtFrame(head, 60).GetHalfSize().x, 75);
    // A held ball rests 0.3 half lengths right of the head's centre, its centre 2 (simple) or 3 (super)
    // short of the box's front by its radius; it must rest against the head, not sink into it.
    for (const auto& ball : {std::pair{2.5f, 2.0f}, std::pair{3.0f, 3.0f}}) {
        const BoundingBox box = BoxAtFrame(head, 20);
        const Vec3 centre(box.GetCentre().x + 0.3f * box.GetHalfSize().x,
                          box.GetWorldMax().y + ball.first - ball.second, ball.first);
        float distance = 0;
        ASSERT_TRUE(head.RayPick(Ray(centre, Vec3(0, -1, 0)), &distance)) << ball.first;
        EXPECT_GT(distance, ball.first - 0.25f) << ball.first;
        EXPECT_LT(distance, ball.first + 1.5f) << ball.first << ": the ball floats off the head";
    }

    // The hull stands on the ground behind the head; the rotor sits on the hull, spinning about its centre.
    const BoundingBox body = BoxAtFrame(*keeper->GetModel("bat/body"), 0);
    const BoundingBox screw = BoxAtFrame(*keeper->GetModel("bat/screw"), 0);
    EXPECT_NEAR(body.GetWorldMin().z, 0, 1e-4);
    EXPECT_LE(body.GetWorldMax().y, start.GetWorldMin().y + 1e-4) << "the head lies in front of the hull";
    EXPECT_NEAR(screw.GetWorldMin().z, body.GetWorldMax().z, 1e-3);
    EXPECT_NEAR(screw.GetHalfSize().x, screw.GetHalfSize().y, 1e-3) << "a lopsided rotor wobbles";

    // Each piece's box centre is its place inside its part, and the pieces together fill the part.
    const struct {
        const char* prefix;
        int count;
        BoundingBox part;
    } parts[] = {{"bat/fragments/head/", 7, start}, {"bat/fragments/body/", 35, body},
                 {"bat/fragments/screw/", 1, screw}};
    for (const auto& part : parts) {
        Vec3 low(1e9f, 1e9f, 1e9f), high(-1e9f, -1e9f, -1e9f);
        for (int i = 0; i < part.count; ++i) {
            const BoundingBox piece = BoxAtFrame(*keeper->GetModel(part.prefix + TwoDigits(i)), 0);
            const Vec3 c = piece.GetCentre();
            EXPECT_TRUE(c.x > part.part.GetWorldMin().x && c.x < part.part.GetWorldMax().x &&
                        c.y > part.part.GetWorldMin().y && c.y < part.part.GetWorldMax().y &&
                        c.z > part.part.GetWorldMin().z && c.z < part.part.GetWorldMax().z)
                << part.prefix << i << " lies outside its part";
            low = Vec3(std::min(low.x, piece.GetWorldMin().x), std::min(low.y, piece.GetWorldMin().y),
                       std::min(low.z, piece.GetWorldMin().z));
            high = Vec3(std::max(high.x, piece.GetWorldMax().x), std::max(high.y, piece.GetWorldMax().y),
                        std::max(high.z, piece.GetWorldMax().z));
        }
        EXPECT_NEAR((low - part.part.GetWorldMin()).Length(), 0, 0.2f) << part.prefix;
        EXPECT_NEAR((high - part.part.GetWorldMax()).Length(), 0, 0.2f) << part.prefix;
    }
    EXPECT_EQ(Errors(), 0u);
}

TEST_F(GameplayObjectsData, WeaponsAndBonusesMeetWhatTheyAreMeasuredAgainst) {
    const BoundingBox head = BoxAtFrame(*keeper->GetModel("bat/head"), 20);
    const BoundingBox body = BoxAtFrame(*keeper->GetModel("bat/body"), 0);
    // A bonus is caught when its box meets the bat's (head and hull): it falls at height 0, so at every
    // frame of its spin its box must reach down into the bat's height, around the place it is dropped at.
    for (const char* kind : bonusKinds) {
        Model& bonus = *keeper->GetModel(std::string("bonuses/") + kind);
        for (uint32_t frame = 0; frame < bonus.animationControl->frameCount; ++frame) {
            const BoundingBox box = BoxAtFrame(bonus, float(frame));
            EXPECT_LT(box.GetWorldMin().z, std::max(head.GetWorldMax().z, body.GetWorldMax().z)) << kind << frame;
            EXPECT_GE(box.GetWorldMin().z, 0) << kind << frame;
            EXPECT_LT(std::hypot(box.GetCentre().x, box.GetCentre().y), 1) << kind << frame;
        }
    }

    // The barrier: rope 0 at the end of its animation gives the line balls bounce on, behind the bat's
    // line (-85) and above the line where balls are lost (-100), across the whole field.
    Model& rope = *keeper->GetModel("barrier/rope_0");
    const BoundingBox line = BoxAtFrame(rope, float(rope.animationControl->frameCount - 1));
    EXPECT_LT(line.GetWorldMax().y, -85);
    EXPECT_GT(line.GetWorldMin().y, -100 + 3);
    EXPECT_LE(line.GetWorldMin().x, -75);
    EXPECT_GE(line.GetWorldMax().x, 75);
    EXPECT_LT(BoxAtFrame(rope, 0).GetHalfSize().x, line.GetHalfSize().x / 4) << "the rope grows across";

    // The hammer is drawn at the cursor: at the end of the swing (frame 4) the middle of its striking face
    // is the cursor's point; raised (frames 0 and 9) the head is well above it.
    Model& hammer = *keeper->GetModel("hammer/model");
    const BoundingBox strike = BoxAtFrame(hammer, 4);
    EXPECT_NEAR(strike.GetWorldMin().y, 0, 0.5f);
    EXPECT_NEAR(strike.GetCentre().x, 0, 0.5f);
    for (float raised : {0.0f, 9.0f})
        EXPECT_GT(BoxAtFrame(hammer, raised).GetWorldMin().y, 20) << raised;

    // The guns ride on the hull: grown from almost nothing at frame 0 to their loaded pose at the end of
    // their appearing clip, which the shot clip returns to; the bolt, in its last frame, lies on the gun
    // pointing along +y.
    const struct {
        const char* word;
        int loaded, last;
    } guns[] = {{"arbalet", 33, 40}, {"ballista", 19, 25}};
    for (const auto& gun : guns) {
        SCOPED_TRACE(gun.word);
        Model& model = *keeper->GetModel(std::string("guns/") + gun.word + "/gun");
        const BoundingBox hidden = BoxAtFrame(model, 0);
        const BoundingBox loaded = BoxAtFrame(model, float(gun.loaded));
        const BoundingBox shot = BoxAtFrame(model, float(gun.loaded + 2));
        const BoundingBox settled = BoxAtFrame(model, float(gun.last));
        EXPECT_LT(hidden.GetHalfSize().Length(), 1.5f);
        EXPECT_NEAR(loaded.GetWorldMin().z, body.GetWorldMax().z, 0.05f) << "stands on the hull";
        EXPECT_GT(loaded.GetWorldMin().x, -75) << "inside the field at the bat's centre";
        EXPECT_LT(loaded.GetWorldMax().x, 75);
        EXPECT_NEAR((settled.GetWorldMin() - loaded.GetWorldMin()).Length(), 0, 1e-3);
        EXPECT_NEAR((settled.GetWorldMax() - loaded.GetWorldMax()).Length(), 0, 1e-3);
        EXPECT_GT((shot.GetWorldMax() - loaded.GetWorldMax()).Length(), 0.1f) << "the shot moves the limbs";
        Model& bullet = *keeper->GetModel(std::string("guns/") + gun.word + "/bullet");
        const BoundingBox bolt = BoxAtFrame(bullet, float(bullet.animationControl->frameCount - 1));
        EXPECT_GT(bolt.GetHalfSize().y, 3 * std::max(bolt.GetHalfSize().x, bolt.GetHalfSize().z));
        EXPECT_TRUE(bolt.Intersects(loaded) && bolt.GetWorldMin().z > loaded.GetWorldMin().z + 2)
            << "lies on the gun";
        EXPECT_LT(BoxAtFrame(bullet, 0).GetCentre().y, bolt.GetCentre().y - 1) << "slides forward to load";
    }
    EXPECT_EQ(Errors(), 0u);
}

TEST_F(GameplayObjectsData, BonusIconPackNamesEveryKindsCell) {
    GameTools::TexturePack pack("ui\\textures\\bonus_icons.tpf", false);
    EXPECT_EQ(Errors(), 0u) << "its material and picture";
    EXPECT_EQ(pack.GetTextures().size(), std::size(bonusKinds));
    std::vector<std::array<float, 4>> cells;
    for (const char* kind : bonusKinds) {
        const GameTools::TexturePack::FrameList* frames = pack.GetFrames(kind);
        ASSERT_NE(frames, nullptr) << kind;
        ASSERT_EQ(frames->size(), 1u) << kind;
        const GameTools::TexturePackFrame& cell = *frames->front();
        EXPECT_TRUE(cell.first.x >= 0 && cell.first.y >= 0 && cell.second.x <= 1 && cell.second.y <= 1 &&
                    cell.first.x < cell.second.x && cell.first.y < cell.second.y)
            << kind;
        // No two kinds share a part of the picture.
        for (const auto& other : cells)
            EXPECT_TRUE(cell.second.x <= other[0] || other[2] <= cell.first.x || cell.second.y <= other[1] ||
                        other[3] <= cell.first.y)
                << kind;
        cells.push_back({cell.first.x, cell.first.y, cell.second.x, cell.second.y});
    }
}

TEST_F(GameplayObjectsData, ObjectsDrawnWhereTheGamePutsThemLookLikeThemselves) {
    VelmoraBall::Lighting lighting("lighting.ini");
    Camera* camera = scene->UseLevelCamera();
    scene->renderSystem->clearColor = Vec4(0.08f, 0.1f, 0.16f, 1);
    Model* floor = scene->models->CreateBoxModel(Vec3(-85, -110, -1), Vec3(85, 110, 0), nullptr, nullptr,
                                                  ModelLit | ModelVertexColors);
    floor->SetColor(Vec4(0.3f, 0.5f, 0.3f, 1));

    // The bat as the game assembles it: the hull's back edge on the bat line y -85, the head at its
    // start size; a simple ball resting on the head, a super ball in flight.
    const Matrix4 bat = Matrix4::Translation(Vec3(0, -81, 0));
    Show("bat/head", bat, 20);
    Show("bat/body", bat);
    Show("bat/screw", bat);
    Show("balls/simple/model", Matrix4::Translation(Vec3(3.9f, -72.5f, 2.5f)));
    Show("balls/super/model", Matrix4::Translation(Vec3(-24, -40, 3)));
    // The arbalest loaded on the bat, a ballista bolt in flight, two falling bonuses, the barrier laid.
    Show("guns/arbalet/gun", bat, 33);
    Show("guns/arbalet/bullet", bat, 7);
    Show("guns/ballista/bullet", Matrix4::Translation(Vec3(30, -10, -5)), 7);
    Show("bonuses/balls_split", Matrix4::Translation(Vec3(24, -45, 0)), 2);
    Show("bonuses/life", Matrix4::Translation(Vec3(-45, -20, 0)), 0);
    Show("barrier/hardware_0", Matrix4::Identity());
    Show("barrier/hardware_1", Matrix4::Identity());
    Show("barrier/rope_0", Matrix4::Identity(), 15);

    Image image;
    scene->Frame(image);
    scene->Frame(image);
    VelmoraTest::SceneRenderFixture::SavePng(image, "gameplay-objects.png");
    auto at = [&](const Vec3& world) {
        const Vec2 s = scene->cameras->Project(*camera, world);
        return VelmoraTest::SceneRenderFixture::Pixel(image, s.x, s.y);
    };
    // The head's orange bumper, the hull's blue-grey, the marbled ball, the golden super ball.
    const uint8_t* bumper = at(Vec3(-8, -77, 5));
    EXPECT_GT(bumper[0], bumper[2] + 60) << "head " << int(bumper[0]) << " " << int(bumper[2]);
    const uint8_t* hull = at(Vec3(-6, -83, 4));
    EXPECT_GT(hull[2], hull[0]) << "hull " << int(hull[0]) << " " << int(hull[2]);
    const uint8_t* super = at(Vec3(-24, -40, 6));
    EXPECT_GT(super[0], super[2] + 60) << "super ball";

    // A close look at the bat and the barrier behind it: the same view moved until the bat lies at its
    // centre, and narrowed.
    float centre = -100;
    for (float y = -100; y < 110; y += 0.5f)
        if (std::fabs(scene->cameras->Project(*camera, Vec3(0, y, 0)).y - 240) <
            std::fabs(scene->cameras->Project(*camera, Vec3(0, centre, 0)).y - 240))
            centre = y;
    camera->position = camera->position + Vec3(0, -84 - centre, 0);
    camera->fieldOfView = 0.45f;
    scene->Frame(image);
    scene->Frame(image);
    VelmoraTest::SceneRenderFixture::SavePng(image, "gameplay-objects-close.png");
    scene->models->DeleteModel(floor);
    EXPECT_EQ(Errors(), 0u);
}

TEST_F(GameplayObjectsData, HammerDrawnWithTheGuiCameraStrikesTheCursorPoint) {
    // The GUI screen is 800 x 600 units over the 640 x 480 window. The hammer is placed as its code
    // places it: at the cursor, 300 towards the viewer, unlit, over the scene, leaning with the cursor's x.
    Camera* camera = scene->gui->GetCamera();
    scene->renderSystem->clearColor = Vec4(0, 0, 0, 1);
    const struct {
        float x, y, frame;
    } hammers[] = {{400, 120, 4}, {400, 400, 0}, {680, 260, 2}};
    for (const auto& h : hammers) {
        Model* copy = scene->models->CreateModelCopy(*keeper->GetModel("hammer/model"), camera, 0);
        copy->ClearFlags(ModelLit);
        copy->SetFlags(ModelSecondList | ModelFixedSortDepth);
        copy->animationControl->playing = false;
        copy->animationControl->position = h.frame;
        const float lean = (h.x - 400) / 400 * 0.7853982f;
        copy->transform = Matrix4::Translation(Vec3(h.x, h.y, 300)).Multiply(Matrix4::RotationY(lean));
        copies.push_back(copy);
    }
    Image image;
    scene->Frame(image);
    scene->Frame(image);
    VelmoraTest::SceneRenderFixture::SavePng(image, "gameplay-hammer.png");
    // Pixels by GUI point (0.8 pixels a unit), y up as the GUI counts.
    auto at = [&](float x, float y) { return VelmoraTest::SceneRenderFixture::Pixel(image, x * 0.8f, y * 0.8f); };
    auto drawn = [](const uint8_t* p) { return p[0] + p[1] + p[2] > 60; };
    // Landed (frame 4): the head's striking face rests on the cursor point, the handle rises above it.
    EXPECT_TRUE(drawn(at(400, 126)));
    EXPECT_TRUE(drawn(at(400, 190)));
    EXPECT_FALSE(drawn(at(400, 114)));
    // Raised (frame 0): the head has left the cursor point and hangs higher, the handle foreshortened.
    EXPECT_FALSE(drawn(at(400, 406)));
    EXPECT_TRUE(drawn(at(400, 460)));
    EXPECT_FALSE(drawn(at(400, 400 + 100)));
    EXPECT_EQ(Errors(), 0u);
}
