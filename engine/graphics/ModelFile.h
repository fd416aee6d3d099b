// The model file ("OEMLF" 201 and 202) read into memory: the merged flag word, frames and speed, the
// skeleton with its key data, indices, vertices of the kind the flags select, and the bounds. Model's file
// constructor builds its buffers from it. Every count is checked against what the file holds and every
// index against the vertex count before anything is trusted. Also the vertex records models keep.
#pragma once

#include "engine/graphics/Skeleton.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace OrvexEngine {

// One vertex of one frame of a vertex-animated model.
struct FrameVertex {
    Vec3 position;
    Vec3 normal;
    Vec2 uv;
};

struct BoneInfluence {
    uint16_t bone = 0;
    float weight = 0;
    Vec3 position; // bone space
    Vec3 normal;   // bone space
};

// The bones a skinned vertex follows; the first count slots are used.
struct VertexInfluences {
    static constexpr uint16_t maxInfluences = 4;
    uint16_t count = 0;
    BoneInfluence influences[maxInfluences];
};

struct ModelFileContents {
    uint32_t version = 0;
    uint32_t flags = 0; // the file's flags merged with the caller's; never 0
    uint32_t frameCount = 1;
    float speed = 0;                    // frames per second
    std::unique_ptr<Skeleton> skeleton; // with flag 0x4
    std::vector<float> keys;            // with flag 0x4: bones x frames x 10, frame-major
    std::vector<uint32_t> indices;
    uint32_t vertexCount = 0;
    // By the flags' priority: 0x1 static vertices (vertexCount), else 0x2 frame vertices (frames x
    // vertexCount, frame 0 first); empty otherwise.
    std::vector<FrameVertex> vertices;
    // 0x4 without 0x1 and 0x2: texture coordinates and influences per vertex.
    std::vector<Vec2> skinnedUvs;
    std::vector<VertexInfluences> influences;
    std::vector<BoundingBox> frameBoxes; // with 0x2: one per frame
    BoundingBox box;                     // frame box 0 with 0x2, else the file's one box
};

class ModelFile {
public:
    // Reads the data file name (below the data directory) with the caller's extra flags merged in before
    // the body is read. Throws FileError: "Incorrect \"<name>\" file format" for a wrong magic or size or
    // contents that do not fit together, "Incorrect \"<name>\" format version, current is 202", or the file
    // layer's text when the file cannot be opened or read.
    static void Read(const std::string& name, uint32_t extraFlags, ModelFileContents& contents);
};

} // namespace OrvexEngine
