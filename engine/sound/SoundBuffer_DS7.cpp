#include "engine/sound/SoundBuffer_DS7.h"

#include "engine/core/MessageManager.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/sound/SoundFileReader.h"
#include "engine/sound/SoundSystem_DS7.h"
#include "platform/sound/AudioBuffer.h"
#include "platform/sound/AudioDevice.h"

#include <algorithm>
#include <cstring>

namespace OrvexEngine {

namespace {

SoundSystem_DS7* System() {
    return static_cast<SoundSystem_DS7*>(SoundSystem::Instance());
}

constexpr uint32_t RingBytes = SoundBuffer::StreamRingBytes;
constexpr uint32_t Segment = SoundBuffer::SegmentBytes;

} // namespace

SoundBuffer_DS7::SoundBuffer_DS7(const std::string& fileName, uint8_t* scratchBlock, bool isResident)
    : SoundBuffer(fileName, scratchBlock, isResident), device(System()->GetDevice()) {
    Reload(nullptr);
}

SoundBuffer_DS7::SoundBuffer_DS7(const SoundBuffer_DS7& source, uint8_t* scratchBlock)
    : SoundBuffer(source, scratchBlock), device(System()->GetDevice()) {
    Reload(const_cast<SoundBuffer_DS7*>(&source));
}

SoundBuffer_DS7::~SoundBuffer_DS7() {
    Unload();
}

void SoundBuffer_DS7::Unload() {
    SoundBuffer::Unload();
    ReleaseBuffer();
    if (streamTimer != nullptr)
        TimerManager::Instance()->DeleteTimer(streamTimer);
    streamTimer = nullptr;
}

void SoundBuffer_DS7::Reload(SoundBuffer* source) {
    SoundBuffer::Reload(source);
    if (streamed && streamTimer == nullptr) {
        streamTimer = TimerManager::Instance()->CreateTimer(0.0f, false);
        streamTimer->SetTime(0.0f);
        streamTimer->SetPaused(true);
    }
}

void SoundBuffer_DS7::CreateBuffer() {
    platform::WaveFormat format;
    format.formatTag = platform::AudioFormatPcm;
    format.channels = static_cast<uint16_t>(channels);
    format.samplesPerSecond = sampleRate;
    format.bitsPerSample = static_cast<uint16_t>(bitsPerSample);
    format.blockAlign = static_cast<uint16_t>(channels * bitsPerSample / 8);
    format.averageBytesPerSecond = sampleRate * format.blockAlign;

    const bool with3D = System()->Is3D() && channels == 1;
    platform::AudioBufferDesc desc;
    desc.flags =
        platform::AudioCapsFrequency | platform::AudioCapsVolume | (with3D ? platform::AudioCaps3D : 0);
    desc.bufferBytes = streamed ? RingBytes : dataSize;
    if (!streamed)
        desc.flags |= platform::AudioCapsStatic;
    desc.format = &format;
    if (device->CreateSoundBuffer(desc, &platformBuffer, nullptr) < 0 || platformBuffer == nullptr) {
        platformBuffer = nullptr;
        Log()->Error("Sound System: DirectSound buffers overflow");
        return;
    }
    if (with3D && platformBuffer->Query3DBuffer(&buffer3D) < 0) {
        buffer3D = nullptr;
        Log()->Error("Sound System: Failed to get the 3D buffer from the secondary buffer");
    }
    SetVolume(volume);
    // A sound made before its platform buffer (not resident, or a stream) keeps its tempo and position.
    if (tempo != 1.0f)
        SetTempo(tempo);
    if (buffer3D != nullptr)
        SetPosition(position);
    if (!streamed)
        FillStatic();
}

void SoundBuffer_DS7::FillStatic() {
    reader->Open();
    if (!FillSegment(0, dataSize))
        Log()->Error("\"" + name + "\" sound file - incorrect format");
    reader->Close();
}

void SoundBuffer_DS7::AllocateBuffer(SoundBuffer* source) {
    if (!resident)
        return;
    auto* original = static_cast<SoundBuffer_DS7*>(source);
    // A source whose own buffer could not be made has nothing to share: this one reads its own file.
    if (original == nullptr || original->platformBuffer == nullptr) {
        CreateBuffer();
        return;
    }
    if (device->DuplicateSoundBuffer(original->platformBuffer, &platformBuffer) < 0 ||
        platformBuffer == nullptr) {
        platformBuffer = nullptr;
        Log()->Error("Sound System: DirectSound buffers overflow");
    }
}

void SoundBuffer_DS7::ReleaseBuffer() {
    if (buffer3D != nullptr)
        buffer3D->Release();
    buffer3D = nullptr;
    if (platformBuffer != nullptr)
        platformBuffer->Release();
    platformBuffer = nullptr;
}

bool SoundBuffer_DS7::WriteSegment(uint32_t segment, uint32_t bytes) {
    if (platformBuffer == nullptr)
        return true;
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0, bytes2 = 0;
    if (platformBuffer->Lock(segment * Segment, bytes, &part1, &bytes1, &part2, &bytes2, 0) < 0)
        return false;
    const uint32_t first = std::min(bytes, bytes1);
    std::memcpy(part1, scratch, first);
    if (part2 != nullptr)
        std::memcpy(part2, scratch + bytes1, std::min(bytes - first, bytes2));
    return platformBuffer->Unlock(part1, bytes1, part2, bytes2) >= 0;
}

void SoundBuffer_DS7::Play(bool looping) {
    if (platformBuffer == nullptr)
        CreateBuffer();
    if (platformBuffer == nullptr)
        return;
    if (streamed)
        SetStreamState(StreamPlaying);
    const uint32_t flags = streamed || looping ? platform::AudioPlayLooping : 0;
    System()->CheckResult("SoundBuffer_DS7::Play", platformBuffer->Play(0, 0, flags));
    finished = false;
    if (streamed)
        streamTimer->SetPaused(false);
}

void SoundBuffer_DS7::Pause() {
    if (platformBuffer == nullptr)
        return;
    System()->CheckResult("SoundBuffer_DS7::Pause", platformBuffer->Stop());
    if (streamed)
        streamTimer->SetPaused(true);
}

void SoundBuffer_DS7::Stop() {
    if (platformBuffer == nullptr)
        return;
    System()->CheckResult("SoundBuffer_DS7::Stop", platformBuffer->Stop());
    System()->CheckResult("SoundBuffer_DS7::Stop", platformBuffer->SetCurrentPosition(0));
    ringPosition = 0;
    playedTotal = 0;
    if (streamed) {
        streamTimer->SetTime(0.0f);
        streamTimer->SetPaused(true);
    }
    if (!resident)
        ReleaseBuffer();
}

bool SoundBuffer_DS7::IsPlaying() {
    if (platformBuffer == nullptr)
        return false;
    uint32_t status = 0;
    System()->CheckResult("SoundBuffer_DS7::IsPlaying", platformBuffer->GetStatus(&status));
    return (status & platform::AudioStatusPlaying) != 0;
}

bool SoundBuffer_DS7::IsLost() {
    if (platformBuffer == nullptr)
        return false;
    uint32_t status = 0;
    System()->CheckResult("SoundBuffer_DS7::IsLost", platformBuffer->GetStatus(&status));
    return (status & platform::AudioStatusLost) != 0;
}

bool SoundBuffer_DS7::Restore() {
    if (platformBuffer == nullptr)
        return false;
    if (platformBuffer->Restore() != 0)
        return false;
    if (!streamed) {
        if (resident) {
            // The restored memory is undefined: a resident buffer is made and filled anew from its reader.
            ReleaseBuffer();
            Reload(nullptr);
        } else {
            // Not resident: the restored buffer is kept until the next stop, so it is filled again here.
            FillStatic();
        }
    }
    return true;
}

void SoundBuffer_DS7::SetVolume(float linearVolume) {
    volume = linearVolume;
    if (platformBuffer != nullptr)
        System()->CheckResult("SoundBuffer_DS7::SetVolume",
                              platformBuffer->SetVolume(SoundSystem_DS7::VolumeToAttenuation(linearVolume)));
}

void SoundBuffer_DS7::SetTempo(float factor) {
    tempo = factor;
    if (platformBuffer != nullptr)
        System()->CheckResult("SoundBuffer_DS7::SetTempo", platformBuffer->SetFrequency(static_cast<uint32_t>(
                                                               static_cast<float>(sampleRate) * factor)));
}

void SoundBuffer_DS7::SetPosition(const Vec3& newPosition) {
    position = newPosition;
    if (buffer3D != nullptr)
        System()->CheckResult(
            "SoundBuffer_DS7::SetPosition",
            buffer3D->SetPosition(position.x, position.y, position.z, platform::Audio3DDeferred));
}

void SoundBuffer_DS7::UnqueueProcessedBuffers(std::vector<uint32_t>& segments) {
    segments.clear();
    if (platformBuffer == nullptr || !IsPlaying() || finished)
        return;
    const uint32_t bytesPerSecond = sampleRate * channels * bitsPerSample / 8;
    if (bytesPerSecond == 0)
        return;
    auto pos = static_cast<uint32_t>(static_cast<double>(streamTimer->GetTime()) * bytesPerSecond);
    while (pos >= RingBytes) {
        // The timer never runs more than one ring ahead.
        pos -= RingBytes;
        streamTimer->SetTime(static_cast<float>(pos) / static_cast<float>(bytesPerSecond));
    }
    const uint32_t advance = pos >= ringPosition ? pos - ringPosition : pos + RingBytes - ringPosition;
    const uint64_t lag = std::min<uint64_t>(playedTotal, RefillLag);
    uint64_t windowStart = playedTotal - lag;
    playedTotal += advance;
    uint64_t windowEnd = playedTotal - lag;
    // Whole turns of the ring are dropped at once: the total grows for as long as the music plays, and a
    // turn at a time would cost more every frame.
    if (windowEnd >= 2ull * RingBytes) {
        const uint64_t turns = windowEnd / RingBytes - 1;
        windowStart -= turns * RingBytes;
        windowEnd -= turns * RingBytes;
    }
    SegmentsInWindow(windowStart, windowEnd, segments);
    ringPosition = pos;

    if (!loop && playedTotal > static_cast<uint64_t>(dataSize) + Segment) {
        System()->CheckResult("SoundBuffer_DS7::UnqueueProcessedBuffers", platformBuffer->Stop());
        finished = true;
        streamTimer->SetTime(0.0f);
        streamTimer->SetPaused(true);
    }
}

void SoundBuffer_DS7::SegmentsInWindow(uint64_t windowStart, uint64_t windowEnd,
                                       std::vector<uint32_t>& segments) {
    segments.clear();
    const auto start = static_cast<int64_t>(windowStart);
    const auto end = static_cast<int64_t>(windowEnd);
    const int64_t half = (end - start) / 2;
    constexpr int64_t halfSegment = Segment / 2;
    // The ring is walked twice so that a window across its end stays in one piece and in play order.
    for (int64_t k = 0; k < 2 * static_cast<int64_t>(SegmentCount); ++k) {
        const int64_t segStart = k * Segment;
        const int64_t segEnd = segStart + Segment;
        if (segStart <= end && end <= segEnd)
            continue; // still being played, or next to be
        const int64_t distance = (segStart + halfSegment) - (start + half);
        if ((distance < 0 ? -distance : distance) > halfSegment + half)
            continue;
        const auto number = static_cast<uint32_t>(k % SegmentCount);
        if (std::find(segments.begin(), segments.end(), number) == segments.end())
            segments.push_back(number);
    }
}

} // namespace OrvexEngine
