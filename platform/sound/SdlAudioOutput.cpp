#include "platform/sound/SdlAudioOutput.h"

#include "platform/sound/Mixer.h"

#include <SDL.h>

namespace platform {

SdlAudioOutput::~SdlAudioOutput() {
    Close();
}

bool SdlAudioOutput::Open(Mixer* target, uint32_t rate, uint32_t outputChannels, std::string& error) {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return false;
    }
    subsystemStarted = true;
    mixer = target;
    channels = outputChannels;

    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(rate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(outputChannels);
    wanted.samples = 1024;
    wanted.callback = &SdlAudioOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts our format to the hardware's, so the mixer always runs at `rate`.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        error = SDL_GetError();
        Close();
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioOutput::Close() {
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    if (subsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted = false;
    }
    mixer = nullptr;
}

void SdlAudioOutput::Callback(void* userData, uint8_t* stream, int length) {
    auto* output = static_cast<SdlAudioOutput*>(userData);
    const uint32_t frames = static_cast<uint32_t>(length) / (2u * output->channels);
    output->mixer->Render(reinterpret_cast<int16_t*>(stream), frames);
}

} // namespace platform
