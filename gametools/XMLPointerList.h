// The children or the attributes of an XML node: pointers read like a std::vector's (size, [], iteration,
// front, back), changed only by the node and the parser. Storage comes from the heap, or from the pool of
// the document being parsed, so that a parsed tree makes no heap allocation per node (see XMLNodePool). Owns
// its storage; the pointed-to nodes and attributes belong to the node that holds the list.
#pragma once

#include "gametools/XMLNodePool.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

namespace GameTools {

template <class T>
class XMLPointerList {
public:
    using value_type = T*;
    using size_type = std::size_t;
    using const_iterator = T* const*;
    using iterator = const_iterator;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    XMLPointerList() = default;
    XMLPointerList(const XMLPointerList&) = delete;
    XMLPointerList& operator=(const XMLPointerList&) = delete;
    ~XMLPointerList() { XMLNodePool::Free(items); }

    size_type size() const { return count; }
    bool empty() const { return count == 0; }
    size_type capacity() const { return room; }
    T* operator[](size_type index) const { return items[index]; }
    T* front() const { return items[0]; }
    T* back() const { return items[count - 1]; }
    const_iterator begin() const { return items; }
    const_iterator end() const { return items + count; }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }
    operator std::vector<T*>() const { return std::vector<T*>(begin(), end()); }
    friend bool operator==(const XMLPointerList& list, const std::vector<T*>& other) {
        return std::equal(list.begin(), list.end(), other.begin(), other.end());
    }

private:
    friend class XMLNode;
    friend class XMLTreeBuilder;

    // Room for at least wanted entries; new storage comes from pool, or the heap when it is null.
    void Reserve(size_type wanted, XMLNodePool* pool) {
        if (wanted <= room)
            return;
        void* block = pool != nullptr ? pool->Allocate(wanted * sizeof(T*))
                                      : XMLNodePool::AllocateAlone(wanted * sizeof(T*));
        T** grown = static_cast<T**>(block);
        if (count != 0)
            std::memcpy(grown, items, count * sizeof(T*));
        XMLNodePool::Free(items);
        items = grown;
        room = static_cast<uint32_t>(wanted);
    }
    void PushBack(T* item, XMLNodePool* pool) {
        if (count == room)
            Reserve(room == 0 ? 4 : size_type(room) * 2, pool);
        items[count++] = item;
    }
    void Erase(const_iterator place) {
        const auto index = static_cast<size_type>(place - items);
        std::memmove(items + index, items + index + 1, (count - index - 1) * sizeof(T*));
        --count;
    }
    void Clear() { count = 0; }

    T** items = nullptr; // null or a block of XMLNodePool (of the pool or alone), room entries long
    uint32_t count = 0;
    uint32_t room = 0;
};

} // namespace GameTools
