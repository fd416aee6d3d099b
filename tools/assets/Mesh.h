// A triangle mesh as the data tools build it: positions, normals and texture coordinates per vertex and an
// index list of counter-clockwise triangles (seen from outside). Builders make the shapes the game's models
// are assembled from; operations move, merge and measure them; ToModel turns a mesh into the static model
// description the model writer takes. Plain values, owned by their user.
#pragma once

#include "tools/formats/ModelWriter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace VbAssets {

using VbFormats::Float2;
using VbFormats::Float3;

// A uniform random number in [0, 1): the recipes pass their asset's own generator.
using UnitRandom = std::function<float()>;

struct Mesh {
    std::vector<Float3> positions;
    std::vector<Float3> normals;
    std::vector<Float2> uvs;
    std::vector<uint32_t> indices;

    size_t TriangleCount() const { return indices.size() / 3; }
    // A flat triangle or quad with its own vertices (corners counter-clockwise from outside); the normal is
    // the face's, the texture coordinates are given per corner.
    void AddTriangle(const Float3& a, const Float3& b, const Float3& c, const Float2& ta, const Float2& tb,
                     const Float2& tc);
    void AddQuad(const Float3& a, const Float3& b, const Float3& c, const Float3& d, const Float2& ta,
                 const Float2& tb, const Float2& tc, const Float2& td);
    void Append(const Mesh& other);
};

struct Bounds {
    Float3 min{0, 0, 0};
    Float3 max{0, 0, 0};
    Float3 Size() const { return {max[0] - min[0], max[1] - min[1], max[2] - min[2]}; }
    Float3 Centre() const { return {(min[0] + max[0]) / 2, (min[1] + max[1]) / 2, (min[2] + max[2]) / 2}; }
};

// Builders. Sizes are full extents; every shape is centred on the origin unless it says otherwise.
// A box with its twelve edges cut by the bevel: 6 faces, 12 edge strips, 8 corner triangles (44
// triangles). Texture coordinates project each face's plane onto the whole picture.
Mesh BevelBox(const Float3& size, float bevel);
// A plain box: 12 triangles, each face mapped to the whole picture.
Mesh Box(const Float3& size);
// A closed cylinder (prism for few sides) about z: sides x 2 + (sides - 2) x 2 triangles. The picture wraps
// once around the side; the caps map the picture's square onto their disc.
Mesh Cylinder(float radius, float height, int sides);
// A surface of revolution about z from a profile of (radius, z) points bottom to top; a radius of 0 closes
// the shape at that end. The picture wraps once around and runs from v 0 at the bottom to 1 at the top.
Mesh Lathe(const std::vector<Float2>& profile, int sides);
// A sphere from a subdivided icosahedron with every vertex pushed to a radius 1 - roughness x random:
// a lumpy stone of flat faces (level 1: 80 triangles).
Mesh Rock(float radius, float roughness, int level, const UnitRandom& random);
// The rectangle x -w/2..w/2, y -h/2..h/2 at z 0 facing +z, as nx x ny cells; the picture repeats
// repeatU x repeatV times over it.
Mesh Grid(float width, float height, int nx, int ny, float repeatU, float repeatV);

// Operations.
// Every position moved by the offset.
void Translate(Mesh& mesh, const Float3& offset);
// Every position and normal turned about z by the angle (radians, counter-clockwise seen from above).
void RotateZ(Mesh& mesh, float radians);
// Every position and normal turned about x by the angle (radians).
void RotateX(Mesh& mesh, float radians);
// Every position and normal turned about y by the angle (radians).
void RotateY(Mesh& mesh, float radians);
// Every position scaled per axis; normals follow (renormalised); a negative product flips the winding.
void Scale(Mesh& mesh, const Float3& factors);
// Texture coordinates mapped affinely: u' = u x su + ou, v' = v x sv + ov.
void MapUv(Mesh& mesh, float su, float sv, float ou, float ov);
Bounds MeshBounds(const Mesh& mesh);

// The static lit model of the mesh with its bounds as the single box.
VbFormats::ModelDescription ToModel(const Mesh& mesh, uint32_t flags = 0x422C9);
// A vertex-animated model from one mesh per frame (same topology): frame vertices and one exact box per
// frame.
VbFormats::ModelDescription ToAnimatedModel(const std::vector<Mesh>& frames, float speed,
                                            uint32_t flags = 0x422CA);

// One rigid part of a skinned model: its mesh (in model space) bound wholly to one bone turning about the
// joint. rotations holds the bone's quaternion (x, y, z, w) for every frame.
struct SkinnedPart {
    std::string name;
    Mesh mesh;
    Float3 joint{0, 0, 0};
    std::vector<std::array<float, 4>> rotations;
};
// A skinned model (version 202 with pivots): each bone's pivot is the negated joint and its key position
// the joint, so the bind pose is the identity and the stored positions are the model-space ones. Every part
// needs one rotation per frame.
VbFormats::ModelDescription ToSkinnedModel(const std::vector<SkinnedPart>& parts, uint32_t frames,
                                           float speed, uint32_t flags = 0x422CC);
// The quaternion (x, y, z, w) of a turn by the angle about a unit axis.
std::array<float, 4> AxisAngle(const Float3& axis, float radians);

} // namespace VbAssets
