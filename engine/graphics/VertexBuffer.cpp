#include "engine/graphics/VertexBuffer.h"

#include <cstring>

namespace OrvexEngine {

VertexBuffer::VertexBuffer(int32_t bufferKind, bool color, uint32_t count)
    : kind(bufferKind), withColor(color ? 1 : 0), stride(color ? 36 : 32), vertexCount(count) {
    data = new uint8_t[static_cast<size_t>(stride) * vertexCount]();
}

VertexBuffer::VertexBuffer(int32_t bufferKind, bool color, const VertexBuffer& source)
    : VertexBuffer(bufferKind, color, source.vertexCount) {}

VertexBuffer::VertexBuffer(const VertexBuffer& source)
    : VertexBuffer(source.kind, source.withColor != 0, source.vertexCount) {}

VertexBuffer::~VertexBuffer() {
    delete[] data;
}

void* VertexBuffer::Lock(uint32_t start, uint32_t count) {
    // A range past the end is cut back so that no writer can be handed memory beyond the vertices.
    if (start > vertexCount)
        start = vertexCount;
    if (count > vertexCount - start)
        count = vertexCount - start;
    locked = 1;
    lockStart = start;
    lockCount = count;
    return data + static_cast<size_t>(start) * stride;
}

void VertexBuffer::Unlock() {
    locked = 0;
}

void VertexBuffer::GetVertexColor(Vec4& out, uint32_t index) const {
    if (withColor == 0) {
        out = Vec4(1, 1, 1, 1);
        return;
    }
    uint32_t color = 0;
    std::memcpy(&color, data + static_cast<size_t>(index) * stride + 24, 4);
    UnpackColor(out, color);
}

float VertexBuffer::GetVertexAlpha(uint32_t index) const {
    Vec4 color;
    GetVertexColor(color, index);
    return color.w;
}

void VertexBuffer::SetColor(const Vec4& color) {
    if (withColor == 0)
        return;
    uint32_t packed = PackColor(color);
    ColoredVertex* vertices = LockColoredVertices(0, vertexCount);
    for (uint32_t i = 0; i < vertexCount; ++i)
        vertices[i].color = packed;
    Unlock();
}

void VertexBuffer::SetAlpha(float alpha) {
    if (withColor == 0)
        return;
    ColoredVertex* vertices = LockColoredVertices(0, vertexCount);
    for (uint32_t i = 0; i < vertexCount; ++i)
        vertices[i].color = SetColorAlpha(vertices[i].color, alpha);
    Unlock();
}

} // namespace OrvexEngine
