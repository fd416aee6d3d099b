// Triangle indices in system memory, 16-bit up to 65535 indices and 32-bit beyond, with the smallest index
// and the span of those in use computed lazily (the draw transfers only the vertices they reach). Made only
// through the render system's factories and deleted by their owner.
#pragma once

#include <cstdint>

namespace OrvexEngine {

class IndexBuffer {
public:
    IndexBuffer(int32_t kind, uint32_t indexCount);
    // The source's width, capacity, count in use and range; new storage whose contents are not set.
    IndexBuffer(int32_t kind, const IndexBuffer& source);
    explicit IndexBuffer(const IndexBuffer& source);
    IndexBuffer& operator=(const IndexBuffer&) = delete;
    virtual ~IndexBuffer();

    // Indices start .. start + count - 1, clamped to the capacity; a pointer to the first.
    virtual void* Lock(uint32_t start, uint32_t count);
    virtual void Unlock();
    virtual void PrepareDraw() {}

    // A 16-bit buffer keeps the low 16 bits of each value.
    void SetIndices(uint32_t start, uint32_t count, const uint32_t* values);
    // At most the capacity.
    void SetIndexCount(uint32_t count);
    uint32_t GetMinIndex();
    uint32_t GetIndexSpan();
    uint32_t GetIndex(uint32_t i) const;

    int32_t GetKind() const { return kind; }
    bool Is32Bit() const { return is32Bit != 0; }
    uint32_t GetIndexSize() const { return indexSize; }
    uint32_t GetCapacity() const { return capacity; }
    uint32_t GetIndexCount() const { return countInUse; }
    const uint8_t* GetData() const { return data; }

protected:
    void ComputeRange();

    int32_t kind = 0;
    int32_t is32Bit = 0;
    uint32_t indexSize = 2;
    uint32_t capacity = 0;
    uint32_t countInUse = 0;
    uint8_t* data = nullptr; // owned
    int32_t locked = 0;
    uint32_t lockStart = 0;
    uint32_t lockCount = 0;
    bool rangeDirty = true;
    uint32_t minIndex = 0;
    uint32_t indexSpan = 0;
};

} // namespace OrvexEngine
