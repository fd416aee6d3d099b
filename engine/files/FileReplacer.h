// Writes a file that takes the place of an older one without ever leaving it empty or half written, as a
// kill, a crash or a full disk at the wrong moment would: the bytes go to a temporary file beside the target
// (its name + ".tmp"), which is pushed to the disk, closed and checked before it is renamed over the target.
// On any failure the temporary file goes and the older file stays. Created by the writer for one file and
// deleted by it; any number may exist.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace OrvexEngine {

class FileBinary;

class FileReplacer {
public:
    // Relative names lie below the file manager's base directory (the executable's without one); missing
    // folders are created. Throws FileError "Failed to open "<disk path>" file" when the temporary file
    // cannot be created.
    explicit FileReplacer(const std::string& name);
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;
    // Without a successful Commit the temporary file is deleted and the older file is left as it was.
    ~FileReplacer();

    // The temporary file, to be written (and sought in) freely until Commit; owned by the replacer.
    FileBinary& GetFile() { return *file; }
    // Completes the temporary file and moves it over the target. Throws FileError when the bytes cannot be
    // put on the disk or the move fails; the older file then stays.
    void Commit();

    // The target's path on disk.
    const std::string& GetTargetPath() const { return targetPath; }

private:
    void Discard();

    std::string targetPath;
    std::string temporaryPath;
    std::unique_ptr<FileBinary> file; // owned; null once committed or discarded
};

// Writes the bytes as the whole new content of the named file through a FileReplacer. A failure is logged
// (through the log when one exists) and answered with false; the older file then stays.
bool ReplaceFileContent(const std::string& name, const void* bytes, size_t count);

} // namespace OrvexEngine
