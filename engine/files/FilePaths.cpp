#include "engine/files/FilePaths.h"

#include "engine/core/StringUtils.h"
#include "platform/win/FileSystem.h"

namespace OrvexEngine {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

size_t LastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

// Absolute for the file layer: a root of its own, or a ':' anywhere (a drive, a device).
bool HasRootOrColon(const std::string& name) {
    return IsAbsolutePath(name) || name.find(':') != std::string::npos;
}

// Absolute for the disk: a name with its own root as it is, anything else below the executable's directory.
std::string OnDisk(const std::string& name) {
    return IsAbsolutePath(name) ? name : GetExecutableDirectory() + "\\" + name;
}

// The first ".." that is a whole step: at the start or after a separator, and at the end or before one.
size_t FindParentStep(const std::string& text) {
    size_t at = 0;
    while ((at = text.find("..", at)) != std::string::npos) {
        bool startsStep = at == 0 || IsSeparator(text[at - 1]);
        bool endsStep = at + 2 == text.size() || IsSeparator(text[at + 2]);
        if (startsStep && endsStep)
            return at;
        at += 1;
    }
    return std::string::npos;
}

void Search(const std::string& directory, const std::string& mask, const std::string& addedPrefix,
            std::vector<std::string>& list) {
    std::string d = directory;
    if (d.empty() || !IsSeparator(d.back()))
        d += '\\';
    platform::FindEntry entry;
    platform::FindSearch* search = platform::FindFirst(d + mask, entry);
    if (search == nullptr)
        return;
    do {
        if (!entry.isDirectory) {
            // The caller's own form: what MakeAbsolutePath put in front goes again.
            list.push_back(ToLowerCopy(d.substr(addedPrefix.size()) + entry.name));
        } else if (entry.name != "." && entry.name != "..") {
            Search(d + entry.name, mask, std::string(), list);
        }
    } while (platform::FindNext(search, entry));
    platform::FindClose(search);
}

} // namespace

bool FileExistsOnDisk(const std::string& name) {
    return platform::PathExists(OnDisk(name));
}

std::string MakeAbsolutePath(const std::string& name) {
    if (HasRootOrColon(name))
        return name;
    return GetExecutableDirectory() + "\\" + name;
}

std::string MakeDataPath(const std::string& name) {
    if (HasRootOrColon(name))
        return name;
    return "data\\" + name;
}

std::string StripDataPrefix(const std::string& name) {
    if (!HasRootOrColon(name) && name.compare(0, 5, "data\\") == 0)
        return name.substr(5);
    return name;
}

std::string GetFileName(const std::string& path) {
    size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetDirectory(const std::string& path) {
    size_t slash = LastSeparator(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string GetExtension(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

bool HasExtension(const std::string& path, const std::string& extension) {
    return ToLowerCopy(GetExtension(path)) == ToLowerCopy(extension);
}

void ReplaceExtension(std::string& path, const std::string& extension) {
    size_t dot = path.rfind('.');
    if (dot != std::string::npos)
        path = extension.empty() ? path.substr(0, dot) : path.substr(0, dot + 1) + extension;
    else if (!extension.empty())
        path += "." + extension;
}

std::string CombinePath(const std::string& directory, const std::string& name) {
    std::string text;
    if (directory.empty() || name.empty())
        text = name;
    else if (IsSeparator(directory.back()))
        text = directory + name;
    else
        text = directory + "\\" + name;

    for (;;) {
        size_t dots = FindParentStep(text);
        if (dots == std::string::npos || dots <= 1)
            break;
        // The separator before the step that ".." cancels.
        size_t before = text.find_last_of("\\/", dots - 2);
        size_t from = before == std::string::npos ? 0 : before + 1;
        size_t to = std::min(dots + 3, text.size());
        text.erase(from, to - from);
    }
    return text;
}

void CreateDirectoryTree(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i)
        if (IsSeparator(path[i]) && !IsSeparator(path[i - 1]))
            platform::MakeDirectory(path.substr(0, i));
}

bool ReplaceFileOnDisk(const std::string& from, const std::string& to) {
    return platform::ReplaceFile(OnDisk(from), OnDisk(to));
}

bool DeleteDirectoryTree(const std::string& path, const std::string& base) {
    if (path.empty() || base.empty())
        return false;
    return platform::DeleteTree(OnDisk(path), OnDisk(base));
}

std::string GetUserDataFolder() {
    return platform::GetApplicationDataFolder();
}

void FindFilesRecursive(const std::string& directory, const std::string& mask,
                        std::vector<std::string>& list) {
    std::string absolute = MakeAbsolutePath(directory);
    std::string added = absolute.size() > directory.size()
                            ? absolute.substr(0, absolute.size() - directory.size())
                            : std::string();
    Search(absolute, mask, added, list);
}

} // namespace OrvexEngine
