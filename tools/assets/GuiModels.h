// Models of the GUI and the menu background: flat quads in the z = 0 plane facing the GUI camera, as vertex
// animations whose frames move, scale or clip the quads, with an exact box per frame. GUI controls draw their
// models scaled by their size from the origin, so control models are unit-sized; background models and
// animators are authored in GUI units. Plain functions over plain values.
#pragma once

#include "tools/formats/ModelWriter.h"

#include <functional>
#include <vector>

namespace VbAssets {

// One textured rectangle of a frame: corners in model units, texture rectangle with v = 0 at the bottom.
struct GuiQuad {
    float x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

// Model flags of the GUI: visible, first drawing list, no lighting, no depth, no culling; static or
// vertex-animated.
constexpr uint32_t kGuiStaticFlags = 0x00040009;
constexpr uint32_t kGuiAnimatedFlags = 0x0004000A;

// A model of `quadCount` quads over `frames` frames (one frame gives a static model); frameQuads(f) gives the
// quads of frame f, always the same number. speed: frames per second.
VbFormats::ModelDescription QuadModel(uint32_t frames, float speed, size_t quadCount,
                                      const std::function<std::vector<GuiQuad>(uint32_t frame)>& frameQuads);

// Easing of the GUI's motions: 0 at 0, 1 at 1, slowing towards the end.
float EaseOut(float t);

} // namespace VbAssets
