// Vertices in system memory, in one of two fixed layouts that the device reads as they are: plain (position,
// normal, u, v: 32 bytes) or coloured (position, normal, A8R8G8B8 colour, u, v: 36 bytes). Made only through
// the render system's factories and deleted by their owner (models, sprite groups, the GUI).
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>

namespace OrvexEngine {

struct PlainVertex {
    Vec3 position;
    Vec3 normal;
    float u = 0;
    float v = 0;
};

struct ColoredVertex {
    Vec3 position;
    Vec3 normal;
    uint32_t color = 0xFFFFFFFFu;
    float u = 0;
    float v = 0;
};

static_assert(sizeof(PlainVertex) == 32 && sizeof(ColoredVertex) == 36);

class VertexBuffer {
public:
    VertexBuffer(int32_t kind, bool withColor, uint32_t vertexCount);
    // The source's count, new storage whose contents are not set.
    VertexBuffer(int32_t kind, bool withColor, const VertexBuffer& source);
    // The source's kind, layout and count, new storage.
    explicit VertexBuffer(const VertexBuffer& source);
    VertexBuffer& operator=(const VertexBuffer&) = delete;
    virtual ~VertexBuffer();

    virtual void Unlock();
    virtual void PrepareDraw() {}
    virtual void UnpackColor(Vec4& out, uint32_t color) const = 0;
    virtual uint32_t PackColor(const Vec4& color) const = 0;
    virtual uint32_t SetColorAlpha(uint32_t color, float alpha) const = 0;
    // Vertices start .. start + count - 1, clamped to the buffer; a pointer to the first.
    virtual void* Lock(uint32_t start, uint32_t count);

    ColoredVertex* LockColoredVertices(uint32_t start, uint32_t count) {
        return static_cast<ColoredVertex*>(Lock(start, count));
    }
    PlainVertex* LockPlainVertices(uint32_t start, uint32_t count) {
        return static_cast<PlainVertex*>(Lock(start, count));
    }

    // White (1, 1, 1, 1) for the plain layout. The index must be below the vertex count.
    void GetVertexColor(Vec4& out, uint32_t index) const;
    float GetVertexAlpha(uint32_t index) const;
    // Plain layout: nothing.
    void SetColor(const Vec4& color);
    void SetAlpha(float alpha);

    int32_t GetKind() const { return kind; }
    bool HasColor() const { return withColor != 0; }
    uint32_t GetStride() const { return stride; }
    uint32_t GetVertexCount() const { return vertexCount; }
    const uint8_t* GetData() const { return data; }
    bool IsLocked() const { return locked != 0; }

protected:
    int32_t kind = 0;
    int32_t withColor = 0;
    uint32_t stride = 32;
    uint32_t vertexCount = 0;
    uint8_t* data = nullptr; // owned
    int32_t locked = 0;
    uint32_t lockStart = 0;
    uint32_t lockCount = 0;
};

} // namespace OrvexEngine
