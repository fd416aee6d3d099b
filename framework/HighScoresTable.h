// The best final scores of finished games with the names of their players, kept per table key in
// "high_scores.hsf" of the user data directory: highest score first, the older entry first among equal
// scores, at most `capacity` entries per key. Loaded at construction and written after every added entry.
// The application root owns the one instance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace GameFramework {

struct HighScoreEntry {
    std::wstring name;
    uint32_t tableKey = 0;
    uint32_t score = 0;
    uint32_t sequenceNumber = 0; // order of addition, oldest lowest
};

class HighScoresTable {
public:
    // Loads directory + "\high_scores.hsf". A file that does not read is kept as "high_scores.hsf.bad" and
    // the table starts empty, written at once.
    HighScoresTable(uint32_t capacity, const std::string& directory);
    HighScoresTable(const HighScoresTable&) = delete;
    HighScoresTable& operator=(const HighScoresTable&) = delete;
    virtual ~HighScoresTable();

    // Adds, sorts, trims the key's entries to the capacity and saves (also when the new entry fell off).
    // The new entry, or null when it did not stay in the table.
    HighScoreEntry* AddEntry(const std::wstring& name, uint32_t tableKey, uint32_t score);
    // The index-th entry of the key in list order; null past the end.
    HighScoreEntry* GetEntry(uint32_t tableKey, uint32_t index) const;
    uint32_t CountEntries(uint32_t tableKey) const;
    // Appends without sorting or trimming.
    HighScoreEntry* AppendEntry(const std::wstring& name, uint32_t tableKey, uint32_t score,
                                uint32_t sequenceNumber);
    // A failure is ignored and leaves the previous file as it was.
    void Save();
    // Empties the table, restarts the sequence numbers and saves.
    void Reset();

    const std::vector<HighScoreEntry*>& GetEntries() const { return entries; }
    uint32_t GetNextSequenceNumber() const { return nextSequenceNumber; }

private:
    std::string FilePath() const;
    void Load();

    uint32_t capacity = 0;
    std::vector<HighScoreEntry*> entries; // owned, in display order after AddEntry
    std::string directory;
    uint32_t nextSequenceNumber = 0;
};

} // namespace GameFramework
