// One piece of music of the audio player: its engine sound (streamed, not resident), its fade level and
// the fade under way. The sound plays at level × master volume. Made, owned and deleted by the
// AudioPlayer, which calls Release before deleting it; used only by the player.
#pragma once

#include <string>

namespace OrvexEngine {
class Sound;
}

namespace GameFramework {

enum class MusicFade {
    None,
    In,
    OutThenPause,
    OutThenStop,
};

class MusicTrack {
public:
    // Needs the sound manager.
    MusicTrack(const std::string& fileName, bool loop, int id);
    MusicTrack(const MusicTrack&) = delete;
    MusicTrack& operator=(const MusicTrack&) = delete;

    void StartFade(MusicFade newFade, float newRate);
    // 0 playing, 1 paused, 2 stopped (also without a sound manager).
    int GetState() const;
    void SetLevel(float newLevel);
    void SetMasterVolume(float volume);
    // Clears the fade and plays at once: a paused track resumes, a playing one starts again.
    void Play();
    // At once; the level and the fade stay.
    void Pause();
    void Stop();
    // One frame of the fade, then the level is applied again.
    void UpdateFade(float frameTime);
    // Deletes the sound through the sound manager, when there is one.
    void Release();

    int GetId() const { return id; }
    float GetLevel() const { return level; }
    float GetMasterVolume() const { return masterVolume; }
    MusicFade GetFade() const { return fade; }
    OrvexEngine::Sound* GetSound() const { return sound; }

private:
    void ApplyVolume();

    OrvexEngine::Sound* sound = nullptr; // owned by the sound manager, deleted through it in Release
    int id = 0;
    float level = 1;
    float masterVolume = 1;
    MusicFade fade = MusicFade::None;
    float fadeRate = 0; // level per second
};

} // namespace GameFramework
