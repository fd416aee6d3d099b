#include "platform/sound/AudioBuffer.h"

#include "platform/sound/AudioContext.h"
#include "platform/sound/AudioTestHooks.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

uint8_t SilenceOf(const WaveFormat& format) {
    return format.bitsPerSample == 8 ? 0x80 : 0x00;
}

} // namespace

bool IsPlayableFormat(const WaveFormat& format) {
    if (format.formatTag != AudioFormatPcm || format.channels < 1 || format.channels > 2)
        return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return false;
    if (format.samplesPerSecond < AudioFrequencyMin || format.samplesPerSecond > AudioFrequencyMax)
        return false;
    const uint32_t blockAlign = format.channels * format.bitsPerSample / 8u;
    return format.blockAlign == blockAlign &&
           format.averageBytesPerSecond == format.samplesPerSecond * blockAlign;
}

AudioBuffer::AudioBuffer(std::shared_ptr<AudioContext> sharedContext, uint32_t bufferFlags,
                         const WaveFormat* bufferFormat, std::shared_ptr<std::vector<uint8_t>> samples)
    : context(std::move(sharedContext)), flags(bufferFlags) {
    if (bufferFormat != nullptr) {
        format = *bufferFormat;
        voice = std::make_shared<MixerVoice>();
        voice->samples = std::move(samples);
        voice->channels = format.channels;
        voice->bitsPerSample = format.bitsPerSample;
        voice->blockAlign = format.blockAlign;
        voice->frequency = format.samplesPerSecond;
        voice->is3D = (flags & AudioCaps3D) != 0;
        auto lock = context->mixer.Lock();
        context->mixer.AddVoice(voice);
    }
    context->buffers.push_back(this);
}

AudioBuffer::~AudioBuffer() {
    if (voice != nullptr) {
        auto lock = context->mixer.Lock();
        context->mixer.RemoveVoice(voice.get());
    }
    if (context->primary == this)
        context->primary = nullptr;
    auto& buffers = context->buffers;
    buffers.erase(std::remove(buffers.begin(), buffers.end(), this), buffers.end());
}

uint32_t AudioBuffer::AddRef() {
    return ++references;
}

uint32_t AudioBuffer::Release() {
    const uint32_t left = --references;
    if (left == 0)
        delete this;
    return left;
}

uint32_t AudioBuffer::GetSize() const {
    return voice != nullptr ? static_cast<uint32_t>(voice->samples->size()) : 0;
}

bool AudioBuffer::IsLost() const {
    if (voice == nullptr)
        return primaryLost;
    auto lock = context->mixer.Lock();
    return voice->lost;
}

void AudioBuffer::SetLost(bool lost) {
    if (voice == nullptr) {
        primaryLost = lost;
        return;
    }
    auto lock = context->mixer.Lock();
    voice->lost = lost;
    if (lost)
        voice->playing = false;
}

AudioResult AudioBuffer::GetStatus(uint32_t* status) {
    if (status == nullptr)
        return AudioErrInvalidParam;
    *status = 0;
    const AudioResult injected = AudioTestHooks::Take(AudioCall::GetStatus);
    if (injected < 0)
        return injected;
    if (voice == nullptr) {
        *status = primaryLost ? AudioStatusLost : 0;
        return injected;
    }
    auto lock = context->mixer.Lock();
    if (voice->lost)
        *status = AudioStatusLost;
    else if (voice->playing)
        *status = AudioStatusPlaying | (voice->looping ? AudioStatusLooping : 0);
    return injected;
}

AudioResult AudioBuffer::SetFormat(const WaveFormat* newFormat) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::SetFormat);
    if (injected < 0)
        return injected;
    if (voice != nullptr)
        return AudioErrInvalidCall;
    if (newFormat == nullptr)
        return AudioErrInvalidParam;
    if (context->cooperativeLevel < AudioLevelPriority)
        return AudioErrPriorityNeeded;
    if (!IsPlayableFormat(*newFormat))
        return AudioErrBadFormat;
    if (context->reformat && !context->reformat(newFormat->samplesPerSecond, newFormat->channels))
        return AudioErrGeneric;
    format = *newFormat;
    return injected;
}

AudioResult AudioBuffer::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                              uint32_t* bytes2, uint32_t /*flags*/) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::Lock);
    if (injected < 0)
        return injected;
    if (voice == nullptr)
        return AudioErrInvalidCall;
    if (part1 == nullptr || bytes1 == nullptr)
        return AudioErrInvalidParam;
    const uint32_t size = GetSize();
    if (offset >= size || bytes == 0 || bytes > size)
        return AudioErrInvalidParam;
    if (locked)
        return AudioErrInvalidCall;
    if (IsLost())
        return AudioErrBufferLost;
    const uint32_t first = std::min(bytes, size - offset);
    const uint32_t second = bytes - first;
    if (second > 0 && (part2 == nullptr || bytes2 == nullptr))
        return AudioErrInvalidParam;
    staging.resize(bytes);
    {
        // Hand out the current content, as a caller may read before it writes.
        auto lock = context->mixer.Lock();
        std::memcpy(staging.data(), voice->samples->data() + offset, first);
        if (second > 0)
            std::memcpy(staging.data() + first, voice->samples->data(), second);
    }
    *part1 = staging.data();
    *bytes1 = first;
    if (part2 != nullptr)
        *part2 = second > 0 ? staging.data() + first : nullptr;
    if (bytes2 != nullptr)
        *bytes2 = second;
    locked = true;
    lockOffset = offset;
    return injected;
}

