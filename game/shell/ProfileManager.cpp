#include "game/shell/ProfileManager.h"

#include "game/shell/Profile.h"

namespace VelmoraBall {

ProfileManager::ProfileManager(GameFramework::AudioPlayer* audioPlayer, const std::string& userDirectory)
    : ProfileManagerBase(audioPlayer, userDirectory, IndexMagic, IndexVersion) {
    LoadAll();
}

GameFramework::ProfileBase* ProfileManager::LoadProfile(const std::string& fileName) {
    return new Profile(fileName, GetUserDirectory());
}

GameFramework::ProfileBase* ProfileManager::CreateProfile(const std::wstring& name) {
    return new Profile(name, GetUserDirectory());
}

} // namespace VelmoraBall
