#include "engine/files/FileReplacer.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "platform/win/FileSystem.h"

#include <cstdio>
#include <limits>

namespace OrvexEngine {

namespace {

std::string DiskPathOf(const std::string& name) {
    if (FileManager* files = FileManager::Instance())
        return files->DiskPath(name);
    return MakeAbsolutePath(name);
}

} // namespace

FileReplacer::FileReplacer(const std::string& name)
    : targetPath(DiskPathOf(name)), temporaryPath(targetPath + ".tmp") {
    CreateDirectoryTree(targetPath);
    try {
        file = std::make_unique<FileBinary>(temporaryPath, true);
    } catch (const FileError&) {
        throw FileError("Failed to open \"" + targetPath + "\" file");
    }
}

FileReplacer::~FileReplacer() {
    Discard();
}

void FileReplacer::Commit() {
    if (file == nullptr)
        return;
    try {
        file->Close();
    } catch (const FileError&) {
        Discard();
        throw;
    }
    file.reset();
    if (!platform::ReplaceFile(MakeAbsolutePath(temporaryPath), MakeAbsolutePath(targetPath))) {
        platform::RemoveFile(MakeAbsolutePath(temporaryPath));
        throw FileError("Failed to open \"" + targetPath + "\" file");
    }
}

void FileReplacer::Discard() {
    if (file == nullptr)
        return;
    file.reset();
    platform::RemoveFile(MakeAbsolutePath(temporaryPath));
}

bool ReplaceFileContent(const std::string& name, const void* bytes, size_t count) {
    try {
        if (count > std::numeric_limits<uint32_t>::max())
            throw FileError("Failed to write " + std::to_string(count) + " bytes from \"" + name + "\" file");
        FileReplacer replacer(name);
        replacer.GetFile().Write(bytes, static_cast<uint32_t>(count));
        replacer.Commit();
        return true;
    } catch (const FileError& error) {
        if (MessageManager* log = MessageManager::Instance())
            log->Error(error.GetText());
        else
            std::fprintf(stderr, "%s\n", error.GetText().c_str());
        return false;
    }
}

} // namespace OrvexEngine
