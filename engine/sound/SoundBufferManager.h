// Owns every SoundBuffer and the one scratch block decoded data passes through. Gives each new Sound a
// buffer of its own, made as a duplicate of a static buffer of the same file when one exists, takes it
// back when the sound goes, and refills the streams once a frame. Made and owned by the SoundManager.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class SoundBuffer;

class SoundBufferManager {
public:
    SoundBufferManager();
    SoundBufferManager(const SoundBufferManager&) = delete;
    SoundBufferManager& operator=(const SoundBufferManager&) = delete;
    // Deletes every buffer still held, in the order they were made.
    ~SoundBufferManager();

    // Never null: a file that cannot be read gives a buffer that plays silence. A duplicate takes its
    // source's resident flag, not the one passed.
    SoundBuffer* GetBuffer(const std::string& fileName, bool resident);
    // Deletes a buffer of this manager; null or an unknown buffer is ignored.
    void ReleaseBuffer(SoundBuffer* buffer);
    // Updates every live buffer in the order they were made.
    void Update();

    uint32_t GetBufferCount() const { return static_cast<uint32_t>(liveIds.size()); }
    // position < GetBufferCount().
    SoundBuffer* GetBufferAt(uint32_t position) const { return slots[liveIds[position]]; }
    uint8_t* GetScratchBlock() { return scratch.data(); }

private:
    std::vector<uint32_t> freeIds;   // the id freed last at the back
    std::vector<uint32_t> liveIds;   // in the order the buffers were made
    std::vector<SoundBuffer*> slots; // owned, by id; null where freed
    std::vector<uint8_t> scratch;
};

} // namespace OrvexEngine
