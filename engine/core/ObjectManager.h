// Containers of owned objects: ObjectManager, the registry of live objects of one type that the model,
// particle-system, sprite-group, GUI and sprite managers keep their objects in, and the helpers owners use
// on plain vectors of owning pointers. An ObjectManager is a member of its manager and dies with it,
// deleting what it still holds.
#pragma once

#include <algorithm>
#include <vector>

namespace OrvexEngine {

// Deletes every element of a vector of owning pointers (null ones are skipped) and empties it; owners free
// their children this way.
template <class T> void DeletePointerVector(std::vector<T*>& objects) {
    for (T* object : objects)
        delete object;
    objects.clear();
}

// Removes the null elements, keeping the order of the others.
template <class T> void RemoveNullPointers(std::vector<T*>& objects) {
    objects.erase(std::remove(objects.begin(), objects.end(), nullptr), objects.end());
}

// Sets every element to null without deleting anything; the size stays.
template <class T> void ClearPointers(std::vector<T*>& objects) {
    std::fill(objects.begin(), objects.end(), nullptr);
}

// Slots of owned objects. A removed object leaves a null slot that the next addition fills (the slot freed
// last first); a removal that leaves fewer than half the slots live drops the null slots, keeping the
// order of the live objects. Slot indices therefore move and are never handed out: owners walk
// GetObjects() and skip null entries.
template <class T> class ObjectManager {
public:
    ObjectManager() = default;
    ObjectManager(const ObjectManager&) = delete;
    ObjectManager& operator=(const ObjectManager&) = delete;
    virtual ~ObjectManager() { DeletePointerVector(objects); }

    // Takes ownership; null is ignored.
    void Add(T* object) {
        if (object == nullptr)
            return;
        if (freeIndices.empty()) {
            objects.push_back(object);
        } else {
            objects[freeIndices.back()] = object;
            freeIndices.pop_back();
        }
        ++count;
    }

    // Gives the object back to the caller, who deletes it. False (and nothing changes) for null or an
    // object that is not held.
    bool Remove(T* object) {
        if (object == nullptr)
            return false;
        auto found = std::find(objects.begin(), objects.end(), object);
        if (found == objects.end())
            return false;
        *found = nullptr;
        freeIndices.push_back(static_cast<int>(found - objects.begin()));
        --count;
        if (static_cast<size_t>(count) * 2 < objects.size()) {
            RemoveNullPointers(objects);
            freeIndices.clear(); // the indices named slots that no longer exist
        }
        return true;
    }

    int GetCount() const { return count; }
    // Every slot, null where an object was removed and the slot not yet reused.
    const std::vector<T*>& GetObjects() const { return objects; }

private:
    int count = 0;                // live objects: the non-null entries of objects
    std::vector<T*> objects;      // owned
    std::vector<int> freeIndices; // null slots of objects; the one freed last at the back
};

} // namespace OrvexEngine
