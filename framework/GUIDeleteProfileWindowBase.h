// The role base of the window that asks before a profile is deleted; it keeps the name the flow handed
// it. The application root owns the one instance.
#pragma once

#include "framework/GUIFrameworkWindow.h"

#include <string>

namespace GameFramework {

class ProfileManagerBase;

class GUIDeleteProfileWindowBase : public GUIFrameworkWindow {
public:
    explicit GUIDeleteProfileWindowBase(ProfileManagerBase* manager) : profileManager(manager) {}

    using GUIFrameworkWindow::Show;
    virtual void Show(int newMode, const std::wstring& profileName) {
        GUIFrameworkWindow::Show(newMode);
        name = profileName;
    }

    // Deletes the profile of the kept name with its files; the first remaining one becomes current if it
    // was. Nothing when no profile has the name.
    void DeleteProfile();

    ProfileManagerBase* profileManager = nullptr; // not owned
    std::wstring name;
};

} // namespace GameFramework
