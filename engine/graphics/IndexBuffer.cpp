#include "engine/graphics/IndexBuffer.h"

#include <cstring>

namespace OrvexEngine {

IndexBuffer::IndexBuffer(int32_t bufferKind, uint32_t indexCount)
    : kind(bufferKind), is32Bit(indexCount > 65535 ? 1 : 0), indexSize(indexCount > 65535 ? 4 : 2),
      capacity(indexCount), countInUse(indexCount) {
    data = new uint8_t[static_cast<size_t>(capacity) * indexSize]();
}

IndexBuffer::IndexBuffer(int32_t bufferKind, const IndexBuffer& source)
    : kind(bufferKind), is32Bit(source.is32Bit), indexSize(source.indexSize), capacity(source.capacity),
      countInUse(source.countInUse), rangeDirty(source.rangeDirty), minIndex(source.minIndex),
      indexSpan(source.indexSpan) {
    data = new uint8_t[static_cast<size_t>(capacity) * indexSize]();
}

IndexBuffer::IndexBuffer(const IndexBuffer& source) : IndexBuffer(source.kind, source) {}

IndexBuffer::~IndexBuffer() {
    delete[] data;
}

void* IndexBuffer::Lock(uint32_t start, uint32_t count) {
    if (start > capacity)
        start = capacity;
    if (count > capacity - start)
        count = capacity - start;
    locked = 1;
    lockStart = start;
    lockCount = count;
    rangeDirty = true;
    return data + static_cast<size_t>(start) * indexSize;
}

void IndexBuffer::Unlock() {
    locked = 0;
}

void IndexBuffer::SetIndices(uint32_t start, uint32_t count, const uint32_t* values) {
    void* to = Lock(start, count);
    if (is32Bit != 0) {
        std::memcpy(to, values, static_cast<size_t>(lockCount) * 4);
    } else {
        auto* narrow = static_cast<uint16_t*>(to);
        for (uint32_t i = 0; i < lockCount; ++i)
            narrow[i] = static_cast<uint16_t>(values[i]);
    }
    Unlock();
}

void IndexBuffer::SetIndexCount(uint32_t count) {
    // More than the capacity would have the range and the draw read past the indices.
    countInUse = count < capacity ? count : capacity;
    rangeDirty = true;
}

uint32_t IndexBuffer::GetIndex(uint32_t i) const {
    if (is32Bit != 0) {
        uint32_t value = 0;
        std::memcpy(&value, data + static_cast<size_t>(i) * 4, 4);
        return value;
    }
    uint16_t value = 0;
    std::memcpy(&value, data + static_cast<size_t>(i) * 2, 2);
    return value;
}

void IndexBuffer::ComputeRange() {
    rangeDirty = false;
    if (countInUse == 0) {
        minIndex = 0;
        indexSpan = 0;
        return;
    }
    uint32_t lowest = GetIndex(0);
    uint32_t highest = lowest;
    for (uint32_t i = 1; i < countInUse; ++i) {
        uint32_t value = GetIndex(i);
        if (value < lowest)
            lowest = value;
        if (value > highest)
            highest = value;
    }
    minIndex = lowest;
    indexSpan = highest - lowest + 1;
}

uint32_t IndexBuffer::GetMinIndex() {
    if (rangeDirty)
        ComputeRange();
    return minIndex;
}

uint32_t IndexBuffer::GetIndexSpan() {
    if (rangeDirty)
        ComputeRange();
    return indexSpan;
}

} // namespace OrvexEngine
