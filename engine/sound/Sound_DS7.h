// A Sound played through a SoundBuffer_DS7: play, pause and stop with the sound's state, restore after a
// lost buffer, and the notice that a one-shot sound or a stream has finished. Made by SoundSystem_DS7
// for the SoundManager, which owns it.
#pragma once

#include "engine/sound/Sound.h"

namespace OrvexEngine {

class SoundBuffer_DS7;

class Sound_DS7 final : public Sound {
public:
    // Applies volume, tempo and position to the buffer.
    Sound_DS7(SoundBufferManager* bufferManager, const std::string& fileName, bool resident);
    // Applies volume and position to the new buffer.
    Sound_DS7(const Sound_DS7& other);
    ~Sound_DS7() override = default;

    // Restores a lost buffer; stops a sound whose buffer stopped by itself.
    void Update() override;
    // A playing sound restarts from the beginning, a paused one resumes. Always true.
    bool Play() override;
    void Pause() override;
    // Rewinds; a non-resident sound gives its platform buffer back.
    void Stop() override;
    // A playing static sound changes looping without restarting.
    void SetLooping(bool loop) override;
    void SetVolume(float linearVolume) override;
    void SetTempo(float factor) override;
    void SetPosition(const Vec3& position) override;
    int GetState() const override { return state; }

private:
    SoundBuffer_DS7* Buffer() const;

    int state = SoundStopped;
};

} // namespace OrvexEngine
