// One player's saved state: name, the game under way (lives, score, next level, whether it was left
// unfinished), the furthest level reached, the best time of every passed level and the player's volumes,
// kept in one file below "<user directory>\profiles\". The game derives its profile class, which fixes the
// file's magic and version and appends bytes of its own after WriteSettings. Created and owned by the
// profile index; every change that matters is written at once, and a failed write never costs the old file.
#pragma once

#include "framework/LevelManagerBase.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {
class FileBinary;
}

namespace GameFramework {

// The time of one passed level, kept per (table key, stage, level).
struct LevelResult {
    uint32_t tableKey = 0;
    uint32_t stageIndex = 0;
    uint32_t levelIndex = 0;
    float time = 0; // seconds
};

// The player's volumes, 0..1; the file holds the music volume first.
struct ProfileSettings {
    float soundVolume = 1;
    float musicVolume = 1;
};

class ProfileBase {
public:
    // The one-byte count of a stored name includes its terminator: 254 UTF-16 units at most.
    static constexpr size_t MaxNameUnits = 254;

    // userDirectory: the folder that holds "profiles\". A profile is complete only after Load or CreateNew.
    ProfileBase(const std::string& userDirectory, const std::string& magic, uint32_t version);
    ProfileBase(const ProfileBase&) = delete;
    ProfileBase& operator=(const ProfileBase&) = delete;
    virtual ~ProfileBase();

    // Lives 3, score 0; not saved.
    virtual void ResetGame();
    // Reads "<user directory>\profiles\" + fileName. A file that cannot be read is logged as an error and
    // throws Error with an empty text; the caller discards the profile.
    virtual void Load(const std::string& fileName);
    // A new profile with default values under a file name no other file has; saved at once.
    virtual void CreateNew(const std::wstring& newName);
    virtual void Write(OrvexEngine::FileBinary& file);
    virtual void Read(OrvexEngine::FileBinary& file);
    virtual void WriteSettings(OrvexEngine::FileBinary& file);
    virtual void ReadSettings(OrvexEngine::FileBinary& file);

    // Writes the whole file; a failure is ignored and leaves the previous file as it was.
    void Save();
    // Keeps the file name; saves.
    void Rename(const std::wstring& newName);
    // Deletes the file, then the profile's folder, never anything outside "<user directory>\profiles\".
    void DeleteFiles();
    // Takes ownership; keeps the smaller time of a result already held; saves.
    void AddLevelResult(LevelResult* result);
    // Moves the furthest position forward only; saves when something changed.
    void RecordProgress(const LevelPosition& position, bool completedGame);
    std::string ProfilePath(const std::string& file) const;
    // True for every byte outside 'a'..'z'.
    static bool IsNotLowerLetter(char byte);
    // A name as profiles keep it: trimmed at both ends and cut to MaxNameUnits UTF-16 units.
    static std::wstring MakeStoredName(const std::wstring& text);

    const std::string& GetFileName() const { return fileName; }
    const std::string& GetFolder() const { return folder; }
    const std::vector<LevelResult*>& GetLevelResults() const { return levelResults; }
    bool IsCompleted() const { return completed; }
    uint32_t GetReserved() const { return reserved; }

    // Read and written directly by the windows and the flow; whoever writes one calls Save.
    std::wstring name;
    ProfileSettings settings;
    uint32_t tableKey = 0;
    uint32_t lives = 0;
    uint32_t scoreTotal = 0;
    LevelPosition currentPosition;
    LevelPosition furthestPosition;
    bool gameInProgress = false;

protected:
    std::string magic;
    uint32_t version = 0;

private:
    std::string ChooseFileName(const std::string& base) const;
    bool IsTaken(const std::string& candidate) const;
    void ClearLevelResults();

    std::string userDirectory;
    std::string fileName;
    std::string folder;
    bool completed = false;
    std::vector<LevelResult*> levelResults; // owned
    uint32_t reserved = 0;
};

} // namespace GameFramework
