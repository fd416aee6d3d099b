#include "gametools/VersionedFile.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FileReplacer.h"

#include <algorithm>
#include <cassert>
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

} // namespace

VersionedFile::VersionedFile(const std::string& magicText, uint32_t version) : version(version) {
    std::copy_n(magicText.begin(), std::min<size_t>(magicText.size(), magic.size()), magic.begin());
}

VersionedFile::~VersionedFile() {
    // Unwinding from a failure while the body was written: the file is incomplete and must not replace
    // the one it was meant to; the replacer leaves that one alone.
    if (replacer != nullptr && std::uncaught_exceptions() > uncaughtAtOpen) {
        file = nullptr;
        replacer.reset();
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
        replacer = std::make_unique<FileReplacer>(path);
        file = &replacer->GetFile();
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
    if (mode == ModeRead) {
        delete std::exchange(file, nullptr);
        return;
    }
    file = nullptr;
    // Whatever happens below, the replacer goes: on a failure it leaves the previous file as it was.
    std::unique_ptr<FileReplacer> writing = std::move(replacer);
    FileBinary& body = writing->GetFile();
    body.Seek(0, 0);
    body.Write(header.data(), HeaderSize);
    writing->Commit();
}

} // namespace GameTools
