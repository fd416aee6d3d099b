// The engine's log: an HTML file of coloured lines, and the messages of the current frame kept in memory
// for the in-game console. Created first and deleted last by the Engine; reached through
// MessageManager::Instance() (or Log()). Single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace OrvexEngine {

using MessageType = uint32_t;
constexpr MessageType MessageTypeMessage = 0;
constexpr MessageType MessageTypeImportant = 1;
constexpr MessageType MessageTypeWarning = 2;
constexpr MessageType MessageTypeError = 3;
constexpr MessageType MessageTypeFatal = 4;

struct LogEntry {
    MessageType type = MessageTypeMessage;
    std::string text; // as stored and written: prefixes and line feeds included
};

class MessageManager : public GlobalPointerHolder<MessageManager> {
public:
    // Opens the log file and writes its head. A file that cannot be opened leaves the log without a file;
    // messages are still kept in memory. A missing log folder is created.
    MessageManager(const std::string& title, bool logEnabled, bool reopenPerMessage,
                   const std::string& logDirectory, const std::string& logName);
    MessageManager(const MessageManager&) = delete;
    MessageManager& operator=(const MessageManager&) = delete;
    // Writes the tail and closes the file.
    virtual ~MessageManager();

    void Message(const std::string& text);
    void Important(const std::string& text);
    void Warning(const std::string& text);
    void Error(const std::string& text);
    // Logs "PROGRAM ABORTING: " and the text, then throws FatalError with the text alone.
    [[noreturn]] void Fatal(const std::string& text);

    uint32_t GetEntryCount() const { return static_cast<uint32_t>(entries.size()); }
    // i must be below GetEntryCount().
    LogEntry* GetEntry(uint32_t i) const { return entries[i]; }
    void ClearEntries();

    void SetSpacing(bool on) { spacing = on; }
    // The full path of the log file ("" when logging is disabled).
    const std::string& GetFilePath() const { return filePath; }

    static std::string ColorToHtml(const Vec3& colour);

private:
    void AddMessage(MessageType type, const std::string& text);
    void WriteHtml(const std::string& text);
    void WriteColored(const Vec3& colour, const std::string& text);
    bool OpenForAppend();
    void CloseFile();

    std::string title;
    bool spacing = true;
    bool logEnabled = false;
    bool reopenPerMessage = false;
    std::string filePath;
    std::FILE* file = nullptr;      // owned
    std::vector<LogEntry*> entries; // owned, in the order of logging
};

// The registered log. Never null while an Engine (or a test's log) exists.
inline MessageManager* Log() {
    return MessageManager::Instance();
}

} // namespace OrvexEngine
