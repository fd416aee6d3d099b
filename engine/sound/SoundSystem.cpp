#include "engine/sound/SoundSystem.h"

namespace OrvexEngine {

SoundSystem::SoundSystem(bool use3DSound) : use3D(use3DSound) {}

SoundSystem::~SoundSystem() = default;

void SoundSystem::SetListenerPosition(const Vec3& position) {
    listenerPosition = position;
}

void SoundSystem::SetListenerOrientation(const Vec3& front, const Vec3& up) {
    listenerFront = front;
    listenerUp = up;
}

void SoundSystem::ResetListener() {
    SetListenerPosition(Vec3(0.0f, 0.0f, 0.0f));
    SetListenerOrientation(Vec3(0.0f, 0.0f, -1.0f), Vec3(0.0f, 1.0f, 0.0f));
}

} // namespace OrvexEngine
