#include "game/shell/Profile.h"

#include "framework/FileFields.h"

namespace VelmoraBall {

Profile::Profile(const std::string& fileName, const std::string& userDirectory)
    : ProfileBase(userDirectory, Magic, Version) {
    Load(fileName);
}

Profile::Profile(const std::wstring& name, const std::string& userDirectory)
    : ProfileBase(userDirectory, Magic, Version) {
    CreateNew(name);
}

void Profile::CreateNew(const std::wstring& newName) {
    // Set before the base saves the new file, so that the first file already holds them.
    createdFlag = 1;
    gameCompletePending = 1;
    ProfileBase::CreateNew(newName);
}

void Profile::Write(OrvexEngine::FileBinary& file) {
    ProfileBase::Write(file);
    GameFramework::WriteU8(file, createdFlag);
    GameFramework::WriteU8(file, gameCompletePending);
}

void Profile::Read(OrvexEngine::FileBinary& file) {
    ProfileBase::Read(file);
    createdFlag = GameFramework::ReadU8(file);
    gameCompletePending = GameFramework::ReadU8(file);
}

} // namespace VelmoraBall
