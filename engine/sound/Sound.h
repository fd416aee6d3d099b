// One playable instance of one sound file: its settings (looping, volume, tempo, 3D position) and its own
// SoundBuffer, taken from the buffer manager at construction and handed back at destruction. The platform
// class plays it. Made by SoundSystem::CreateSound or CloneSound for the SoundManager, which owns it.
#pragma once

#include "engine/math/Vector.h"

#include <string>

namespace OrvexEngine {

class SoundBuffer;
class SoundBufferManager;

constexpr int SoundPlaying = 0;
constexpr int SoundPaused = 1;
constexpr int SoundStopped = 2;

class Sound {
public:
    Sound(SoundBufferManager* bufferManager, const std::string& fileName, bool resident);
    // Same file (a resident buffer of it) and the other sound's settings.
    Sound(const Sound& other);
    Sound& operator=(const Sound&) = delete;
    // Hands the buffer back to the buffer manager.
    virtual ~Sound();

    virtual void Update() {}
    virtual bool Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // A streamed buffer is told at once; a static one takes looping when it is played.
    virtual void SetLooping(bool loop);
    virtual void SetVolume(float linearVolume);
    virtual void SetTempo(float factor);
    virtual void SetPosition(const Vec3& position);
    // SoundPlaying, SoundPaused or SoundStopped.
    virtual int GetState() const = 0;

    bool IsLooping() const { return loop; }
    float GetVolume() const { return volume; }
    float GetTempo() const { return tempo; }
    const Vec3& GetPosition() const { return position; }
    const std::string& GetFileName() const { return fileName; }
    SoundBuffer* GetBuffer() const { return buffer; }

protected:
    SoundBufferManager* bufferManager = nullptr; // not owned
    std::string fileName;
    SoundBuffer* buffer = nullptr; // owned by the buffer manager, lent until the destructor
    bool loop = false;
    float volume = 1.0f;
    float tempo = 1.0f;
    Vec3 position;
};

} // namespace OrvexEngine
