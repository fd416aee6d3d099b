// A picture being drawn: RGBA channels as floats 0..1 in the usual raster order (top row first). Recipes
// paint it pixel by pixel with the noise and pattern helpers below and convert it to the writers' Picture
// at the end. Plain values, owned by their user.
#pragma once

#include "tools/formats/Picture.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace VbAssets {

using Colour = std::array<float, 4>;

class Canvas {
public:
    Canvas(uint32_t width, uint32_t height, const Colour& fill = {0, 0, 0, 1});

    uint32_t Width() const { return width; }
    uint32_t Height() const { return height; }
    Colour& At(uint32_t x, uint32_t y) { return pixels[size_t(y) * width + x]; }
    const Colour& At(uint32_t x, uint32_t y) const { return pixels[size_t(y) * width + x]; }

    // Sets every pixel from its centre's place in 0..1 (u to the right, v downwards).
    void Paint(const std::function<Colour(float u, float v)>& shade);
    // Blends a colour over a pixel with the given coverage (0..1); outside the picture nothing happens.
    void Blend(int x, int y, const Colour& colour, float coverage);

    // Rounded to 8 bits, clamped, with 3 (no alpha) or 4 channels.
    VelmoraFormats::Picture ToPicture(uint32_t channels) const;

private:
    uint32_t width;
    uint32_t height;
    std::vector<Colour> pixels;
};

// Smooth value noise over a lattice of seeded random values that repeats every `period` cells, so that a
// texture painted with it tiles. Plain value.
class TileNoise {
public:
    TileNoise(uint32_t seed, int period);
    // At (x, y) in lattice cells: 0..1.
    float At(float x, float y) const;
    // Octaves of the noise, each twice the frequency and half the weight of the one before: 0..1.
    float Fractal(float x, float y, int octaves) const;

private:
    int period;
    std::vector<float> lattice;
};

Colour Mix(const Colour& a, const Colour& b, float t);
// Colour from 0..255 components, alpha 1.
Colour Rgb(int r, int g, int b);
float Clamp01(float value);
float SmoothStep(float edge0, float edge1, float value);

} // namespace VbAssets
