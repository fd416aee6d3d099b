#include "engine/graphics/Skeleton.h"

#include <algorithm>
#include <cassert>

namespace OrvexEngine {

Skeleton::Skeleton(uint16_t count) : boneCount(count), bones(count != 0 ? new Bone[count] : nullptr) {
    box.Set(Vec3(-0.5f, -0.5f, -0.5f), Vec3(0.5f, 0.5f, 0.5f));
}

Skeleton::Skeleton(const Skeleton& source)
    : boneCount(source.boneCount), bones(source.boneCount != 0 ? new Bone[source.boneCount] : nullptr),
      box(source.box) {
    std::copy(source.bones, source.bones + boneCount, bones);
}

Skeleton::~Skeleton() {
    delete[] bones;
}

Bone& Skeleton::GetBone(uint32_t index) {
    assert(index < boneCount && "bone index below the bone count");
    return bones[index];
}

void Skeleton::Animate(const std::vector<float>& keys, uint32_t frameA, uint32_t frameB, float t) {
    const size_t frameFloats = size_t(boneCount) * boneKeyFloats;
    const size_t needed = (size_t(std::max(frameA, frameB)) + 1) * frameFloats;
    assert(keys.size() >= needed && "key data for both frames");
    if (keys.size() < needed)
        return;
    for (uint32_t i = 0; i < boneCount; ++i) {
        const float* a = keys.data() + frameA * frameFloats + size_t(i) * boneKeyFloats;
        const float* b = keys.data() + frameB * frameFloats + size_t(i) * boneKeyFloats;
        Bone& bone = bones[i];
        bone.position = Vec3(a[0], a[1], a[2]).Lerp(Vec3(b[0], b[1], b[2]), t);
        bone.rotation =
            Quaternion::Lerp(Quaternion(a[3], a[4], a[5], a[6]), Quaternion(b[3], b[4], b[5], b[6]), t);
        bone.scale = Vec3(a[7], a[8], a[9]).Lerp(Vec3(b[7], b[8], b[9]), t);
        bone.pivotMatrix = Matrix4::Translation(bone.pivot);
        bone.rotationMatrix = bone.rotation.ToMatrix();
        bone.translationMatrix = Matrix4::Translation(bone.position);
        bone.scaleMatrix = Matrix4::Scaling(bone.scale);
        bone.normalMatrix = bone.rotationMatrix.Multiply(bone.scaleMatrix);
        bone.fullMatrix = bone.translationMatrix.Multiply(bone.rotationMatrix)
                              .Multiply(bone.scaleMatrix)
                              .Multiply(bone.pivotMatrix);
        bone.box.SetTransform(bone.fullMatrix);
    }
    Vec3 minimum(100000.0f, 100000.0f, 100000.0f), maximum(-100000.0f, -100000.0f, -100000.0f);
    for (uint32_t i = 0; i < boneCount; ++i) {
        if (bones[i].boundsExclusion != 0)
            continue;
        const Vec3& low = bones[i].box.GetWorldMin();
        const Vec3& high = bones[i].box.GetWorldMax();
        for (int k = 0; k < 3; ++k) {
            minimum[k] = std::min(minimum[k], low[k]);
            maximum[k] = std::max(maximum[k], high[k]);
        }
    }
    box.Set(minimum, maximum);
}

BoundingBox BlendBoundingBoxes(const BoundingBox& a, const BoundingBox& b, float t) {
    const Vec3 centre = a.GetCentre().Lerp(b.GetCentre(), t);
    const Vec3 half = a.GetHalfSize().Lerp(b.GetHalfSize(), t);
    return BoundingBox::FromMinMax(centre - half, centre + half);
}

} // namespace OrvexEngine
