// A sound system that plays nothing, for tests of GUI elements: sounds are created and queued as usual,
// so the GUI sound manager's play counts tell which names were played. Created and deleted by the test.
#pragma once

#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundSystem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VelmoraTest {

class SilentBuffer final : public OrvexEngine::SoundBuffer {
public:
    using SoundBuffer::SoundBuffer;
    void AllocateBuffer(SoundBuffer*) override {}
    void ReleaseBuffer() override {}
    bool WriteSegment(uint32_t, uint32_t) override { return true; }
    void QueueBuffer(uint32_t) override {}
    void UnqueueProcessedBuffers(std::vector<uint32_t>& segments) override { segments.clear(); }
};

class SilentSound final : public OrvexEngine::Sound {
public:
    using Sound::Sound;
    bool Play() override { return true; }
    void Pause() override {}
    void Stop() override {}
    int GetState() const override { return OrvexEngine::SoundStopped; }
};

class SilentSystem : public OrvexEngine::SoundSystem {
public:
    SilentSystem() : SoundSystem(false) {}
    OrvexEngine::Sound* CreateSound(const std::string& name, bool resident) override {
        return new SilentSound(bufferManager, name, resident);
    }
    OrvexEngine::Sound* CloneSound(OrvexEngine::Sound* sound) override {
        return new SilentSound(*static_cast<SilentSound*>(sound));
    }
    OrvexEngine::SoundBuffer* CreateSoundBuffer(const std::string& name, uint8_t* scratch,
                                                bool resident) override {
        return new SilentBuffer(name, scratch, resident);
    }
    OrvexEngine::SoundBuffer* DuplicateSoundBuffer(OrvexEngine::SoundBuffer* source,
                                                   uint8_t* scratch) override {
        return new SilentBuffer(*source, scratch);
    }
};

} // namespace VelmoraTest
