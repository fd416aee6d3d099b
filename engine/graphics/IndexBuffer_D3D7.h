// The Direct3D 7 index buffer: the base buffer with copying constructors. Made by RenderSystem_D3D7's
// factories and deleted by its owner.
#pragma once

#include "engine/graphics/IndexBuffer.h"

namespace OrvexEngine {

class IndexBuffer_D3D7 final : public IndexBuffer {
public:
    IndexBuffer_D3D7(int32_t kind, uint32_t indexCount) : IndexBuffer(kind, indexCount) {}
    // Copies the source's indices.
    IndexBuffer_D3D7(int32_t kind, const IndexBuffer& source);
    explicit IndexBuffer_D3D7(const IndexBuffer& source);
    // A copy of another Direct3D 7 buffer copies the indices too.
    IndexBuffer_D3D7(const IndexBuffer_D3D7& source)
        : IndexBuffer_D3D7(static_cast<const IndexBuffer&>(source)) {}
    ~IndexBuffer_D3D7() override = default;

    void* Lock(uint32_t start, uint32_t count) override { return IndexBuffer::Lock(start, count); }
    void Unlock() override { IndexBuffer::Unlock(); }
    void PrepareDraw() override { IndexBuffer::PrepareDraw(); }
};

} // namespace OrvexEngine
