#include "framework/MusicTrack.h"

#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"

#include <cassert>

using namespace OrvexEngine;

namespace GameFramework {

MusicTrack::MusicTrack(const std::string& fileName, bool loop, int id) : id(id) {
    SoundManager* sounds = SoundManager::Instance();
    assert(sounds != nullptr && "the audio player makes tracks only while the sound manager exists");
    sound = sounds->CreateSound(fileName, false, "");
    sound->SetLooping(loop);
    level = sound->GetVolume();
}

void MusicTrack::StartFade(MusicFade newFade, float newRate) {
    fade = newFade;
    fadeRate = newRate;
}

int MusicTrack::GetState() const {
    if (SoundManager::Instance() == nullptr || sound == nullptr)
        return SoundStopped;
    return sound->GetState();
}

void MusicTrack::ApplyVolume() {
    if (sound != nullptr)
        sound->SetVolume(level * masterVolume);
}

void MusicTrack::SetLevel(float newLevel) {
    level = newLevel;
    ApplyVolume();
}

void MusicTrack::SetMasterVolume(float volume) {
    masterVolume = volume;
    ApplyVolume();
}

void MusicTrack::Play() {
    fade = MusicFade::None;
    if (SoundManager* sounds = SoundManager::Instance())
        sounds->Play(sound, true);
}

void MusicTrack::Pause() {
    if (SoundManager* sounds = SoundManager::Instance())
        sounds->Pause(sound, true);
}

void MusicTrack::Stop() {
    if (SoundManager* sounds = SoundManager::Instance())
        sounds->Stop(sound, true);
}

void MusicTrack::UpdateFade(float frameTime) {
    switch (fade) {
    case MusicFade::In:
        level += fadeRate * frameTime;
        if (level >= 1) {
            level = 1;
            fade = MusicFade::None;
        }
        break;
    case MusicFade::OutThenPause:
    case MusicFade::OutThenStop:
        level -= fadeRate * frameTime;
        // Exactly 0 is not yet the end: the fade ends in the frame that takes it below.
        if (level < 0) {
            if (fade == MusicFade::OutThenStop)
                Stop();
            else
                Pause();
            level = 0;
            fade = MusicFade::None;
        }
        break;
    case MusicFade::None:
        break;
    }
    ApplyVolume();
}

void MusicTrack::Release() {
    if (SoundManager* sounds = SoundManager::Instance())
        sounds->DeleteSound(sound);
    sound = nullptr;
}

} // namespace GameFramework
