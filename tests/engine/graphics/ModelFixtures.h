// Model and particle fixtures shared by the model, render-pass and particle tests: a data folder with a file
// manager over it, and small descriptions (a quad, a vertex-animated quad, a skinned quad) written through
// the data tools' writers.
#pragma once

#include "engine/files/FileManager.h"
#include "tests/support/TestLog.h"
#include "tools/formats/BinaryWriter.h"
#include "tools/formats/ModelWriter.h"
#include "tools/formats/ParticleWriter.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>

namespace VelmoraTest {

// A fresh installation folder with data/ below it and a FileManager over it (no packs).
class DataFolder {
public:
    explicit DataFolder(const std::string& name = "models") {
        root = std::filesystem::path(TempDir()) / name;
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "data");
        files = std::make_unique<OrvexEngine::FileManager>(root.string(), false, "data", 0);
        OrvexEngine::FileManager::Instance(files.get());
    }
    std::string Path(const std::string& name) const { return (root / "data" / name).string(); }
    void Save(const std::string& name, const std::vector<uint8_t>& bytes) const {
        VbFormats::SaveBytes(Path(name), bytes);
    }

    std::filesystem::path root;
    std::unique_ptr<OrvexEngine::FileManager> files;
};

// A square from (-1, -1, z) to (1, 1, z) facing +z, two triangles wound counter-clockwise from the front.
inline VbFormats::ModelDescription QuadModel(float z = 0) {
    VbFormats::ModelDescription model;
    model.flags = 0x422C9;
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
        VbFormats::ModelVertex v;
        v.position = {c[0], c[1], z};
        v.uv = {(c[0] + 1) / 2, (c[1] + 1) / 2};
        model.vertices.push_back(v);
    }
    model.indices = {0, 1, 2, 2, 3, 0};
    model.boxes = {{{-1, -1, z}, {1, 1, z}}};
    return model;
}

// The quad moved by frame f along x by f units; one exact box per frame.
inline VbFormats::ModelDescription AnimatedQuad(uint32_t frames, float speed) {
    VbFormats::ModelDescription model = QuadModel();
    const std::vector<VbFormats::ModelVertex> base = model.vertices;
    model.flags = 0x422CA;
    model.frameCount = frames;
    model.speed = speed;
    model.vertices.clear();
    model.boxes.clear();
    for (uint32_t f = 0; f < frames; ++f) {
        for (VbFormats::ModelVertex v : base) {
            v.position[0] += float(f);
            model.vertices.push_back(v);
        }
        model.boxes.push_back({{-1 + float(f), -1, 0}, {1 + float(f), 1, 0}});
    }
    return model;
}

// The quad skinned to two bones: vertices 0 and 1 follow bone 0 (still), vertices 2 and 3 bone 1, whose key
// in frame f lifts it by f along z. Bone-space positions equal model-space ones (keys are identity at f = 0).
inline VbFormats::ModelDescription SkinnedQuad(uint32_t frames, float speed, uint32_t version = 202) {
    VbFormats::ModelDescription quad = QuadModel();
    VbFormats::ModelDescription model;
    model.version = version;
    model.flags = 0x422CC;
    model.frameCount = frames;
    model.speed = speed;
    model.bones = {{0, "lower", {0, 0, 0}, {-1, -1, -0.1f}, {1, 0, 0.1f}},
                   {0, "upper", {0, 0, 0}, {-1, 0, -0.1f}, {1, 1, 0.1f}}};
    for (uint32_t f = 0; f < frames; ++f)
        for (uint32_t b = 0; b < 2; ++b) {
            const float lift = b == 1 ? float(f) : 0.0f;
            const float key[10] = {0, 0, lift, 0, 0, 0, 1, 1, 1, 1};
            model.keys.insert(model.keys.end(), key, key + 10);
        }
    for (uint32_t i = 0; i < 4; ++i) {
        VbFormats::ModelSkinnedVertex v;
        v.uv = quad.vertices[i].uv;
        VbFormats::ModelInfluence influence;
        influence.bone = i < 2 ? 0 : 1;
        influence.position = quad.vertices[i].position;
        influence.normal = {0, 0, 1};
        v.influences.push_back(influence);
        model.skinnedVertices.push_back(v);
    }
    model.indices = quad.indices;
    model.boxes = {{{-1, -1, 0}, {1, 1, 0}}};
    return model;
}

} // namespace VelmoraTest

namespace VelmoraTest {

// A box of 24 vertices (four per face, so each face has its own normal and texture corners) and 12
// triangles wound counter-clockwise seen from outside, centred on centre with the given half sizes.
inline void AppendBox(std::vector<VbFormats::ModelVertex>& vertices, std::vector<uint32_t>& indices,
                      const std::array<float, 3>& centre, const std::array<float, 3>& half) {
    // Per face: the outward axis and two in-plane axes a, b whose cross product is the outward normal (for
    // the negative faces the swapped pair turns it round), so corners -a-b, a-b, a+b, -a+b run
    // counter-clockwise seen from outside.
    const int faces[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
    const float signs[6] = {1, 1, 1, -1, -1, -1};
    for (int f = 0; f < 6; ++f) {
        const int n = faces[f][0];
        const int a = faces[f][1];
        const int b = faces[f][2];
        const uint32_t first = static_cast<uint32_t>(vertices.size());
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : corners) {
            VbFormats::ModelVertex v;
            v.normal = {0, 0, 0};
            v.normal[n] = signs[f];
            v.position = centre;
            v.position[n] += signs[f] * half[n];
            v.position[a] += c[0] * half[a];
            v.position[b] += c[1] * half[b];
            v.uv = {(c[0] + 1) / 2, (c[1] + 1) / 2};
            vertices.push_back(v);
        }
        indices.insert(indices.end(), {first, first + 1, first + 2, first + 2, first + 3, first});
    }
}

} // namespace VelmoraTest
