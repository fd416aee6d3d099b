#include "tools/assets/Canvas.h"

#include <algorithm>
#include <cmath>

namespace VbAssets {

Canvas::Canvas(uint32_t w, uint32_t h, const Colour& fill)
    : width(w), height(h), pixels(size_t(w) * h, fill) {}

void Canvas::Paint(const std::function<Colour(float u, float v)>& shade) {
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            At(x, y) = shade((float(x) + 0.5f) / float(width), (float(y) + 0.5f) / float(height));
}

void Canvas::Blend(int x, int y, const Colour& colour, float coverage) {
    if (x < 0 || y < 0 || uint32_t(x) >= width || uint32_t(y) >= height)
        return;
    Colour& pixel = At(uint32_t(x), uint32_t(y));
    pixel = Mix(pixel, colour, Clamp01(coverage));
}

VelmoraFormats::Picture Canvas::ToPicture(uint32_t channels) const {
    VelmoraFormats::Picture picture(width, height, channels);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const Colour& colour = At(x, y);
            uint8_t* out = picture.At(x, y);
            for (uint32_t c = 0; c < channels; ++c)
                out[c] = uint8_t(std::lround(Clamp01(colour[c]) * 255.0f));
        }
    return picture;
}

TileNoise::TileNoise(uint32_t seed, int p)
    : period(std::max(p, 1)), lattice(size_t(period) * size_t(period)) {
    // A small integer hash per cell: the lattice is the seed's alone, on every platform.
    for (size_t i = 0; i < lattice.size(); ++i) {
        uint32_t h = seed ^ uint32_t(i * 0x9E3779B1u);
        h ^= h >> 16;
        h *= 0x7FEB352Du;
        h ^= h >> 15;
        h *= 0x846CA68Bu;
        h ^= h >> 16;
        lattice[i] = float(h >> 8) / float(1u << 24);
    }
}

float TileNoise::At(float x, float y) const {
    const float fx = std::floor(x), fy = std::floor(y);
    auto cell = [&](int cx, int cy) {
        cx = ((cx % period) + period) % period;
        cy = ((cy % period) + period) % period;
        return lattice[size_t(cy) * size_t(period) + size_t(cx)];
    };
    const int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float top = cell(ix, iy) + (cell(ix + 1, iy) - cell(ix, iy)) * tx;
    const float bottom = cell(ix, iy + 1) + (cell(ix + 1, iy + 1) - cell(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

float TileNoise::Fractal(float x, float y, int octaves) const {
    float sum = 0, weight = 0.5f, total = 0, scale = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * At(x * scale, y * scale);
        total += weight;
        weight *= 0.5f;
        scale *= 2;
    }
    return total > 0 ? sum / total : 0;
}

Colour Mix(const Colour& a, const Colour& b, float t) {
    return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t,
            a[3] + (b[3] - a[3]) * t};
}

Colour Rgb(int r, int g, int b) {
    return {float(r) / 255.0f, float(g) / 255.0f, float(b) / 255.0f, 1};
}

float Clamp01(float value) {
    return std::min(1.0f, std::max(0.0f, value));
}

float SmoothStep(float edge0, float edge1, float value) {
    const float t = Clamp01((value - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

} // namespace VbAssets
