#include "engine/sound/SoundBufferManager.h"

#include "engine/core/StringUtils.h"
#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundSystem.h"

#include <algorithm>

namespace OrvexEngine {

SoundBufferManager::SoundBufferManager() : scratch(SoundBuffer::StreamRingBytes) {}

SoundBufferManager::~SoundBufferManager() {
    freeIds.clear();
    for (uint32_t id : liveIds)
        delete slots[id];
    liveIds.clear();
    slots.clear();
}

SoundBuffer* SoundBufferManager::GetBuffer(const std::string& fileName, bool resident) {
    const std::string name = ToLowerCopy(fileName);
    SoundBuffer* source = nullptr;
    for (uint32_t id : liveIds) {
        if (slots[id]->GetName() == name) {
            // Only static data is shared; every stream keeps its own reader and ring.
            if (!slots[id]->IsStreamed())
                source = slots[id];
            break;
        }
    }
    uint32_t id = static_cast<uint32_t>(slots.size());
    if (!freeIds.empty()) {
        id = freeIds.back();
        freeIds.pop_back();
    }
    liveIds.push_back(id);
    SoundSystem* system = SoundSystem::Instance();
    SoundBuffer* buffer = source != nullptr ? system->DuplicateSoundBuffer(source, scratch.data())
                                            : system->CreateSoundBuffer(fileName, scratch.data(), resident);
    if (id == slots.size())
        slots.push_back(buffer);
    else
        slots[id] = buffer;
    return buffer;
}

void SoundBufferManager::ReleaseBuffer(SoundBuffer* buffer) {
    if (buffer == nullptr)
        return;
    const auto live =
        std::find_if(liveIds.begin(), liveIds.end(), [&](uint32_t id) { return slots[id] == buffer; });
    if (live == liveIds.end())
        return;
    const uint32_t id = *live;
    delete buffer;
    slots[id] = nullptr;
    freeIds.push_back(id);
    liveIds.erase(live);
}

void SoundBufferManager::Update() {
    for (uint32_t id : liveIds)
        slots[id]->Update();
}

} // namespace OrvexEngine