AudioResult AudioBuffer::Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::Unlock);
    if (injected < 0)
        return injected;
    if (!locked)
        return AudioErrInvalidCall;
    const uint32_t size = GetSize();
    const uint32_t first = std::min(static_cast<uint32_t>(staging.size()), size - lockOffset);
    const uint32_t second = static_cast<uint32_t>(staging.size()) - first;
    if (part1 != staging.data() || bytes1 > first || (part2 != nullptr && part2 != staging.data() + first) ||
        (part2 == nullptr ? bytes2 != 0 : bytes2 > second))
        return AudioErrInvalidParam;
    locked = false;
    auto lock = context->mixer.Lock();
    std::memcpy(voice->samples->data() + lockOffset, staging.data(), bytes1);
    if (bytes2 > 0)
        std::memcpy(voice->samples->data(), staging.data() + first, bytes2);
    return injected;
}

AudioResult AudioBuffer::Play(uint32_t reserved, uint32_t /*priority*/, uint32_t playFlags) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::Play);
    if (injected < 0)
        return injected;
    if (reserved != 0)
        return AudioErrInvalidParam;
    if (voice == nullptr)
        return injected; // the primary always plays while the device is open
    auto lock = context->mixer.Lock();
    if (voice->lost)
        return AudioErrBufferLost;
    voice->looping = (playFlags & AudioPlayLooping) != 0;
    voice->playing = true;
    return injected;
}

AudioResult AudioBuffer::Stop() {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::Stop);
    if (injected < 0)
        return injected;
    if (voice == nullptr)
        return injected;
    auto lock = context->mixer.Lock();
    voice->playing = false;
    return injected;
}

AudioResult AudioBuffer::SetCurrentPosition(uint32_t position) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::SetCurrentPosition);
    if (injected < 0)
        return injected;
    if (voice == nullptr)
        return AudioErrInvalidCall;
    if (position >= GetSize())
        return AudioErrInvalidParam;
    auto lock = context->mixer.Lock();
    voice->position = static_cast<uint64_t>(position / voice->blockAlign) << 32;
    return injected;
}

AudioResult AudioBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) {
    if (voice == nullptr)
        return AudioErrInvalidCall;
    auto lock = context->mixer.Lock();
    const uint32_t size = static_cast<uint32_t>(voice->samples->size());
    const uint32_t playByte = static_cast<uint32_t>(voice->position >> 32) * voice->blockAlign;
    // The mixer reads a little ahead of what is heard: about 10 ms, whole frames.
    const uint32_t lead = voice->playing ? std::min(size, voice->frequency / 100 * voice->blockAlign) : 0;
    if (play != nullptr)
        *play = playByte;
    if (write != nullptr)
        *write = size > 0 ? (playByte + lead) % size : 0;
    return AudioOk;
}

AudioResult AudioBuffer::SetVolume(int32_t newVolume) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::SetVolume);
    if (injected < 0)
        return injected;
    if ((flags & AudioCapsVolume) == 0)
        return AudioErrControlUnavailable;
    if (newVolume < AudioVolumeMin || newVolume > AudioVolumeMax)
        return AudioErrInvalidParam;
    volume = newVolume;
    if (voice != nullptr) {
        auto lock = context->mixer.Lock();
        voice->volumeGain = Mixer::VolumeToGain(volume);
    }
    return injected;
}

AudioResult AudioBuffer::GetVolume(int32_t* result) {
    if (result == nullptr)
        return AudioErrInvalidParam;
    if ((flags & AudioCapsVolume) == 0)
        return AudioErrControlUnavailable;
    *result = volume;
    return AudioOk;
}

AudioResult AudioBuffer::SetFrequency(uint32_t frequency) {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::SetFrequency);
    if (injected < 0)
        return injected;
    if ((flags & AudioCapsFrequency) == 0 || voice == nullptr)
        return AudioErrControlUnavailable;
    if (frequency == AudioFrequencyOriginal)
        frequency = format.samplesPerSecond;
    if (frequency < AudioFrequencyMin || frequency > AudioFrequencyMax)
        return AudioErrInvalidParam;
    auto lock = context->mixer.Lock();
    voice->frequency = frequency;
    return injected;
}

AudioResult AudioBuffer::GetFrequency(uint32_t* frequency) {
    if (frequency == nullptr)
        return AudioErrInvalidParam;
    if ((flags & AudioCapsFrequency) == 0 || voice == nullptr)
        return AudioErrControlUnavailable;
    auto lock = context->mixer.Lock();
    *frequency = voice->frequency;
    return AudioOk;
}

