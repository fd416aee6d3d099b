// The engine's one registry of named, typed settings and commands. Every part registers its settings with
// storage of its own; Config converts text to values and back, executes "name value" lines (console and
// settings file), reads the settings file at start and writes it on request, holds back file lines for names
// that register later, and tracks changes from frame to frame. Created fourth by the Engine and deleted
// among the last services; single instance, reached through Config::Instance().
#pragma once

#include "engine/core/EngineSettings.h"
#include "engine/core/GlobalPointerHolder.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {

enum ConfigVariableType : int {
    ConfigVariableInt = 0,     // int32_t storage
    ConfigVariableFloat = 1,   // float storage
    ConfigVariableBool = 2,    // bool storage
    ConfigVariableString = 3,  // std::string storage
    ConfigVariableCommand = 4, // no storage
};

enum ConfigExecuteResult : int {
    ConfigExecuteDone = 0, // value set or command triggered
    ConfigExecuteReadOnly = 2,
    ConfigExecuteQuery = 3,   // a known name without an argument
    ConfigExecuteUnknown = 4, // also an unbound name
    ConfigExecuteEmpty = 5,
};

// One registered name; owned by Config.
struct ConfigVariable {
    ConfigVariableType type = ConfigVariableInt;
    bool readOnly = false;
    bool save = false;
    void* storage = nullptr; // not owned: the registering part keeps it alive until it unbinds
    std::string defaultText;
    bool commandIdle = false;
    bool trackChanges = false;
    int32_t lastInt = 0;
    float lastFloat = 0.0f;
    bool lastBool = false;
    std::string lastString;
    bool changed = false;
    bool unbound = false;
    std::string keptText; // the value when it was unbound
};

class Config : public GlobalPointerHolder<Config> {
public:
    // The settings file is directory + "\" + name + ".ini" (name "Orvex Engine" when empty). Registers the
    // engine core's variables and commands.
    Config(const std::string& settingsDirectory, const std::string& settingsName, bool forceDefaultVideoMode,
           const std::string& defaultVideoMode, bool forceDefaultFullscreen, bool defaultFullscreen);
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;
    virtual ~Config();

    // storage points at an int32_t, float, bool or std::string as the type says (null for a command) and must
    // outlive the registration (or be unbound first). The first registration of a name stays in force; an
    // unbound name re-binds to new storage of the same type and takes back its value.
    void RegisterVariable(const std::string& name, ConfigVariableType type, bool readOnly, bool save,
                          void* storage, const std::string& defaultText, bool trackChanges);
    // Detaches the storage, keeping the value as text (saved, and restored at the next registration).
    void Unbind(const std::string& name);

    void SetValue(const std::string& name, const std::string& text);
    std::string GetValueText(const std::string& name) const;
    std::string GetDefaultText(const std::string& name) const;
    void ResetToDefault(const std::string& name);
    void ResetAll();
    // Triggering a command is idle = false; its owner re-arms it with true after acting.
    void SetCommandIdle(const std::string& name, bool idle);
    // False for an unknown or unbound name: polling a command nobody registered reads as triggered.
    bool IsCommandIdle(const std::string& name) const;
    bool IsChanged(const std::string& name) const;
    ConfigExecuteResult Execute(const std::string& line, std::string* outName = nullptr);
    // Every bound name in name order.
    void ListNames(std::vector<std::string>& names) const;

    // Start of every frame: "reset_config", then the change tracking.
    void Update();
    // End of every frame.
    void ClearChangedFlags();

    void Load();
    // Writes "name value" lines; the older file stays until the new one is complete on the disk. A failure
    // to open or write is logged, never thrown.
    void Save();

    EngineSettings& GetSettings() { return settings; }
    const std::string& GetSettingsPath() const { return settingsPath; }

private:
    ConfigVariable* Find(const std::string& lowerName) const;
    ConfigVariable* FindBound(const std::string& lowerName) const;
    // A text that does not read as the variable's type leaves it as it was and logs a warning.
    void Store(const std::string& name, ConfigVariable& variable, const std::string& text);

    std::string settingsPath;
    std::map<std::string, ConfigVariable*> variables; // owned, by lower-case name
    std::map<std::string, std::string> heldBackLines;
    // The entry of "reset_config" (entries live until the destructor): the frame's update needs no name.
    ConfigVariable* resetCommand = nullptr; // not owned
    bool forceDefaultVideoMode = false;
    bool forceDefaultFullscreen = false;
    EngineSettings settings;
};

// "<width>x<height>x<bits>" ("x" or "X"); anything else gives 640, 480 and 16. Writes only the outputs given.
void ParseVideoMode(const std::string& text, uint32_t* width, uint32_t* height, uint32_t* bits);

} // namespace OrvexEngine
