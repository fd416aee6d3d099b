// The game's player profile: the framework's profile file ("VBPRF" version 102) with two flags of the
// game after the volumes, whether the profile was created by the game and whether it has yet to be shown
// the game-complete window. Made only by the ProfileManager, loaded from a file or created for a new name.
#pragma once

#include "framework/ProfileBase.h"

#include <cstdint>
#include <string>

namespace VelmoraBall {

class Profile : public GameFramework::ProfileBase {
public:
    static constexpr const char* Magic = "VBPRF";
    static constexpr uint32_t Version = 102;

    // Loads "<user directory>\profiles\" + fileName; a file that does not read throws Error (logged).
    Profile(const std::string& fileName, const std::string& userDirectory);
    // A new profile for the name, saved at once with both flags set.
    Profile(const std::wstring& name, const std::string& userDirectory);

    void CreateNew(const std::wstring& newName) override;
    void Write(OrvexEngine::FileBinary& file) override;
    void Read(OrvexEngine::FileBinary& file) override;

    uint8_t createdFlag = 0;          // 1 for every profile the game made; nothing reads it
    uint8_t gameCompletePending = 0;  // 1 until the profile has been shown the game-complete window
};

} // namespace VelmoraBall
