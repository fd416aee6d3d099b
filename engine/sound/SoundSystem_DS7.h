// The sound system on the platform's sound device: opens the device, takes the priority cooperative
// level on the engine window, creates and formats the primary buffer, optionally gets the 3D listener,
// and makes Sound_DS7 and SoundBuffer_DS7 objects. Every device result goes through CheckResult, which
// logs a readable text. Created by the Engine (a failing set-up throws Error and the game runs silent)
// and deleted after the SoundManager. Single instance, registered as SoundSystem.
#pragma once

#include "engine/sound/SoundSystem.h"

#include <cstdint>
#include <string>

namespace platform {
class AudioBuffer;
class AudioDevice;
class AudioListener;
} // namespace platform

namespace OrvexEngine {

class SoundSystem_DS7 final : public SoundSystem {
public:
    // Logs each step; a failing step is logged, what exists is released and Error("") is thrown. A
    // missing 3D listener only turns 3D off.
    explicit SoundSystem_DS7(bool use3D);
    ~SoundSystem_DS7() override;

    // Restores a lost primary buffer and commits the deferred 3D settings.
    void Refresh() override;
    Sound* CreateSound(const std::string& fileName, bool resident) override;
    Sound* CloneSound(Sound* sound) override;
    SoundBuffer* CreateSoundBuffer(const std::string& fileName, uint8_t* scratchBlock,
                                   bool resident) override;
    SoundBuffer* DuplicateSoundBuffer(SoundBuffer* source, uint8_t* scratchBlock) override;
    void SetListenerPosition(const Vec3& position) override;
    void SetListenerOrientation(const Vec3& front, const Vec3& up) override;

    // Logs any result but 0 as "DirectSound Subsystem (<context>): <text>"; the caller goes on. The context
    // is a plain text because buffers check every frame: no string is built unless something is logged.
    void CheckResult(const char* context, int32_t result);
    // A linear volume as hundredths of a decibel: -10000 below 0.0001, positive above 1.
    static int VolumeToAttenuation(float volume);
    // The text of a device result; "Unknown error (Code: <signed decimal>)" for codes it does not know.
    static std::string ResultText(int32_t result);
    // Releases the listener, the primary buffer and the device, each once, with a log line each.
    void Release();

    platform::AudioDevice* GetDevice() const { return device; }
    platform::AudioBuffer* GetPrimaryBuffer() const { return primaryBuffer; }
    platform::AudioListener* GetListener() const { return listener; }

private:
    [[noreturn]] void Fail(const std::string& text);

    platform::AudioDevice* device = nullptr;        // owned (one reference)
    platform::AudioBuffer* primaryBuffer = nullptr; // owned (one reference)
    platform::AudioListener* listener = nullptr;    // owned (one reference)
};

} // namespace OrvexEngine
