// What the desktop does for a program beyond its window: whether there is a desktop at all, and opening a
// document with the program the desktop associates with it. A link file (an "[InternetShortcut]" with a
// "URL=" line) opens the address it holds, as the desktop of the original platform does.
#pragma once

#include <functional>
#include <string>

namespace platform {

// A display a person looks at: an X11 or Wayland display, and not one of the headless video drivers tests
// use.
bool DisplayAvailable();

// Hands the document to the desktop's opener and returns at once; the opener's outcome is not awaited.
// Nothing happens without a display. False when nothing was handed over.
bool OpenWithShell(const std::string& path);

// The address a link file points to; the path itself as a file address when it is no link file, empty when
// it cannot be read.
std::string ReadShellTarget(const std::string& path);

// Replaces the desktop's opener (tests record what would have been opened); an empty function restores it.
void SetShellOpenerForTests(std::function<void(const std::string& target)> opener);

} // namespace platform
