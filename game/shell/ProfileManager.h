// The game's profile index ("FLPMF" version 100) making the game's profiles. The game's application root
// creates the one instance with its audio player and the user data directory; it loads every profile at
// construction.
#pragma once

#include "framework/ProfileManagerBase.h"

#include <cstdint>
#include <string>

namespace VelmoraBall {

class ProfileManager : public GameFramework::ProfileManagerBase {
public:
    static constexpr const char* IndexMagic = "FLPMF";
    static constexpr uint32_t IndexVersion = 100;

    ProfileManager(GameFramework::AudioPlayer* audioPlayer, const std::string& userDirectory);

    // Throws Error when the file does not read.
    GameFramework::ProfileBase* LoadProfile(const std::string& fileName) override;
    GameFramework::ProfileBase* CreateProfile(const std::wstring& name) override;
};

} // namespace VelmoraBall
