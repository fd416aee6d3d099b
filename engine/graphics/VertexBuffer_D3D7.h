// The Direct3D 7 vertex buffer: the A8R8G8B8 colour packing of the device and the copying constructors
// that convert between the plain and the coloured layout. Made by RenderSystem_D3D7's factories.
#pragma once

#include "engine/graphics/VertexBuffer.h"

namespace OrvexEngine {

class VertexBuffer_D3D7 final : public VertexBuffer {
public:
    // With colour, every vertex starts white.
    VertexBuffer_D3D7(int32_t kind, bool withColor, uint32_t vertexCount);
    // Copies positions, normals and texture coordinates of the source into this layout; colours become
    // white when the source had none and are dropped when this layout has none.
    VertexBuffer_D3D7(int32_t kind, bool withColor, const VertexBuffer& source);
    explicit VertexBuffer_D3D7(const VertexBuffer& source);
    // A copy of another Direct3D 7 buffer copies the vertices too.
    VertexBuffer_D3D7(const VertexBuffer_D3D7& source)
        : VertexBuffer_D3D7(static_cast<const VertexBuffer&>(source)) {}
    ~VertexBuffer_D3D7() override = default;

    void Unlock() override { VertexBuffer::Unlock(); }
    void PrepareDraw() override { VertexBuffer::PrepareDraw(); }
    void* Lock(uint32_t start, uint32_t count) override { return VertexBuffer::Lock(start, count); }
    void UnpackColor(Vec4& out, uint32_t color) const override;
    // Components clamped to 0..1 and rounded to bytes.
    uint32_t PackColor(const Vec4& color) const override;
    uint32_t SetColorAlpha(uint32_t color, float alpha) const override;
};

} // namespace OrvexEngine
