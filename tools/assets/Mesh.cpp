#include "tools/assets/Mesh.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace VbAssets {

namespace {

constexpr float pi = 3.14159265358979f;

Float3 Sub(const Float3& a, const Float3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Float3 Add(const Float3& a, const Float3& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
Float3 Mul(const Float3& a, float s) {
    return {a[0] * s, a[1] * s, a[2] * s};
}
float Dot(const Float3& a, const Float3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Float3 Cross(const Float3& a, const Float3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Float3 Normalised(const Float3& a) {
    float length = std::sqrt(Dot(a, a));
    return length > 1e-12f ? Mul(a, 1 / length) : Float3{0, 0, 1};
}

// Texture coordinates of a point on a box-shaped surface: the face plane of the normal's main axis,
// mapped so that the picture stands upright and reads left to right seen from outside.
Float2 BoxUv(const Float3& p, const Float3& n, const Float3& half) {
    auto across = [](float value, float h) { return (value + h) / (2 * h); };
    float ax = std::fabs(n[0]), ay = std::fabs(n[1]), az = std::fabs(n[2]);
    if (az >= ax && az >= ay)
        return {across(n[2] > 0 ? p[0] : -p[0], half[0]), across(p[1], half[1])};
    if (ay >= ax)
        return {across(n[1] < 0 ? p[0] : -p[0], half[0]), across(p[2], half[2])};
    return {across(n[0] > 0 ? p[1] : -p[1], half[1]), across(p[2], half[2])};
}

// Adds a convex polygon of a shape that holds the origin, turned to face away from it, with box-projected
// texture coordinates.
void AddOutwardPolygon(Mesh& mesh, std::vector<Float3> corners, const Float3& half) {
    Float3 normal = Normalised(Cross(Sub(corners[1], corners[0]), Sub(corners[2], corners[0])));
    if (Dot(normal, corners[0]) < 0) {
        std::reverse(corners.begin(), corners.end());
        normal = Mul(normal, -1);
    }
    const uint32_t base = uint32_t(mesh.positions.size());
    for (const Float3& corner : corners) {
        mesh.positions.push_back(corner);
        mesh.normals.push_back(normal);
        mesh.uvs.push_back(BoxUv(corner, normal, half));
    }
    for (uint32_t i = 1; i + 1 < corners.size(); ++i)
        mesh.indices.insert(mesh.indices.end(), {base, base + i, base + i + 1});
}

} // namespace

void Mesh::AddTriangle(const Float3& a, const Float3& b, const Float3& c, const Float2& ta, const Float2& tb,
                       const Float2& tc) {
    const Float3 normal = Normalised(Cross(Sub(b, a), Sub(c, a)));
    const uint32_t base = uint32_t(positions.size());
    positions.insert(positions.end(), {a, b, c});
    normals.insert(normals.end(), {normal, normal, normal});
    uvs.insert(uvs.end(), {ta, tb, tc});
    indices.insert(indices.end(), {base, base + 1, base + 2});
}

void Mesh::AddQuad(const Float3& a, const Float3& b, const Float3& c, const Float3& d, const Float2& ta,
                   const Float2& tb, const Float2& tc, const Float2& td) {
    const Float3 normal = Normalised(Cross(Sub(b, a), Sub(c, a)));
    const uint32_t base = uint32_t(positions.size());
    positions.insert(positions.end(), {a, b, c, d});
    normals.insert(normals.end(), {normal, normal, normal, normal});
    uvs.insert(uvs.end(), {ta, tb, tc, td});
    indices.insert(indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

void Mesh::Append(const Mesh& other) {
    const uint32_t base = uint32_t(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (uint32_t index : other.indices)
        indices.push_back(base + index);
}

Mesh BevelBox(const Float3& size, float bevel) {
    const Float3 h = Mul(size, 0.5f);
    const float b = std::min({bevel, h[0] * 0.9f, h[1] * 0.9f, h[2] * 0.9f});
    Mesh mesh;
    // The faces: on axis a, at the sign s, inset by the bevel on the two other axes.
    for (int a = 0; a < 3; ++a) {
        const int u = (a + 1) % 3, v = (a + 2) % 3;
        for (float s : {-1.0f, 1.0f}) {
            std::vector<Float3> corners;
            for (auto [cu, cv] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
                Float3 p{};
                p[a] = s * h[a];
                p[u] = cu * (h[u] - b);
                p[v] = cv * (h[v] - b);
                corners.push_back(p);
            }
            AddOutwardPolygon(mesh, corners, h);
        }
    }
    // The edge strips between two faces, along the third axis.
    for (int along = 0; along < 3; ++along) {
        const int p = (along + 1) % 3, q = (along + 2) % 3;
        for (float sp : {-1.0f, 1.0f})
            for (float sq : {-1.0f, 1.0f}) {
                std::vector<Float3> corners;
                for (float end : {-1.0f, 1.0f})
                    for (int side = 0; side < 2; ++side) {
                        Float3 c{};
                        c[along] = end * (h[along] - b);
                        c[p] = sp * (side == 0 ? h[p] : h[p] - b);
                        c[q] = sq * (side == 0 ? h[q] - b : h[q]);
                        corners.push_back(c);
                    }
                std::swap(corners[2], corners[3]); // a loop, not a zig-zag
                AddOutwardPolygon(mesh, corners, h);
            }
    }
    // The corner triangles.
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            for (float sz : {-1.0f, 1.0f})
                AddOutwardPolygon(mesh,
                                  {{sx * h[0], sy * (h[1] - b), sz * (h[2] - b)},
                                   {sx * (h[0] - b), sy * h[1], sz * (h[2] - b)},
                                   {sx * (h[0] - b), sy * (h[1] - b), sz * h[2]}},
                                  h);
    return mesh;
}

Mesh Box(const Float3& size) {
    const Float3 h = Mul(size, 0.5f);
    Mesh mesh;
    for (int a = 0; a < 3; ++a) {
        const int u = (a + 1) % 3, v = (a + 2) % 3;
        for (float s : {-1.0f, 1.0f}) {
            std::vector<Float3> corners;
            for (auto [cu, cv] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
                Float3 p{};
                p[a] = s * h[a];
                p[u] = cu * h[u];
                p[v] = cv * h[v];
                corners.push_back(p);
            }
            AddOutwardPolygon(mesh, corners, h);
        }
    }
    return mesh;
}

Mesh Cylinder(float radius, float height, int sides) {
    Mesh mesh;
    const float z0 = -height / 2, z1 = height / 2;
    auto at = [&](int i, float z) {
        const float angle = 2 * pi * float(i % sides) / float(sides);
        return Float3{radius * std::cos(angle), radius * std::sin(angle), z};
    };
    auto disc = [&](int i) {
        const float angle = 2 * pi * float(i % sides) / float(sides);
        return Float2{0.5f + 0.5f * std::cos(angle), 0.5f + 0.5f * std::sin(angle)};
    };
    for (int i = 0; i < sides; ++i) {
        const float u0 = float(i) / float(sides), u1 = float(i + 1) / float(sides);
        mesh.AddQuad(at(i, z0), at(i + 1, z0), at(i + 1, z1), at(i, z1), {u0, 0}, {u1, 0}, {u1, 1}, {u0, 1});
    }
    for (int i = 1; i + 1 < sides; ++i) {
        mesh.AddTriangle(at(0, z1), at(i, z1), at(i + 1, z1), disc(0), disc(i), disc(i + 1));
        mesh.AddTriangle(at(0, z0), at(i + 1, z0), at(i, z0), disc(0), disc(i + 1), disc(i));
    }
    return mesh;
}

Mesh Lathe(const std::vector<Float2>& profile, int sides) {
    Mesh mesh;
    auto at = [&](size_t k, int i) {
        const float angle = 2 * pi * float(i % sides) / float(sides);
        return Float3{profile[k][0] * std::cos(angle), profile[k][0] * std::sin(angle), profile[k][1]};
    };
    const float zLow = profile.front()[1], zHigh = profile.back()[1];
    const float zSpan = zHigh != zLow ? zHigh - zLow : 1;
    for (size_t k = 0; k + 1 < profile.size(); ++k) {
        const float v0 = (profile[k][1] - zLow) / zSpan, v1 = (profile[k + 1][1] - zLow) / zSpan;
        for (int i = 0; i < sides; ++i) {
            const float u0 = float(i) / float(sides), u1 = float(i + 1) / float(sides);
            const Float3 a = at(k, i), b = at(k, i + 1), c = at(k + 1, i + 1), d = at(k + 1, i);
            // A ring of radius 0 is a point: one of the quad's triangles vanishes.
            if (profile[k][0] > 0)
                mesh.AddTriangle(a, b, c, {u0, v0}, {u1, v0}, {u1, v1});
            if (profile[k + 1][0] > 0)
                mesh.AddTriangle(a, c, d, {u0, v0}, {u1, v1}, {u0, v1});
        }
    }
    return mesh;
}

Mesh Rock(float radius, float roughness, int level, const UnitRandom& random) {
    // The icosahedron, then each triangle split into four, the new corners pushed onto the sphere.
    const float t = (1 + std::sqrt(5.0f)) / 2;
    std::vector<Float3> points = {{-1, t, 0},  {1, t, 0},  {-1, -t, 0}, {1, -t, 0}, {0, -1, t},  {0, 1, t},
                                  {0, -1, -t}, {0, 1, -t}, {t, 0, -1},  {t, 0, 1},  {-t, 0, -1}, {-t, 0, 1}};
    for (Float3& p : points)
        p = Normalised(p);
    std::vector<std::array<uint32_t, 3>> faces = {
        {0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
        {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
        {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int l = 0; l < level; ++l) {
        std::map<std::pair<uint32_t, uint32_t>, uint32_t> middles;
        auto middle = [&](uint32_t a, uint32_t b) {
            auto key = std::minmax(a, b);
            auto found = middles.find(key);
            if (found != middles.end())
                return found->second;
            points.push_back(Normalised(Add(points[a], points[b])));
            middles[key] = uint32_t(points.size() - 1);
            return uint32_t(points.size() - 1);
        };
        std::vector<std::array<uint32_t, 3>> finer;
        for (const auto& f : faces) {
            const uint32_t ab = middle(f[0], f[1]), bc = middle(f[1], f[2]), ca = middle(f[2], f[0]);
            finer.insert(finer.end(), {{f[0], ab, ca}, {f[1], bc, ab}, {f[2], ca, bc}, {ab, bc, ca}});
        }
        faces = std::move(finer);
    }
    for (Float3& p : points)
        p = Mul(p, radius * (1 - roughness * random()));
    Mesh mesh;
    const Float3 half{radius, radius, radius};
    for (const auto& f : faces)
        AddOutwardPolygon(mesh, {points[f[0]], points[f[1]], points[f[2]]}, half);
    return mesh;
}

Mesh Grid(float width, float height, int nx, int ny, float repeatU, float repeatV) {
    Mesh mesh;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const float x0 = width * (float(i) / float(nx) - 0.5f),
                        x1 = width * (float(i + 1) / float(nx) - 0.5f);
            const float y0 = height * (float(j) / float(ny) - 0.5f),
                        y1 = height * (float(j + 1) / float(ny) - 0.5f);
            const float u0 = repeatU * float(i) / float(nx), u1 = repeatU * float(i + 1) / float(nx);
            const float v0 = repeatV * float(j) / float(ny), v1 = repeatV * float(j + 1) / float(ny);
            mesh.AddQuad({x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}, {u0, v0}, {u1, v0}, {u1, v1},
                         {u0, v1});
        }
    return mesh;
}

void Translate(Mesh& mesh, const Float3& offset) {
    for (Float3& p : mesh.positions)
        p = Add(p, offset);
}

void RotateZ(Mesh& mesh, float radians) {
    const float c = std::cos(radians), s = std::sin(radians);
    auto turn = [&](Float3& p) { p = {c * p[0] - s * p[1], s * p[0] + c * p[1], p[2]}; };
    std::for_each(mesh.positions.begin(), mesh.positions.end(), turn);
    std::for_each(mesh.normals.begin(), mesh.normals.end(), turn);
}

void RotateX(Mesh& mesh, float radians) {
    const float c = std::cos(radians), s = std::sin(radians);
    auto turn = [&](Float3& p) { p = {p[0], c * p[1] - s * p[2], s * p[1] + c * p[2]}; };
    std::for_each(mesh.positions.begin(), mesh.positions.end(), turn);
    std::for_each(mesh.normals.begin(), mesh.normals.end(), turn);
}

void RotateY(Mesh& mesh, float radians) {
    const float c = std::cos(radians), s = std::sin(radians);
    auto turn = [&](Float3& p) { p = {c * p[0] + s * p[2], p[1], -s * p[0] + c * p[2]}; };
    std::for_each(mesh.positions.begin(), mesh.positions.end(), turn);
    std::for_each(mesh.normals.begin(), mesh.normals.end(), turn);
}

void Scale(Mesh& mesh, const Float3& factors) {
    for (Float3& p : mesh.positions)
        p = {p[0] * factors[0], p[1] * factors[1], p[2] * factors[2]};
    for (Float3& n : mesh.normals)
        n = Normalised({n[0] / factors[0], n[1] / factors[1], n[2] / factors[2]});
    if (factors[0] * factors[1] * factors[2] < 0)
        for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3)
            std::swap(mesh.indices[i + 1], mesh.indices[i + 2]);
}

void MapUv(Mesh& mesh, float su, float sv, float ou, float ov) {
    for (Float2& uv : mesh.uvs)
        uv = {uv[0] * su + ou, uv[1] * sv + ov};
}

Bounds MeshBounds(const Mesh& mesh) {
    Bounds bounds;
    if (mesh.positions.empty())
        return bounds;
    bounds.min = bounds.max = mesh.positions.front();
    for (const Float3& p : mesh.positions)
        for (int k = 0; k < 3; ++k) {
            bounds.min[k] = std::min(bounds.min[k], p[k]);
            bounds.max[k] = std::max(bounds.max[k], p[k]);
        }
    return bounds;
}

namespace {

std::vector<VbFormats::ModelVertex> Vertices(const Mesh& mesh) {
    std::vector<VbFormats::ModelVertex> vertices(mesh.positions.size());
    for (size_t i = 0; i < vertices.size(); ++i)
        vertices[i] = {mesh.uvs[i], mesh.normals[i], mesh.positions[i]};
    return vertices;
}

VbFormats::ModelBox BoxOf(const Mesh& mesh) {
    const Bounds bounds = MeshBounds(mesh);
    return {bounds.min, bounds.max};
}

} // namespace

VbFormats::ModelDescription ToModel(const Mesh& mesh, uint32_t flags) {
    VbFormats::ModelDescription model;
    model.flags = flags;
    model.indices = mesh.indices;
    model.vertices = Vertices(mesh);
    model.boxes = {BoxOf(mesh)};
    return model;
}

VbFormats::ModelDescription ToAnimatedModel(const std::vector<Mesh>& frames, float speed, uint32_t flags) {
    VbFormats::ModelDescription model;
    model.flags = flags;
    model.frameCount = uint32_t(frames.size());
    model.speed = speed;
    model.indices = frames.front().indices;
    for (const Mesh& frame : frames) {
        std::vector<VbFormats::ModelVertex> vertices = Vertices(frame);
        model.vertices.insert(model.vertices.end(), vertices.begin(), vertices.end());
        model.boxes.push_back(BoxOf(frame));
    }
    return model;
}

VbFormats::ModelDescription ToSkinnedModel(const std::vector<SkinnedPart>& parts, uint32_t frames,
                                           float speed, uint32_t flags) {
    VbFormats::ModelDescription model;
    model.flags = flags;
    model.frameCount = frames;
    model.speed = speed;
    Mesh all;
    for (size_t b = 0; b < parts.size(); ++b) {
        const SkinnedPart& part = parts[b];
        VbFormats::ModelBone bone;
        bone.name = part.name;
        bone.pivot = Mul(part.joint, -1);
        const Bounds bounds = MeshBounds(part.mesh);
        bone.boxMin = bounds.min;
        bone.boxMax = bounds.max;
        model.bones.push_back(bone);
        const uint32_t base = uint32_t(model.skinnedVertices.size());
        for (size_t i = 0; i < part.mesh.positions.size(); ++i) {
            VbFormats::ModelSkinnedVertex vertex;
            vertex.uv = part.mesh.uvs[i];
            vertex.influences.push_back({uint16_t(b), 1.0f, part.mesh.normals[i], part.mesh.positions[i]});
            model.skinnedVertices.push_back(vertex);
        }
        for (uint32_t index : part.mesh.indices)
            model.indices.push_back(base + index);
        all.Append(part.mesh);
    }
    for (uint32_t f = 0; f < frames; ++f)
        for (const SkinnedPart& part : parts) {
            const std::array<float, 4>& q = part.rotations.at(f);
            model.keys.insert(model.keys.end(),
                              {part.joint[0], part.joint[1], part.joint[2], q[0], q[1], q[2], q[3], 1, 1, 1});
        }
    model.boxes = {BoxOf(all)};
    return model;
}

std::array<float, 4> AxisAngle(const Float3& axis, float radians) {
    const Float3 a = Normalised(axis);
    const float s = std::sin(radians / 2);
    return {a[0] * s, a[1] * s, a[2] * s, std::cos(radians / 2)};
}

} // namespace VbAssets
