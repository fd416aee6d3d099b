// The platform side of the sound service: makes sounds and sound buffers for the platform, keeps the 3D
// listener and is refreshed once a frame. Abstract; the Engine creates the platform's implementation and
// deletes it after the SoundManager. Single instance, reached through SoundSystem::Instance() (null when
// sound could not start).
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

class Sound;
class SoundBuffer;
class SoundBufferManager;

class SoundSystem : public GlobalPointerHolder<SoundSystem> {
public:
    explicit SoundSystem(bool use3D);
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;
    virtual ~SoundSystem();

    virtual void Refresh() {}
    // New objects owned by the caller (sounds by the SoundManager, buffers by the buffer manager).
    virtual Sound* CreateSound(const std::string& fileName, bool resident) = 0;
    virtual Sound* CloneSound(Sound* sound) = 0;
    virtual SoundBuffer* CreateSoundBuffer(const std::string& fileName, uint8_t* scratchBlock,
                                           bool resident) = 0;
    virtual SoundBuffer* DuplicateSoundBuffer(SoundBuffer* source, uint8_t* scratchBlock) = 0;
    virtual void SetListenerPosition(const Vec3& position);
    virtual void SetListenerOrientation(const Vec3& front, const Vec3& up);
    // Position (0, 0, 0), front (0, 0, -1), up (0, 1, 0), through the two setters above.
    virtual void ResetListener();

    // The SoundManager hands its buffer manager over here; new sounds receive it.
    void SetBufferManager(SoundBufferManager* manager) { bufferManager = manager; }
    SoundBufferManager* GetBufferManager() const { return bufferManager; }
    bool Is3D() const { return use3D; }
    const Vec3& GetListenerPosition() const { return listenerPosition; }
    const Vec3& GetListenerFront() const { return listenerFront; }
    const Vec3& GetListenerUp() const { return listenerUp; }

protected:
    SoundBufferManager* bufferManager = nullptr; // not owned
    Vec3 listenerPosition;
    Vec3 listenerFront;
    Vec3 listenerUp;
    bool use3D = false; // cleared by the platform when it gets no listener
};

} // namespace OrvexEngine
