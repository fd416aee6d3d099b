// Forces the sound device's failures and states that a test cannot provoke on a real machine: a result for
// the next calls of one operation, a cap on the number of buffers, lost buffers, a restore that keeps
// failing, and a device without audio output whose mixer the test renders itself. Global, main thread
// only; Reset() returns everything to normal.
#pragma once

#include "platform/sound/AudioTypes.h"

#include <cstdint>

namespace platform {

class AudioDevice;

enum class AudioCall {
    CreateDevice,
    SetCooperativeLevel,
    CreatePrimaryBuffer,
    SetFormat,
    QueryListener,
    CreateBuffer,
    Query3DBuffer,
    DuplicateBuffer,
    GetStatus,
    Lock,
    Unlock,
    Play,
    Stop,
    SetCurrentPosition,
    SetVolume,
    SetFrequency,
    Restore,
    CommitDeferredSettings,
    Count
};

class AudioTestHooks {
public:
    // The next `times` calls of the operation return the result. A failure code skips the operation's
    // work; a non-zero success code (such as 0x0087000A) lets it run and is returned instead of 0.
    static void InjectResult(AudioCall call, AudioResult result, uint32_t times = 1);
    // At most this many secondary buffers may live at once; creating another gives AudioErrOutOfMemory.
    static void SetBufferLimit(uint32_t count);
    // Every live buffer (and, when asked, the primary) reports lost until it is restored.
    static void LoseBuffers(bool includePrimary);
    static void SetRestoreFails(bool fails);
    // Devices created from now on open no audio output; the test calls Mixer::Render itself.
    static void SetNullOutput(bool on);
    static void Reset();

    // The device that exists now (null when none), and how many secondary buffers are alive.
    static AudioDevice* CurrentDevice();
    static uint32_t LiveBufferCount();

    // Used by the device: takes the injected result of one call of the operation (0 when none).
    static AudioResult Take(AudioCall call);
    static uint32_t BufferLimit();
    static bool RestoreFails();
    static bool NullOutput();
};

} // namespace platform
