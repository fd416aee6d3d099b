// The stage map file ("GFGMF" 100): the icons of the map window in the order of play, each with its type and
// its placement in GUI units relative to the map window, and the level each stands for, counted while
// reading: every check point opens the next stage and is its level 0. Read once by the map window; a file
// whose size does not match its count is refused before anything is made from it.
#pragma once

#include "engine/math/Matrix4.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VelmoraBall {

struct StageMapElement {
    uint32_t type = 0; // 0 start, 1 finish, 2 check point, 3 path; other values are kept and drawn as nothing
    OrvexEngine::Matrix4 placement;
    uint32_t stage = 0;
    uint32_t levelIndex = 0;
};

class StageMapFile {
public:
    static constexpr uint32_t typeStart = 0, typeFinish = 1, typeCheckPoint = 2, typePath = 3;
    static constexpr uint32_t elementSize = 68;

    // path: the file manager's name ("data\\ui\\map\\map.gmf"). Throws FileError: the file layer's, the
    // header's, or "Incorrect "path" file format" when the size is not 17 + 68 x count.
    static std::vector<StageMapElement> Read(const std::string& path);
};

} // namespace VelmoraBall
