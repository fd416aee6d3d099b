#include "gametools/VersionedFile.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "platform/win/FileSystem.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <utility>

using namespace OrvexEngine;

namespace GameTools {

namespace {

void PutU32(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* in) {
    return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

// Written files are built beside their target under this suffix and take its place only when complete.
const char* const TemporarySuffix = ".tmp";

std::string OsPath(const std::string& diskName) {
    return platform::ResolvePath(MakeAbsolutePath(diskName));
}

} // namespace

VersionedFile::VersionedFile(const std::string& magicText, uint32_t version) : version(version) {
    std::copy_n(magicText.begin(), std::min<size_t>(magicText.size(), magic.size()), magic.begin());
}

VersionedFile::~VersionedFile() {
    // Unwinding from a failure while the body was written: the file is incomplete and must not replace
    // the one it was meant to.
    if (mode != ModeRead && std::uncaught_exceptions() > uncaughtAtOpen) {
        Discard();
        return;
    }
    // A second exception escaping a destructor would end the program.
    try {
        Close();
    } catch (const Error& error) {
        if (MessageManager* log = MessageManager::Instance())
            log->Error(error.GetText());
    }
}

std::array<uint8_t, VersionedFile::HeaderSize> VersionedFile::MakeHeader() const {
    std::array<uint8_t, HeaderSize> header{};
    PutU32(header.data(), file != nullptr ? file->GetPosition() : 0);
    std::memcpy(header.data() + 4, magic.data(), magic.size());
    PutU32(header.data() + 9, version);
    return header;
}

void VersionedFile::Open(const std::string& path, int openMode, bool acceptAnyVersion,
                         uint32_t* foundVersion) {
    Close();
    assert(FileManager::Instance() != nullptr &&
           "VersionedFile opens through the FileManager; create it first");
    mode = openMode;
    if (mode != ModeRead) {
        // A save that fails half-way must not cost the previous file: the new one is written beside it.
        file = FileManager::Instance()->OpenFile(path + TemporarySuffix, true, 0);
        temporaryName = file->GetName();
        targetName = temporaryName.substr(0, temporaryName.size() - std::strlen(TemporarySuffix));
        uncaughtAtOpen = std::uncaught_exceptions();
        const std::array<uint8_t, HeaderSize> header = MakeHeader();
        file->Write(header.data(), HeaderSize);
        return;
    }
    file = FileManager::Instance()->OpenFile(path, false, 0);

    std::array<uint8_t, HeaderSize> header{};
    file->Read(header.data(), HeaderSize);
    if (std::memcmp(header.data() + 4, magic.data(), magic.size()) != 0 ||
        GetU32(header.data()) != file->GetSize())
        throw FileError("Incorrect \"" + path + "\" file format");
    const uint32_t stored = GetU32(header.data() + 9);
    if (acceptAnyVersion) {
        if (foundVersion != nullptr)
            *foundVersion = stored;
        return;
    }
    if (stored != version)
        throw FileError("Incorrect \"" + path + "\" format version (" + std::to_string(stored) +
                        "), current is " + std::to_string(version));
}

void VersionedFile::Close() {
    if (file == nullptr)
        return;
    const std::array<uint8_t, HeaderSize> header = MakeHeader();
    // Closed whatever the header write does: a failed close must not leave the file open or leak it.
    std::unique_ptr<FileBinary> closing(std::exchange(file, nullptr));
    if (mode == ModeRead)
        return;
    try {
        closing->Seek(0, 0);
        closing->Write(header.data(), HeaderSize);
        // A full disk shows only when the bytes leave the buffer, and the rename below must not reach the
        // disk before the bytes it points at: a save must not look complete before both.
        closing->Sync();
    } catch (...) {
        closing.reset();
        Discard();
        throw;
    }
    closing.reset();
    if (!ReplaceFileOnDisk(temporaryName, targetName)) {
        Discard();
        throw FileError("Failed to open \"" + targetName + "\" file");
    }
    temporaryName.clear();
}

void VersionedFile::Discard() {
    delete std::exchange(file, nullptr);
    if (!temporaryName.empty())
        std::remove(OsPath(temporaryName).c_str());
    temporaryName.clear();
}

} // namespace GameTools
