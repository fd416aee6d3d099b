// A sound system that plays nothing but keeps each sound's state as a real one would (play, pause, stop)
// and records every call in order ("play menu.ogg", "volume game.wav 0.5"), for tests of what the framework
// asks of the sound service. Created and deleted by the test, before and after its SoundManager.
#pragma once

#include "engine/sound/Sound.h"
#include "tests/support/SilentSoundSystem.h"

#include <string>
#include <vector>

namespace VelmoraTest {

class RecordingSound final : public OrvexEngine::Sound {
public:
    RecordingSound(OrvexEngine::SoundBufferManager* buffers, const std::string& name, bool resident,
                   std::vector<std::string>& calls)
        : Sound(buffers, name, resident), calls(calls) {}
    RecordingSound(const RecordingSound& other) : Sound(other), calls(other.calls) {}

    bool Play() override {
        calls.push_back("play " + fileName);
        state = OrvexEngine::SoundPlaying;
        return true;
    }
    void Pause() override {
        calls.push_back("pause " + fileName);
        if (state == OrvexEngine::SoundPlaying)
            state = OrvexEngine::SoundPaused;
    }
    void Stop() override {
        calls.push_back("stop " + fileName);
        state = OrvexEngine::SoundStopped;
    }
    void SetVolume(float linearVolume) override {
        Sound::SetVolume(linearVolume);
        if (recordVolumes)
            calls.push_back("volume " + fileName + " " + std::to_string(linearVolume));
    }
    int GetState() const override { return state; }

    // A one-shot sound that reached its end.
    void Finish() { state = OrvexEngine::SoundStopped; }

    static inline bool recordVolumes = false;

private:
    std::vector<std::string>& calls;
    int state = OrvexEngine::SoundStopped;
};

class RecordingSoundSystem final : public SilentSystem {
public:
    OrvexEngine::Sound* CreateSound(const std::string& name, bool resident) override {
        return new RecordingSound(bufferManager, name, resident, calls);
    }
    OrvexEngine::Sound* CloneSound(OrvexEngine::Sound* sound) override {
        return new RecordingSound(*static_cast<RecordingSound*>(sound));
    }

    std::vector<std::string> calls;
};

} // namespace VelmoraTest
