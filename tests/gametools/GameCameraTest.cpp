// ctest-label: gametools
// The game camera on the camera manager's default camera: key 0 before any hold, the start pose while held
// (re-read every update), the key frames once the key animation plays and after it stops, and key lists
// shorter than the animation.
#include "gametools/GameCamera.h"

#include "engine/graphics/AnimationControl.h"
#include "tests/engine/graphics/ModelServices.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace GameTools;
using OrvexEngine::AnimationControl;
using OrvexEngine::Quaternion;
using OrvexEngine::Vec3;

namespace {

void ExpectPose(const OrvexEngine::Camera& camera, const Quaternion& q, const Vec3& p, const char* what) {
    EXPECT_NEAR(camera.orientation.x, q.x, 1e-5f) << what;
    EXPECT_NEAR(camera.orientation.y, q.y, 1e-5f) << what;
    EXPECT_NEAR(camera.orientation.z, q.z, 1e-5f) << what;
    EXPECT_NEAR(camera.orientation.w, q.w, 1e-5f) << what;
    EXPECT_NEAR(camera.position.x, p.x, 1e-4f) << what;
    EXPECT_NEAR(camera.position.y, p.y, 1e-4f) << what;
    EXPECT_NEAR(camera.position.z, p.z, 1e-4f) << what;
}

// A key animation of `frames` frames played once at one frame per second.
void MakeKeyFrames(AnimationControl& keys, uint32_t frames) {
    keys.frameCount = frames;
    keys.AddRange(1, 0, frames - 1);
    keys.SetRange(1);
    keys.speed = 1;
}

class GameCameraTest : public testing::Test {
protected:
    GameCameraTest() { services.timers.frameTime = 0.5f; }

    VelmoraTest::ModelServices services{"camera"};
    OrvexEngine::Camera& camera = *services.camera;
};

TEST_F(GameCameraTest, HoldsTheStartPoseTheLevelWrites) {
    camera.orientation = Quaternion(0.1f, 0.2f, 0.3f, 0.9f);
    camera.SetPosition(Vec3(5, 6, 7));
    GameCamera game;
    EXPECT_EQ(game.GetCamera(), services.cameras->GetDefaultCamera());

    // The level's set-up: the planes and the field of view go straight to the camera.
    game.SetFieldOfView(90 * 3.14159265f / 180);
    game.SetNearPlane(70);
    game.SetFarPlane(650);
    EXPECT_FLOAT_EQ(camera.fieldOfView, 1.5707963f);
    EXPECT_FLOAT_EQ(game.GetFieldOfView(), camera.fieldOfView);
    EXPECT_FLOAT_EQ(camera.nearPlane, 70);
    EXPECT_FLOAT_EQ(camera.farPlane, 650);

    // Without a hold, key 0 (identity at the origin) is applied.
    game.Update();
    ExpectPose(camera, Quaternion(0, 0, 0, 1), Vec3(0, 0, 0), "key 0");

    const Quaternion start(0.4939f, 0, 0, 0.8695f);
    game.startRotation = start;
    game.startPosition = Vec3(0, -140, 98);
    game.ResetToStart();
    EXPECT_TRUE(game.IsHoldingStart());
    EXPECT_FLOAT_EQ(game.GetCurrentPosition().y, -140);
    ExpectPose(camera, Quaternion(0, 0, 0, 1), Vec3(0, 0, 0), "unchanged until the update");
    for (int frame = 0; frame < 3; ++frame) {
        game.Update();
        ExpectPose(camera, start, Vec3(0, -140, 98), "held");
    }
    // The start fields are read again at every update while the hold lasts.
    game.startPosition = Vec3(1, 2, 3);
    game.Update();
    ExpectPose(camera, start, Vec3(1, 2, 3), "changed start");
    EXPECT_TRUE(game.IsHoldingStart());
}

TEST_F(GameCameraTest, PlayingTheKeysEndsTheHoldForGood) {
    GameCamera game;
    MakeKeyFrames(*game.GetKeyAnimation(), 3);
    const Quaternion turned(0, 0.6f, 0, 0.8f);
    game.keyRotations = {Quaternion(0, 0, 0, 1), turned, Quaternion(0, 0, 0, -1)};
    game.keyPositions = {Vec3(0, 0, 0), Vec3(10, 0, 0), Vec3(10, 20, 0)};
    game.startPosition = Vec3(-1, -1, -1);
    game.ResetToStart();
    game.Update();
    ExpectPose(camera, Quaternion(), Vec3(-1, -1, -1), "held before play");

    game.GetKeyAnimation()->Play();
    game.Update(); // 0.5 s: halfway from key 0 to key 1
    EXPECT_FALSE(game.IsHoldingStart());
    ExpectPose(camera, Quaternion(0, 0.3f, 0, 0.9f), Vec3(5, 0, 0), "0.5");
    game.Update();
    game.Update(); // 1.5 s: halfway from key 1 to key 2, whose sign is flipped onto key 1's side
    ExpectPose(camera, Quaternion(0, 0.3f, 0, 0.9f), Vec3(10, 10, 0), "1.5");
    game.Update(); // 2 s: the range ends and the animation stops on its last key
    EXPECT_FALSE(game.GetKeyAnimation()->playing);
    ExpectPose(camera, Quaternion(0, 0, 0, -1), Vec3(10, 20, 0), "end");

    // Stopped, without a new hold: the keys still decide (Stop rewinds to key 0).
    game.GetKeyAnimation()->Stop();
    game.startPosition = Vec3(7, 7, 7);
    game.Update();
    ExpectPose(camera, Quaternion(), Vec3(0, 0, 0), "stopped");

    // A new hold lasts until the animation plays again.
    game.ResetToStart();
    game.Update();
    ExpectPose(camera, Quaternion(), Vec3(7, 7, 7), "held again");
}

TEST_F(GameCameraTest, OneKeyAlwaysGivesKeyZero) {
    GameCamera game;
    game.keyRotations[0] = Quaternion(0, 0, 0.6f, 0.8f);
    game.keyPositions[0] = Vec3(3, 4, 5);
    game.GetKeyAnimation()->loop = true;
    game.GetKeyAnimation()->speed = 7;
    game.GetKeyAnimation()->Play();
    for (int frame = 0; frame < 4; ++frame) {
        game.Update();
        ExpectPose(camera, Quaternion(0, 0, 0.6f, 0.8f), Vec3(3, 4, 5), "one key");
    }
}

TEST_F(GameCameraTest, KeyListsShorterThanTheAnimationAreNotReadPastTheirEnd) {
    GameCamera game;
    MakeKeyFrames(*game.GetKeyAnimation(), 4);
    game.keyRotations = {Quaternion(0, 0, 0, 1), Quaternion(0, 0.6f, 0, 0.8f)};
    game.keyPositions = {Vec3(0, 0, 0), Vec3(10, 0, 0)};
    game.GetKeyAnimation()->Play();
    for (int frame = 0; frame < 5; ++frame) // 2.5 s: between frames 2 and 3, both past the lists
        game.Update();
    ExpectPose(camera, Quaternion(0, 0.6f, 0, 0.8f), Vec3(10, 0, 0), "last entries");

    // An emptied list keeps its half of the pose; the other half still follows the keys.
    game.keyPositions.clear();
    game.keyRotations = {Quaternion(0, 0, 0.6f, 0.8f)};
    game.Update();
    ExpectPose(camera, Quaternion(0, 0, 0.6f, 0.8f), Vec3(10, 0, 0), "empty positions");
}

} // namespace
