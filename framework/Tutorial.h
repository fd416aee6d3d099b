// A hook for a guided first game: while active it counts a countdown down with the frame time and then
// measures the time since it ran out. Nothing turns it on yet, but the frame driver honours its active flag
// (an inactive window keeps idling while it is active). The application root owns the one instance.
#pragma once

namespace GameFramework {

class ProfileManagerBase;

class Tutorial {
public:
    explicit Tutorial(ProfileManagerBase* profiles) : profileManager(profiles) {}
    Tutorial(const Tutorial&) = delete;
    Tutorial& operator=(const Tutorial&) = delete;
    virtual ~Tutorial() = default;

    // Once a frame; nothing while inactive.
    void Update();

    ProfileManagerBase* profileManager = nullptr; // not owned
    bool enabled = true;
    bool active = false;
    float countdown = 0; // seconds
    float elapsed = 0;   // seconds since the countdown ran out
};

} // namespace GameFramework
