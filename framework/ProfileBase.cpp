#include "framework/ProfileBase.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "engine/math/Random.h"
#include "framework/FileFields.h"
#include "gametools/VersionedFile.h"

#include <algorithm>

using namespace OrvexEngine;
using GameTools::VersionedFile;

namespace GameFramework {

namespace {

constexpr size_t NamedFileLength = 16; // letters, "_" and digits before ".prf"
constexpr int CandidateAttempts = 1024;
// When every usual candidate is taken: so many letters of the base, "_" and at least so many digits.
constexpr size_t FallbackLetters = 9;
constexpr size_t FallbackDigits = 6;
// File systems hold names of 255 bytes at most: a longer base would make a profile that can never be saved.
constexpr size_t MaxBaseLetters = 200;

void AppendRandomDigits(std::string& text, size_t count) {
    for (size_t i = 0; i < count; ++i)
        text += static_cast<char>(RandomIntRange('0', '9'));
}

bool Beyond(const LevelPosition& a, const LevelPosition& b) {
    return a.stage > b.stage || (a.stage == b.stage && a.level > b.level);
}

} // namespace

ProfileBase::ProfileBase(const std::string& userDirectory, const std::string& magic, uint32_t version)
    : magic(magic.substr(0, 5)), version(version), userDirectory(userDirectory) {}

ProfileBase::~ProfileBase() {
    ClearLevelResults();
}

void ProfileBase::ClearLevelResults() {
    DeletePointerVector(levelResults);
}

void ProfileBase::ResetGame() {
    lives = 3;
    scoreTotal = 0;
}

std::string ProfileBase::ProfilePath(const std::string& file) const {
    return userDirectory + "\\profiles\\" + file;
}

bool ProfileBase::IsNotLowerLetter(char byte) {
    return byte < 'a' || byte > 'z';
}

std::wstring ProfileBase::MakeStoredName(const std::wstring& text) {
    std::wstring stored = TrimCopyW(text);
    size_t units = 0;
    for (size_t i = 0; i < stored.size(); ++i) {
        units += stored[i] > 0xFFFF ? 2 : 1;
        if (units > MaxNameUnits) {
            // Longer names would not fit the file's count byte.
            stored.resize(i);
            break;
        }
    }
    return stored;
}

void ProfileBase::Load(const std::string& file) {
    fileName = file;
    folder = ProfilePath(fileName);
    ReplaceExtension(folder, "");
    try {
        VersionedFile versioned(magic, version);
        versioned.Open(ProfilePath(fileName), VersionedFile::ModeRead);
        Read(*versioned.GetFile());
        versioned.Close();
    } catch (const FileError& error) {
        if (MessageManager* log = MessageManager::Instance())
            log->Error(error.GetText());
        ClearLevelResults();
        throw Error("");
    }
}

void ProfileBase::CreateNew(const std::wstring& newName) {
    name = MakeStoredName(newName);
    settings.musicVolume = 1.0f;
    settings.soundVolume = 1.0f;
    tableKey = 0;
    gameInProgress = false;
    currentPosition = LevelPosition{};
    furthestPosition = LevelPosition{};
    completed = false;
    ResetGame();

    std::string base = ToMultiByte(name);
    ToLower(base);
    base.erase(std::remove_if(base.begin(), base.end(), IsNotLowerLetter), base.end());
    if (base.size() > MaxBaseLetters)
        base.resize(MaxBaseLetters);
    fileName = ChooseFileName(base);
    folder = ProfilePath(fileName);
    ReplaceExtension(folder, "");
    Save();
}

bool ProfileBase::IsTaken(const std::string& candidate) const {
    return FileManager::Instance()->FileExists(ProfilePath(candidate));
}

std::string ProfileBase::ChooseFileName(const std::string& base) const {
    for (int attempt = 0; attempt < CandidateAttempts; ++attempt) {
        std::string candidate = base;
        if (candidate.size() < NamedFileLength - 1) {
            candidate += '_';
            AppendRandomDigits(candidate, NamedFileLength - candidate.size());
        }
        candidate += ".prf";
        if (!IsTaken(candidate))
            return candidate;
    }
    // Long bases have few or no random digits, so every candidate can be taken by profiles whose names
    // share the letters. Writing into one of them would destroy it: shorten the base until the digits
    // leave room, and add digits for as long as that takes.
    const std::string prefix = base.substr(0, FallbackLetters) + "_";
    for (size_t digits = FallbackDigits;; ++digits) {
        for (int attempt = 0; attempt < CandidateAttempts; ++attempt) {
            std::string candidate = prefix;
            AppendRandomDigits(candidate, digits);
            candidate += ".prf";
            if (!IsTaken(candidate))
                return candidate;
        }
    }
}

void ProfileBase::Write(FileBinary& file) {
    file.WriteWideString(name);
    WriteU32(file, tableKey);
    WriteU32(file, lives);
    WriteU32(file, scoreTotal);
    WriteU32(file, currentPosition.stage);
    WriteU32(file, currentPosition.level);
    WriteU32(file, furthestPosition.stage);
    WriteU32(file, furthestPosition.level);
    WriteU8(file, completed ? 1 : 0);
    WriteU32(file, static_cast<uint32_t>(levelResults.size()));
    for (const LevelResult* result : levelResults) {
        WriteU32(file, result->tableKey);
        WriteU32(file, result->stageIndex);
        WriteU32(file, result->levelIndex);
        WriteF32(file, result->time);
    }
    WriteU32(file, reserved);
    WriteU8(file, gameInProgress ? 1 : 0);
    WriteSettings(file);
}

void ProfileBase::Read(FileBinary& file) {
    constexpr uint32_t ResultBytes = 16;
    file.ReadWideString(name);
    tableKey = ReadU32(file);
    lives = ReadU32(file);
    scoreTotal = ReadU32(file);
    currentPosition.stage = ReadU32(file);
    currentPosition.level = ReadU32(file);
    furthestPosition.stage = ReadU32(file);
    furthestPosition.level = ReadU32(file);
    completed = ReadU8(file) != 0;
    const uint32_t count = ReadU32(file);
    CheckRecordCount(file, count, ResultBytes);
    for (uint32_t i = 0; i < count; ++i) {
        auto* result = new LevelResult;
        levelResults.push_back(result);
        result->tableKey = ReadU32(file);
        result->stageIndex = ReadU32(file);
        result->levelIndex = ReadU32(file);
        result->time = ReadF32(file);
    }
    reserved = ReadU32(file);
    gameInProgress = ReadU8(file) != 0;
    ReadSettings(file);
}

void ProfileBase::WriteSettings(FileBinary& file) {
    WriteF32(file, settings.musicVolume);
    WriteF32(file, settings.soundVolume);
}

void ProfileBase::ReadSettings(FileBinary& file) {
    settings.musicVolume = ReadF32(file);
    settings.soundVolume = ReadF32(file);
}

void ProfileBase::Save() {
    // The file object lives only for this save: one left open by a failure could otherwise complete a
    // half-written file over the good one later.
    try {
        VersionedFile versioned(magic, version);
        versioned.Open(ProfilePath(fileName), VersionedFile::ModeWrite);
        Write(*versioned.GetFile());
        versioned.Close();
    } catch (const FileError&) {
    }
}

void ProfileBase::Rename(const std::wstring& newName) {
    name = MakeStoredName(newName);
    Save();
}

void ProfileBase::DeleteFiles() {
    const std::string profiles = userDirectory + "\\profiles";
    DeleteDirectoryTree(ProfilePath(fileName), profiles);
    // A file named only ".prf" has no folder of its own: its "folder" would be the profiles folder itself.
    std::string stem = fileName;
    ReplaceExtension(stem, "");
    if (!stem.empty() && stem != fileName)
        DeleteDirectoryTree(folder, profiles);
}

void ProfileBase::AddLevelResult(LevelResult* result) {
    for (LevelResult* held : levelResults) {
        if (held->tableKey == result->tableKey && held->stageIndex == result->stageIndex &&
            held->levelIndex == result->levelIndex) {
            held->time = std::min(held->time, result->time);
            delete result;
            Save();
            return;
        }
    }
    levelResults.push_back(result);
    Save();
}

void ProfileBase::RecordProgress(const LevelPosition& position, bool completedGame) {
    if (!Beyond(position, furthestPosition) && !(position == furthestPosition && completedGame))
        return;
    furthestPosition = position;
    completed = completedGame;
    Save();
}

} // namespace GameFramework
