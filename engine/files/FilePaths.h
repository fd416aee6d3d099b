// Free functions over file names: splitting, the data prefix, extensions, combining a directory with a
// relative name, creating and deleting directory trees, the user's application-data folder and the
// recursive search the file manager lists with. "\" and "/" both separate components; a name that starts
// with "/" or a drive ("C:") is absolute.
#pragma once

#include <string>
#include <vector>

namespace OrvexEngine {

// True when the name, made absolute below the executable's directory unless it already is, exists on disk
// as a file or a directory.
bool FileExistsOnDisk(const std::string& name);
// The name when it is absolute (or holds a ':'); else the executable's directory + "\" + name.
std::string MakeAbsolutePath(const std::string& name);
// The name when it is absolute (or holds a ':'); else "data\" + name.
std::string MakeDataPath(const std::string& name);
// A relative name that starts exactly with "data\" loses those five characters; any other stays.
std::string StripDataPrefix(const std::string& name);

// The text after the last separator (the whole path without one).
std::string GetFileName(const std::string& path);
// The text before the last separator, without it (empty without one).
std::string GetDirectory(const std::string& path);
// The text after the last '.' of the whole path (empty without one).
std::string GetExtension(const std::string& path);
bool HasExtension(const std::string& path, const std::string& extension);
// Replaces what follows the last '.'; an empty extension removes the dot too; a path without a dot gains
// "." + extension.
void ReplaceExtension(std::string& path, const std::string& extension);
// directory + "\" + name, then every whole ".." step removes the step before it (a text that starts with
// ".." keeps it). Empty when the name is empty; the name alone when the directory is.
std::string CombinePath(const std::string& directory, const std::string& name);

// Creates every directory along the path, not the part after its last separator (the file about to be
// written). Failures are ignored: they show when the file is opened.
void CreateDirectoryTree(const std::string& path);
// Renames a disk file over another in one step, replacing the target when it exists; relative names lie
// below the executable's directory. False when it fails (a missing source included).
bool ReplaceFileOnDisk(const std::string& from, const std::string& to);
// Deletes path with everything below it, never following symbolic links. Refuses (false) an empty path and
// any path that does not lie strictly below base; relative names lie below the executable's directory.
bool DeleteDirectoryTree(const std::string& path, const std::string& base);
// The user's application-data folder, created when missing; empty on failure.
std::string GetUserDataFolder();

// Appends every file below directory whose name matches the wildcard mask, lower-cased; only
// subdirectories whose own names match the mask are entered. A relative directory gives directory + "\" +
// name, files of subdirectories and of an absolute directory come with their full path.
void FindFilesRecursive(const std::string& directory, const std::string& mask,
                        std::vector<std::string>& list);

} // namespace OrvexEngine
