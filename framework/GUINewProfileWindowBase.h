// The role base of the window that creates a further profile. The flag of its Show belongs to the game
// window (whether to clear the typed name). The application root owns the one instance.
#pragma once

#include "framework/GUIFrameworkWindow.h"

#include <string>

namespace GameFramework {

class ProfileManagerBase;

class GUINewProfileWindowBase : public GUIFrameworkWindow {
public:
    explicit GUINewProfileWindowBase(ProfileManagerBase* manager) : profileManager(manager) {}

    using GUIFrameworkWindow::Show;
    virtual void Show(int newMode, bool /*clearName*/) { GUIFrameworkWindow::Show(newMode); }

    // False, and nothing changes, when a profile of that name exists in any letter case; otherwise the new
    // profile is created and made current.
    bool CreateProfile(const std::wstring& name);

    ProfileManagerBase* profileManager = nullptr; // not owned
};

} // namespace GameFramework
