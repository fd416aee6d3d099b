#include "engine/graphics/IndexBuffer_D3D7.h"

#include <cstring>

namespace OrvexEngine {

IndexBuffer_D3D7::IndexBuffer_D3D7(int32_t bufferKind, const IndexBuffer& source)
    : IndexBuffer(bufferKind, source) {
    bool dirty = rangeDirty;
    std::memcpy(Lock(0, capacity), source.GetData(), static_cast<size_t>(capacity) * indexSize);
    Unlock();
    rangeDirty = dirty; // the copied range still describes the copied indices
}

IndexBuffer_D3D7::IndexBuffer_D3D7(const IndexBuffer& source) : IndexBuffer_D3D7(source.GetKind(), source) {}

} // namespace OrvexEngine
