#include "tools/gen/recipes/BlocksRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/assets/Mesh.h"
#include "tools/formats/BmpWriter.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/BlockCatalogue.h"
#include "tools/gen/GenError.h"
#include "tools/gen/ModelOutput.h"

#include <algorithm>
#include <cmath>

namespace VbGen {

using VbAssets::Canvas;
using VbAssets::Colour;
using VbAssets::Float3;
using VbAssets::Mesh;
using VbAssets::Mix;
using VbAssets::Rgb;
using VbAssets::SmoothStep;
using VbAssets::TileNoise;

namespace {

constexpr float pi = 3.14159265358979f;
const std::string modelFolder = "game_objects\\blocks\\models\\";
const std::string textureFolder = "game_objects\\blocks\\textures\\";
constexpr uint32_t textureWidth = 128, textureHeight = 64;

// ---------------------------------------------------------------------------------------------------------
// Pictures. Each face of a block shows the whole picture (box projection), so darkening the picture's rim
// shades every face's edges.

float RimShade(float u, float v, float width) {
    const float edge =
        std::min({u * textureWidth, (1 - u) * textureWidth, v * textureHeight, (1 - v) * textureHeight});
    return 0.72f + 0.28f * SmoothStep(0, width, edge);
}

Colour Scaled(const Colour& colour, float factor) {
    return {colour[0] * factor, colour[1] * factor, colour[2] * factor, colour[3]};
}

// Dark wandering lines: each crack a seeded random walk from a random start; `count` of them.
void DrawCracks(Canvas& canvas, AssetRandom& random, int count, const Colour& colour) {
    for (int c = 0; c < count; ++c) {
        float x = random.Range(0, float(canvas.Width())), y = random.Range(0, float(canvas.Height()));
        float angle = random.Range(0, 2 * pi);
        const int length = 12 + int(random.Below(30));
        for (int s = 0; s < length; ++s) {
            angle += random.Range(-0.6f, 0.6f);
            x += std::cos(angle);
            y += std::sin(angle);
            canvas.Blend(int(x), int(y), colour, 0.85f);
            canvas.Blend(int(x) + 1, int(y), colour, 0.3f);
        }
    }
}

// Round studs: a lit dome with a dark rim at each centre (pixels).
void DrawStuds(Canvas& canvas, const std::vector<std::pair<float, float>>& centres, float radius,
               const Colour& metal) {
    for (const auto& [cx, cy] : centres)
        for (int y = int(cy - radius - 1); y <= int(cy + radius + 1); ++y)
            for (int x = int(cx - radius - 1); x <= int(cx + radius + 1); ++x) {
                const float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
                const float d = std::sqrt(dx * dx + dy * dy) / radius;
                if (d > 1.1f)
                    continue;
                const float light = 0.75f + 0.5f * std::max(0.0f, (-dx - dy) / (radius * 1.5f));
                canvas.Blend(x, y, Scaled(metal, d > 0.85f ? 0.45f : light), d > 1 ? (1.1f - d) * 10 : 1);
            }
}

Canvas BrickPicture(const Colour& base, uint32_t seed, float roughness) {
    TileNoise noise(seed, 8);
    Canvas canvas(textureWidth, textureHeight);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 4);
        return Scaled(base, (1 - roughness / 2 + roughness * n) * RimShade(u, v, 6));
    });
    return canvas;
}

