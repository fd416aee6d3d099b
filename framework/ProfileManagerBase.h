// Every player profile of the user data directory: found and loaded at start-up, kept sorted by name, one
// of them current; creating, renaming and deleting profiles; and the best time of every level over all
// profiles with the name of the profile that set it. The current profile's name and the best times live in
// the index file "profiles.pmf" beside the "profiles" folder. The game derives it (index magic and version,
// its profile class); the application root owns the one instance and deletes it, with every profile.
#pragma once

#include "framework/ProfileBase.h"

#include <cstdint>
#include <string>
#include <vector>

namespace GameFramework {

class AudioPlayer;

// The best time of one level over all profiles.
struct BestResult {
    uint32_t stageIndex = 0;
    uint32_t levelIndex = 0;
    std::wstring holderName; // the holder's name when the time was set; later renames do not change it
    uint32_t tableKey = 0;
    float time = 0; // seconds
};

class ProfileManagerBase {
public:
    // Loads nothing: the game's constructor calls LoadAll once its own operations are in place.
    ProfileManagerBase(AudioPlayer* audioPlayer, const std::string& userDirectory,
                       const std::string& indexMagic, uint32_t indexVersion);
    ProfileManagerBase(const ProfileManagerBase&) = delete;
    ProfileManagerBase& operator=(const ProfileManagerBase&) = delete;
    virtual ~ProfileManagerBase();

    // The current profile's volumes go to the audio player; nothing without a current profile.
    virtual void ApplyProfileVolumes();
    // Loads every "*.prf" of the profiles folder that reads, then the index. An unreadable index is kept
    // as "profiles.pmf.bad" and replaced by a fresh one without best times.
    virtual void LoadAll();
    // A new profile loaded from the profiles folder; throws Error when the file does not read.
    virtual ProfileBase* LoadProfile(const std::string& fileName) = 0;
    // A new profile made with ProfileBase::CreateNew, already saved.
    virtual ProfileBase* CreateProfile(const std::wstring& name) = 0;
    virtual void WriteIndex(OrvexEngine::FileBinary& file);
    virtual void ReadIndex(OrvexEngine::FileBinary& file);
    // The audio player's volumes go into the profile, which is saved.
    virtual void StoreVolumes(ProfileBase* profile);

    // Compared lower-cased; null when no profile has the name.
    ProfileBase* FindProfile(const std::wstring& name) const;
    void SortProfiles();
    void SelectProfile(ProfileBase* profile, bool save);
    // Writes the index; a failure is ignored and leaves the previous file as it was.
    void SaveIndex();
    bool FindBestResult(const LevelPosition& position, uint32_t tableKey, std::wstring& holderName,
                        float& time) const;
    // True when the time was recorded: a new level, or faster than the record (an equal time keeps it).
    bool SubmitBestResult(const LevelPosition& position, const std::wstring& holderName, uint32_t tableKey,
                          float time);
    // The profile of that name, else a new one with the volumes in force; the current one stays.
    ProfileBase* GetOrCreateProfile(const std::wstring& name);
    // Nothing when the new name is taken (in any letter case) or the old one is not found.
    void RenameProfile(const std::wstring& oldName, const std::wstring& newName);
    // Deletes the profile with its file and folder; the first remaining profile becomes current if it was.
    void DeleteProfile(const std::wstring& name);

    const std::vector<ProfileBase*>& GetProfiles() const { return profiles; }
    ProfileBase* GetCurrentProfile() const { return currentProfile; }
    const std::vector<BestResult*>& GetBestResults() const { return bestResults; }
    const std::string& GetUserDirectory() const { return userDirectory; }

protected:
    AudioPlayer* audioPlayer = nullptr; // not owned

private:
    std::string IndexPath() const;

    std::string indexMagic;
    uint32_t indexVersion = 0;
    std::vector<ProfileBase*> profiles;    // owned, sorted by lower-cased name
    ProfileBase* currentProfile = nullptr; // one of profiles, or null
    std::vector<BestResult*> bestResults;  // owned, in the order first added
    std::string userDirectory;
};

} // namespace GameFramework
