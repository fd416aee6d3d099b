#include "platform/win/FileSystem.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

struct FindSearch {
    std::vector<FindEntry> entries;
    size_t next = 0;
};

namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

// The order Windows file systems list names in: case-insensitive, ties broken by the bytes.
bool ListedBefore(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(FoldCase(a[i]));
        unsigned char y = static_cast<unsigned char>(FoldCase(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::string WithSlashes(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string Join(const std::string& directory, const std::string& name) {
    if (directory.empty())
        return name;
    if (directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

// Every name in the directory, "." and ".." included; empty when it cannot be read.
std::vector<std::string> ReadDirectory(const std::string& directory) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr)
        return names;
    while (dirent* entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end(), ListedBefore);
    return names;
}

// The first name of the directory, in listing order, that equals name but for case; empty when none.
std::string FindIgnoringCase(const std::string& directory, const std::string& name) {
    for (const std::string& candidate : ReadDirectory(directory))
        if (EqualsIgnoringCase(candidate, name))
            return candidate;
    return std::string();
}

bool MatchFrom(const char* name, const char* mask) {
    // Iterative glob matching with one backtracking point for the last "*" seen.
    const char* starMask = nullptr;
    const char* starName = nullptr;
    while (*name != '\0') {
        if (*mask == '*') {
            starMask = ++mask;
            starName = name;
        } else if (*mask == '?' || (*mask != '\0' && FoldCase(*mask) == FoldCase(*name))) {
            ++mask;
            ++name;
        } else if (starMask != nullptr) {
            mask = starMask;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*mask == '*')
        ++mask;
    return *mask == '\0';
}

bool IsLink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

} // namespace

std::string ResolvePath(const std::string& path) {
    std::string native = WithSlashes(path);
    if (native.empty() || access(native.c_str(), F_OK) == 0)
        return native;

    std::string resolved = native[0] == '/' ? "/" : "";
    bool searching = true;
    size_t start = 0;
    while (start <= native.size()) {
        size_t end = native.find('/', start);
        if (end == std::string::npos)
            end = native.size();
        std::string component = native.substr(start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        std::string candidate = Join(resolved, component);
        struct stat info {};
        if (searching && component != "." && component != ".." && lstat(candidate.c_str(), &info) != 0) {
            std::string match = FindIgnoringCase(resolved, component);
            if (match.empty())
                searching = false; // nothing below a missing directory can exist either
            else
                candidate = Join(resolved, match);
        }
        resolved = candidate;
    }
    if (native.back() == '/' && (resolved.empty() || resolved.back() != '/'))
        resolved += '/';
    return resolved;
}

bool PathExists(const std::string& path) {
    return !path.empty() && access(ResolvePath(path).c_str(), F_OK) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(ResolvePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SyncFile(std::FILE* file) {
    return file != nullptr && fsync(fileno(file)) == 0;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    return std::rename(ResolvePath(from).c_str(), ResolvePath(to).c_str()) == 0;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    if (path.empty())
        return nullptr;
    std::FILE* file = std::fopen(ResolvePath(path).c_str(), mode);
    if (file == nullptr)
        return nullptr;
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

bool MakeDirectory(const std::string& path) {
    return !path.empty() && mkdir(ResolvePath(path).c_str(), 0777) == 0;
}

bool MatchesWildcard(const std::string& name, const std::string& mask) {
    if (MatchFrom(name.c_str(), mask.c_str()))
        return true;
    // A name without an extension also answers to masks that expect one ending in ".": "*.*" and "*.".
    return name.find('.') == std::string::npos && MatchFrom((name + ".").c_str(), mask.c_str());
}

FindSearch* FindFirst(const std::string& pattern, FindEntry& entry) {
    std::string native = WithSlashes(pattern);
    size_t slash = native.rfind('/');
    std::string directory = slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
    std::string mask = slash == std::string::npos ? native : native.substr(slash + 1);
    std::string resolved = ResolvePath(directory);

    auto* search = new FindSearch;
    for (const std::string& name : ReadDirectory(resolved)) {
        if (!MatchesWildcard(name, mask))
            continue;
        struct stat info {};
        bool isDirectory = stat(Join(resolved, name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        search->entries.push_back(FindEntry{name, isDirectory});
    }
    if (search->entries.empty()) {
        delete search;
        return nullptr;
    }
    entry = search->entries[search->next++];
    return search;
}

bool FindNext(FindSearch* search, FindEntry& entry) {
    if (search == nullptr || search->next >= search->entries.size())
        return false;
    entry = search->entries[search->next++];
    return true;
}

void FindClose(FindSearch* search) {
    delete search;
}

bool DeleteTree(const std::string& path, const std::string& base) {
    namespace fs = std::filesystem;
    if (path.empty() || base.empty())
        return false;
    std::error_code error;
    fs::path target = fs::absolute(fs::path(ResolvePath(path)), error).lexically_normal();
    fs::path root = fs::absolute(fs::path(ResolvePath(base)), error).lexically_normal();
    if (error)
        return false;
    if (!target.has_filename())
        target = target.parent_path();
    if (!root.has_filename())
        root = root.parent_path();

    fs::path relative = target.lexically_relative(root);
    if (relative.empty() || relative == "." || *relative.begin() == "..")
        return false;

    // Every folder between the base and the target must be a real folder: a link on the way would carry
    // the deletion somewhere else.
    fs::path walk = root;
    fs::path last = relative.filename();
    for (const fs::path& component : relative.parent_path()) {
        walk /= component;
        struct stat info {};
        if (lstat(walk.c_str(), &info) != 0)
            return true; // nothing there to delete
        if (!S_ISDIR(info.st_mode))
            return false;
    }
    fs::path victim = walk / last;
    struct stat info {};
    if (lstat(victim.c_str(), &info) != 0)
        return true;
    if (IsLink(victim.string()) || !S_ISDIR(info.st_mode))
        return unlink(victim.c_str()) == 0;
    // remove_all removes links it meets instead of descending through them.
    fs::remove_all(victim, error);
    return !error;
}

std::string GetApplicationDataFolder() {
    std::string folder;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        folder = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') {
            const passwd* user = getpwuid(getuid());
            home = user != nullptr ? user->pw_dir : nullptr;
        }
        if (home == nullptr || home[0] == '\0')
            return std::string();
        folder = std::string(home) + "/.local/share";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error))
        return std::string();
    return folder;
}

} // namespace platform
