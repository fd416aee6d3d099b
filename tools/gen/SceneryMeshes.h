// The meshes every stage scenery builds around the field the same way: the rails along its walls and the
// painted backdrop behind it. Shared by the scenery recipes; plain functions over plain values.
#pragma once

#include "tools/assets/Mesh.h"

namespace VbGen {

// The rail along the three walls of the field as the walls of field.vbf lie: left, right and far; it stands
// on z 0, height tall.
VbAssets::Mesh WallRails(float height, float bevel);

// The painted arc behind the scenery: a part of a circle about the camera's foot, facing it, unlit.
VbAssets::Mesh BackdropArc();

} // namespace VbGen
