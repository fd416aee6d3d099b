#include "platform/win/Registry.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace platform {

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string FolderOf(RegistryRoot root) {
    const char* home = std::getenv("HOME");
    if (root == RegistryRoot::LocalMachine) {
        const char* dirs = std::getenv("XDG_CONFIG_DIRS");
        std::string list = dirs != nullptr && *dirs != '\0' ? dirs : "/etc/xdg";
        return list.substr(0, list.find(':'));
    }
    if (root == RegistryRoot::CurrentUser) {
        const char* config = std::getenv("XDG_CONFIG_HOME");
        if (config != nullptr && *config != '\0')
            return config;
        return home != nullptr ? std::string(home) + "/.config" : "";
    }
    return "";
}

// "SOFTWARE\company\game" gives "company/game"; anything else, or a step that leaves the folder, nothing.
bool KeyFolder(const std::string& keyPath, std::string& folder) {
    std::vector<std::string> steps;
    std::string step;
    for (char c : keyPath + "\\") {
        if (c == '\\' || c == '/') {
            if (!step.empty())
                steps.push_back(step);
            step.clear();
        } else {
            step += c;
        }
    }
    if (steps.size() < 2 || !EqualNoCase(steps[0], "SOFTWARE"))
        return false;
    folder.clear();
    for (size_t i = 1; i < steps.size(); ++i) {
        if (steps[i] == "." || steps[i] == "..")
            return false;
        folder += "/" + steps[i];
    }
    return true;
}

} // namespace

bool ReadRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                        size_t bufferBytes, std::string& text) {
    const std::string base = FolderOf(root);
    std::string key;
    if (base.empty() || !KeyFolder(keyPath, key))
        return false;
    std::ifstream file(base + key + "/registry.ini", std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        const std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';')
            continue;
        const size_t equals = trimmed.find('=');
        if (equals == std::string::npos || !EqualNoCase(Trimmed(trimmed.substr(0, equals)), valueName))
            continue;
        std::string value = line.substr(line.find('=') + 1);
        if (!value.empty() && value.back() == '\r')
            value.pop_back();
        // The value with its terminator must fit the caller's buffer; the text ends at its first zero.
        if (value.size() + 1 > bufferBytes)
            return false;
        text = value.substr(0, value.find('\0'));
        return true;
    }
    return false;
}

} // namespace platform
