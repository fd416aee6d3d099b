// The bones of a skinned model: per bone a local box, a pivot and the current position, rotation and scale,
// from which Animate builds each bone's matrices by blending two key frames, and the box around all bones.
// Owned by its model, which also owns the key data. BlendBoundingBoxes blends the per-frame boxes of
// vertex-animated models.
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

// Floats per bone and frame in the key data: position x, y, z; rotation x, y, z, w; scale x, y, z.
constexpr uint32_t boneKeyFloats = 10;

struct Bone {
    uint8_t boundsExclusion = 0; // non-zero: left out of the skeleton's box
    std::string name;
    BoundingBox box; // local bounds; placed by the full matrix at every Animate
    Vec3 pivot;
    Quaternion rotation;
    Vec3 position;
    Vec3 scale{1.0f, 1.0f, 1.0f};
    Matrix4 pivotMatrix;
    Matrix4 translationMatrix;
    Matrix4 rotationMatrix;
    Matrix4 scaleMatrix;
    Matrix4 normalMatrix; // rotation * scale, for normals
    Matrix4 fullMatrix;   // translation * rotation * scale * pivot: the pivot acts first
};

class Skeleton {
public:
    explicit Skeleton(uint16_t boneCount);
    Skeleton(const Skeleton& source);
    Skeleton& operator=(const Skeleton&) = delete;
    virtual ~Skeleton();

    // index must be below boneCount.
    Bone& GetBone(uint32_t index);
    // Blends frames a and b of the key data (frame-major, boneKeyFloats per bone) by t into every bone's
    // current values and matrices, then bounds the bones not excluded. Frames whose records the key data do
    // not hold leave the bones as they are.
    void Animate(const std::vector<float>& keys, uint32_t frameA, uint32_t frameB, float t);

    uint16_t boneCount = 0;
    Bone* bones = nullptr; // owned array of boneCount; null without bones
    BoundingBox box;
};

// The box between a and b: centres and half sizes blended by t.
BoundingBox BlendBoundingBoxes(const BoundingBox& a, const BoundingBox& b, float t);

} // namespace OrvexEngine
