// The installation's registry values as a Windows program reads them, from text files: each root is a
// file of "name=value" lines per key, "SOFTWARE\<company>\<game>" becoming the folder "<company>/<game>".
// HKEY_LOCAL_MACHINE is "$XDG_CONFIG_DIRS" (its first folder, default /etc/xdg) + "/<company>/<game>/
// registry.ini", HKEY_CURRENT_USER the same below "$XDG_CONFIG_HOME" (default ~/.config). Only string values
// exist; names are compared without regard to case; lines starting with '#' or ';' are remarks.
// Not provided: the other roots (their values are always absent), value types, writing.
#pragma once

#include <string>

namespace platform {

enum class RegistryRoot {
    ClassesRoot,
    CurrentConfig,
    CurrentUser,
    LocalMachine,
    Users,
};

// True with the value's text when the key's file holds the value and its text, with the terminator, fits
// in bufferBytes; false (text unchanged) otherwise.
bool ReadRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                        size_t bufferBytes, std::string& text);

} // namespace platform
