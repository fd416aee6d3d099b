#include "engine/sound/SoundManager.h"

#include "engine/sound/Sound.h"
#include "engine/sound/SoundBufferManager.h"
#include "engine/sound/SoundSystem.h"

#include <algorithm>

namespace OrvexEngine {

SoundManager::SoundManager() {
    bufferManager = new SoundBufferManager();
    SoundSystem::Instance()->SetBufferManager(bufferManager);
}

SoundManager::~SoundManager() {
    DeleteAll();
}

void SoundManager::DeleteAll() {
    ClearRequests();
    freeIds.clear();
    for (uint32_t id : liveIds) {
        delete slots[id];
        slots[id] = nullptr;
    }
    slots.clear();
    liveIds.clear();
    nextId = 0;
    if (SoundSystem* system = SoundSystem::Instance();
        system != nullptr && system->GetBufferManager() == bufferManager)
        system->SetBufferManager(nullptr);
    delete bufferManager;
    bufferManager = nullptr;
}

Sound* SoundManager::CreateSound(const std::string& fileName, bool resident, const std::string& /*unused*/) {
    uint32_t id = nextId;
    if (!freeIds.empty()) {
        id = freeIds.back();
        freeIds.pop_back();
    } else {
        ++nextId;
    }
    liveIds.push_back(id);
    Sound* sound = SoundSystem::Instance()->CreateSound(fileName, resident);
    if (id == slots.size())
        slots.push_back(sound);
    else
        slots[id] = sound;
    return sound;
}

void SoundManager::DeleteSound(Sound* sound) {
    if (sound == nullptr)
        return;
    const auto live =
        std::find_if(liveIds.begin(), liveIds.end(), [&](uint32_t id) { return slots[id] == sound; });
    if (live == liveIds.end())
        return;
    // A request left behind would reach the deleted sound at the next update.
    requests.erase(std::remove_if(requests.begin(), requests.end(),
                                  [sound](const SoundRequest& request) { return request.sound == sound; }),
                   requests.end());
    const uint32_t id = *live;
    delete sound;
    slots[id] = nullptr;
    freeIds.push_back(id);
    liveIds.erase(live);
}

void SoundManager::Play(Sound* sound, bool immediate) {
    if (immediate)
        sound->Play();
    else
        requests.push_back({RequestPlay, sound});
}

void SoundManager::Pause(Sound* sound, bool immediate) {
    if (immediate)
        sound->Pause();
    else
        requests.push_back({RequestPause, sound});
}

void SoundManager::Stop(Sound* sound, bool immediate) {
    if (immediate)
        sound->Stop();
    else
        requests.push_back({RequestStop, sound});
}

void SoundManager::Update(bool runRequests) {
    if (runRequests) {
        for (const SoundRequest& request : requests) {
            switch (request.kind) {
            case RequestPlay:
                Play(request.sound, true);
                break;
            case RequestPause:
                Pause(request.sound, true);
                break;
            case RequestStop:
                Stop(request.sound, true);
                break;
            default:
                break;
            }
        }
        ClearRequests();
    }
    for (uint32_t id : liveIds)
        slots[id]->Update();
    bufferManager->Update();
}

void SoundManager::ClearRequests() {
    requests.clear();
}

Sound* SoundManager::GetSound(uint32_t position) const {
    return position < liveIds.size() ? slots[liveIds[position]] : nullptr;
}

} // namespace OrvexEngine
