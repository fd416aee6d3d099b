#include "engine/sound/Sound.h"

#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundBufferManager.h"

namespace OrvexEngine {

Sound::Sound(SoundBufferManager* manager, const std::string& name, bool resident)
    : bufferManager(manager), fileName(name) {
    buffer = bufferManager->GetBuffer(fileName, resident);
}

Sound::Sound(const Sound& other)
    : bufferManager(other.bufferManager), fileName(other.fileName), loop(other.loop), volume(other.volume),
      tempo(other.tempo), position(other.position) {
    buffer = bufferManager->GetBuffer(fileName, true);
}

Sound::~Sound() {
    bufferManager->ReleaseBuffer(buffer);
}

void Sound::SetLooping(bool looping) {
    loop = looping;
    if (buffer->IsStreamed())
        buffer->SetLooping(looping);
}

void Sound::SetVolume(float linearVolume) {
    volume = linearVolume;
}

void Sound::SetTempo(float factor) {
    tempo = factor;
}

void Sound::SetPosition(const Vec3& newPosition) {
    position = newPosition;
}

} // namespace OrvexEngine
