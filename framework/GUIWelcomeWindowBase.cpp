#include "framework/GUIWelcomeWindowBase.h"

#include "framework/ProfileManagerBase.h"

namespace GameFramework {

void GUIWelcomeWindowBase::CreateProfile(const std::wstring& name) {
    // The profile that was found or made is selected, rather than looking the typed name up again: a name
    // stored trimmed or cut to the length limit would not be found, and the game would go on without a
    // current profile.
    profileManager->SelectProfile(profileManager->GetOrCreateProfile(name), true);
}

} // namespace GameFramework
