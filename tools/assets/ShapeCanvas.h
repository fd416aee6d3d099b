// A picture being drawn by the GUI art recipes: RGBA in floats, shapes given as signed distances (negative
// inside, in pixels) and anti-aliased by their one-pixel edge, painted source-over with a colour or a
// colour function. Coordinates are pixels in the usual raster order (x right, y down, pixel centres at .5).
// A plain value; recipes make one per picture or atlas cell.
#pragma once

#include "tools/formats/Picture.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace VbAssets {

struct ShapeColour {
    float r = 0, g = 0, b = 0, a = 1;
};

// ShapeColour from 0..255 components (alpha 0..1), the way the recipes name their palette.
ShapeColour Rgba(int r, int g, int b, float a = 1);
ShapeColour MixColour(const ShapeColour& from, const ShapeColour& to, float t);

using Distance = std::function<float(float x, float y)>;
using Paint = std::function<ShapeColour(float x, float y)>;

// Signed distances of the usual shapes.
Distance RoundedBox(float x0, float y0, float x1, float y1, float radius);
Distance Disc(float cx, float cy, float radius);
// A convex or concave polygon (even-odd inside test), points in order.
Distance Polygon(std::vector<std::array<float, 2>> points);
// A line segment drawn with a round pen of the given width.
Distance Segment(float x0, float y0, float x1, float y1, float width);
// The band of a shape's edge: inside when within width / 2 of the border.
Distance Ring(Distance shape, float width);

// A vertical gradient from the top colour at y0 to the bottom colour at y1.
Paint VerticalGradient(float y0, float y1, ShapeColour top, ShapeColour bottom);

class ShapeCanvas {
public:
    ShapeCanvas(uint32_t width, uint32_t height, ShapeColour clear = {0, 0, 0, 0});

    void Draw(const Distance& shape, const Paint& paint);
    void Draw(const Distance& shape, ShapeColour colour);
    // Every pixel changed by a function of its position and colour (noise, vignettes).
    void Apply(const std::function<ShapeColour(float x, float y, ShapeColour current)>& filter);
    // Another canvas drawn over this one with its top-left corner at (x, y).
    void Blit(const ShapeCanvas& source, int x, int y);

    ShapeColour At(uint32_t x, uint32_t y) const { return pixels[size_t(y) * width + x]; }
    VelmoraFormats::Picture ToPicture(uint32_t channels = 4) const;

    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<ShapeColour> pixels; // top row first
};

// An atlas of equal cells, frame 0 at the top left, row by row: each cell is drawn by the callback at its own
// size less a 4-pixel gutter on every side, and the gutter repeats the cell's edge pixels, so filtering and
// mip levels never mix neighbouring frames.
ShapeCanvas BuildAtlas(uint32_t width, uint32_t height, uint32_t columns, uint32_t rows, uint32_t frames,
                  const std::function<void(ShapeCanvas& cell, uint32_t frame)>& drawCell);

} // namespace VbAssets
