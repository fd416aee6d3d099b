// The record the application fills and hands to the Engine: titles, folders, log and settings choices,
// the default video mode and window placement. Plain values, copied member by member.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

struct EngineStartupParams {
    std::string title;             // empty: "Orvex Engine", version 67
    int32_t version = 0;           // shown as version / 100 "." version % 100
    std::string baseDirectory;     // root of the file manager
    bool saveConfigOnExit = false; // the Engine's destructor writes the settings file first
    std::string configName;        // settings file base name
    bool logEnabled = false;
    bool logReopenPerMessage = false;
    std::string logDirectory;
    std::string logName; // empty: the title
    std::string configDirectory;
    bool usePacks = true;
    std::string dataDirectory;      // below the base directory
    uint32_t maxMemoryFileSize = 0; // packs no larger than this are held in memory whole
    uint32_t parentWindow = 0;      // parent window when embedded
    uint32_t iconResource = 0;
    bool forceDefaultVideoMode = false;
    std::string defaultVideoMode = "800x600x32";
    bool forceDefaultFullscreen = false;
    bool defaultFullscreen = false;
    bool allowOversizedWindow = false;
    bool useStencilBuffer = false;
    bool centerWindow = false;
    Vec2i windowPosition;
    bool sound3D = false;
};

} // namespace OrvexEngine
