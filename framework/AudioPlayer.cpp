#include "framework/AudioPlayer.h"

#include "engine/core/Config.h"
#include "engine/core/StringUtils.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/math/Random.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "framework/MusicTrack.h"

#include <algorithm>
#include <cmath>

using namespace OrvexEngine;

namespace GameFramework {

namespace {

const char* const MusicVolumeName = "g_music_volume";
const char* const SoundVolumeName = "g_sound_volume";
constexpr float RepeatGuardSeconds = 0.02f;
constexpr float ReplacedTrackFadeRate = 1.0f;
constexpr float VolumeJitter = 0.0005f;

float RunningTime() {
    TimerManager* timers = TimerManager::Instance();
    return timers != nullptr ? timers->GetFrameTimer()->GetTime() : 0.0f;
}

float FrameTime() {
    TimerManager* timers = TimerManager::Instance();
    return timers != nullptr ? timers->frameTime : 0.0f;
}

float DefaultVolume(const char* name) {
    Config* config = Config::Instance();
    return config != nullptr ? ParseFloat(config->GetDefaultText(name)) : 1.0f;
}

// A NaN from the settings file or a profile would pass any clamp and reach the mixer.
float Sanitised(float volume, float fallback) {
    if (std::isnan(volume))
        return fallback;
    return std::clamp(volume, 0.0f, 1.0f);
}

} // namespace

AudioPlayer::AudioPlayer(float defaultMusicVolume, float defaultSoundVolume) {
    if (Config* config = Config::Instance()) {
        config->RegisterVariable(MusicVolumeName, ConfigVariableFloat, false, true, &musicVolume,
                                 FloatToText(defaultMusicVolume, 6), false);
        config->RegisterVariable(SoundVolumeName, ConfigVariableFloat, false, true, &soundVolume,
                                 FloatToText(defaultSoundVolume, 6), false);
    } else {
        musicVolume = defaultMusicVolume;
        soundVolume = defaultSoundVolume;
    }
    SetMusicVolume(musicVolume);
    SetSoundVolume(soundVolume);
}

AudioPlayer::~AudioPlayer() {
    SoundManager* sounds = SoundManager::Instance();
    for (SoundVoice* voice : voices) {
        if (sounds != nullptr)
            sounds->DeleteSound(voice->sound);
        delete voice;
    }
    voices.clear();
    for (MusicTrack* track : tracks) {
        track->Release();
        delete track;
    }
    tracks.clear();
    if (Config* config = Config::Instance()) {
        config->Unbind(MusicVolumeName);
        config->Unbind(SoundVolumeName);
    }
}

void AudioPlayer::AddSound(int id, const std::string& fileName, bool loop, unsigned voiceCount,
                           bool resident) {
    SoundManager* sounds = SoundManager::Instance();
    if (sounds == nullptr)
        return;
    for (unsigned i = 0; i < voiceCount; ++i) {
        auto* voice = new SoundVoice{id, fileName, sounds->CreateSound(fileName, resident, ""), loop, 0.0f};
        voice->sound->SetLooping(loop);
        voice->sound->SetVolume(soundVolume);
        voices.push_back(voice);
    }
}

void AudioPlayer::AddMusicTrack(int id, const std::string& fileName, bool loop) {
    if (SoundManager::Instance() == nullptr)
        return;
    auto* track = new MusicTrack(fileName, loop, id);
    track->SetMasterVolume(musicVolume);
    tracks.push_back(track);
}

void AudioPlayer::ReapplySoundVolume() {
    SetSoundVolume(soundVolume);
}

void AudioPlayer::PlaySound(int id) {
    SoundManager* sounds = SoundManager::Instance();
    if (sounds == nullptr)
        return;
    const float now = RunningTime();
    SoundVoice* chosen = nullptr;
    for (SoundVoice* voice : voices) {
        if (voice->id != id)
            continue;
        if (std::fabs(now - voice->lastStart) < RepeatGuardSeconds)
            return;
        if (chosen == nullptr || voice->lastStart < chosen->lastStart)
            chosen = voice;
    }
    if (chosen == nullptr)
        return;
    // A looping voice that still sounds keeps sounding; a one-shot starts again from its beginning.
    if (!chosen->loop || chosen->sound->GetState() != SoundPlaying)
        sounds->Play(chosen->sound, false);
    chosen->lastStart = now;
}

void AudioPlayer::StopSound(int id) {
    SoundManager* sounds = SoundManager::Instance();
    if (sounds == nullptr)
        return;
    for (SoundVoice* voice : voices)
        if (voice->id == id)
            sounds->Stop(voice->sound, false);
}

int AudioPlayer::GetSoundState(int id) const {
    if (SoundManager::Instance() == nullptr)
        return SoundStopped;
    for (const SoundVoice* voice : voices)
        if (voice->id == id)
            return voice->sound->GetState();
    return SoundStopped;
}

MusicTrack* AudioPlayer::FindTrack(int trackId) const {
    for (MusicTrack* track : tracks)
        if (track->GetId() == trackId)
            return track;
    return nullptr;
}

MusicTrack* AudioPlayer::GetChannelTrack(int channel) const {
    auto found = channels.find(channel);
    return found != channels.end() ? found->second : nullptr;
}

void AudioPlayer::StartTrack(MusicTrack* track, bool fadeIn, float rate) {
    // The level first: a track always starts from a known level, a resumed one included.
    track->SetLevel(fadeIn ? 0.0f : 1.0f);
    track->Play();
    if (fadeIn)
        track->StartFade(MusicFade::In, rate);
}

void AudioPlayer::PlayMusic(int channel, int trackId, bool fadeIn, float rate) {
    if (SoundManager::Instance() == nullptr)
        return;
    MusicTrack* start = FindTrack(trackId);
    // Nothing to play: the channel keeps what it has rather than losing its music for silence.
    if (start == nullptr)
        return;
    MusicTrack* old = GetChannelTrack(channel);
    if (old != nullptr && old->GetId() == trackId) {
        if (old->GetState() == SoundPlaying)
            return;
        start = old;
    } else {
        if (old != nullptr)
            old->StartFade(MusicFade::OutThenStop, ReplacedTrackFadeRate);
        channels[channel] = start;
    }
    StartTrack(start, fadeIn, rate);
}

void AudioPlayer::StopMusic(int channel, bool fade, float rate) {
    if (SoundManager::Instance() == nullptr)
        return;
    MusicTrack* track = GetChannelTrack(channel);
    if (track == nullptr)
        return;
    const int state = track->GetState();
    if (state == SoundPaused || (state == SoundPlaying && !fade))
        track->Stop();
    else if (state == SoundPlaying)
        track->StartFade(MusicFade::OutThenStop, rate);
}

void AudioPlayer::PauseMusic(int channel, bool pause, bool fade, float rate) {
    if (SoundManager::Instance() == nullptr)
        return;
    MusicTrack* track = GetChannelTrack(channel);
    if (track == nullptr)
        return;
    const int state = track->GetState();
    if (pause) {
        if (state != SoundPlaying)
            return;
        const bool stopping = track->GetFade() == MusicFade::OutThenStop;
        if (fade) {
            if (!stopping)
                track->StartFade(MusicFade::OutThenPause, rate);
        } else if (stopping) {
            track->Stop();
        } else {
            track->Pause();
        }
        return;
    }
    // A stopped track is started again only by PlayMusic.
    if (state != SoundPaused)
        return;
    StartTrack(track, fade, rate);
}

void AudioPlayer::StopAllMusic(bool fade, float rate) {
    for (const auto& [channel, track] : channels)
        StopMusic(channel, fade, rate);
}

void AudioPlayer::PauseAllMusic(bool pause, bool fade, float rate) {
    for (const auto& [channel, track] : channels)
        PauseMusic(channel, pause, fade, rate);
}

int AudioPlayer::GetMusicState(int channel) const {
    MusicTrack* track = GetChannelTrack(channel);
    return track != nullptr ? track->GetState() : SoundStopped;
}

float AudioPlayer::GetDefaultMusicVolume() const {
    return DefaultVolume(MusicVolumeName);
}

float AudioPlayer::GetDefaultSoundVolume() const {
    return DefaultVolume(SoundVolumeName);
}

bool AudioPlayer::IsTrackSound(const Sound* sound) const {
    return std::any_of(tracks.begin(), tracks.end(),
                       [sound](const MusicTrack* t) { return t->GetSound() == sound; });
}

void AudioPlayer::SetSoundVolume(float volume) {
    SoundManager* sounds = SoundManager::Instance();
    if (sounds == nullptr)
        return;
    soundVolume = Sanitised(volume, GetDefaultSoundVolume());
    // Every engine sound but the music: effects, the GUI's sounds and any other.
    for (uint32_t i = 0; i < sounds->GetSoundCount(); ++i) {
        Sound* sound = sounds->GetSound(i);
        if (sound != nullptr && !IsTrackSound(sound))
            sound->SetVolume(soundVolume);
    }
}

void AudioPlayer::SetMusicVolume(float volume) {
    if (SoundManager::Instance() == nullptr)
        return;
    musicVolume = Sanitised(volume, GetDefaultMusicVolume());
    for (MusicTrack* track : tracks)
        track->SetMasterVolume(musicVolume);
}

void AudioPlayer::Update() {
    if (SoundManager::Instance() == nullptr)
        return;
    const float frameTime = FrameTime();
    for (MusicTrack* track : tracks)
        track->UpdateFade(frameTime);
    // A tiny random offset makes every frame a real change for every sound, so sounds made since the last
    // change (the GUI's) take the volume too; the stored values themselves do not drift.
    // A NaN written by the console would otherwise come back every frame.
    const float sound = std::isnan(soundVolume) ? GetDefaultSoundVolume() : soundVolume;
    const float music = std::isnan(musicVolume) ? GetDefaultMusicVolume() : musicVolume;
    const float soundOffset = VolumeJitter * RandomSigned();
    SetSoundVolume(sound + soundOffset);
    const float musicOffset = VolumeJitter * RandomSigned();
    SetMusicVolume(music + musicOffset);
    soundVolume = sound;
    musicVolume = music;
}

} // namespace GameFramework
