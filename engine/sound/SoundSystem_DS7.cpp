#include "engine/sound/SoundSystem_DS7.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/core/Window.h"
#include "engine/sound/SoundBuffer_DS7.h"
#include "engine/sound/Sound_DS7.h"
#include "platform/sound/AudioBuffer.h"
#include "platform/sound/AudioDevice.h"

#include <cmath>

namespace OrvexEngine {

namespace {

struct ResultName {
    uint32_t code;
    const char* text;
};

// Compared in this order.
constexpr ResultName ResultTexts[] = {
    {0x80070005, "The request failed because access was denied."},
    {0x8878000A, "The request failed because resources, such as a priority level, were already in use by "
                 "another caller."},
    {0x88780082, "The object is already initialized."},
    {0x88780064, "The specified wave format is not supported."},
    {0x88780096, "The buffer memory has been lost and must be restored."},
    {0x8878001E, "The buffer control (volume, pan, and so on) requested by the caller is not available."},
    {0x80004005, "An undetermined error occurred inside the DirectSound subsystem."},
    {0x88780032, "This function is not valid for the current state of this object."},
    {0x80070057, "An invalid parameter was passed to the returning function."},
    {0x80040110, "The object does not support aggregation."},
    {0x88780078, "No sound driver is available for use."},
    {0x80004002, "The requested COM interface is not available."},
    {0x887800A0, "Another application has a higher priority level, preventing this call from succeeding."},
    {0x8007000E, "The DirectSound subsystem could not allocate sufficient memory to complete the caller's "
                 "request."},
    {0x88780046, "The caller does not have the priority level required for the function to succeed."},
    {0x887800AA,
     "The IDirectSound::Initialize method has not been called or has not been called successfully "
     "before other methods were called."},
    {0x80004001, "The function called is not supported at this time."},
};

constexpr uint32_t PrimaryFlags = platform::AudioCapsPrimary | platform::AudioCapsVolume; // 0x81

} // namespace

SoundSystem_DS7::SoundSystem_DS7(bool use3DSound) : SoundSystem(use3DSound) {
    MessageManager* log = Log();
    log->Message("\nInitialization of DirectSound Subsystem:");

    log->Message("...Creating a device...");
    if (platform::AudioDevice::Create(&device, nullptr) < 0) {
        device = nullptr;
        if (!platform::AudioDevice::GetLastError().empty())
            log->Message("SDL: " + platform::AudioDevice::GetLastError());
        Fail("Failed to create a device");
    }

    log->Message("...Set cooperative level...");
    const Window* window = Window::Instance();
    if (device->SetCooperativeLevel(window != nullptr ? window->handle : 0, platform::AudioLevelPriority) < 0)
        Fail("Failed to set cooperative level");

    log->Message("...Create primary buffer...");
    platform::AudioBufferDesc primaryDesc;
    primaryDesc.flags = PrimaryFlags | (use3D ? platform::AudioCaps3D : 0);
    if (device->CreateSoundBuffer(primaryDesc, &primaryBuffer, nullptr) < 0) {
        primaryBuffer = nullptr;
        Fail("Failed to create primary buffer");
    }

    log->Message("...Set primary buffer format...");
    platform::WaveFormat format;
    format.formatTag = platform::AudioFormatPcm;
    format.channels = 2;
    format.samplesPerSecond = 22050;
    format.bitsPerSample = 16;
    format.blockAlign = 4;
    format.averageBytesPerSecond = 88200;
    if (primaryBuffer->SetFormat(&format) < 0)
        Fail("Failed to set primary buffer format");

    if (use3D) {
        log->Message("...Get the 3D listener from the primary buffer...");
        if (primaryBuffer->QueryListener(&listener) < 0) {
            listener = nullptr;
            log->Error("Failed to get the 3D listener from the primary buffer");
            use3D = false;
        }
    }
    log->Message("");
    ResetListener();
}

SoundSystem_DS7::~SoundSystem_DS7() {
    Release();
}

void SoundSystem_DS7::Fail(const std::string& text) {
    Log()->Error(text);
    Release();
    throw Error("");
}

void SoundSystem_DS7::Release() {
    MessageManager* log = Log();
    log->Message("DirectSound system destroying:");
    if (listener != nullptr) {
        log->Message("...Releasing 3D listener...");
        listener->Release();
        listener = nullptr;
    }
    if (primaryBuffer != nullptr) {
        log->Message("...Releasing primary buffer...");
        primaryBuffer->Release();
        primaryBuffer = nullptr;
    }
    if (device != nullptr) {
        log->Message("...Releasing device...");
        device->Release();
        device = nullptr;
    }
}

void SoundSystem_DS7::Refresh() {
    SoundSystem::Refresh();
    uint32_t status = 0;
    CheckResult("SoundSystem_DS7::Refresh", primaryBuffer->GetStatus(&status));
    if (status == platform::AudioStatusLost)
        primaryBuffer->Restore();
    if (listener != nullptr)
        CheckResult("SoundSystem_DS7::Refresh", listener->CommitDeferredSettings());
}

Sound* SoundSystem_DS7::CreateSound(const std::string& fileName, bool resident) {
    return new Sound_DS7(bufferManager, fileName, resident);
}

Sound* SoundSystem_DS7::CloneSound(Sound* sound) {
    return new Sound_DS7(*static_cast<Sound_DS7*>(sound));
}

SoundBuffer* SoundSystem_DS7::CreateSoundBuffer(const std::string& fileName, uint8_t* scratchBlock,
                                                bool resident) {
    return new SoundBuffer_DS7(fileName, scratchBlock, resident);
}

SoundBuffer* SoundSystem_DS7::DuplicateSoundBuffer(SoundBuffer* source, uint8_t* scratchBlock) {
    return new SoundBuffer_DS7(*static_cast<SoundBuffer_DS7*>(source), scratchBlock);
}

void SoundSystem_DS7::SetListenerPosition(const Vec3& position) {
    SoundSystem::SetListenerPosition(position);
    if (listener != nullptr)
        listener->SetPosition(position.x, position.y, position.z, platform::Audio3DDeferred);
}

void SoundSystem_DS7::SetListenerOrientation(const Vec3& front, const Vec3& up) {
    SoundSystem::SetListenerOrientation(front, up);
    if (listener != nullptr)
        listener->SetOrientation(front.x, front.y, front.z, up.x, up.y, up.z, platform::Audio3DDeferred);
}

void SoundSystem_DS7::CheckResult(const char* context, int32_t result) {
    if (result == 0)
        return;
    Log()->Error(std::string("DirectSound Subsystem (") + context + "): " + ResultText(result));
}

std::string SoundSystem_DS7::ResultText(int32_t result) {
    for (const ResultName& entry : ResultTexts)
        if (static_cast<uint32_t>(result) == entry.code)
            return entry.text;
    return "Unknown error (Code: " + IntToText(result, 0) + ")";
}

int SoundSystem_DS7::VolumeToAttenuation(float volume) {
    if (volume < 0.0001f)
        return -10000;
    const float reciprocal = 1.0f / volume;
    const float logarithm = std::log(reciprocal);
    const int attenuation = static_cast<int>(logarithm * -1000.0f);
    return attenuation < -10000 ? -10000 : attenuation;
}

} // namespace OrvexEngine
