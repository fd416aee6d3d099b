// The file-system services the file layer needs, as a Windows program sees them: both "\" and "/" separate
// path components, names are found whatever their case, directory listings use Windows wildcards and come
// back in one fixed order, a directory never opens as a file, and a folder tree is deleted without ever
// following a symbolic link. Free functions, no state.
// Not provided: attributes other than "is a directory", times, short names, drive letters (a "C:" component
// is an ordinary name here).
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// The path handed to the operating system: separators become "/", and every component missing as written
// is looked up case-insensitively in its directory (components found nowhere keep their case, so a file
// about to be created gets the name it was given).
std::string ResolvePath(const std::string& path);

// True when a file or a directory exists at the path.
bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

// fopen on the resolved path. Null when it fails, and also for a directory (which the C library would
// open for reading).
std::FILE* OpenFile(const std::string& path, const char* mode);

// Waits until the bytes written to an open file (already flushed from its buffer) are on the disk; false
// when the disk reports an error.
bool SyncFile(std::FILE* file);
// Renames a file over another one in one step (the target, when it exists, is replaced); false on failure.
bool ReplaceFile(const std::string& from, const std::string& to);

// Creates one directory; false when it exists already or cannot be made.
bool MakeDirectory(const std::string& path);

// Windows wildcard matching, case-insensitive: "*" any run, "?" one character; "*.*" matches every name,
// also one without a dot, and a mask ending in "." matches names without an extension.
bool MatchesWildcard(const std::string& name, const std::string& mask);

struct FindEntry {
    std::string name; // without the directory
    bool isDirectory = false;
};
struct FindSearch; // an open enumeration, owned by whoever called FindFirst

// Enumerates the directory part of pattern ("dir\*.pak") with the mask after its last separator, in
// case-insensitive name order; "." and ".." come too when the mask matches them. Returns null when nothing
// matches (entry untouched); otherwise the first entry, and FindNext gives the others until it returns
// false. Every search that FindFirst returned must be closed with FindClose.
FindSearch* FindFirst(const std::string& pattern, FindEntry& entry);
bool FindNext(FindSearch* search, FindEntry& entry);
void FindClose(FindSearch* search);

// Deletes path with everything below it, never following a symbolic link (a link is removed, not its
// target). Refuses, returning false, an empty path or base, and a path that does not lie strictly below
// base or reaches it through a symbolic link. A missing path is no failure.
bool DeleteTree(const std::string& path, const std::string& base);

// The user's application-data folder: $XDG_DATA_HOME, else ~/.local/share; created when missing.
// Empty when it cannot be determined or created.
std::string GetApplicationDataFolder();

} // namespace platform
