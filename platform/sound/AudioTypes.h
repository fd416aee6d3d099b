// The values shared by the sound device, its buffers and their callers: result codes, buffer and play
// flags, status bits and the PCM format record. The numbers are those the engine's sound code tests and
// turns into texts, so they keep the values callers know them by.
#pragma once

#include <cstdint>

namespace platform {

using AudioResult = int32_t;

constexpr AudioResult AudioOk = 0;
constexpr AudioResult AudioErrAccessDenied = static_cast<AudioResult>(0x80070005u);
constexpr AudioResult AudioErrAllocated = static_cast<AudioResult>(0x8878000Au);
constexpr AudioResult AudioErrAlreadyInitialized = static_cast<AudioResult>(0x88780082u);
constexpr AudioResult AudioErrBadFormat = static_cast<AudioResult>(0x88780064u);
constexpr AudioResult AudioErrBufferLost = static_cast<AudioResult>(0x88780096u);
constexpr AudioResult AudioErrControlUnavailable = static_cast<AudioResult>(0x8878001Eu);
constexpr AudioResult AudioErrGeneric = static_cast<AudioResult>(0x80004005u);
constexpr AudioResult AudioErrInvalidCall = static_cast<AudioResult>(0x88780032u);
constexpr AudioResult AudioErrInvalidParam = static_cast<AudioResult>(0x80070057u);
constexpr AudioResult AudioErrNoAggregation = static_cast<AudioResult>(0x80040110u);
constexpr AudioResult AudioErrNoDriver = static_cast<AudioResult>(0x88780078u);
constexpr AudioResult AudioErrNoInterface = static_cast<AudioResult>(0x80004002u);
constexpr AudioResult AudioErrOtherAppHasPriority = static_cast<AudioResult>(0x887800A0u);
constexpr AudioResult AudioErrOutOfMemory = static_cast<AudioResult>(0x8007000Eu);
constexpr AudioResult AudioErrPriorityNeeded = static_cast<AudioResult>(0x88780046u);
constexpr AudioResult AudioErrUninitialized = static_cast<AudioResult>(0x887800AAu);
constexpr AudioResult AudioErrUnsupported = static_cast<AudioResult>(0x80004001u);

// Cooperative levels.
constexpr int AudioLevelNormal = 1;
constexpr int AudioLevelPriority = 2;

// Buffer description flags.
constexpr uint32_t AudioCapsPrimary = 0x1;
constexpr uint32_t AudioCapsStatic = 0x2;
constexpr uint32_t AudioCaps3D = 0x10;
constexpr uint32_t AudioCapsFrequency = 0x20;
constexpr uint32_t AudioCapsPan = 0x40;
constexpr uint32_t AudioCapsVolume = 0x80;

constexpr uint32_t AudioPlayLooping = 0x1;

constexpr uint32_t AudioStatusPlaying = 0x1;
constexpr uint32_t AudioStatusLost = 0x2;
constexpr uint32_t AudioStatusLooping = 0x4;

// How a 3D setting takes effect: at once, or at the listener's CommitDeferredSettings.
constexpr uint32_t Audio3DImmediate = 0;
constexpr uint32_t Audio3DDeferred = 1;

constexpr int32_t AudioVolumeMin = -10000; // silence, in hundredths of a decibel
constexpr int32_t AudioVolumeMax = 0;
constexpr int32_t AudioPanLeft = -10000;
constexpr int32_t AudioPanRight = 10000;
constexpr uint32_t AudioFrequencyMin = 100;
constexpr uint32_t AudioFrequencyMax = 100000;
constexpr uint32_t AudioFrequencyOriginal = 0;
constexpr uint32_t AudioBufferBytesMin = 4;
constexpr uint32_t AudioBufferBytesMax = 0x0FFFFFFF;

constexpr uint16_t AudioFormatPcm = 1;

struct WaveFormat {
    uint16_t formatTag = AudioFormatPcm;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

struct AudioBufferDesc {
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;           // 0 for the primary buffer
    const WaveFormat* format = nullptr; // null for the primary buffer
};

// A PCM format the mixer plays: tag 1, 1 or 2 channels, 8 or 16 bits, a rate the frequency control
// accepts, and block alignment and byte rate that agree with them.
bool IsPlayableFormat(const WaveFormat& format);

} // namespace platform
