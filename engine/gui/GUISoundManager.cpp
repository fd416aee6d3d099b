#include "engine/gui/GUISoundManager.h"

#include "engine/sound/SoundManager.h"

namespace OrvexEngine {

GUISoundManager::~GUISoundManager() {
    // Without a SoundManager its sounds went with it.
    if (SoundManager* sounds = SoundManager::Instance()) {
        for (GUISoundEntry* entry : entries)
            sounds->DeleteSound(entry->sound);
    }
    for (GUISoundEntry* entry : entries)
        delete entry;
}

void GUISoundManager::AddSound(const std::string& name, const std::string& fileName, int resident) {
    SoundManager* sounds = SoundManager::Instance();
    if (sounds == nullptr)
        return;
    auto* entry = new GUISoundEntry;
    entry->name = name;
    entry->sound = sounds->CreateSound(fileName, resident != 0, std::string());
    entries.push_back(entry);
}

void GUISoundManager::Play(const std::string& name) {
    SoundManager* sounds = SoundManager::Instance();
    if (sounds == nullptr)
        return;
    GUISoundEntry* chosen = nullptr;
    for (GUISoundEntry* entry : entries) {
        if (entry->name == name && (chosen == nullptr || entry->playCount < chosen->playCount))
            chosen = entry;
    }
    if (chosen == nullptr)
        return;
    sounds->Play(chosen->sound, false);
    ++chosen->playCount;
}

} // namespace OrvexEngine
