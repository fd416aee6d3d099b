#include "tools/gen/recipes/GameplayParticlesRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/ModelOutput.h"

#include <cmath>
#include <filesystem>

namespace VbGen {

using VbAssets::Canvas;
using VbAssets::Colour;
using VbAssets::Mix;
using VbAssets::Rgb;

namespace {

const std::string particleFolder = "game_objects\\particles\\";
const std::string flareFolder = "game_objects\\flares\\";

// White sprites with the shape in their alpha; the systems tint them. hardness 0 gives a soft glow, 1 a
// sharp disc; rays > 0 adds that many thin rays; grain > 0 breaks the edge up with noise.
Canvas Sprite(float hardness, int rays, float grain, uint32_t seed) {
    VbAssets::TileNoise noise(seed, 8);
    Canvas canvas(64, 64, {1, 1, 1, 0});
    canvas.Paint([&](float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        float d = std::sqrt(dx * dx + dy * dy) * 2;
        if (grain > 0)
            d += grain * (noise.Fractal(u * 4, v * 4, 3) - 0.5f);
        float a = std::pow(VbAssets::Clamp01(1 - d), 1.0f + 2.5f * (1 - hardness));
        if (rays > 0) {
            const float angle = std::atan2(dy, dx);
            a = std::max(a, VbAssets::Clamp01(1 - d * 1.05f) *
                                std::pow(std::fabs(std::cos(angle * float(rays) / 2)), 30.0f));
        }
        return Colour{1, 1, 1, a};
    });
    return canvas;
}

// A flare: a bright core in a wide soft halo, tinted white; the code gives it its colour.
Canvas Flare(float core) {
    Canvas canvas(64, 64, {1, 1, 1, 0});
    canvas.Paint([&](float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float d = std::sqrt(dx * dx + dy * dy) * 2;
        const float halo = std::pow(VbAssets::Clamp01(1 - d), 2.0f);
        const float centre = std::exp(-d * d / (core * core));
        return Colour{1, 1, 1, VbAssets::Clamp01(0.55f * halo + centre)};
    });
    return canvas;
}

// Light adds up (sparks, glows, trails); solid chips are blended over what lies behind them.
VbFormats::Material SpriteMaterial(const std::string& sprite, bool additive) {
    VbFormats::Material material = PictureMaterial(particleFolder + sprite, particleFolder + sprite);
    material.blendDestination = additive ? 1 : 5;
    return material;
}

struct Range {
    float low;
    float high;
};

// Every particle keeps the direction it was born with: the first life key scatters it, the others copy it.
VbFormats::ParticleDescription System(uint32_t maximum, float duration, Range life, Range speed) {
    VbFormats::ParticleDescription system;
    system.maximumParticles = maximum;
    system.emissionDuration = duration;
    system.lifetimeCentre.fill((life.low + life.high) / 2);
    system.lifetimeSpread.fill((life.high - life.low) / 2);
    system.speedCentre.fill((speed.low + speed.high) / 2);
    system.speedSpread.fill((speed.high - speed.low) / 2);
    system.directionCentre.fill({0, 0, 0});
    system.directionSpread.fill({0, 0, 0});
    system.directionSpread[0] = {1, 1, 1};
    system.emissionShape = 0;
    system.gravityOn = false;
    system.floorOn = false;
    system.floorHeight = 0;
    system.bounceFactor = 0.5f;
    return system;
}

// All particles at once, in the first update of a run.
VbFormats::ParticleDescription Burst(uint32_t count, float duration, Range life, Range speed) {
    VbFormats::ParticleDescription system = System(count, duration, life, speed);
    system.interpolatedEmission = false;
    system.emissionRate = {float(count), 0, 0, 0, 0, 0};
    return system;
}

// A steady stream of `rate` particles a second, for trails that run as long as their owner moves.
VbFormats::ParticleDescription Stream(uint32_t maximum, float rate, Range life, Range speed) {
    VbFormats::ParticleDescription system = System(maximum, 1, life, speed);
    system.interpolatedEmission = true;
    system.emissionRate.fill(rate);
    return system;
}

void Falling(VbFormats::ParticleDescription& system, float gravity) {
    system.gravityOn = true;
    system.gravity = gravity;
    system.floorOn = true;
    system.floorHeight = 0;
    // Upwards first: sparks thrown off a surface.
    system.directionCentre[0] = {0, 0, 0.6f};
    system.directionSpread[0] = {1, 1, 0.5f};
}

// Colours and sizes over each particle's life, through the given colours spread evenly.
void Look(VbFormats::ParticleDescription& system, const std::vector<Colour>& colours, float sizeFrom,
          float sizeTo) {
    for (size_t k = 0; k < 6; ++k) {
        const float t = float(k) / 5;
        const float at = t * float(colours.size() - 1);
        const size_t i = std::min(size_t(at), colours.size() - 2);
        const Colour c = Mix(colours[i], colours[i + 1], at - float(i));
        system.colour[k] = {c[0], c[1], c[2], c[3]};
        system.size[k] = sizeFrom + (sizeTo - sizeFrom) * t;
    }
}

Colour Faded(Colour colour) {
    colour[3] = 0;
    return colour;
}

void WriteSprite(OutputTree& out, const std::string& name, const Canvas& canvas) {
    out.Write(particleFolder + name, VelmoraFormats::WritePng(canvas.ToPicture(4)));
}

} // namespace

void GameplayParticlesRecipe::Run(const RecipeContext& context) const {
    // These come with the game-wide gameplay list (the cursor's with the interface's, below).
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(context.contentDir) / "game_objects" / "resources.xml",
                                 error))
        return;
    OutputTree& out = *context.out;
    auto seed = [&](const std::string& name) { return AssetRandom(particleFolder + name, Version()).NextU32(); };
    WriteSprite(out, "glow.png", Sprite(0.05f, 0, 0, 0));
    WriteSprite(out, "star.png", Sprite(0.7f, 4, 0, 0));
    WriteSprite(out, "ember.png", Sprite(0.85f, 0, 0, 0));
    WriteSprite(out, "dust.png", Sprite(0.5f, 0, 0.5f, seed("dust.png")));
    out.Write(flareFolder + "ball_flare.png", VelmoraFormats::WritePng(Flare(0.25f).ToPicture(4)));
    out.Write(flareFolder + "bonus_flare.png", VelmoraFormats::WritePng(Flare(0.45f).ToPicture(4)));

    const Colour white = Rgb(255, 255, 255), paleBlue = Rgb(150, 200, 255), gold = Rgb(255, 200, 60);
    const Colour orange = Rgb(255, 140, 40), red = Rgb(220, 40, 20), yellow = Rgb(255, 236, 120);

    // The balls: sparks where they bounce, a glowing trail behind them.
    for (bool super : {false, true}) {
        const std::string type = super ? "super" : "simple";
        VbFormats::ParticleDescription hit = Burst(12, 0.3f, {0.25f, 0.4f}, {0.3f, 0.6f});
        Falling(hit, 0.5f);
        Look(hit, super ? std::vector<Colour>{white, gold, Faded(orange)} : std::vector<Colour>{white, paleBlue, Faded(paleBlue)},
             0.8f, 0.1f);
        WriteParticles(out, particleFolder + "ball_hit_" + type, hit, SpriteMaterial("star.png", true));

        VbFormats::ParticleDescription train = Stream(40, 40, {0.4f, 0.4f}, {0.02f, 0.02f});
        const Colour tint = super ? orange : paleBlue;
        Look(train, {Mix(tint, white, 0.3f), tint, Faded(tint)}, 1.2f, 0);
        WriteParticles(out, particleFolder + "ball_train_" + type, train, SpriteMaterial("glow.png", true));
    }

    // The bat breaking apart: a shower of embers, yellow cooling to red.
    VbFormats::ParticleDescription bat = Burst(60, 0.5f, {0.6f, 1.2f}, {0.4f, 0.9f});
    Falling(bat, 1);
    Look(bat, {white, yellow, orange, red, Faded(red)}, 1.5f, 0.2f);
    WriteParticles(out, particleFolder + "bat_destruction", bat, SpriteMaterial("ember.png", true));

    // Bonuses: a flash where one is caught, a golden ring of stars when the end-level hammer drops.
    VbFormats::ParticleDescription caught = Burst(30, 0.3f, {0.5f, 0.5f}, {0.3f, 0.3f});
    Look(caught, {white, white, Faded(white)}, 1.0f, 0);
    WriteParticles(out, particleFolder + "bonus_catch", caught, SpriteMaterial("star.png", true));
    VbFormats::ParticleDescription endLevel = Burst(40, 0.5f, {0.8f, 0.8f}, {0.2f, 0.4f});
    Look(endLevel, {yellow, gold, Faded(gold)}, 2.0f, 0);
    WriteParticles(out, particleFolder + "bonus_end_level", endLevel, SpriteMaterial("star.png", true));

    // Bolts: a faint white trail in flight, wood chips where they strike.
    for (const std::string gun : {"arbalet", "ballista"}) {
        const bool heavy = gun == "ballista";
        VbFormats::ParticleDescription trail = Stream(30, 30, {0.3f, 0.3f}, {0.01f, 0.01f});
        Look(trail, {white, Faded(white)}, heavy ? 0.9f : 0.6f, 0);
        WriteParticles(out, particleFolder + "bolt_train_" + gun, trail, SpriteMaterial("glow.png", true));

        VbFormats::ParticleDescription chips = Burst(16, 0.2f, {0.3f, 0.3f}, {0.3f, 0.6f});
        Falling(chips, 1);
        Look(chips, {Rgb(196, 150, 92), Rgb(150, 104, 58), Faded(Rgb(120, 84, 48))}, heavy ? 0.9f : 0.6f, 0.1f);
        WriteParticles(out, particleFolder + "bolt_hit_" + gun, chips, SpriteMaterial("dust.png", false));
    }

    // The menu cursor's gold trail drifting down and right, and its burst of white sparks at a click; drawn
    // in GUI units, with the same sprites.
    const std::string cursorFolder = "ui\\particles\\";
    VbFormats::ParticleDescription trail = Stream(60, 40, {0.6f, 0.6f}, {0.1f, 0.3f});
    trail.directionCentre.fill({0.7f, -0.7f, 0});
    trail.directionSpread.fill({0.2f, 0.2f, 0});
    Look(trail, {gold, Faded(gold)}, 4, 0);
    WriteParticles(out, cursorFolder + "cursor_train", trail, SpriteMaterial("glow.png", true));
    VbFormats::ParticleDescription click = Burst(24, 0.2f, {0.4f, 0.4f}, {0.6f, 1.2f});
    click.directionSpread[0] = {1, 1, 0};
    Look(click, {white, Faded(white)}, 5, 0);
    WriteParticles(out, cursorFolder + "cursor_click", click, SpriteMaterial("star.png", true));
}

} // namespace VbGen
