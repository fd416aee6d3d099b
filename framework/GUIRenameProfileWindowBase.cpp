#include "framework/GUIRenameProfileWindowBase.h"

#include "engine/core/StringUtils.h"
#include "framework/ProfileManagerBase.h"

namespace GameFramework {

bool GUIRenameProfileWindowBase::RenameProfile(const std::wstring& newName) {
    if (OrvexEngine::ToLowerCopyW(newName) == OrvexEngine::ToLowerCopyW(oldName))
        return true;
    if (profileManager->FindProfile(ProfileBase::MakeStoredName(newName)) != nullptr)
        return false;
    profileManager->RenameProfile(oldName, newName);
    return true;
}

} // namespace GameFramework
