// The role base of the window that renames a profile: it keeps the name of the profile being renamed
// across a detour through the name-conflict notice. The application root owns the one instance.
#pragma once

#include "framework/GUIFrameworkWindow.h"

#include <string>

namespace GameFramework {

class ProfileManagerBase;

class GUIRenameProfileWindowBase : public GUIFrameworkWindow {
public:
    explicit GUIRenameProfileWindowBase(ProfileManagerBase* manager) : profileManager(manager) {}

    using GUIFrameworkWindow::Show;
    // takeName false keeps the old name of the previous Show.
    virtual void Show(int newMode, bool takeName, const std::wstring& name) {
        GUIFrameworkWindow::Show(newMode);
        if (takeName)
            oldName = name;
    }

    // True when renamed, or when the new name is the old one in any letter case (nothing changes then);
    // false when another profile has the name.
    bool RenameProfile(const std::wstring& newName);

    ProfileManagerBase* profileManager = nullptr; // not owned
    std::wstring oldName;
};

} // namespace GameFramework
