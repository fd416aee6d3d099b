// Containers of owned objects.
#pragma once

#include <vector>

namespace OrvexEngine {

// Deletes every element of a vector of owning pointers and empties it; owners free their children this way.
template <class T> void DeletePointerVector(std::vector<T*>& objects) {
    for (T* object : objects)
        delete object;
    objects.clear();
}

} // namespace OrvexEngine
