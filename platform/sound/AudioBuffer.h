// A sound buffer of the sound device: the primary buffer (the output format) or a secondary buffer whose
// samples the mixer plays, with volume, frequency and pan, looping or one-shot play, lock and unlock for
// writing, status, loss and restore. Made by AudioDevice::CreateSoundBuffer or DuplicateSoundBuffer with a
// reference count of 1; the holder calls Release. Main thread only. Also the two 3D objects: the listener
// (from a primary with 3D control) and a secondary's 3D position (from a mono buffer with 3D control).
#pragma once

#include "platform/sound/AudioTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

struct AudioContext;
struct MixerVoice;
class AudioListener;
class AudioBuffer3D;

class AudioBuffer final {
public:
    AudioBuffer(const AudioBuffer&) = delete;
    AudioBuffer& operator=(const AudioBuffer&) = delete;

    uint32_t AddRef();
    // Deletes the buffer when the last reference goes; a playing buffer falls silent.
    uint32_t Release();

    // Playing, looping and lost bits; a lost buffer reports exactly AudioStatusLost.
    AudioResult GetStatus(uint32_t* status);
    // The primary buffer only: the output format (needs the priority cooperative level).
    AudioResult SetFormat(const WaveFormat* format);
    // Up to two parts: the second when the range passes the end of the buffer and wraps to its start.
    // What is written into the parts reaches the buffer at Unlock, which takes the same pointers.
    AudioResult Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                     uint32_t* bytes2, uint32_t flags);
    AudioResult Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2);
    // Plays from the current position. On a playing buffer only the looping choice changes.
    AudioResult Play(uint32_t reserved, uint32_t priority, uint32_t flags);
    // Stops without moving the position; a following Play resumes there.
    AudioResult Stop();
    AudioResult SetCurrentPosition(uint32_t position);
    AudioResult GetCurrentPosition(uint32_t* play, uint32_t* write);
    AudioResult SetVolume(int32_t volume);
    AudioResult GetVolume(int32_t* volume);
    // 0 returns to the format's rate.
    AudioResult SetFrequency(uint32_t frequency);
    AudioResult GetFrequency(uint32_t* frequency);
    AudioResult SetPan(int32_t pan);
    // Ends a loss; the buffer's content is then undefined (silence here) and must be written again.
    AudioResult Restore();
    // Each gives a new object with a reference count of 1, or AudioErrNoInterface.
    AudioResult QueryListener(AudioListener** listener);
    AudioResult Query3DBuffer(AudioBuffer3D** buffer3D);

    uint32_t GetFlags() const { return flags; }
    uint32_t GetSize() const;
    bool IsPrimary() const { return voice == nullptr; }

private:
    friend class AudioDevice;
    friend class AudioTestHooks;

    AudioBuffer(std::shared_ptr<AudioContext> context, uint32_t flags, const WaveFormat* format,
                std::shared_ptr<std::vector<uint8_t>> samples);
    ~AudioBuffer();
    bool IsLost() const;
    void SetLost(bool lost);

    std::shared_ptr<AudioContext> context;
    std::shared_ptr<MixerVoice> voice; // null for the primary buffer
    uint32_t flags = 0;
    WaveFormat format;
    uint32_t references = 1;
    int32_t volume = 0;
    int32_t pan = 0;
    bool primaryLost = false;
    bool locked = false;
    uint32_t lockOffset = 0;
    std::vector<uint8_t> staging; // what a lock hands out; reused from lock to lock
};

class AudioListener final {
public:
    AudioListener(const AudioListener&) = delete;
    AudioListener& operator=(const AudioListener&) = delete;

    uint32_t Release();
    AudioResult SetPosition(float x, float y, float z, uint32_t apply);
    AudioResult SetOrientation(float frontX, float frontY, float frontZ, float upX, float upY, float upZ,
                               uint32_t apply);
    // Applies every deferred listener and 3D-buffer setting.
    AudioResult CommitDeferredSettings();

private:
    friend class AudioBuffer;
    explicit AudioListener(std::shared_ptr<AudioContext> context) : context(std::move(context)) {}
    ~AudioListener() = default;
    void Apply();

    std::shared_ptr<AudioContext> context;
    uint32_t references = 1;
};

class AudioBuffer3D final {
public:
    AudioBuffer3D(const AudioBuffer3D&) = delete;
    AudioBuffer3D& operator=(const AudioBuffer3D&) = delete;

    uint32_t Release();
    AudioResult SetPosition(float x, float y, float z, uint32_t apply);

private:
    friend class AudioBuffer;
    friend class AudioListener;
    AudioBuffer3D(std::shared_ptr<AudioContext> context, std::shared_ptr<MixerVoice> voice);
    ~AudioBuffer3D();
    void Apply(); // requires the mixer's lock

    std::shared_ptr<AudioContext> context;
    std::shared_ptr<MixerVoice> voice;
    uint32_t references = 1;
    bool pending = false;
    float pendingPosition[3] = {0.0f, 0.0f, 0.0f};
};

} // namespace platform
