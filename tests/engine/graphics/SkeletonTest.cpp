// ctest-label: images
#include "engine/graphics/Skeleton.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace OrvexEngine;

namespace {

void ExpectNear(const Vec3& expected, const Vec3& actual, const char* what) {
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(expected[k], actual[k], 1e-4f) << what << " component " << k;
}

// One key record: position, rotation x y z w, scale.
void PutKey(std::vector<float>& keys, const Vec3& position, const Quaternion& rotation, const Vec3& scale) {
    keys.insert(keys.end(), {position.x, position.y, position.z, rotation.x, rotation.y, rotation.z,
                             rotation.w, scale.x, scale.y, scale.z});
}

const Vec3 one(1.0f, 1.0f, 1.0f);

} // namespace

TEST(SkeletonTest, IdentityKeysWithAPivotGiveATranslationByThePivot) {
    Skeleton skeleton(1);
    skeleton.GetBone(0).pivot = Vec3(1.0f, -2.0f, 3.0f);
    std::vector<float> keys;
    PutKey(keys, Vec3(), Quaternion(), one);
    skeleton.Animate(keys, 0, 0, 0.0f);
    const Bone& bone = skeleton.GetBone(0);
    ExpectNear(Vec3(1.0f, -2.0f, 3.0f), bone.fullMatrix.MultiplyPoint(Vec3()), "origin");
    ExpectNear(Vec3(2.0f, -2.0f, 3.0f), bone.fullMatrix.MultiplyPoint(Vec3(1.0f, 0.0f, 0.0f)), "x axis");
    ExpectNear(Vec3(1.0f, 0.0f, 0.0f), bone.normalMatrix.MultiplyPoint(Vec3(1.0f, 0.0f, 0.0f)), "normal");
}

TEST(SkeletonTest, KeysAreBlendedAndThePivotActsFirst) {
    Skeleton skeleton(2);
    skeleton.GetBone(1).pivot = Vec3(-1.0f, 0.0f, 0.0f);
    const float s = std::sqrt(0.5f);
    std::vector<float> keys; // frame 0 for bones 0, 1; then frame 1
    PutKey(keys, Vec3(), Quaternion(), one);
    PutKey(keys, Vec3(), Quaternion(0.0f, 0.0f, 0.6f, 0.8f), one);
    PutKey(keys, Vec3(2.0f, 4.0f, 6.0f), Quaternion(0.0f, 0.0f, s, s), Vec3(3.0f, 3.0f, 3.0f));
    PutKey(keys, Vec3(), Quaternion(0.0f, 0.0f, -0.6f, -0.8f), one); // the same rotation, sign flipped
    skeleton.Animate(keys, 0, 1, 0.5f);

    const Bone& first = skeleton.GetBone(0);
    ExpectNear(Vec3(1.0f, 2.0f, 3.0f), first.position, "position");
    ExpectNear(Vec3(2.0f, 2.0f, 2.0f), first.scale, "scale");
    // Half-way between no turn and a quarter turn about z, scaled by 2, then moved.
    ExpectNear(Vec3(1.0f + 2.0f * s, 2.0f + 2.0f * s, 3.0f),
               first.fullMatrix.MultiplyPoint(Vec3(1.0f, 0.0f, 0.0f)), "full");
    ExpectNear(Vec3(2.0f * s, 2.0f * s, 0.0f), first.normalMatrix.MultiplyPoint(Vec3(1.0f, 0.0f, 0.0f)),
               "normal");

    // The sign-corrected blend keeps the rotation (a plain one would cancel it to nothing).
    const Bone& second = skeleton.GetBone(1);
    const Vec3 turned = second.fullMatrix.MultiplyPoint(Vec3(2.0f, 0.0f, 0.0f)); // pivot first: (1, 0, 0)
    ExpectNear(Vec3(0.28f, 0.96f, 0.0f), turned, "sign-corrected rotation");
}

TEST(SkeletonTest, TheSkeletonBoxBoundsTheBonesNotExcluded) {
    Skeleton skeleton(3);
    for (uint32_t i = 0; i < 3; ++i)
        skeleton.GetBone(i).box.Set(Vec3(-1.0f, -1.0f, -1.0f), Vec3(1.0f, 1.0f, 1.0f));
    skeleton.GetBone(2).boundsExclusion = 1;
    std::vector<float> keys;
    PutKey(keys, Vec3(5.0f, 0.0f, 0.0f), Quaternion(), one);
    PutKey(keys, Vec3(0.0f, -3.0f, 0.0f), Quaternion(), Vec3(2.0f, 2.0f, 2.0f));
    PutKey(keys, Vec3(100.0f, 100.0f, 100.0f), Quaternion(), one);
    skeleton.Animate(keys, 0, 0, 0.0f);
    ExpectNear(Vec3(-2.0f, -5.0f, -2.0f), skeleton.box.GetWorldMin(), "min");
    ExpectNear(Vec3(6.0f, 1.0f, 2.0f), skeleton.box.GetWorldMax(), "max");

    Skeleton copy(skeleton);
    EXPECT_EQ(3u, copy.boneCount);
    EXPECT_EQ(1, copy.GetBone(2).boundsExclusion);
    ExpectNear(Vec3(6.0f, 1.0f, 2.0f), copy.box.GetWorldMax(), "copied box");
    ExpectNear(Vec3(5.0f, 0.0f, 0.0f), copy.GetBone(0).position, "copied bone");

    for (Skeleton* empty : {new Skeleton(0), new Skeleton(1)}) { // no bone counts: an inverted box
        if (empty->boneCount == 1)
            empty->GetBone(0).boundsExclusion = 1;
        ExpectNear(Vec3(-0.5f, -0.5f, -0.5f), empty->box.GetLocalMin(), "new skeleton");
        std::vector<float> identity;
        for (uint32_t i = 0; i < empty->boneCount; ++i)
            PutKey(identity, Vec3(), Quaternion(), one);
        empty->Animate(identity, 0, 0, 0.0f);
        ExpectNear(Vec3(100000.0f, 100000.0f, 100000.0f), empty->box.GetLocalMin(), "inverted min");
        ExpectNear(Vec3(-100000.0f, -100000.0f, -100000.0f), empty->box.GetLocalMax(), "inverted max");
        delete empty;
    }
}

TEST(SkeletonTest, BlendBoundingBoxes) {
    const BoundingBox a = BoundingBox::FromMinMax(Vec3(0.0f, 0.0f, 0.0f), Vec3(2.0f, 2.0f, 2.0f));
    const BoundingBox b = BoundingBox::FromMinMax(Vec3(10.0f, 0.0f, -4.0f), Vec3(14.0f, 6.0f, 4.0f));
    struct Case {
        float t;
        Vec3 min, max;
    } cases[] = {{0.0f, Vec3(0.0f, 0.0f, 0.0f), Vec3(2.0f, 2.0f, 2.0f)},
                 {1.0f, Vec3(10.0f, 0.0f, -4.0f), Vec3(14.0f, 6.0f, 4.0f)},
                 {0.5f, Vec3(5.0f, 0.0f, -2.0f), Vec3(8.0f, 4.0f, 3.0f)}};
    for (const Case& c : cases) {
        const BoundingBox blended = BlendBoundingBoxes(a, b, c.t);
        ExpectNear(c.min, blended.GetWorldMin(), "min");
        ExpectNear(c.max, blended.GetWorldMax(), "max");
    }
}
