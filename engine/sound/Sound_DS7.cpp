#include "engine/sound/Sound_DS7.h"

#include "engine/sound/SoundBuffer_DS7.h"

namespace OrvexEngine {

Sound_DS7::Sound_DS7(SoundBufferManager* manager, const std::string& name, bool resident)
    : Sound(manager, name, resident) {
    Buffer()->SetVolume(volume);
    Buffer()->SetTempo(tempo);
    Buffer()->SetPosition(position);
}

Sound_DS7::Sound_DS7(const Sound_DS7& other) : Sound(other) {
    Buffer()->SetVolume(volume);
    Buffer()->SetPosition(position);
}

SoundBuffer_DS7* Sound_DS7::Buffer() const {
    return static_cast<SoundBuffer_DS7*>(buffer);
}

void Sound_DS7::Update() {
    SoundBuffer_DS7* ds = Buffer();
    if (ds->IsLost()) {
        if (!ds->Restore())
            return;
        if (ds->IsStreamed()) {
            const int before = state;
            Stop();
            if (before == SoundPaused) {
                Play();
                Pause();
            } else if (before == SoundPlaying) {
                Play();
            }
        }
    }
    if (state == SoundPlaying && !ds->IsPlaying())
        Stop();
}

bool Sound_DS7::Play() {
    SoundBuffer_DS7* ds = Buffer();
    if (ds->IsPlaying()) {
        ds->Stop();
        if (ds->IsStreamed())
            ds->SetStreamState(SoundBuffer::StreamStopped);
    }
    ds->Play(loop);
    state = SoundPlaying;
    return true;
}

void Sound_DS7::Pause() {
    Buffer()->Pause();
    if (Buffer()->IsStreamed())
        Buffer()->SetStreamState(SoundBuffer::StreamPaused);
    state = SoundPaused;
}

void Sound_DS7::Stop() {
    Buffer()->Stop();
    if (Buffer()->IsStreamed())
        Buffer()->SetStreamState(SoundBuffer::StreamStopped);
    state = SoundStopped;
}

void Sound_DS7::SetLooping(bool looping) {
    Sound::SetLooping(looping);
    if (!Buffer()->IsStreamed() && Buffer()->IsPlaying())
        Buffer()->Play(looping);
}

void Sound_DS7::SetVolume(float linearVolume) {
    Sound::SetVolume(linearVolume);
    Buffer()->SetVolume(linearVolume);
}

void Sound_DS7::SetTempo(float factor) {
    Sound::SetTempo(factor);
    Buffer()->SetTempo(factor);
}

void Sound_DS7::SetPosition(const Vec3& newPosition) {
    Sound::SetPosition(newPosition);
    Buffer()->SetPosition(newPosition);
}

} // namespace OrvexEngine
