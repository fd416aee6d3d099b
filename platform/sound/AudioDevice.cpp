#include "platform/sound/AudioDevice.h"

#include "platform/sound/AudioBuffer.h"
#include "platform/sound/AudioContext.h"
#include "platform/sound/AudioTestHooks.h"
#include "platform/sound/SdlAudioOutput.h"

#include <algorithm>

namespace platform {

namespace {

AudioDevice* current = nullptr;
std::string lastError;

constexpr uint32_t DefaultRate = 22050;
constexpr uint32_t DefaultChannels = 2;

} // namespace

AudioDevice::AudioDevice() : context(std::make_shared<AudioContext>(DefaultRate, DefaultChannels)) {}

AudioDevice::~AudioDevice() {
    if (output != nullptr)
        output->Close();
    context->reformat = nullptr;
    if (current == this)
        current = nullptr;
}

AudioResult AudioDevice::Create(AudioDevice** device, void* outer) {
    if (device == nullptr)
        return AudioErrInvalidParam;
    *device = nullptr;
    if (outer != nullptr)
        return AudioErrNoAggregation;
    lastError.clear();
    const AudioResult injected = AudioTestHooks::Take(AudioCall::CreateDevice);
    if (injected < 0)
        return injected;
    if (current != nullptr)
        return AudioErrAllocated;

    auto* made = new AudioDevice();
    if (!AudioTestHooks::NullOutput()) {
        made->output = std::make_unique<SdlAudioOutput>();
        if (!made->output->Open(&made->context->mixer, DefaultRate, DefaultChannels, lastError)) {
            delete made;
            return AudioErrNoDriver;
        }
        SdlAudioOutput* output = made->output.get();
        Mixer* mixer = &made->context->mixer;
        made->context->reformat = [output, mixer](uint32_t rate, uint32_t channels) {
            if (rate == mixer->GetOutputRate() && channels == mixer->GetOutputChannels())
                return true;
            output->Close(); // the callback has stopped, so the mixer may change without its lock
            mixer->SetOutputFormat(rate, channels);
            return output->Open(mixer, rate, channels, lastError);
        };
    } else {
        Mixer* mixer = &made->context->mixer;
        made->context->reformat = [mixer](uint32_t rate, uint32_t channels) {
            auto lock = mixer->Lock();
            mixer->SetOutputFormat(rate, channels);
            return true;
        };
    }
    current = made;
    *device = made;
    return injected;
}

uint32_t AudioDevice::AddRef() {
    return ++references;
}

uint32_t AudioDevice::Release() {
    const uint32_t left = --references;
    if (left == 0)
        delete this;
    return left;
}

AudioResult AudioDevice::SetCooperativeLevel(uint32_t window, int level) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::SetCooperativeLevel);
    if (injected < 0)
        return injected;
    if (window == 0 || level < AudioLevelNormal || level > 3)
        return AudioErrInvalidParam;
    context->cooperativeLevel = level;
    return injected;
}

AudioResult AudioDevice::CheckBufferLimit() const {
    const auto secondaries = std::count_if(context->buffers.begin(), context->buffers.end(),
                                           [](const AudioBuffer* b) { return !b->IsPrimary(); });
    return static_cast<uint32_t>(secondaries) >= AudioTestHooks::BufferLimit() ? AudioErrOutOfMemory
                                                                               : AudioOk;
}

AudioResult AudioDevice::CreateSoundBuffer(const AudioBufferDesc& desc, AudioBuffer** buffer, void* outer) {
    if (buffer == nullptr)
        return AudioErrInvalidParam;
    *buffer = nullptr;
    if (outer != nullptr)
        return AudioErrNoAggregation;
    if ((desc.flags & AudioCapsPrimary) != 0) {
        const AudioResult injected = AudioTestHooks::Take(AudioCall::CreatePrimaryBuffer);
        if (injected < 0)
            return injected;
        if (desc.bufferBytes != 0 || desc.format != nullptr || context->cooperativeLevel == 0)
            return desc.bufferBytes != 0 || desc.format != nullptr ? AudioErrInvalidParam
                                                                   : AudioErrUninitialized;
        if (context->primary != nullptr) {
            context->primary->AddRef();
        } else {
            context->primary = new AudioBuffer(context, desc.flags, nullptr, nullptr);
        }
        *buffer = context->primary;
        return injected;
    }

    const AudioResult injected = AudioTestHooks::Take(AudioCall::CreateBuffer);
    if (injected < 0)
        return injected;
    if (desc.format == nullptr || desc.bufferBytes < AudioBufferBytesMin ||
        desc.bufferBytes > AudioBufferBytesMax)
        return AudioErrInvalidParam;
    if (!IsPlayableFormat(*desc.format))
        return AudioErrBadFormat;
    if ((desc.flags & AudioCaps3D) != 0 && desc.format->channels != 1)
        return AudioErrInvalidParam;
    if (const AudioResult limit = CheckBufferLimit(); limit != AudioOk)
        return limit;
    // Whole frames only; the content starts as silence so that a buffer played before it is written is quiet.
    const uint32_t bytes = desc.bufferBytes - desc.bufferBytes % desc.format->blockAlign;
    auto samples =
        std::make_shared<std::vector<uint8_t>>(bytes, desc.format->bitsPerSample == 8 ? 0x80 : 0x00);
    *buffer = new AudioBuffer(context, desc.flags, desc.format, std::move(samples));
    return injected;
}

AudioResult AudioDevice::DuplicateSoundBuffer(AudioBuffer* source, AudioBuffer** duplicate) {
    if (duplicate == nullptr)
        return AudioErrInvalidParam;
    *duplicate = nullptr;
    const AudioResult injected = AudioTestHooks::Take(AudioCall::DuplicateBuffer);
    if (injected < 0)
        return injected;
    if (source == nullptr)
        return AudioErrInvalidParam;
    if (source->IsPrimary())
        return AudioErrInvalidCall;
    if (const AudioResult limit = CheckBufferLimit(); limit != AudioOk)
        return limit;
    std::shared_ptr<std::vector<uint8_t>> samples;
    uint32_t frequency = 0;
    {
        auto lock = context->mixer.Lock();
        samples = source->voice->samples;
        frequency = source->voice->frequency;
    }
    auto* made = new AudioBuffer(context, source->flags, &source->format, std::move(samples));
    made->volume = source->volume;
    made->pan = source->pan;
    {
        auto lock = context->mixer.Lock();
        made->voice->frequency = frequency;
        made->voice->volumeGain = Mixer::VolumeToGain(made->volume);
        Mixer::PanToGains(made->pan, made->voice->panLeft, made->voice->panRight);
    }
    *duplicate = made;
    return injected;
}

Mixer& AudioDevice::GetMixer() {
    return context->mixer;
}

const std::string& AudioDevice::GetLastError() {
    return lastError;
}

AudioDevice* AudioDevice::Current() {
    return current;
}

} // namespace platform
