#include "tools/gen/recipes/BackgroundRecipe.h"

#include "tools/assets/ShapeCanvas.h"
#include "tools/assets/GuiModels.h"
#include "tools/formats/MaterialWriter.h"
#include "tools/formats/ModelWriter.h"
#include "tools/formats/ParticleWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/AssetRandom.h"

#include <cmath>
#include <vector>

namespace VbGen {

namespace {

using VbAssets::ShapeCanvas;
using VbAssets::ShapeColour;
using VbAssets::GuiQuad;
using VbAssets::Rgba;

constexpr float kPi = 3.14159265f;
const std::string kFolder = "ui\\background\\";

// A picture drawn as a single quad layer: the material names the picture beside it.
VbFormats::Material PictureMaterial(const std::string& picture, bool blended, bool additive = false) {
    VbFormats::Material material;
    if (blended) {
        material.flags = 1;
        material.blendSource = 4;
        material.blendDestination = additive ? 1 : 5;
    }
    VbFormats::MaterialStage stage;
    stage.flags = 1; // mip maps
    stage.colorImage = picture;
    stage.addressU = 0;
    stage.addressV = 0;
    material.stages.push_back(stage);
    return material;
}

// A still quad as a two-frame model: layers loop their animation, and a one-frame loop never advances.
VbFormats::ModelDescription Still(float x0, float y0, float x1, float y1) {
    return VbAssets::QuadModel(2, 1, 1, [=](uint32_t) { return std::vector<GuiQuad>{{x0, y0, x1, y1, 0, 0, 1, 1}}; });
}

ShapeCanvas Sky(uint32_t size) {
    ShapeCanvas canvas(size, size);
    const float s = float(size);
    canvas.Apply([s](float x, float y, ShapeColour) {
        ShapeColour c = VbAssets::MixColour(Rgba(22, 44, 112), Rgba(250, 186, 130), std::pow(y / s, 1.6f));
        const float sun = std::hypot(x - s * 0.78f, y - s * 0.62f) / s;
        c = VbAssets::MixColour(c, Rgba(255, 236, 190), std::exp(-sun * sun * 60) * 0.9f);
        return c;
    });
    canvas.Draw(VbAssets::Disc(s * 0.78f, s * 0.62f, s * 0.05f), Rgba(255, 248, 224));
    return canvas;
}

// Two ranges of rolling hills, the far one bluer; their outline is a sum of seeded waves.
ShapeCanvas Hills(uint32_t width, uint32_t height, AssetRandom& random) {
    ShapeCanvas canvas(width, height);
    const float w = float(width), h = float(height);
    for (int range = 0; range < 2; ++range) {
        float phase[3], frequency[3];
        for (int k = 0; k < 3; ++k) {
            phase[k] = random.Range(0, 2 * kPi);
            frequency[k] = random.Range(1.5f, 3.0f) * float(k + 1);
        }
        const float base = range == 0 ? h * 0.35f : h * 0.6f;
        const ShapeColour colour = range == 0 ? Rgba(92, 120, 160) : Rgba(52, 104, 70);
        canvas.Draw(
            [=](float x, float y) {
                float top = base;
                for (int k = 0; k < 3; ++k)
                    top -= h * 0.12f / float(k + 1) * std::sin(x / w * frequency[k] * kPi + phase[k]);
                return top - y;
            },
            colour);
    }
    return canvas;
}

// The play field as the menu shows it: a lawn seen from the bat's end, rows of bricks, the bat and a ball
// with its trail.
ShapeCanvas Field(uint32_t width, uint32_t height) {
    ShapeCanvas canvas(width, height);
    const float w = float(width), h = float(height);
    const float top = h * 0.2f;
    canvas.Draw(VbAssets::Polygon({{w * 0.22f, top}, {w * 0.78f, top}, {w * 0.98f, h}, {w * 0.02f, h}}),
                VbAssets::VerticalGradient(top, h, Rgba(70, 140, 70), Rgba(40, 100, 46)));
    canvas.Draw(VbAssets::Ring(VbAssets::Polygon({{w * 0.22f, top}, {w * 0.78f, top}, {w * 0.98f, h},
                                                  {w * 0.02f, h}}),
                               6),
                Rgba(150, 110, 60));
    const ShapeColour bricks[] = {Rgba(214, 80, 60), Rgba(240, 180, 60), Rgba(80, 150, 220), Rgba(150, 90, 200)};
    for (int row = 0; row < 4; ++row) {
        const float y = top + h * 0.06f + row * h * 0.07f;
        const float scale = 0.75f + 0.25f * (y - top) / (h - top);
        const float span = w * (0.5f + 0.35f * (y - top) / (h - top));
        const int count = 8;
        const float brick = span / count;
        for (int i = 0; i < count; ++i) {
            const float x = w / 2 - span / 2 + i * brick;
            canvas.Draw(VbAssets::RoundedBox(x + 3, y, x + brick - 3, y + h * 0.05f * scale, 4),
                        VbAssets::VerticalGradient(y, y + h * 0.05f, bricks[(row + i) % 4],
                                                   VbAssets::MixColour(bricks[(row + i) % 4], Rgba(0, 0, 0), 0.35f)));
        }
    }
    canvas.Draw(VbAssets::RoundedBox(w * 0.42f, h * 0.86f, w * 0.58f, h * 0.92f, 8),
                VbAssets::VerticalGradient(h * 0.86f, h * 0.92f, Rgba(230, 230, 240), Rgba(120, 130, 150)));
    for (int k = 0; k < 6; ++k) {
        const float t = float(k) / 6.0f;
        canvas.Draw(VbAssets::Disc(w * (0.62f - 0.12f * t), h * (0.62f + 0.2f * t), h * 0.025f * (1 - t * 0.6f)),
                    Rgba(255, 240, 200, 0.5f * (1 - t)));
    }
    canvas.Draw(VbAssets::Disc(w * 0.62f, h * 0.62f, h * 0.03f), Rgba(240, 246, 255));
    return canvas;
}

ShapeCanvas Cloud(uint32_t width, uint32_t height) {
    ShapeCanvas canvas(width, height);
    const float w = float(width), h = float(height);
    const float puffs[][3] = {{0.3f, 0.6f, 0.25f}, {0.5f, 0.45f, 0.32f}, {0.7f, 0.6f, 0.24f}, {0.5f, 0.68f, 0.28f}};
    for (const auto& puff : puffs)
        canvas.Draw(VbAssets::Disc(w * puff[0], h * puff[1], h * puff[2]),
                    VbAssets::VerticalGradient(h * 0.2f, h * 0.9f, Rgba(255, 255, 255, 0.85f),
                                               Rgba(220, 226, 240, 0.85f)));
    return canvas;
}

ShapeCanvas Ball(uint32_t size) {
    ShapeCanvas canvas(size, size);
    const float s = float(size);
    canvas.Draw(VbAssets::Disc(s / 2, s / 2, s * 0.46f), [s](float x, float y) {
        const float d = std::hypot(x - s * 0.38f, y - s * 0.36f) / s;
        return VbAssets::MixColour(Rgba(250, 252, 255), Rgba(60, 90, 170), std::min(d * 1.6f, 1.0f));
    });
    return canvas;
}

ShapeCanvas Spark(uint32_t size) {
    ShapeCanvas canvas(size, size);
    const float s = float(size);
    canvas.Draw(VbAssets::Disc(s / 2, s / 2, s / 2), [s](float x, float y) {
        const float d = std::hypot(x - s / 2, y - s / 2) / (s / 2);
        return Rgba(255, 255, 255, std::pow(std::max(1 - d, 0.0f), 1.5f));
    });
    return canvas;
}

// Three clouds drifting right across the screen in a seamless loop: each wraps from beyond the right edge
// to beyond the left one.
VbFormats::ModelDescription Clouds(uint32_t frames) {
    return VbAssets::QuadModel(frames, 2, 3, [frames](uint32_t frame) {
        const float t = float(frame) / float(frames);
        const float starts[3] = {0.0f, 0.37f, 0.71f}, heights[3] = {500, 450, 530}, widths[3] = {220, 170, 200};
        std::vector<GuiQuad> quads;
        for (int i = 0; i < 3; ++i) {
            const float x = std::fmod(starts[i] + t, 1.0f) * 1050 - 250;
            quads.push_back({x, heights[i], x + widths[i], heights[i] + widths[i] / 2, 0, 0, 1, 1});
        }
        return quads;
    });
}

// Two balls bouncing over the field picture, each along its own periodic path.
VbFormats::ModelDescription Balls(uint32_t frames) {
    return VbAssets::QuadModel(frames, 12, 2, [frames](uint32_t frame) {
        const float t = float(frame) / float(frames);
        std::vector<GuiQuad> quads;
        for (int i = 0; i < 2; ++i) {
            const float x = (i == 0 ? 300.0f : 500.0f) + 160 * std::sin(2 * kPi * (t + 0.3f * i));
            const float y = 120 + 90 * std::abs(std::sin(2 * kPi * (2 * t + 0.25f * i)));
            quads.push_back({x - 12, y - 12, x + 12, y + 12, 0, 0, 1, 1});
        }
        return quads;
    });
}

// The sparks' emitter path: a small quad whose box centre sweeps from x 80 to 720 and back at y 140.
VbFormats::ModelDescription SparkPath(uint32_t frames) {
    return VbAssets::QuadModel(frames, 4, 1, [frames](uint32_t frame) {
        const float x = 400 - 320 * std::cos(2 * kPi * float(frame) / float(frames));
        return std::vector<GuiQuad>{{x - 1, 139, x + 1, 141, 0, 0, 1, 1}};
    });
}

VbFormats::ParticleDescription Sparks() {
    VbFormats::ParticleDescription system;
    system.maximumParticles = 80;
    system.emissionDuration = 4;
    system.gravityOn = false; // the GUI camera looks down -z: gravity would pull the sparks out of the screen
    system.floorOn = false;
    system.dieWhenSlow = false;
    system.emissionRate.fill(20);
    system.lifetimeCentre.fill(3);
    system.lifetimeSpread.fill(1);
    for (auto& direction : system.directionCentre)
        direction = {0, 1, 0};
    for (auto& spread : system.directionSpread)
        spread = {0.4f, 0.1f, 0};
    system.colour = {{{1, 0.95f, 0.8f, 0}, {1, 0.95f, 0.8f, 1}, {1, 0.9f, 0.7f, 0.9f}, {1, 0.8f, 0.5f, 0.6f},
                      {1, 0.7f, 0.4f, 0.3f}, {1, 0.6f, 0.3f, 0}}};
    system.size = {3, 3, 2.4f, 1.8f, 1, 0};
    system.speedCentre.fill(0.2f);
    system.speedSpread.fill(0.1f);
    system.emissionShape = 1;
    system.boxMin = {-30, -4, 0};
    system.boxMax = {30, 4, 0};
    return system;
}

} // namespace

void BackgroundRecipe::Run(const RecipeContext& context) const {
    OutputTree& out = *context.out;
    // The placeholder art of the minimal profile keeps every name and frame count at a tiny picture size.
    const uint32_t shrink = context.profile == Profile::Minimal ? 16 : 1;
    const auto png = [&](const std::string& name, const ShapeCanvas& canvas, uint32_t channels = 4) {
        out.Write(kFolder + name, VelmoraFormats::WritePng(canvas.ToPicture(channels)));
    };
    const auto model = [&](const std::string& name, const VbFormats::ModelDescription& description,
                           const VbFormats::Material& material) {
        out.Write(kFolder + name + ".mlf", VbFormats::ModelWriter::Write(description));
        out.Write(kFolder + name + ".srf", VbFormats::MaterialWriter::Write(material));
    };

    png("sky.png", Sky(512 / shrink), 3);
    model("sky", Still(0, 0, 800, 600), PictureMaterial("sky.png", false));
    AssetRandom hillsRandom(kFolder + "hills.png", Version());
    png("hills.png", Hills(1024 / shrink, 256 / shrink, hillsRandom));
    model("hills", Still(0, 180, 800, 500), PictureMaterial("hills.png", true));
    png("field.png", Field(1024 / shrink, 512 / shrink));
    model("field", Still(0, 0, 800, 300), PictureMaterial("field.png", true));

    png("clouds.png", Cloud(256 / shrink, 128 / shrink));
    model("clouds", Clouds(64), PictureMaterial("clouds.png", true));
    png("ball_sprite.png", Ball(64 / shrink));
    model("balls", Balls(48), PictureMaterial("ball_sprite.png", true));
    VbFormats::Material plain;
    plain.flags = 1;
    plain.blendSource = 4;
    plain.blendDestination = 5;
    model("spark_path", SparkPath(32), plain);
    png("spark.png", Spark(32 / shrink));
    out.Write(kFolder + "sparks.psf", VbFormats::ParticleWriter::Write(Sparks()));
    out.Write(kFolder + "sparks.srf", VbFormats::MaterialWriter::Write(PictureMaterial("spark.png", true, true)));
}

} // namespace VbGen
