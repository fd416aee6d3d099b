#include "framework/Registry.h"

namespace GameFramework::Registry {

namespace {

constexpr size_t ValueBufferBytes = 4096;
constexpr int CurrentUserRoot = 2;
constexpr int LocalMachineRoot = 3;

} // namespace

platform::RegistryRoot GetRootKey(int number) {
    switch (number) {
    case 0:
        return platform::RegistryRoot::ClassesRoot;
    case 1:
        return platform::RegistryRoot::CurrentConfig;
    case 3:
        return platform::RegistryRoot::LocalMachine;
    case 4:
        return platform::RegistryRoot::Users;
    default:
        return platform::RegistryRoot::CurrentUser;
    }
}

bool ReadString(int rootNumber, const std::string& keyPath, const std::string& valueName, std::string& text) {
    return platform::ReadRegistryString(GetRootKey(rootNumber), keyPath, valueName, ValueBufferBytes, text);
}

bool ReadString(const std::string& keyPath, const std::string& valueName, std::string& text) {
    return ReadString(LocalMachineRoot, keyPath, valueName, text) ||
           ReadString(CurrentUserRoot, keyPath, valueName, text);
}

} // namespace GameFramework::Registry
