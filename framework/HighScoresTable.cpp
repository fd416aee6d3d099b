#include "framework/HighScoresTable.h"

#include "engine/core/Error.h"
#include "engine/core/ObjectManager.h"
#include "engine/files/FileBinary.h"
#include "framework/FileFields.h"
#include "gametools/VersionedFile.h"

#include <algorithm>

using namespace OrvexEngine;
using GameTools::VersionedFile;

namespace GameFramework {

namespace {

const char* const Magic = "GFHSF";
constexpr uint32_t Version = 101;
// An empty name (count byte and one zero unit), table key, score and sequence number.
constexpr uint32_t MinEntryBytes = 3 + 4 + 4 + 4;

} // namespace

HighScoresTable::HighScoresTable(uint32_t capacity, const std::string& directory)
    : capacity(capacity), directory(directory) {
    Load();
}

HighScoresTable::~HighScoresTable() {
    DeletePointerVector(entries);
}

std::string HighScoresTable::FilePath() const {
    return directory + "\\high_scores.hsf";
}

void HighScoresTable::Load() {
    try {
        VersionedFile file(Magic, Version);
        file.Open(FilePath(), VersionedFile::ModeRead);
        FileBinary& in = *file.GetFile();
        nextSequenceNumber = ReadU32(in);
        const uint32_t count = ReadU32(in);
        CheckRecordCount(in, count, MinEntryBytes);
        for (uint32_t i = 0; i < count; ++i) {
            std::wstring name;
            in.ReadWideString(name);
            const uint32_t tableKey = ReadU32(in);
            const uint32_t score = ReadU32(in);
            AppendEntry(name, tableKey, score, ReadU32(in));
        }
        file.Close();
    } catch (const FileError&) {
        KeepUnreadableFile(FilePath());
        Reset();
    }
}

HighScoreEntry* HighScoresTable::AppendEntry(const std::wstring& name, uint32_t tableKey, uint32_t score,
                                             uint32_t sequenceNumber) {
    auto* entry = new HighScoreEntry{name, tableKey, score, sequenceNumber};
    entries.push_back(entry);
    return entry;
}

HighScoreEntry* HighScoresTable::AddEntry(const std::wstring& name, uint32_t tableKey, uint32_t score) {
    HighScoreEntry* added = AppendEntry(name, tableKey, score, nextSequenceNumber++);
    std::stable_sort(entries.begin(), entries.end(), [](const HighScoreEntry* a, const HighScoreEntry* b) {
        if (a->score != b->score)
            return a->score > b->score;
        return a->sequenceNumber < b->sequenceNumber;
    });
    uint32_t kept = 0;
    bool addedStays = true;
    for (auto it = entries.begin(); it != entries.end();) {
        if ((*it)->tableKey != tableKey || ++kept <= capacity) {
            ++it;
            continue;
        }
        addedStays = addedStays && *it != added;
        delete *it;
        it = entries.erase(it);
    }
    Save();
    return addedStays ? added : nullptr;
}

HighScoreEntry* HighScoresTable::GetEntry(uint32_t tableKey, uint32_t index) const {
    for (HighScoreEntry* entry : entries)
        if (entry->tableKey == tableKey && index-- == 0)
            return entry;
    return nullptr;
}

uint32_t HighScoresTable::CountEntries(uint32_t tableKey) const {
    return static_cast<uint32_t>(
        std::count_if(entries.begin(), entries.end(),
                      [tableKey](const HighScoreEntry* e) { return e->tableKey == tableKey; }));
}

void HighScoresTable::Save() {
    try {
        VersionedFile file(Magic, Version);
        file.Open(FilePath(), VersionedFile::ModeWrite);
        FileBinary& out = *file.GetFile();
        WriteU32(out, nextSequenceNumber);
        WriteU32(out, static_cast<uint32_t>(entries.size()));
        for (const HighScoreEntry* entry : entries) {
            out.WriteWideString(entry->name);
            WriteU32(out, entry->tableKey);
            WriteU32(out, entry->score);
            WriteU32(out, entry->sequenceNumber);
        }
        file.Close();
    } catch (const FileError&) {
    }
}

void HighScoresTable::Reset() {
    nextSequenceNumber = 0;
    DeletePointerVector(entries);
    Save();
}

} // namespace GameFramework
