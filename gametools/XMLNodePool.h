// Memory for the nodes and attributes of XML trees. Every block handed out is preceded by a word naming the
// pool it came from, or null for a block of its own on the heap, so that one `delete` serves both kinds.
// A parse takes everything it builds from one pool: a few large chunks instead of an allocation per node;
// chunks of freed pools are kept (up to a bound) for the next parse.
// The pool counts the blocks it has handed out and frees its chunks when the last one comes back, wherever
// its node has moved meanwhile. It also keeps the parsed source text, into which the values of its nodes
// and attributes point until they are first read. Created by a parse (which holds one count of its own
// while it runs).
#pragma once

#include <cstddef>
#include <new>
#include <string>
#include <vector>

namespace GameTools {

class XMLNodePool {
public:
    // A new pool holds one count for its creator, given back with Drop.
    XMLNodePool() = default;
    XMLNodePool(const XMLNodePool&) = delete;
    XMLNodePool& operator=(const XMLNodePool&) = delete;

    void* Allocate(std::size_t size) {
        const std::size_t needed = (headerSize + size + alignof(void*) - 1) & ~(alignof(void*) - 1);
        if (needed > left)
            NewChunk(needed);
        void* block = next + headerSize;
        next += needed;
        left -= needed;
        OwnerOf(block) = this;
        ++live;
        return block;
    }
    // Takes the text the pool's values will point into; it stays unchanged while the pool lives.
    void KeepSource(std::string&& text) { source = std::move(text); }
    const std::string& Source() const { return source; }
    // Gives back the creator's count; the pool deletes itself when nothing of it is left.
    void Drop();

    // A block on the heap with the same leading word, for nodes made one at a time.
    static void* AllocateAlone(std::size_t size);
    // Returns a block from either source; a pool block gives back one count.
    static void Free(void* block) noexcept {
        if (block == nullptr)
            return;
        if (XMLNodePool* pool = OwnerOf(block))
            pool->Leave();
        else
            ::operator delete(static_cast<std::byte*>(block) - headerSize);
    }

private:
    // The word before each block. Nodes and attributes need no stricter alignment than a pointer's (their
    // classes check that).
    static constexpr std::size_t headerSize = sizeof(void*);
    static XMLNodePool*& OwnerOf(void* block) {
        return *reinterpret_cast<XMLNodePool**>(static_cast<std::byte*>(block) - headerSize);
    }

    ~XMLNodePool();
    void Leave() noexcept {
        if (--live == 0)
            delete this;
    }
    // Makes room for a block of needed bytes (its header included) in a new chunk.
    void NewChunk(std::size_t needed);

    struct Chunk {
        std::byte* memory; // owned (new[])
        std::size_t size;
    };
    std::vector<Chunk> chunks;
    std::byte* next = nullptr;
    std::size_t left = 0;
    std::size_t chunkSize = 8192;
    std::size_t live = 1; // blocks handed out, plus the creator's count
    std::string source;
};

} // namespace GameTools
