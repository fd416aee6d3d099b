// The role base of the window shown at the first start, when no profile exists yet: it creates the
// player's first profile and makes it current. The game derives its welcome window from it; the
// application root owns the one instance.
#pragma once

#include "framework/GUIFrameworkWindow.h"

#include <string>

namespace GameFramework {

class ProfileManagerBase;

class GUIWelcomeWindowBase : public GUIFrameworkWindow {
public:
    explicit GUIWelcomeWindowBase(ProfileManagerBase* manager) : profileManager(manager) {}

    // The profile of that name (in any letter case), made when missing, becomes current; the index is saved.
    void CreateProfile(const std::wstring& name);

    ProfileManagerBase* profileManager = nullptr; // not owned
};

} // namespace GameFramework
