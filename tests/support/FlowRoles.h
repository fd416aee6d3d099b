// The windows of an application root's window flow by the names tests give their roles ("main menu",
// "welcome", "level complete", ...), in the root's field order.
#pragma once

#include "framework/GameBase.h"

#include <string>
#include <utility>
#include <vector>

namespace GameFramework {
class GUIFrameworkWindow;
}

namespace VelmoraTest {

using FlowRole = std::pair<const char*, GameFramework::GUIFrameworkWindow*>;

std::vector<FlowRole> FlowRoles(const GameFramework::GameBase& root);
// The role's window, or null for a role the root has no window for.
GameFramework::GUIFrameworkWindow* FlowRoleWindow(const GameFramework::GameBase& root,
                                                  const std::string& role);

} // namespace VelmoraTest
