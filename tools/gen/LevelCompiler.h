// The level compiler: turns a level design (the text of content/levels/designs/SS_LL.lvl) into the blocks
// of a level geometry file. Positions come from a grid of symbols per layer or from free "at" lines;
// heights from the blocks a block stands on (a block's model is centred, so it rests at the support's top
// plus half its own height); the below and above lists from the footprints that overlap between
// consecutive layers; key frames from named paths (offsets per key frame, or one turn about a point).
// Every rule the game relies on is checked before anything is written.
//
// Design text, one statement per line, "#" starts a comment:
//   anim K SPEED                      key frames of the level animation and key frames per second
//   grid COLUMNS ROWS X0 Y0 DX DY     cell (c, r) has its centre at (X0 + c DX, Y0 - r DY)
//   tex INDEX NAME                    texture table entry (1, 2, ... in order; entry 0 is always empty)
//   sym S TYPE DIFFUSE OPACITY [fixed] [scale SX SY SZ] [yaw DEGREES] [path NAME]
//   layer N                           the following rows of symbols ("." for none) fill layer N
//   at S X Y LAYER                    one block placed freely
//   path NAME                         followed by K lines "DX DY DZ YAW": offsets from the placed pose
//   path NAME orbit CX CY             the placed pose turned once about (CX, CY) over the K key frames
#pragma once

#include "tools/formats/LevelGeometryWriter.h"
#include "tools/gen/BlockCatalogue.h"

#include <map>
#include <string>

namespace VbGen {

// The play area blocks must keep to: inside the walls and clear of the bat.
constexpr float levelMinX = -75, levelMaxX = 75, levelMinY = -40, levelMaxY = 100;

// `where` names the source in error texts. Throws GenError with the line and the broken rule.
VbFormats::LevelGeometry CompileLevel(const std::string& text, const std::string& where,
                                      const std::map<std::string, BlockType>& types);

} // namespace VbGen
