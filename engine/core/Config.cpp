#include "engine/core/Config.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileManager.h"
#include "engine/files/FileReplacer.h"
#include "engine/files/FileTextual.h"

#include <cassert>
#include <cctype>
#include <cmath>
#include <memory>

namespace OrvexEngine {

namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Whether the text starts with a number, as the run-time conversions read one; anything else would be read
// as 0 and, once saved, replace the user's setting for good.
bool StartsWithNumber(const std::string& text, bool allowFraction) {
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    auto isDigit = [&](size_t i) {
        return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
    };
    return isDigit(at) || (allowFraction && at < text.size() && text[at] == '.' && isDigit(at + 1));
}

const char* TypeName(ConfigVariableType type) {
    switch (type) {
    case ConfigVariableInt:
        return "an integer";
    case ConfigVariableFloat:
        return "a finite number";
    case ConfigVariableBool:
        return "0 or 1";
    default:
        return "a value";
    }
}

// The settings file is read through the file manager when one exists (it knows the base directory); a
// Config on its own opens the path directly.
FileTextual* OpenSettingsForReading(const std::string& path) {
    if (FileManager* files = FileManager::Instance())
        return files->OpenTextFile(path, 0, TextEncodingAnsi);
    return new FileTextual(path, 0, TextEncodingAnsi);
}

} // namespace

Config::Config(const std::string& settingsDirectory, const std::string& settingsName,
               bool forceDefaultVideoMode, const std::string& defaultVideoMode, bool forceDefaultFullscreen,
               bool defaultFullscreen)
    : forceDefaultVideoMode(forceDefaultVideoMode), forceDefaultFullscreen(forceDefaultFullscreen) {
    std::string name = settingsName.empty() ? "Orvex Engine" : settingsName;
    settingsPath = settingsDirectory.empty() ? name + ".ini" : settingsDirectory + "\\" + name + ".ini";
    std::string videoMode = defaultVideoMode;
    if (videoMode.empty()) {
        videoMode = "800x600x32";
        this->forceDefaultVideoMode = false;
    }

    EngineSettings& s = settings;
    RegisterVariable("reset_config", ConfigVariableCommand, false, false, nullptr, "", false);
    resetCommand = Find("reset_config");
    RegisterVariable("v_mode", ConfigVariableString, false, true, &s.vMode, videoMode, false);
    RegisterVariable("v_fullscreen", ConfigVariableBool, false, true, &s.vFullscreen,
                     defaultFullscreen ? "1" : "0", false);
    RegisterVariable("v_vsync", ConfigVariableBool, false, true, &s.vVsync, "1", false);
    RegisterVariable("v_brightness", ConfigVariableFloat, false, true, &s.vBrightness, "1.0", false);
    RegisterVariable("v_contrast", ConfigVariableFloat, false, true, &s.vContrast, "1.0", false);
    RegisterVariable("v_gamma", ConfigVariableFloat, false, true, &s.vGamma, "1.0", false);
    RegisterVariable("v_window_change_mode", ConfigVariableCommand, false, false, nullptr, "", false);
    RegisterVariable("r_use_mip_mapping", ConfigVariableBool, false, true, &s.rUseMipMapping, "1", false);
    RegisterVariable("r_show_octree_nodes", ConfigVariableBool, false, true, &s.rShowOctreeNodes, "0", false);
    RegisterVariable("r_show_faces_edges", ConfigVariableBool, false, true, &s.rShowFacesEdges, "0", false);
    RegisterVariable("r_show_faces_normals", ConfigVariableBool, false, true, &s.rShowFacesNormals, "0",
                     false);
    RegisterVariable("r_show_mip_maps", ConfigVariableBool, false, true, &s.rShowMipMaps, "0", false);
    RegisterVariable("r_texture_anisotropy", ConfigVariableInt, false, true, &s.rTextureAnisotropy, "1",
                     false);
    RegisterVariable("c_invert_mouse", ConfigVariableBool, false, true, &s.cInvertMouse, "0", false);
    RegisterVariable("sc_take_screenshot", ConfigVariableCommand, false, false, nullptr, "", false);
    RegisterVariable("sc_take_screenshot_tga", ConfigVariableCommand, false, false, nullptr, "", false);
    RegisterVariable("sc_take_screenshot_jpg", ConfigVariableCommand, false, false, nullptr, "", false);
    RegisterVariable("sc_take_screenshot_format", ConfigVariableInt, false, true, &s.scTakeScreenshotFormat,
                     "0", false);
    RegisterVariable("sc_start_movie_record", ConfigVariableCommand, false, false, nullptr, "", false);
    RegisterVariable("sc_stop_movie_record", ConfigVariableCommand, false, false, nullptr, "", false);
    RegisterVariable("exit", ConfigVariableCommand, false, false, nullptr, "", false);
}

Config::~Config() {
    for (auto& entry : variables)
        delete entry.second;
    variables.clear();
    heldBackLines.clear();
}

ConfigVariable* Config::Find(const std::string& lowerName) const {
    auto found = variables.find(lowerName);
    return found == variables.end() ? nullptr : found->second;
}

