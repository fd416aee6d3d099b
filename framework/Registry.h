// Reads string values of the installation's registry key: "Version" and "InstallPath" for the loader before
// any engine service exists, "Language" for the language selection. Nothing writes the registry. Free
// functions; every failure is the answer false with the text left as it was.
#pragma once

#include "platform/win/Registry.h"

#include <string>

namespace GameFramework::Registry {

// 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_CONFIG, 2 HKEY_CURRENT_USER, 3 HKEY_LOCAL_MACHINE, 4 HKEY_USERS;
// any other number HKEY_CURRENT_USER.
platform::RegistryRoot GetRootKey(int number);
// A string value of at most 4095 bytes; other values count as absent.
bool ReadString(int rootNumber, const std::string& keyPath, const std::string& valueName, std::string& text);
// HKEY_LOCAL_MACHINE first, then HKEY_CURRENT_USER: the machine's value wins.
bool ReadString(const std::string& keyPath, const std::string& valueName, std::string& text);

} // namespace GameFramework::Registry
