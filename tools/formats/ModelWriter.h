// Writes model files ("OEMLF" 201 and 202): the flag word, the animation head, bones with key frames, the
// index list (16-bit up to 65535 indices, 32-bit beyond), static, per-frame or skinned vertices and the
// bounds. The data tools make the game's models with it and tests make their fixtures; one writer per file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

using Float2 = std::array<float, 2>;
using Float3 = std::array<float, 3>;

// A static or frame vertex as the file stores it.
struct ModelVertex {
    Float2 uv{0, 0};
    Float3 normal{0, 0, 1};
    Float3 position{0, 0, 0};
};

struct ModelInfluence {
    uint16_t bone = 0;
    float weight = 1;
    Float3 normal{0, 0, 1};   // in bone space
    Float3 position{0, 0, 0}; // in bone space
};

struct ModelSkinnedVertex {
    Float2 uv{0, 0};
    std::vector<ModelInfluence> influences;
};

struct ModelBone {
    uint8_t boundsExclusion = 0;
    std::string name;
    Float3 pivot{0, 0, 0}; // written by version 202 only
    Float3 boxMin{-0.5f, -0.5f, -0.5f};
    Float3 boxMax{0.5f, 0.5f, 0.5f};
};

struct ModelBox {
    Float3 min{0, 0, 0};
    Float3 max{0, 0, 0};
};

struct ModelDescription {
    uint32_t version = 202;
    uint32_t flags = 0x422C9;     // static, list, lit, depth test, first list, cull clockwise, visible
    uint32_t frameCount = 1;      // written with flag 0x2 or 0x4
    float speed = 0;              // frames per second, written with the frame count
    std::vector<ModelBone> bones; // flag 0x4
    std::vector<float> keys;      // flag 0x4: bones x frames x 10, frame-major
    std::vector<uint32_t> indices;
    std::vector<ModelVertex> vertices;               // flag 0x1: V; flag 0x2: frames x V, frame 0 first
    std::vector<ModelSkinnedVertex> skinnedVertices; // flag 0x4 (without 0x1 and 0x2)
    uint32_t vertexCount = 0;                        // used only when no vertex block is written
    std::vector<ModelBox> boxes;                     // flag 0x2: one per frame; otherwise exactly one
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound file.
struct ModelFaults {
    bool skipChecks = false;
    std::string magic = "OEMLF";
    int32_t sizeDelta = 0;    // added to the header's total size
    uint32_t truncateBy = 0;  // bytes cut from the end (the header's size follows the cut)
    bool wideIndices = false; // 32-bit indices even for 65535 or fewer
    int64_t vertexCount = -1; // written instead of the real count when >= 0
};

class ModelWriter {
public:
    // Throws FormatError naming the rule the model breaks unless the faults skip the checks.
    static std::vector<uint8_t> Write(const ModelDescription& model, const ModelFaults& faults = {});
    static void Save(const std::string& path, const ModelDescription& model, const ModelFaults& faults = {});

    // The rules the reader relies on: versions 201 and 202; a frame count of at least 1 for animated models;
    // every index below the vertex count; frame vertices a whole number of frames; one box per frame (or
    // one); skinned vertices with at most four influences on existing bones; keys for every bone and frame.
    static void Check(const ModelDescription& model);
    // The vertex count the file declares for the model.
    static uint32_t VertexCount(const ModelDescription& model);
};

} // namespace VbFormats
