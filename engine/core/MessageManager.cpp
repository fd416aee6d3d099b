#include "engine/core/MessageManager.h"

#include "engine/core/Error.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FilePaths.h"
#include "platform/win/FileSystem.h"

#include <cstdio>
#include <ctime>

namespace OrvexEngine {

namespace {

const Vec3 white(1, 1, 1);
const Vec3 green(0, 1, 0);
const Vec3 grey(0.5f, 0.5f, 0.5f);
const Vec3 red(1, 0, 0);
const Vec3 black(0, 0, 0);

const Vec3& ColorOf(MessageType type) {
    switch (type) {
    case MessageTypeImportant:
        return green;
    case MessageTypeWarning:
        return grey;
    case MessageTypeError:
    case MessageTypeFatal:
        return red;
    default:
        return white;
    }
}

std::string OpeningTag(const Vec3& colour) {
    return "<FONT color=\"" + MessageManager::ColorToHtml(colour) + "\">";
}

// Local time as ctime() writes it, without its final line feed.
std::string DateText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    std::strftime(buffer, sizeof(buffer), "%a %b %d %H:%M:%S %Y", &local);
    // ctime pads the day of the month with a blank, not a zero.
    if (buffer[8] == '0')
        buffer[8] = ' ';
    return buffer;
}

} // namespace

MessageManager::MessageManager(const std::string& title, bool logEnabled, bool reopenPerMessage,
                               const std::string& logDirectory, const std::string& logName)
    : title(title), logEnabled(logEnabled), reopenPerMessage(reopenPerMessage) {
    filePath = logName.empty() ? title : logName;
    if (!logEnabled)
        return;

    if (logDirectory.empty())
        filePath = GetExecutableDirectory() + "\\" + filePath + ".html";
    else if (IsAbsolutePath(logDirectory))
        filePath = logDirectory + "\\" + filePath + ".html";
    else
        filePath = GetExecutableDirectory() + "\\" + logDirectory + "\\" + filePath + ".html";

    // A first run has no user data folder yet; without it the log of that run would be lost.
    CreateDirectoryTree(filePath);

    file = platform::OpenFile(filePath, "w");
    if (file == nullptr)
        return;
    WriteHtml("<HTML><HEAD><TITLE>" + title + " Log</TITLE></HEAD><BODY bgcolor=\"" + ColorToHtml(black) +
              "\">");
    WriteHtml(OpeningTag(white));
    WriteColored(white, "======== ");
    WriteColored(green, title + " Log: " + DateText());
    WriteColored(white, " ========\n\n");
    std::fflush(file);
    if (reopenPerMessage)
        CloseFile();
}

MessageManager::~MessageManager() {
    if (logEnabled && (!reopenPerMessage || OpenForAppend()) && file != nullptr) {
        WriteColored(white, "\n======== ");
        WriteColored(green, title + " Log end: " + DateText());
        WriteColored(white, " ========\n");
        WriteHtml("</FONT></BODY></HTML>");
        CloseFile();
    }
    DeletePointerVector(entries);
}

void MessageManager::Message(const std::string& text) {
    AddMessage(MessageTypeMessage, spacing ? text + "\n" : text);
}

void MessageManager::Important(const std::string& text) {
    AddMessage(MessageTypeImportant, spacing ? text + "\n" : text);
}

void MessageManager::Warning(const std::string& text) {
    AddMessage(MessageTypeWarning, spacing ? "\nWarning: " + text + "!\n\n" : "Warning: " + text + "!\n");
}

void MessageManager::Error(const std::string& text) {
    AddMessage(MessageTypeError, spacing ? "\nError: " + text + "!\n\n" : "Error: " + text + "!\n");
}

void MessageManager::Fatal(const std::string& text) {
    AddMessage(MessageTypeFatal, "PROGRAM ABORTING: " + text + "\n");
    throw FatalError(text);
}

void MessageManager::ClearEntries() {
    DeletePointerVector(entries);
}

std::string MessageManager::ColorToHtml(const Vec3& colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof(buffer), "#%02X%02X%02X",
                  static_cast<unsigned>(static_cast<int>(colour.x * 255)) & 0xFF,
                  static_cast<unsigned>(static_cast<int>(colour.y * 255)) & 0xFF,
                  static_cast<unsigned>(static_cast<int>(colour.z * 255)) & 0xFF);
    return buffer;
}

void MessageManager::AddMessage(MessageType type, const std::string& text) {
    if (logEnabled) {
        bool opened = reopenPerMessage && OpenForAppend();
        if (file != nullptr) {
            const Vec3& colour = ColorOf(type);
            if (colour.NotEquals(white))
                WriteColored(colour, text);
            else
                WriteHtml(text);
            // A crash or a kill must find every message already in the file: that is when it is read.
            std::fflush(file);
        }
        if (opened)
            CloseFile();
    }
    entries.push_back(new LogEntry{type, text});
}

void MessageManager::WriteHtml(const std::string& text) {
    if (file == nullptr)
        return;
    for (char c : text) {
        if (c == '\n')
            std::fputs("<BR>", file);
        else
            std::fputc(c, file);
    }
}

void MessageManager::WriteColored(const Vec3& colour, const std::string& text) {
    WriteHtml(OpeningTag(colour) + text + "</FONT>");
}

bool MessageManager::OpenForAppend() {
    file = platform::OpenFile(filePath, "a");
    return file != nullptr;
}

void MessageManager::CloseFile() {
    if (file != nullptr)
        std::fclose(file);
    file = nullptr;
}

} // namespace OrvexEngine
