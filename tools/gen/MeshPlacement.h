// Meshes put in place for the model recipes: a mesh moved by an offset, and a bevelled box spanning two
// corners. Plain functions over plain values.
#pragma once

#include "tools/assets/Mesh.h"

namespace VbGen {

// The mesh moved by at.
VbAssets::Mesh Placed(VbAssets::Mesh mesh, const VbAssets::Float3& at);
// A box between two corners, its edges bevelled by bevel.
VbAssets::Mesh Beam(const VbAssets::Float3& min, const VbAssets::Float3& max, float bevel);

} // namespace VbGen
