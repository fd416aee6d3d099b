// A SoundBuffer on the platform's sound device: a secondary buffer holding the whole data (static) or a
// looping ring of 24 segments (streamed), optionally with a 3D position. Plays, pauses, stops, restores
// after a loss, applies volume, tempo and position, and estimates from a Timer how far a stream has
// played to choose the segments to refill and to end a stream that has played out. Made by
// SoundSystem_DS7 for the SoundBufferManager, which owns it.
#pragma once

#include "engine/math/Vector.h"
#include "engine/sound/SoundBuffer.h"

namespace platform {
class AudioBuffer;
class AudioBuffer3D;
class AudioDevice;
} // namespace platform

namespace OrvexEngine {

class Timer;

class SoundBuffer_DS7 final : public SoundBuffer {
public:
    static constexpr uint32_t RefillLag = 2 * SegmentBytes; // how far refills trail the estimated position

    SoundBuffer_DS7(const std::string& fileName, uint8_t* scratchBlock, bool resident);
    // Shares the source's audio memory when both are resident.
    SoundBuffer_DS7(const SoundBuffer_DS7& source, uint8_t* scratchBlock);
    ~SoundBuffer_DS7() override;

    void Unload() override;
    void Reload(SoundBuffer* source) override;
    void AllocateBuffer(SoundBuffer* source) override;
    void ReleaseBuffer() override;
    bool WriteSegment(uint32_t segment, uint32_t bytes) override;
    void QueueBuffer(uint32_t /*segment*/) override {} // the ring plays on by itself
    void UnqueueProcessedBuffers(std::vector<uint32_t>& segments) override;

    // Makes the platform buffer (logging "DirectSound buffers overflow" when it cannot) and fills a static
    // one.
    void CreateBuffer();
    // Creates the platform buffer when needed; a stream starts or resumes its ring and timer.
    void Play(bool loop);
    // Stops where it is; a stream keeps its ring.
    void Pause();
    // Rewinds; a non-resident buffer gives its platform buffer back.
    void Stop();
    bool IsPlaying();
    bool IsLost();
    // True when the platform buffer came back; a static one is filled again.
    bool Restore();
    void SetVolume(float linearVolume);
    void SetTempo(float factor);
    void SetPosition(const Vec3& position);

    // The segment numbers (0..23, each once, in the order played) of the ring that overlap the window of
    // bytes played [windowStart, windowEnd], given within two rings; the segment holding the window's end
    // is left out.
    static void SegmentsInWindow(uint64_t windowStart, uint64_t windowEnd, std::vector<uint32_t>& segments);

    // Test hook: counts `turns` more whole rings as played, as if the stream had run that much longer; the
    // position in the ring stays, so playback goes on unchanged.
    void AddPlayedRingsForTests(uint32_t turns) {
        playedTotal += static_cast<uint64_t>(turns) * StreamRingBytes;
    }

    platform::AudioBuffer* GetPlatformBuffer() const { return platformBuffer; }
    platform::AudioBuffer3D* Get3DBuffer() const { return buffer3D; }
    Timer* GetStreamTimer() const { return streamTimer; }
    uint64_t GetPlayedTotal() const { return playedTotal; }
    bool IsFinished() const { return finished; }

private:
    void FillStatic();

    platform::AudioDevice* device = nullptr;         // not owned: the sound system's
    platform::AudioBuffer* platformBuffer = nullptr; // owned (one reference)
    platform::AudioBuffer3D* buffer3D = nullptr;     // owned (one reference)
    uint32_t ringPosition = 0;                       // estimated play position in the ring at the last update
    uint64_t playedTotal = 0; // bytes played since the stream started; 64 bits, as music may play for days
    bool finished = false;
    float volume = 1.0f;
    float tempo = 1.0f;
    Vec3 position;
    Timer* streamTimer = nullptr; // owned by the TimerManager, deleted through it; streams only
};

} // namespace OrvexEngine
