#include "tools/assets/GuiModels.h"

#include <algorithm>
#include <stdexcept>

namespace VbAssets {

VbFormats::ModelDescription QuadModel(uint32_t frames, float speed, size_t quadCount,
                                      const std::function<std::vector<GuiQuad>(uint32_t frame)>& frameQuads) {
    if (frames == 0 || quadCount == 0)
        throw std::runtime_error("GUI model: at least one frame and one quad");
    VbFormats::ModelDescription model;
    model.flags = frames > 1 ? kGuiAnimatedFlags : kGuiStaticFlags;
    model.frameCount = frames;
    model.speed = speed;
    for (size_t q = 0; q < quadCount; ++q) {
        // Counter-clockwise seen from the camera, which looks down -z.
        const uint32_t base = uint32_t(q * 4);
        for (uint32_t index : {0u, 1u, 2u, 2u, 1u, 3u})
            model.indices.push_back(base + index);
    }
    for (uint32_t frame = 0; frame < frames; ++frame) {
        const std::vector<GuiQuad> quads = frameQuads(frame);
        if (quads.size() != quadCount)
            throw std::runtime_error("GUI model: every frame has the same quads");
        VbFormats::ModelBox box{{1e30f, 1e30f, 0}, {-1e30f, -1e30f, 0}};
        for (const GuiQuad& quad : quads) {
            const float corners[4][4] = {{quad.x0, quad.y0, quad.u0, quad.v0},
                                         {quad.x1, quad.y0, quad.u1, quad.v0},
                                         {quad.x0, quad.y1, quad.u0, quad.v1},
                                         {quad.x1, quad.y1, quad.u1, quad.v1}};
            for (const auto& corner : corners) {
                VbFormats::ModelVertex vertex;
                vertex.position = {corner[0], corner[1], 0};
                vertex.uv = {corner[2], corner[3]};
                model.vertices.push_back(vertex);
                box.min = {std::min(box.min[0], corner[0]), std::min(box.min[1], corner[1]), 0};
                box.max = {std::max(box.max[0], corner[0]), std::max(box.max[1], corner[1]), 0};
            }
        }
        model.boxes.push_back(box);
    }
    return model;
}

float EaseOut(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return 1 - (1 - t) * (1 - t) * (1 - t);
}

} // namespace VbAssets