std::vector<VelmoraFormats::Picture> PaintType(const BlockType& type, const std::string& textureName) {
    AssetRandom random(textureFolder + textureName, 1);
    const uint32_t seed = random.NextU32();
    std::vector<VelmoraFormats::Picture> layers; // colour, then the opacity picture when it is separate
    if (type.name == "clay") {
        static const std::map<std::string, Colour> colours = {
            {"clay_red.png", Rgb(190, 62, 45)},     {"clay_orange.png", Rgb(222, 122, 40)},
            {"clay_yellow.png", Rgb(226, 190, 62)}, {"clay_green.png", Rgb(84, 160, 72)},
            {"clay_blue.png", Rgb(62, 112, 200)},   {"clay_purple.png", Rgb(132, 72, 172)},
            {"clay_white.png", Rgb(226, 220, 208)}, {"clay_teal.png", Rgb(52, 160, 160)}};
        Canvas canvas = BrickPicture(colours.at(textureName), seed, 0.25f);
        layers.push_back(canvas.ToPicture(3));
    } else if (type.name == "granite" || type.name == "stone") {
        const bool granite = type.name == "granite";
        const int frame = textureName[textureName.size() - 5] - '0';
        // Every frame is drawn from the same seed, so a later frame keeps the cracks of the earlier ones.
        AssetRandom shared(textureFolder + type.name, 1);
        TileNoise noise(shared.NextU32(), 8), specks(shared.NextU32(), 64);
        Canvas canvas(textureWidth, textureHeight);
        const Colour base = granite ? Rgb(128, 126, 132) : Rgb(146, 130, 108);
        canvas.Paint([&](float u, float v) {
            float n = noise.Fractal(u * 8, v * 8, 4);
            Colour c = Scaled(base, (0.75f + 0.5f * n) * RimShade(u, v, granite ? 5 : 9));
            if (granite) {
                const float s = specks.At(u * 64, v * 64);
                if (s > 0.82f)
                    c = Mix(c, Rgb(235, 232, 228), 0.6f);
                else if (s < 0.16f)
                    c = Mix(c, Rgb(30, 30, 34), 0.6f);
            }
            return c;
        });
        DrawCracks(canvas, shared, frame * (granite ? 6 : 4), Rgb(28, 24, 22));
        layers.push_back(canvas.ToPicture(3));
    } else if (type.name == "steel") {
        TileNoise noise(seed, 8);
        Canvas canvas(textureWidth, textureHeight);
        canvas.Paint([&](float u, float v) {
            const float brushed = noise.At(u * 2, v * 64);
            return Scaled(Rgb(130, 142, 158), (0.85f + 0.25f * brushed) * RimShade(u, v, 7));
        });
        DrawStuds(canvas, {{8, 8}, {120, 8}, {8, 56}, {120, 56}, {64, 8}, {64, 56}}, 3.5f,
                  Rgb(190, 198, 210));
        layers.push_back(canvas.ToPicture(3));
    } else if (type.name == "mine") {
        TileNoise noise(seed, 8);
        Canvas canvas(textureWidth, textureHeight);
        canvas.Paint([&](float u, float v) {
            Colour c =
                Scaled(Rgb(62, 64, 60), (0.8f + 0.4f * noise.Fractal(u * 8, v * 8, 3)) * RimShade(u, v, 6));
            if (v > 0.4f && v < 0.6f) // the warning band
                c = std::fmod(u * 16 + v * 4, 2.0f) < 1 ? Rgb(230, 190, 30) : Rgb(25, 25, 25);
            return c;
        });
        std::vector<std::pair<float, float>> studs;
        for (int i = 0; i < 6; ++i)
            studs.push_back({12 + 20.8f * float(i), 12});
        for (int i = 0; i < 6; ++i)
            studs.push_back({12 + 20.8f * float(i), 52});
        DrawStuds(canvas, studs, 4, Rgb(150, 150, 140));
        layers.push_back(canvas.ToPicture(3));
    } else if (type.name == "powder") {
        // Wrapped around a keg: u runs around it, v along it. Staves, two iron hoops and a fuse whose glow
        // changes from frame to frame.
        const int frame = textureName[textureName.size() - 5] - '0';
        static const float glow[4] = {0.35f, 0.7f, 1.0f, 0.6f};
        AssetRandom shared(textureFolder + type.name, 1);
        TileNoise noise(shared.NextU32(), 8);
        Canvas canvas(textureWidth, textureHeight);
        canvas.Paint([&](float u, float v) {
            const float stave = 0.8f + 0.2f * std::fabs(std::sin(u * pi * 12));
            Colour c = Scaled(Rgb(150, 52, 36), stave * (0.8f + 0.35f * noise.Fractal(u * 8, v * 8, 3)));
            if (std::fabs(v - 0.18f) < 0.05f || std::fabs(v - 0.82f) < 0.05f)
                c = Rgb(58, 56, 54);
            const float du = (u - 0.62f) * 2, dv = v - 0.5f;
            const float d = std::sqrt(du * du + dv * dv);
            c = Mix(c, Rgb(255, 236, 120),
                    glow[frame] * (1 - SmoothStep(0.02f, 0.12f + 0.08f * glow[frame], d)));
            return c;
        });
        layers.push_back(canvas.ToPicture(3));
    } else if (type.name == "cage" || type.name == "vault") {
        const bool cage = type.name == "cage";
        TileNoise noise(seed, 8);
        Canvas canvas(textureWidth, textureHeight);
        canvas.Paint([&](float u, float v) {
            Colour c = Scaled(cage ? Rgb(196, 160, 80) : Rgb(96, 104, 118),
                              (0.75f + 0.45f * noise.Fractal(u * 8, v * 8, 3)) * RimShade(u, v, 4));
            c[3] = cage ? 0.88f : 0.95f;
            return c;
        });
        layers.push_back(canvas.ToPicture(4));
    } else if (type.name == "pillar") {
        // u runs once around the column: eight flutes; faint veins from the noise.
        TileNoise noise(seed, 8);
        Canvas canvas(textureWidth, textureHeight);
        canvas.Paint([&](float u, float v) {
            const float flute = 0.86f + 0.14f * std::cos(u * 2 * pi * 8);
            const float vein = SmoothStep(0.46f, 0.5f, noise.Fractal(u * 8, v * 8, 4)) -
                               SmoothStep(0.5f, 0.54f, noise.Fractal(u * 8, v * 8, 4));
            return Scaled(Mix(Rgb(226, 222, 214), Rgb(150, 140, 150), vein * 0.8f), flute);
        });
        layers.push_back(canvas.ToPicture(3));
    } else if (type.name == "glass" || type.name == "ghost") {
        const bool glass = type.name == "glass";
        TileNoise noise(seed, 8);
        Canvas colour(textureWidth, textureHeight), opacity(textureWidth, textureHeight);
        colour.Paint([&](float u, float v) {
            const float streak = SmoothStep(0.9f, 1.0f, std::fabs(std::sin((u * 2 + v) * pi * 1.5f)));
            const Colour tint = glass ? Rgb(168, 216, 238) : Rgb(206, 230, 255);
            return Mix(Scaled(tint, 0.85f + 0.2f * noise.Fractal(u * 8, v * 8, 3)), Rgb(255, 255, 255),
                       streak * 0.7f);
        });
        opacity.Paint([&](float u, float v) {
            const float rim = 1 - RimShade(u, v, 8);
            float a = glass ? 0.35f + 1.6f * rim : 0.42f + 0.25f * noise.Fractal(u * 8, v * 8, 3) + rim;
            a = VbAssets::Clamp01(a);
            if (glass)
                a = std::round(a * 31) / 31; // a palette of 32 greys
            return Colour{a, a, a, 1};
        });
        layers.push_back(colour.ToPicture(3));
        layers.push_back(opacity.ToPicture(glass ? 3 : 1));
    } else if (type.name == "tile") {
        Canvas canvas = BrickPicture(Rgb(184, 98, 62), seed, 0.3f);
        layers.push_back(canvas.ToPicture(3));
    } else {
        throw GenError("no picture recipe for the block type " + type.name);
    }
    return layers;
}

