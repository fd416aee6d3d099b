#include "gametools/XMLNodePool.h"

#include <mutex>
#include <new>

namespace GameTools {

namespace {

constexpr std::size_t largestChunk = std::size_t(1) << 16;

// Chunks of the largest size that pools gave back, kept for the next parse up to a bound. Freed to the
// heap, the memory of a large document goes back to the system and each parse pays the page faults of
// touching it afresh, several times the parse itself.
class ChunkCache {
public:
    ~ChunkCache() {
        for (std::byte* chunk : spare)
            delete[] chunk;
    }
    std::byte* Take() {
        std::lock_guard<std::mutex> lock(mutex);
        if (spare.empty())
            return nullptr;
        std::byte* chunk = spare.back();
        spare.pop_back();
        return chunk;
    }
    // False when the cache is full; the caller frees the chunk then.
    bool Keep(std::byte* chunk) {
        std::lock_guard<std::mutex> lock(mutex);
        if (spare.size() >= maxSpare)
            return false;
        spare.push_back(chunk);
        return true;
    }

private:
    static constexpr std::size_t maxSpare = (std::size_t(32) << 20) / largestChunk;
    std::mutex mutex;
    std::vector<std::byte*> spare;
};

ChunkCache& Cache() {
    static ChunkCache cache;
    return cache;
}

} // namespace

XMLNodePool::~XMLNodePool() {
    for (auto& chunk : chunks)
        if (chunk.size == largestChunk && Cache().Keep(chunk.memory))
            chunk.memory = nullptr;
    for (auto& chunk : chunks)
        delete[] chunk.memory;
}

void XMLNodePool::NewChunk(std::size_t needed) {
    // Chunks grow with the document up to a size the heap keeps for reuse when they are freed (larger
    // blocks go back to the system and cost page faults on every parse).
    while (chunkSize < needed)
        chunkSize *= 2;
    std::byte* memory = chunkSize == largestChunk ? Cache().Take() : nullptr;
    if (memory == nullptr)
        memory = new std::byte[chunkSize];
    chunks.push_back({memory, chunkSize});
    next = memory;
    left = chunkSize;
    if (chunkSize < largestChunk)
        chunkSize *= 2;
}

void XMLNodePool::Drop() {
    Leave();
}

void* XMLNodePool::AllocateAlone(std::size_t size) {
    void* block = static_cast<std::byte*>(::operator new(headerSize + size)) + headerSize;
    OwnerOf(block) = nullptr;
    return block;
}

} // namespace GameTools
