#include "tools/gen/MeshPlacement.h"

namespace VbGen {

VbAssets::Mesh Placed(VbAssets::Mesh mesh, const VbAssets::Float3& at) {
    VbAssets::Translate(mesh, at);
    return mesh;
}

VbAssets::Mesh Beam(const VbAssets::Float3& min, const VbAssets::Float3& max, float bevel) {
    return Placed(VbAssets::BevelBox({max[0] - min[0], max[1] - min[1], max[2] - min[2]}, bevel),
                  {(min[0] + max[0]) / 2, (min[1] + max[1]) / 2, (min[2] + max[2]) / 2});
}

} // namespace VbGen