ConfigVariable* Config::FindBound(const std::string& lowerName) const {
    ConfigVariable* variable = Find(lowerName);
    return variable != nullptr && !variable->unbound ? variable : nullptr;
}

void Config::RegisterVariable(const std::string& name, ConfigVariableType type, bool readOnly, bool save,
                              void* storage, const std::string& defaultText, bool trackChanges) {
    assert((storage != nullptr || type == ConfigVariableCommand) && "register a variable with its storage");
    if (storage == nullptr && type != ConfigVariableCommand)
        return;
    std::string lower = ToLowerCopy(name);
    if (ConfigVariable* existing = Find(lower)) {
        if (!existing->unbound)
            return; // the first registration stays in force
        if (existing->type != type) {
            // Binding storage of another type would write a value through the wrong type.
            Log()->Error("Configuration variable \"" + lower + "\" registered again with another type");
            return;
        }
        existing->storage = storage;
        existing->unbound = false;
        existing->changed = existing->trackChanges;
        SetValue(lower, existing->keptText);
        return;
    }

    auto* variable = new ConfigVariable;
    variable->type = type;
    variable->readOnly = readOnly;
    variable->save = save;
    variable->storage = type == ConfigVariableCommand ? nullptr : storage;
    variable->defaultText = defaultText;
    variable->commandIdle = type == ConfigVariableCommand;
    variable->trackChanges = trackChanges;
    variable->changed = trackChanges;
    variables[lower] = variable;
    ResetToDefault(lower);

    auto held = heldBackLines.find(lower);
    if (held != heldBackLines.end()) {
        std::string line = held->second;
        heldBackLines.erase(held);
        Execute(line);
    }
}

void Config::Unbind(const std::string& name) {
    std::string lower = ToLowerCopy(name);
    ConfigVariable* variable = FindBound(lower);
    if (variable == nullptr)
        return;
    variable->keptText = GetValueText(lower);
    variable->unbound = true;
    variable->storage = nullptr;
}

void Config::Store(const std::string& name, ConfigVariable& variable, const std::string& text) {
    bool valid = true;
    switch (variable.type) {
    case ConfigVariableInt:
    case ConfigVariableBool:
        valid = StartsWithNumber(text, false);
        break;
    case ConfigVariableFloat:
        valid = StartsWithNumber(text, true) && std::isfinite(ParseFloat(text));
        break;
    default:
        break;
    }
    if (!valid) {
        Log()->Warning("Value \"" + text + "\" of \"" + name + "\" is not " + TypeName(variable.type) +
                       ", it keeps " + GetValueText(name));
        return;
    }
    switch (variable.type) {
    case ConfigVariableInt:
        *static_cast<int32_t*>(variable.storage) = ParseInt(text, 10);
        break;
    case ConfigVariableFloat:
        *static_cast<float*>(variable.storage) = ParseFloat(text);
        break;
    case ConfigVariableBool:
        *static_cast<bool*>(variable.storage) = ParseBool(text);
        break;
    case ConfigVariableString:
        *static_cast<std::string*>(variable.storage) = text;
        break;
    case ConfigVariableCommand:
        break;
    }
}

void Config::SetValue(const std::string& name, const std::string& text) {
    std::string lower = ToLowerCopy(name);
    if (ConfigVariable* variable = FindBound(lower))
        Store(lower, *variable, text);
}

std::string Config::GetValueText(const std::string& name) const {
    ConfigVariable* variable = Find(ToLowerCopy(name));
    if (variable == nullptr)
        return std::string();
    if (variable->unbound)
        return variable->keptText;
    switch (variable->type) {
    case ConfigVariableInt:
        return IntToText(*static_cast<const int32_t*>(variable->storage));
    case ConfigVariableFloat:
        return FloatToText(*static_cast<const float*>(variable->storage), 6);
    case ConfigVariableBool:
        return BoolToText(*static_cast<const bool*>(variable->storage));
    case ConfigVariableString:
        return *static_cast<const std::string*>(variable->storage);
    case ConfigVariableCommand:
        break;
    }
    return std::string();
}

std::string Config::GetDefaultText(const std::string& name) const {
    ConfigVariable* variable = Find(ToLowerCopy(name));
    return variable != nullptr ? variable->defaultText : std::string();
}

void Config::ResetToDefault(const std::string& name) {
    std::string lower = ToLowerCopy(name);
    ConfigVariable* variable = FindBound(lower);
    if (variable == nullptr)
        return;
    Store(lower, *variable, variable->defaultText);
    variable->commandIdle = variable->type == ConfigVariableCommand;
}

void Config::ResetAll() {
    for (auto& [name, variable] : variables)
        if (!variable->readOnly)
            ResetToDefault(name);
}

void Config::SetCommandIdle(const std::string& name, bool idle) {
    if (ConfigVariable* variable = FindBound(ToLowerCopy(name)))
        variable->commandIdle = idle;
}

bool Config::IsCommandIdle(const std::string& name) const {
    ConfigVariable* variable = FindBound(ToLowerCopy(name));
    return variable != nullptr && variable->commandIdle;
}

