#include "framework/GUINewProfileWindowBase.h"

#include "framework/ProfileManagerBase.h"

namespace GameFramework {

bool GUINewProfileWindowBase::CreateProfile(const std::wstring& name) {
    // Compared as the name will be stored, so that a long name cut to the limit that equals an existing
    // one counts as taken instead of silently selecting the other profile.
    if (profileManager->FindProfile(ProfileBase::MakeStoredName(name)) != nullptr)
        return false;
    profileManager->SelectProfile(profileManager->GetOrCreateProfile(name), true);
    return true;
}

} // namespace GameFramework
