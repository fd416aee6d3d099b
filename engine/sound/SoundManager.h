// The engine's entry point for sound: creates sounds by file name, plays, pauses and stops them at once or
// as requests carried out in order at the next Update, deletes them, and lists the live ones. Created by
// the Engine after the sound system (to which it hands its buffer manager) and deleted before it. Single
// instance, reached through SoundManager::Instance() (null when sound could not start).
#pragma once

#include "engine/core/GlobalPointerHolder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class Sound;
class SoundBufferManager;

// A play (0), pause (1) or stop (2) waiting for the next update.
struct SoundRequest {
    int kind = 0;
    Sound* sound = nullptr; // not owned
};

class SoundManager : public GlobalPointerHolder<SoundManager> {
public:
    static constexpr int RequestPlay = 0;
    static constexpr int RequestPause = 1;
    static constexpr int RequestStop = 2;

    // The sound system must be registered first.
    SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;
    virtual ~SoundManager();

    // Never null: a missing file gives a sound that plays silence. A resident sound holds its platform
    // buffer from loading to deletion, another one only while it plays. The third text, which some callers
    // pass (empty), has no effect.
    Sound* CreateSound(const std::string& fileName, bool resident, const std::string& unused = std::string());
    // Deletes a sound of this manager and drops its queued requests; null or an unknown sound is ignored.
    void DeleteSound(Sound* sound);
    void Play(Sound* sound, bool immediate);
    void Pause(Sound* sound, bool immediate);
    void Stop(Sound* sound, bool immediate);
    // Carries out the queued requests in order (when asked), then updates every sound, then refills streams.
    void Update(bool runRequests);
    void ClearRequests();
    // The sound at a position of the live list (in order of creation); null past the end.
    Sound* GetSound(uint32_t position) const;
    uint32_t GetSoundCount() const { return static_cast<uint32_t>(liveIds.size()); }
    void DeleteAll();

    SoundBufferManager* GetBufferManager() const { return bufferManager; }
    uint32_t GetRequestCount() const { return static_cast<uint32_t>(requests.size()); }

private:
    SoundBufferManager* bufferManager = nullptr; // owned
    uint32_t nextId = 0;
    std::vector<uint32_t> freeIds;      // the id freed last at the back
    std::vector<uint32_t> liveIds;      // in the order the sounds were created
    std::vector<Sound*> slots;          // owned, by id; null where freed
    std::vector<SoundRequest> requests; // in the order queued
};

} // namespace OrvexEngine
