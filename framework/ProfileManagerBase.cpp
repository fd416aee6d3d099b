#include "framework/ProfileManagerBase.h"

#include "engine/core/Error.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "framework/AudioPlayer.h"
#include "framework/FileFields.h"
#include "gametools/VersionedFile.h"

#include <algorithm>

using namespace OrvexEngine;
using GameTools::VersionedFile;

namespace GameFramework {

namespace {

// Stage, level, an empty name (count byte and one zero unit), table key and time.
constexpr uint32_t MinBestResultBytes = 4 + 4 + 3 + 4 + 4;

std::u16string SortKey(const std::wstring& name) {
    return WideToUtf16(ToLowerCopyW(name));
}

} // namespace

ProfileManagerBase::ProfileManagerBase(AudioPlayer* audioPlayer, const std::string& userDirectory,
                                       const std::string& indexMagic, uint32_t indexVersion)
    : audioPlayer(audioPlayer), indexMagic(indexMagic), indexVersion(indexVersion),
      userDirectory(userDirectory) {}

ProfileManagerBase::~ProfileManagerBase() {
    DeletePointerVector(profiles);
    DeletePointerVector(bestResults);
}

std::string ProfileManagerBase::IndexPath() const {
    return userDirectory + "\\profiles.pmf";
}

void ProfileManagerBase::ApplyProfileVolumes() {
    if (currentProfile == nullptr || audioPlayer == nullptr)
        return;
    audioPlayer->SetMusicVolume(currentProfile->settings.musicVolume);
    audioPlayer->SetSoundVolume(currentProfile->settings.soundVolume);
}

void ProfileManagerBase::StoreVolumes(ProfileBase* profile) {
    if (audioPlayer != nullptr) {
        profile->settings.musicVolume = audioPlayer->GetMusicVolume();
        profile->settings.soundVolume = audioPlayer->GetSoundVolume();
    }
    profile->Save();
}

void ProfileManagerBase::LoadAll() {
    std::vector<std::string> files;
    FileManager::Instance()->ListFiles(userDirectory + "\\profiles", "*.prf", files);
    for (const std::string& path : files) {
        try {
            profiles.push_back(LoadProfile(GetFileName(path)));
        } catch (const Error&) {
            // The profile has logged why; its file stays on disk.
        }
    }
    SortProfiles();

    try {
        VersionedFile index(indexMagic, indexVersion);
        index.Open(IndexPath(), VersionedFile::ModeRead);
        ReadIndex(*index.GetFile());
        index.Close();
    } catch (const FileError&) {
        KeepUnreadableFile(IndexPath());
        currentProfile = nullptr;
        DeletePointerVector(bestResults);
        SaveIndex();
    }
    if (currentProfile == nullptr && !profiles.empty())
        SelectProfile(profiles.front(), true);
}

void ProfileManagerBase::WriteIndex(FileBinary& file) {
    file.WriteWideString(currentProfile != nullptr ? currentProfile->name : std::wstring());
    WriteU32(file, static_cast<uint32_t>(bestResults.size()));
    for (const BestResult* result : bestResults) {
        WriteU32(file, result->stageIndex);
        WriteU32(file, result->levelIndex);
        file.WriteWideString(result->holderName);
        WriteU32(file, result->tableKey);
        WriteF32(file, result->time);
    }
}

void ProfileManagerBase::ReadIndex(FileBinary& file) {
    std::wstring current;
    file.ReadWideString(current);
    if (!current.empty())
        SelectProfile(FindProfile(current), false);
    const uint32_t count = ReadU32(file);
    CheckRecordCount(file, count, MinBestResultBytes);
    for (uint32_t i = 0; i < count; ++i) {
        auto* result = new BestResult;
        bestResults.push_back(result);
        result->stageIndex = ReadU32(file);
        result->levelIndex = ReadU32(file);
        file.ReadWideString(result->holderName);
        result->tableKey = ReadU32(file);
        result->time = ReadF32(file);
    }
}

void ProfileManagerBase::SaveIndex() {
    try {
        VersionedFile index(indexMagic, indexVersion);
        index.Open(IndexPath(), VersionedFile::ModeWrite);
        WriteIndex(*index.GetFile());
        index.Close();
    } catch (const FileError&) {
    }
}

ProfileBase* ProfileManagerBase::FindProfile(const std::wstring& name) const {
    const std::wstring wanted = ToLowerCopyW(name);
    for (ProfileBase* profile : profiles)
        if (ToLowerCopyW(profile->name) == wanted)
            return profile;
    return nullptr;
}

void ProfileManagerBase::SortProfiles() {
    std::stable_sort(profiles.begin(), profiles.end(), [](const ProfileBase* a, const ProfileBase* b) {
        return SortKey(a->name) < SortKey(b->name);
    });
}

void ProfileManagerBase::SelectProfile(ProfileBase* profile, bool save) {
    currentProfile = profile;
    if (save)
        SaveIndex();
}

bool ProfileManagerBase::FindBestResult(const LevelPosition& position, uint32_t tableKey,
                                        std::wstring& holderName, float& time) const {
    for (const BestResult* result : bestResults) {
        if (result->stageIndex == position.stage && result->levelIndex == position.level &&
            result->tableKey == tableKey) {
            holderName = result->holderName;
            time = result->time;
            return true;
        }
    }
    return false;
}

bool ProfileManagerBase::SubmitBestResult(const LevelPosition& position, const std::wstring& holderName,
                                          uint32_t tableKey, float time) {
    for (BestResult* result : bestResults) {
        if (result->stageIndex == position.stage && result->levelIndex == position.level &&
            result->tableKey == tableKey) {
            if (!(time < result->time))
                return false;
            result->holderName = holderName;
            result->time = time;
            SaveIndex();
            return true;
        }
    }
    auto* result = new BestResult;
    result->stageIndex = position.stage;
    result->levelIndex = position.level;
    result->holderName = holderName;
    result->tableKey = tableKey;
    result->time = time;
    bestResults.push_back(result);
    SaveIndex();
    return true;
}

ProfileBase* ProfileManagerBase::GetOrCreateProfile(const std::wstring& name) {
    // Looked up as it will be stored, so that a long name cut to the limit still finds its profile.
    if (ProfileBase* existing = FindProfile(ProfileBase::MakeStoredName(name)))
        return existing;
    ProfileBase* profile = CreateProfile(name);
    StoreVolumes(profile);
    profiles.push_back(profile);
    SortProfiles();
    SaveIndex();
    return profile;
}

void ProfileManagerBase::RenameProfile(const std::wstring& oldName, const std::wstring& newName) {
    if (FindProfile(ProfileBase::MakeStoredName(newName)) != nullptr)
        return;
    ProfileBase* profile = FindProfile(oldName);
    if (profile == nullptr)
        return;
    profile->Rename(newName);
    SortProfiles();
    SaveIndex();
}

void ProfileManagerBase::DeleteProfile(const std::wstring& name) {
    ProfileBase* profile = FindProfile(name);
    if (profile == nullptr)
        return;
    profile->DeleteFiles();
    profiles.erase(std::find(profiles.begin(), profiles.end(), profile));
    if (profile == currentProfile)
        SelectProfile(profiles.empty() ? nullptr : profiles.front(), false);
    delete profile;
    SaveIndex();
}

} // namespace GameFramework
