#include "tools/assets/ShapeCanvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace VbAssets {

namespace {

constexpr uint32_t kGutter = 4;

float Clamp01(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

} // namespace

ShapeColour Rgba(int r, int g, int b, float a) {
    return ShapeColour{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

ShapeColour MixColour(const ShapeColour& from, const ShapeColour& to, float t) {
    return ShapeColour{from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
                  from.a + (to.a - from.a) * t};
}

Distance RoundedBox(float x0, float y0, float x1, float y1, float radius) {
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    radius = std::min({radius, hx, hy});
    return [=](float x, float y) {
        const float qx = std::abs(x - cx) - hx + radius;
        const float qy = std::abs(y - cy) - hy + radius;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Distance Disc(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Distance Polygon(std::vector<std::array<float, 2>> points) {
    if (points.size() < 3)
        throw std::runtime_error("canvas: a polygon needs three points");
    return [points = std::move(points)](float x, float y) {
        float nearest = 1e30f;
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto& a = points[j];
            const auto& b = points[i];
            const float ex = b[0] - a[0], ey = b[1] - a[1];
            const float wx = x - a[0], wy = y - a[1];
            const float t = Clamp01((wx * ex + wy * ey) / std::max(ex * ex + ey * ey, 1e-12f));
            nearest = std::min(nearest, std::hypot(wx - ex * t, wy - ey * t));
            if ((a[1] > y) != (b[1] > y) && x < a[0] + (y - a[1]) * ex / ey)
                inside = !inside;
        }
        return inside ? -nearest : nearest;
    };
}

Distance Segment(float x0, float y0, float x1, float y1, float width) {
    return [=](float x, float y) {
        const float ex = x1 - x0, ey = y1 - y0;
        const float t = Clamp01(((x - x0) * ex + (y - y0) * ey) / std::max(ex * ex + ey * ey, 1e-12f));
        return std::hypot(x - x0 - ex * t, y - y0 - ey * t) - width / 2;
    };
}

Distance Ring(Distance shape, float width) {
    return [shape = std::move(shape), width](float x, float y) { return std::abs(shape(x, y)) - width / 2; };
}

Paint VerticalGradient(float y0, float y1, ShapeColour top, ShapeColour bottom) {
    return [=](float, float y) { return MixColour(top, bottom, Clamp01((y - y0) / std::max(y1 - y0, 1e-6f))); };
}

ShapeCanvas::ShapeCanvas(uint32_t width, uint32_t height, ShapeColour clear)
    : width(width), height(height), pixels(size_t(width) * height, clear) {}

void ShapeCanvas::Draw(const Distance& shape, const Paint& paint) {
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float coverage = Clamp01(0.5f - shape(px, py));
            if (coverage <= 0)
                continue;
            ShapeColour source = paint(px, py);
            const float a = Clamp01(source.a * coverage);
            ShapeColour& target = pixels[size_t(y) * width + x];
            const float outA = a + target.a * (1 - a);
            if (outA <= 0)
                continue;
            target.r = (source.r * a + target.r * target.a * (1 - a)) / outA;
            target.g = (source.g * a + target.g * target.a * (1 - a)) / outA;
            target.b = (source.b * a + target.b * target.a * (1 - a)) / outA;
            target.a = outA;
        }
}

void ShapeCanvas::Draw(const Distance& shape, ShapeColour colour) {
    Draw(shape, [colour](float, float) { return colour; });
}

void ShapeCanvas::Apply(const std::function<ShapeColour(float x, float y, ShapeColour current)>& filter) {
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            ShapeColour& pixel = pixels[size_t(y) * width + x];
            pixel = filter(x + 0.5f, y + 0.5f, pixel);
        }
}

void ShapeCanvas::Blit(const ShapeCanvas& source, int x, int y) {
    for (uint32_t sy = 0; sy < source.height; ++sy)
        for (uint32_t sx = 0; sx < source.width; ++sx) {
            const int tx = x + int(sx), ty = y + int(sy);
            if (tx >= 0 && ty >= 0 && tx < int(width) && ty < int(height))
                pixels[size_t(ty) * width + tx] = source.pixels[size_t(sy) * source.width + sx];
        }
}

VelmoraFormats::Picture ShapeCanvas::ToPicture(uint32_t channels) const {
    VelmoraFormats::Picture rgba(width, height, 4);
    for (size_t p = 0; p < pixels.size(); ++p) {
        const ShapeColour& c = pixels[p];
        const float values[4] = {c.r, c.g, c.b, c.a};
        for (int i = 0; i < 4; ++i)
            rgba.pixels[p * 4 + i] = uint8_t(std::lround(Clamp01(values[i]) * 255.0f));
    }
    return rgba.WithChannels(channels);
}

ShapeCanvas BuildAtlas(uint32_t width, uint32_t height, uint32_t columns, uint32_t rows, uint32_t frames,
                  const std::function<void(ShapeCanvas& cell, uint32_t frame)>& drawCell) {
    if (columns == 0 || rows == 0 || width % columns != 0 || height % rows != 0 || frames > columns * rows)
        throw std::runtime_error("atlas: the cells must divide the picture and hold every frame");
    const uint32_t cellW = width / columns, cellH = height / rows;
    if (cellW <= 2 * kGutter || cellH <= 2 * kGutter)
        throw std::runtime_error("atlas: cells too small for their gutters");
    ShapeCanvas atlas(width, height);
    for (uint32_t frame = 0; frame < frames; ++frame) {
        ShapeCanvas cell(cellW - 2 * kGutter, cellH - 2 * kGutter);
        drawCell(cell, frame);
        const uint32_t x0 = (frame % columns) * cellW, y0 = (frame / columns) * cellH;
        for (uint32_t y = 0; y < cellH; ++y)
            for (uint32_t x = 0; x < cellW; ++x) {
                const uint32_t sx = std::clamp<int>(int(x) - int(kGutter), 0, int(cell.width) - 1);
                const uint32_t sy = std::clamp<int>(int(y) - int(kGutter), 0, int(cell.height) - 1);
                atlas.pixels[size_t(y0 + y) * width + x0 + x] = cell.pixels[size_t(sy) * cell.width + sx];
            }
    }
    return atlas;
}

} // namespace VbAssets