AudioResult AudioBuffer::SetPan(int32_t newPan) {
    if ((flags & AudioCapsPan) == 0 || voice == nullptr)
        return AudioErrControlUnavailable;
    if (newPan < AudioPanLeft || newPan > AudioPanRight)
        return AudioErrInvalidParam;
    pan = newPan;
    auto lock = context->mixer.Lock();
    Mixer::PanToGains(pan, voice->panLeft, voice->panRight);
    return AudioOk;
}

AudioResult AudioBuffer::Restore() {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::Restore);
    if (injected < 0)
        return injected;
    if (!IsLost())
        return injected;
    if (AudioTestHooks::RestoreFails())
        return AudioErrBufferLost;
    SetLost(false);
    if (voice != nullptr) {
        auto lock = context->mixer.Lock();
        std::fill(voice->samples->begin(), voice->samples->end(), SilenceOf(format));
        voice->position = 0;
    }
    return injected;
}

AudioResult AudioBuffer::QueryListener(AudioListener** listener) {
    if (listener == nullptr)
        return AudioErrInvalidParam;
    *listener = nullptr;
    const AudioResult injected = AudioTestHooks::Take(AudioCall::QueryListener);
    if (injected < 0)
        return injected;
    if (voice != nullptr || (flags & AudioCaps3D) == 0)
        return AudioErrNoInterface;
    *listener = new AudioListener(context);
    return injected;
}

AudioResult AudioBuffer::Query3DBuffer(AudioBuffer3D** buffer3D) {
    if (buffer3D == nullptr)
        return AudioErrInvalidParam;
    *buffer3D = nullptr;
    const AudioResult injected = AudioTestHooks::Take(AudioCall::Query3DBuffer);
    if (injected < 0)
        return injected;
    if (voice == nullptr || (flags & AudioCaps3D) == 0)
        return AudioErrNoInterface;
    *buffer3D = new AudioBuffer3D(context, voice);
    return injected;
}

// The listener ---------------------------------------------------------------------------------------------

uint32_t AudioListener::Release() {
    const uint32_t left = --references;
    if (left == 0)
        delete this;
    return left;
}

AudioResult AudioListener::SetPosition(float x, float y, float z, uint32_t apply) {
    context->pendingPosition[0] = x;
    context->pendingPosition[1] = y;
    context->pendingPosition[2] = z;
    context->listenerPending = true;
    if (apply == Audio3DImmediate)
        Apply();
    return AudioOk;
}

AudioResult AudioListener::SetOrientation(float frontX, float frontY, float frontZ, float upX, float upY,
                                          float upZ, uint32_t apply) {
    const float front[3] = {frontX, frontY, frontZ};
    const float up[3] = {upX, upY, upZ};
    std::copy(front, front + 3, context->pendingFront);
    std::copy(up, up + 3, context->pendingUp);
    context->listenerPending = true;
    if (apply == Audio3DImmediate)
        Apply();
    return AudioOk;
}

AudioResult AudioListener::CommitDeferredSettings() {
    const AudioResult injected = AudioTestHooks::Take(AudioCall::CommitDeferredSettings);
    if (injected < 0)
        return injected;
    auto lock = context->mixer.Lock();
    for (AudioBuffer3D* buffer : context->buffers3D)
        buffer->Apply();
    if (context->listenerPending)
        context->mixer.SetListener(context->pendingPosition, context->pendingFront, context->pendingUp);
    context->listenerPending = false;
    context->mixer.Update3D();
    return injected;
}

void AudioListener::Apply() {
    auto lock = context->mixer.Lock();
    context->mixer.SetListener(context->pendingPosition, context->pendingFront, context->pendingUp);
    context->listenerPending = false;
    context->mixer.Update3D();
}

// A buffer's 3D position ------------------------------------------------------------------------------------

AudioBuffer3D::AudioBuffer3D(std::shared_ptr<AudioContext> sharedContext, std::shared_ptr<MixerVoice> shared)
    : context(std::move(sharedContext)), voice(std::move(shared)) {
    context->buffers3D.push_back(this);
}

AudioBuffer3D::~AudioBuffer3D() {
    auto& list = context->buffers3D;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

uint32_t AudioBuffer3D::Release() {
    const uint32_t left = --references;
    if (left == 0)
        delete this;
    return left;
}

AudioResult AudioBuffer3D::SetPosition(float x, float y, float z, uint32_t apply) {
    pendingPosition[0] = x;
    pendingPosition[1] = y;
    pendingPosition[2] = z;
    pending = true;
    if (apply == Audio3DImmediate) {
        auto lock = context->mixer.Lock();
        Apply();
        context->mixer.Update3D();
    }
    return AudioOk;
}

void AudioBuffer3D::Apply() {
    if (!pending)
        return;
    std::copy(pendingPosition, pendingPosition + 3, voice->position3D);
    pending = false;
}

} // namespace platform
