// The one place the framework and the game play sound through: effects by effect id (each with one or
// more voices), music by track id on numbered channels with fades, and the user's music and sound volumes,
// kept in the saved variables "g_music_volume" and "g_sound_volume" and applied to every engine sound.
// Without a sound manager every operation does nothing. The application root creates the one player after
// the engine and deletes it before the engine goes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {
class Sound;
}

namespace GameFramework {

class MusicTrack;

// One playable instance of an effect.
struct SoundVoice {
    int id = 0;
    std::string fileName;
    OrvexEngine::Sound* sound = nullptr; // deleted by the player through the sound manager
    bool loop = false;
    float lastStart = 0; // running time of the frame clock when last chosen, seconds
};

class AudioPlayer {
public:
    // Registers the two volume variables (the settings file may already hold their values) and applies them.
    AudioPlayer(float defaultMusicVolume, float defaultSoundVolume);
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;
    // Deletes every sound; the variables keep their last values for the settings file.
    ~AudioPlayer();

    void AddSound(int id, const std::string& fileName, bool loop, unsigned voiceCount, bool resident);
    void AddMusicTrack(int id, const std::string& fileName, bool loop);
    // Gives sounds made by others since (the GUI's) the sound volume too.
    void ReapplySoundVolume();

    // Queues one voice of the effect: the one started longest ago. Nothing within 0.02 s of the last start
    // of any voice of the id.
    void PlaySound(int id);
    void StopSound(int id);
    // The first voice's state; 2 (stopped) when the id has none.
    int GetSoundState(int id) const;

    // An unregistered track id changes nothing, not even the channel.
    void PlayMusic(int channel, int trackId, bool fadeIn, float rate);
    void StopMusic(int channel, bool fade, float rate);
    void PauseMusic(int channel, bool pause, bool fade, float rate);
    void StopAllMusic(bool fade, float rate);
    void PauseAllMusic(bool pause, bool fade, float rate);
    int GetMusicState(int channel) const;

    float GetMusicVolume() const { return musicVolume; }
    float GetSoundVolume() const { return soundVolume; }
    // Clamped to 0..1; a NaN becomes the default volume.
    void SetMusicVolume(float volume);
    void SetSoundVolume(float volume);
    float GetDefaultMusicVolume() const;
    float GetDefaultSoundVolume() const;

    // Once a frame: the fades, then the volumes applied again to every engine sound.
    void Update();

    const std::vector<SoundVoice*>& GetVoices() const { return voices; }
    const std::vector<MusicTrack*>& GetTracks() const { return tracks; }
    // The track last started on the channel; null when none was.
    MusicTrack* GetChannelTrack(int channel) const;

private:
    MusicTrack* FindTrack(int trackId) const;
    // Plays from level 0 with a fade-in at the rate, or at level 1.
    static void StartTrack(MusicTrack* track, bool fadeIn, float rate);
    bool IsTrackSound(const OrvexEngine::Sound* sound) const;

    std::vector<SoundVoice*> voices;     // owned, in the order of registration
    std::vector<MusicTrack*> tracks;     // owned, in the order of registration
    float musicVolume = 1;               // storage of "g_music_volume"
    float soundVolume = 1;               // storage of "g_sound_volume"
    std::map<int, MusicTrack*> channels; // tracks not owned; an entry is never removed
};

} // namespace GameFramework