void WritePictures(OutputTree& out, const BlockType& type) {
    if (type.name == "ghost" || type.name == "glass") {
        std::vector<VelmoraFormats::Picture> layers = PaintType(type, type.textures[0]);
        out.Write(textureFolder + type.textures[0], VelmoraFormats::WriteJpeg(layers[0]));
        if (type.name == "ghost") {
            out.Write(textureFolder + type.textures[1], VelmoraFormats::WriteJpeg(layers[1]));
        } else {
            VelmoraFormats::BmpOptions options;
            options.bitCount = 8; // the shipped game reads palette bitmaps too
            out.Write(textureFolder + type.textures[1], VelmoraFormats::WriteBmp(layers[1], options));
        }
        return;
    }
    for (const std::string& name : type.textures) {
        std::vector<VelmoraFormats::Picture> layers = PaintType(type, name);
        VelmoraFormats::PngOptions options;
        options.colour =
            layers[0].channels == 4 ? VelmoraFormats::PngColour::RGBA : VelmoraFormats::PngColour::RGB;
        out.Write(textureFolder + name, VelmoraFormats::WritePng(layers[0], options));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Models, centred on the origin, their boxes exactly the type's size.

Mesh Bars(const Float3& size, float thickness, int verticalBars) {
    const float hx = size[0] / 2, hy = size[1] / 2, hz = size[2] / 2, t = thickness;
    Mesh mesh;
    auto bar = [&](Float3 extent, Float3 centre) {
        Mesh piece = VbAssets::Box(extent);
        VbAssets::Translate(piece, centre);
        mesh.Append(piece);
    };
    for (float sy : {-1.0f, 1.0f})
        for (float sz : {-1.0f, 1.0f}) {
            bar({size[0], t, t}, {0, sy * (hy - t / 2), sz * (hz - t / 2)});
            bar({t, size[1] - 2 * t, t}, {-(hx - t / 2), 0, sz * (hz - t / 2)});
            bar({t, size[1] - 2 * t, t}, {hx - t / 2, 0, sz * (hz - t / 2)});
        }
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            bar({t, t, size[2] - 2 * t}, {sx * (hx - t / 2), sy * (hy - t / 2), 0});
    // Thinner bars across the front and the back, so the ball inside shows between them.
    for (int i = 0; i < verticalBars; ++i) {
        const float x = -hx + size[0] * float(i + 1) / float(verticalBars + 1);
        for (float sy : {-1.0f, 1.0f})
            bar({t * 0.6f, t * 0.6f, size[2] - 2 * t}, {x, sy * (hy - t * 0.3f), 0});
    }
    return mesh;
}

Mesh BlockMesh(const BlockType& type) {
    switch (type.shape) {
    case BlockShape::Slab:
        return VbAssets::BevelBox(type.size, 0.3f);
    case BlockShape::Pillar:
        return VbAssets::Cylinder(type.size[0] / 2, type.size[2], 16);
    case BlockShape::Cage:
        return Bars(type.size, 0.8f, 3);
    case BlockShape::Vault: {
        Mesh mesh = Bars(type.size, 1.2f, 4);
        Mesh band = VbAssets::Box({type.size[0] - 2.4f, 0.8f, 0.8f});
        for (float sy : {-1.0f, 1.0f}) {
            Mesh copy = band;
            VbAssets::Translate(copy, {0, sy * (type.size[1] / 2 - 0.4f), 0});
            mesh.Append(copy);
        }
        return mesh;
    }
    case BlockShape::Brick:
        break;
    }
    if (type.name == "powder") {
        // A keg lying along x: a lathe about z, turned onto its side.
        const float r = type.size[1] / 2, h = type.size[0] / 2;
        Mesh keg = VbAssets::Lathe({{0, -h},
                                    {r * 0.82f, -h},
                                    {r * 0.95f, -h * 0.5f},
                                    {r, 0},
                                    {r * 0.95f, h * 0.5f},
                                    {r * 0.82f, h},
                                    {0, h}},
                                   16);
        VbAssets::RotateY(keg, pi / 2);
        return keg;
    }
    const float bevel = type.name == "stone" ? 1.0f : type.name == "granite" ? 0.8f : 0.6f;
    return VbAssets::BevelBox(type.size, bevel);
}

struct Piece {
    Float3 min;
    Float3 max;
};

// The block's box cut into `count` pieces: the largest piece is split across its longest side at a seeded
// place near the middle until there are enough. Pillars are cut across their height only.
std::vector<Piece> CutPieces(const BlockType& type, AssetRandom& random) {
    const Float3 h{type.size[0] / 2, type.size[1] / 2, type.size[2] / 2};
    std::vector<Piece> pieces = {{{-h[0], -h[1], -h[2]}, {h[0], h[1], h[2]}}};
    while (int(pieces.size()) < type.fragmentCount) {
        auto volume = [](const Piece& p) {
            return (p.max[0] - p.min[0]) * (p.max[1] - p.min[1]) * (p.max[2] - p.min[2]);
        };
        auto largest = std::max_element(pieces.begin(), pieces.end(), [&](const Piece& a, const Piece& b) {
            return volume(a) < volume(b);
        });
        Piece piece = *largest;
        int axis = 2;
        if (type.shape != BlockShape::Pillar) {
            axis = 0;
            for (int k = 1; k < 3; ++k)
                if (piece.max[k] - piece.min[k] > piece.max[axis] - piece.min[axis])
                    axis = k;
        }
        const float cut = piece.min[axis] + (piece.max[axis] - piece.min[axis]) * random.Range(0.38f, 0.62f);
        Piece other = piece;
        piece.max[axis] = cut;
        other.min[axis] = cut;
        *largest = piece;
        pieces.push_back(other);
    }
    return pieces;
}

Mesh PieceMesh(const BlockType& type, const Piece& piece) {
    const Float3 size{piece.max[0] - piece.min[0], piece.max[1] - piece.min[1], piece.max[2] - piece.min[2]};
    Mesh mesh = type.shape == BlockShape::Pillar ? VbAssets::Cylinder(size[0] / 2, size[2], 16)
                                                 : VbAssets::BevelBox(size, 0.35f);
    VbAssets::Translate(mesh, {(piece.min[0] + piece.max[0]) / 2, (piece.min[1] + piece.max[1]) / 2,
                               (piece.min[2] + piece.max[2]) / 2});
    return mesh;
}

void WriteTypeModels(OutputTree& out, const BlockType& type) {
    const std::string& first = type.textures.back(); // numbered frames are stored under their last name
    const bool transparent = type.name == "ghost" || type.name == "glass" || type.shape == BlockShape::Cage ||
                             type.shape == BlockShape::Vault;
    const std::string opacity = !transparent               ? ""
                                : type.textures.size() > 1 ? textureFolder + type.textures[1]
                                                           : textureFolder + first;
    const VbFormats::Material material = PictureMaterial(textureFolder + first, opacity);

    WriteModel(out, modelFolder + type.name, VbAssets::ToModel(BlockMesh(type)), material);
    if (type.collisionModel) {
        // The pillar's collision prism: eight sides, 28 triangles, the same box as the round model.
        Mesh prism = VbAssets::Cylinder(type.size[0] / 2, type.size[2], 8);
        WriteModel(out, modelFolder + type.name + "_collision", VbAssets::ToModel(prism), material);
    }
    AssetRandom random(modelFolder + "fragments\\" + type.name, 1);
    const std::vector<Piece> pieces = CutPieces(type, random);
    for (int i = 0; i < type.fragmentCount; ++i) {
        const std::string index = (i < 10 ? "0" : "") + std::to_string(i);
        WriteModel(out, modelFolder + "fragments\\" + type.name + "_" + index,
                   VbAssets::ToModel(PieceMesh(type, pieces[size_t(i)])), material);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Particle systems of every block and their sprites.

const std::string particleFolder = "game_objects\\particles\\";

VelmoraFormats::Picture Sprite(float hardness, int rays) {
    Canvas canvas(64, 64, {1, 1, 1, 0});
    canvas.Paint([&](float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float d = std::sqrt(dx * dx + dy * dy) * 2;
        float a = std::pow(VbAssets::Clamp01(1 - d), 1.0f + 2 * (1 - hardness));
        if (rays > 0) {
            const float angle = std::atan2(dy, dx);
            a = std::max(a, 0.8f * VbAssets::Clamp01(1 - d * 1.1f) *
                                std::pow(std::fabs(std::cos(angle * float(rays) / 2)), 24.0f));
        }
        return Colour{1, 1, 1, a};
    });
    return canvas.ToPicture(4);
}

VbFormats::Material SpriteMaterial(const std::string& sprite, bool smoke) {
    VbFormats::Material material = PictureMaterial(particleFolder + sprite, particleFolder + sprite);
    material.blendDestination = smoke ? 5 : 1; // additive light, or smoke that darkens
    return material;
}

// A burst: `count` particles emitted evenly over the duration.
VbFormats::ParticleDescription Burst(uint32_t count, float duration) {
    VbFormats::ParticleDescription system;
    system.maximumParticles = count;
    system.emissionDuration = duration;
    system.emissionRate.fill(float(count) / duration);
    system.emissionShape = 1; // the block's box
    system.gravityOn = false;
    system.floorOn = false;
    system.floorHeight = 0;
    system.directionCentre.fill({0, 0, 0.5f});
    system.directionSpread.fill({1, 1, 0.5f});
    return system;
}

void Fade(VbFormats::ParticleDescription& system, const Colour& from, const Colour& to, float sizeFrom,
          float sizeTo) {
    for (int k = 0; k < 6; ++k) {
        const float t = float(k) / 5;
        const Colour c = Mix(from, to, t);
        system.colour[size_t(k)] = {c[0], c[1], c[2], c[3]};
        system.size[size_t(k)] = sizeFrom + (sizeTo - sizeFrom) * t;
    }
}

void WriteBlockParticles(OutputTree& out) {
    out.Write(particleFolder + "spark.png", VelmoraFormats::WritePng(Sprite(0.8f, 4)));
    out.Write(particleFolder + "puff.png", VelmoraFormats::WritePng(Sprite(0.2f, 0)));

    VbFormats::ParticleDescription creation = Burst(24, 0.3f);
    creation.lifetimeCentre.fill(0.5f);
    creation.speedCentre.fill(0.05f);
    Fade(creation, {1, 1, 1, 1}, {0.8f, 0.9f, 1, 0}, 1.5f, 0);
    WriteParticles(out, particleFolder + "block_creation", creation, SpriteMaterial("spark.png", false));

    auto debris = [](uint32_t count, float duration, float lifeLow, float lifeHigh, float speedLow,
                     float speedHigh, float gravity) {
        VbFormats::ParticleDescription system = Burst(count, duration);
        system.lifetimeCentre.fill((lifeLow + lifeHigh) / 2);
        system.lifetimeSpread.fill((lifeHigh - lifeLow) / 2);
        system.speedCentre.fill((speedLow + speedHigh) / 2);
        system.speedSpread.fill((speedHigh - speedLow) / 2);
        system.gravityOn = true;
        system.gravity = gravity;
        system.floorOn = true;
        system.bounceFactor = 0.3f;
        return system;
    };
    VbFormats::ParticleDescription simple = debris(30, 0.3f, 0.5f, 0.9f, 0.2f, 0.5f, 0.8f);
    Fade(simple, {0.62f, 0.5f, 0.36f, 0.9f}, {0.45f, 0.38f, 0.3f, 0}, 1.0f, 0.2f);
    WriteParticles(out, particleFolder + "block_destruction_simple", simple,
                   SpriteMaterial("puff.png", true));

    VbFormats::ParticleDescription super = debris(40, 0.3f, 0.6f, 1.0f, 0.4f, 0.8f, 0.8f);
    Fade(super, {1, 0.9f, 0.4f, 1}, {1, 0.6f, 0.1f, 0}, 1.2f, 0.2f);
    WriteParticles(out, particleFolder + "block_destruction_super", super,
                   SpriteMaterial("spark.png", false));

    VbFormats::ParticleDescription explosion = debris(80, 0.4f, 0.6f, 1.4f, 0.6f, 1.2f, 0.3f);
    const Colour keys[6] = {{1, 1, 0.9f, 1},          {1, 0.8f, 0.3f, 1},          {1, 0.5f, 0.1f, 0.9f},
                            {0.5f, 0.3f, 0.2f, 0.6f}, {0.3f, 0.28f, 0.26f, 0.35f}, {0.25f, 0.25f, 0.25f, 0}};
    for (int k = 0; k < 6; ++k) {
        explosion.colour[size_t(k)] = {keys[k][0], keys[k][1], keys[k][2], keys[k][3]};
        explosion.size[size_t(k)] = 2.5f - 0.4f * float(k);
    }
    WriteParticles(out, particleFolder + "block_explosive_destruction", explosion,
                   SpriteMaterial("puff.png", false));
}

} // namespace

void BlocksRecipe::Run(const RecipeContext& context) const {
    const std::map<std::string, BlockType> types = ReadBlockCatalogue(context.contentDir);
    if (types.empty())
        return;
    for (const auto& [name, type] : types) {
        WritePictures(*context.out, type);
        WriteTypeModels(*context.out, type);
    }
    // Ten lumpy stones for the fake fragments; they take the broken block's material when they fly.
    for (int i = 0; i < 10; ++i) {
        const std::string base = modelFolder + "fragments\\common\\fragment_" + std::to_string(i);
        AssetRandom random(base, Version());
        Mesh rock = VbAssets::Rock(1.0f, 0.3f, 1, [&random] { return random.NextFloat(); });
        VbAssets::Scale(rock, {random.Range(0.8f, 1.2f), random.Range(0.8f, 1.2f), random.Range(0.6f, 1.0f)});
        WriteModel(*context.out, base, VbAssets::ToModel(rock),
                   PictureMaterial(textureFolder + "granite0.png"));
    }
    WriteBlockParticles(*context.out);
}

} // namespace VbGen
