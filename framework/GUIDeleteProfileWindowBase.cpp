#include "framework/GUIDeleteProfileWindowBase.h"

#include "framework/ProfileManagerBase.h"

namespace GameFramework {

void GUIDeleteProfileWindowBase::DeleteProfile() {
    profileManager->DeleteProfile(name);
}

} // namespace GameFramework
