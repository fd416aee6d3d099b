// The stage map compiler: turns the map layout (the text of content/ui/map/map_layout.txt) into the icons
// of the map file. One line per level in play order, "X Y [SCALE] [YAW]", in GUI units from the lower-left
// corner of the map window; "#" starts a comment. The icon types come from the level list, not the layout:
// the first level is the start, the first level of every later stage a check point, the last level of the
// game the finish, every other level a path icon, so the map always agrees with the stages.
#pragma once

#include "tools/formats/StageMapWriter.h"

#include <string>
#include <vector>

namespace VbGen {

// The map window's inside, and the strip of buttons along its bottom that icons keep clear of.
constexpr float mapWidth = 640, mapHeight = 400, mapButtonStrip = 70;

// stageLevels: the number of levels of each stage, in order. `where` names the source in error texts.
// Throws GenError with the line and the broken rule: a line that is not two to four numbers, an icon
// outside the window or over the button strip, fewer or more lines than levels.
std::vector<VbFormats::StageMapIcon> CompileStageMap(const std::string& text, const std::string& where,
                                                     const std::vector<uint32_t>& stageLevels);

// The level count of each stage of content/levels/levels.xml. Throws GenError when the file is missing or
// names no level.
std::vector<uint32_t> ReadStageLevels(const std::string& contentDir);

} // namespace VbGen
