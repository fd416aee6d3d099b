// The registry of single-instance services: every service class derives from the holder of its interface
// and is reached through GlobalPointerHolder<T>::Instance(). The Engine registers what it creates.
// Passing null never clears a holder; a registered service forgets itself when it is destroyed, so one
// process can build one engine after another (tests do).
#pragma once

namespace OrvexEngine {

template <class T> class GlobalPointerHolder {
public:
    // Stores a non-null pointer; always returns the stored one (null while nothing is registered).
    static T* Instance(T* p = nullptr) {
        if (p != nullptr) {
            instance = p;
            holder = p; // the holder sub-object, recorded while the object is whole
        }
        return instance;
    }

protected:
    GlobalPointerHolder() = default;
    GlobalPointerHolder(const GlobalPointerHolder&) = default;
    GlobalPointerHolder& operator=(const GlobalPointerHolder&) = default;
    ~GlobalPointerHolder() {
        if (holder == this) {
            instance = nullptr;
            holder = nullptr;
        }
    }

private:
    static inline T* instance = nullptr;
    static inline const GlobalPointerHolder* holder = nullptr;
};

} // namespace OrvexEngine