bool Config::IsChanged(const std::string& name) const {
    ConfigVariable* variable = Find(ToLowerCopy(name));
    return variable != nullptr && variable->changed;
}

ConfigExecuteResult Config::Execute(const std::string& line, std::string* outName) {
    std::string text = line;
    Trim(text);
    TrimLeftChar(text, '\\');
    // Pairs of blanks vanish (an odd run leaves one): long-standing behaviour that stored files rely on.
    EraseAll(text, "  ");
    if (text.empty())
        return ConfigExecuteEmpty;

    std::string name;
    size_t at = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (IsBlank(c) || c == '\\') {
            if (!name.empty())
                break;
            continue;
        }
        name += c;
    }
    ToLower(name);
    if (outName != nullptr)
        *outName = name;

    ConfigVariable* variable = FindBound(name);
    if (variable == nullptr)
        return ConfigExecuteUnknown;
    if (variable->type == ConfigVariableCommand) {
        variable->commandIdle = false;
        return ConfigExecuteDone;
    }

    // The argument runs to the end of the line or to a pair of backslashes, which starts a remark; the
    // character that ended the name may be the first of that pair.
    std::string argument =
        at < text.size() ? text.substr(text.compare(at, 2, "\\\\") == 0 ? at : at + 1) : std::string();
    size_t remark = argument.find("\\\\");
    if (remark != std::string::npos)
        argument.erase(remark);
    Trim(argument);
    if (argument.empty())
        return ConfigExecuteQuery;
    if (variable->readOnly)
        return ConfigExecuteReadOnly;
    Store(name, *variable, argument);
    return ConfigExecuteDone;
}

void Config::ListNames(std::vector<std::string>& names) const {
    names.clear();
    for (const auto& [name, variable] : variables)
        if (!variable->unbound)
            names.push_back(name);
}

void Config::Update() {
    if (!resetCommand->unbound && !resetCommand->commandIdle) {
        resetCommand->commandIdle = true;
        ResetAll();
    }
    for (auto& [name, variable] : variables) {
        if (!variable->trackChanges || variable->unbound || variable->type == ConfigVariableCommand)
            continue;
        bool differs = false;
        switch (variable->type) {
        case ConfigVariableInt: {
            int32_t value = *static_cast<const int32_t*>(variable->storage);
            differs = value != variable->lastInt;
            variable->lastInt = value;
            break;
        }
        case ConfigVariableFloat: {
            float value = *static_cast<const float*>(variable->storage);
            differs = std::fabs(value - variable->lastFloat) > 0.0001f;
            if (differs)
                variable->lastFloat = value;
            break;
        }
        case ConfigVariableBool: {
            bool value = *static_cast<const bool*>(variable->storage);
            differs = value != variable->lastBool;
            variable->lastBool = value;
            break;
        }
        case ConfigVariableString: {
            const std::string& value = *static_cast<const std::string*>(variable->storage);
            differs = value != variable->lastString;
            if (differs)
                variable->lastString = value;
            break;
        }
        case ConfigVariableCommand:
            break;
        }
        if (differs)
            variable->changed = true;
    }
}

void Config::ClearChangedFlags() {
    for (auto& entry : variables)
        entry.second->changed = false;
}

void Config::Load() {
    ResetAll();
    heldBackLines.clear();
    try {
        std::unique_ptr<FileTextual> file(OpenSettingsForReading(settingsPath));
        std::string line;
        while (file->ReadLine(line, true, false)) {
            std::string name;
            if (Execute(line, &name) == ConfigExecuteUnknown)
                heldBackLines.emplace(name, line); // a name already held back keeps its first line
        }
    } catch (const FileError&) {
        // No settings file yet: every variable keeps its default.
    }
    if (forceDefaultVideoMode)
        ResetToDefault("v_mode");
    if (forceDefaultFullscreen)
        ResetToDefault("v_fullscreen");
}

void Config::Save() {
    // Built whole first, then put in place of the older file in one step: a kill or a full disk half-way
    // must never cost the user the settings already saved.
    std::string text;
    for (const auto& [name, variable] : variables) {
        if (!variable->save || variable->readOnly || variable->type == ConfigVariableCommand)
            continue;
        text += name + " " + GetValueText(name) + "\r\n";
    }
    ReplaceFileContent(settingsPath, text.data(), text.size());
}

void ParseVideoMode(const std::string& text, uint32_t* width, uint32_t* height, uint32_t* bits) {
    size_t first = text.find_first_of("xX");
    size_t second = first == std::string::npos ? std::string::npos : text.find_first_of("xX", first + 1);
    uint32_t w = 640;
    uint32_t h = 480;
    uint32_t b = 16;
    if (second != std::string::npos) {
        w = ParseUInt(text.substr(0, first), 10);
        h = ParseUInt(text.substr(first + 1, second - first - 1), 10);
        b = ParseUInt(text.substr(second + 1), 10);
    }
    if (width != nullptr)
        *width = w;
    if (height != nullptr)
        *height = h;
    if (bits != nullptr)
        *bits = b;
}

} // namespace OrvexEngine
