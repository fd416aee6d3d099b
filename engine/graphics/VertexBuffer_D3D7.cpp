#include "engine/graphics/VertexBuffer_D3D7.h"

#include <cstring>

namespace OrvexEngine {

namespace {

uint32_t ToByte(float component) {
    if (component >= 1.0f)
        return 255;
    if (component <= 0.0f)
        return 0;
    return static_cast<uint32_t>(component * 255.0f + 0.5f);
}

} // namespace

VertexBuffer_D3D7::VertexBuffer_D3D7(int32_t bufferKind, bool color, uint32_t count)
    : VertexBuffer(bufferKind, color, count) {
    if (color)
        SetColor(Vec4(1, 1, 1, 1));
}

VertexBuffer_D3D7::VertexBuffer_D3D7(int32_t bufferKind, bool color, const VertexBuffer& source)
    : VertexBuffer(bufferKind, color, source) {
    const uint8_t* from = source.GetData();
    auto* to = static_cast<uint8_t*>(Lock(0, vertexCount));
    uint32_t fromStride = source.GetStride();
    uint32_t fromUv = source.HasColor() ? 28 : 24;
    uint32_t toUv = color ? 28 : 24;
    for (uint32_t i = 0; i < vertexCount; ++i) {
        const uint8_t* a = from + static_cast<size_t>(i) * fromStride;
        uint8_t* b = to + static_cast<size_t>(i) * stride;
        if (fromStride == stride) {
            std::memcpy(b, a, stride);
        } else {
            std::memcpy(b, a, 24);
            std::memcpy(b + toUv, a + fromUv, 8);
        }
    }
    Unlock();
    if (color && !source.HasColor())
        SetColor(Vec4(1, 1, 1, 1));
}

VertexBuffer_D3D7::VertexBuffer_D3D7(const VertexBuffer& source) : VertexBuffer(source) {
    void* to = Lock(0, vertexCount);
    std::memcpy(to, source.GetData(), static_cast<size_t>(stride) * vertexCount);
    Unlock();
}

void VertexBuffer_D3D7::UnpackColor(Vec4& out, uint32_t color) const {
    const float scale = 1.0f / 255.0f;
    out = Vec4(static_cast<float>((color >> 16) & 0xFF) * scale,
               static_cast<float>((color >> 8) & 0xFF) * scale, static_cast<float>(color & 0xFF) * scale,
               static_cast<float>((color >> 24) & 0xFF) * scale);
}

uint32_t VertexBuffer_D3D7::PackColor(const Vec4& color) const {
    return ToByte(color.w) << 24 | ToByte(color.x) << 16 | ToByte(color.y) << 8 | ToByte(color.z);
}

uint32_t VertexBuffer_D3D7::SetColorAlpha(uint32_t color, float alpha) const {
    return (color & 0x00FFFFFFu) | ToByte(alpha) << 24;
}

} // namespace OrvexEngine
