// The storage of the engine core's settings, one field per configuration variable (named after it). Held
// inside Config; the render system, texture images and the game's video windows keep a pointer to it for
// the life of the engine and read or write the fields directly, so per-frame readers never look names up.
#pragma once

#include <cstdint>
#include <string>

namespace OrvexEngine {

struct EngineSettings {
    std::string vMode;                  // "v_mode": "<width>x<height>x<bits>", or "desktop"
    bool vFullscreen = false;           // "v_fullscreen"
    bool vVsync = true;                 // "v_vsync"
    float vBrightness = 1.0f;           // "v_brightness"
    float vContrast = 1.0f;             // "v_contrast"
    float vGamma = 1.0f;                // "v_gamma"
    bool rUseMipMapping = true;         // "r_use_mip_mapping"
    bool rShowOctreeNodes = false;      // "r_show_octree_nodes"
    bool rShowFacesEdges = false;       // "r_show_faces_edges"
    bool rShowFacesNormals = false;     // "r_show_faces_normals"
    bool rShowMipMaps = false;          // "r_show_mip_maps"
    int32_t rTextureAnisotropy = 1;     // "r_texture_anisotropy"
    bool cInvertMouse = false;          // "c_invert_mouse"
    int32_t scTakeScreenshotFormat = 0; // "sc_take_screenshot_format"
};

} // namespace OrvexEngine
