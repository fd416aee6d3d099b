// Message boxes: a modal box with a caption, a text and an OK button, shown with SDL when a display exists;
// without one (no display, or the headless video drivers tests use) the caption and text go to standard
// error, so nothing waits for a click that cannot come.
#pragma once

#include <string>

namespace platform {

enum class MessageBoxIcon { Information, Warning, Error };

void ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon);

} // namespace platform
