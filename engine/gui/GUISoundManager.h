// Plays the GUI's sounds by name ("gui_default_button_click" and the like). Several files may be registered
// under one name; every play takes the variant played least often so far (the earlier one on ties), so
// variants take turns. Silent when the sound service did not start. Owned by the GUI manager, which hands it
// to the elements it creates; single instance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class Sound;

// One registered variant of a GUI sound name.
struct GUISoundEntry {
    std::string name; // compared exactly, case included
    int32_t playCount = 0;
    Sound* sound = nullptr; // owned, through SoundManager
};

class GUISoundManager {
public:
    GUISoundManager() = default;
    GUISoundManager(const GUISoundManager&) = delete;
    GUISoundManager& operator=(const GUISoundManager&) = delete;
    // Deletes every variant's sound through the sound service.
    virtual ~GUISoundManager();

    // Registers one more variant under `name`; nothing without a SoundManager. The sound service resolves
    // and loads the file (a missing one plays silence).
    void AddSound(const std::string& name, const std::string& fileName, int resident);
    // Queues a play of the least-played variant of `name`, carried out at the sound service's next update.
    // An unregistered name, or no SoundManager, plays nothing.
    void Play(const std::string& name);

    const std::vector<GUISoundEntry*>& GetEntries() const { return entries; }

private:
    std::vector<GUISoundEntry*> entries; // owned, in order of registration
};

} // namespace OrvexEngine
