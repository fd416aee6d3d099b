#include "tools/gen/SceneryMeshes.h"

#include "tools/gen/MeshPlacement.h"

#include <cmath>

namespace VbGen {

using VbAssets::Float3;
using VbAssets::Mesh;

Mesh WallRails(float height, float bevel) {
    Mesh rails = Beam({-85, -95, 0}, {-75, 110, height}, bevel);
    rails.Append(Beam({75, -95, 0}, {85, 110, height}, bevel));
    rails.Append(Beam({-85, 100, 0}, {85, 110, height}, bevel));
    return rails;
}

Mesh BackdropArc() {
    Mesh backdrop;
    const float radius = 680, cy = -140, z0 = -10, z1 = 260;
    const int steps = 24;
    const float spread = std::asin(650 / radius);
    for (int i = 0; i < steps; ++i) {
        const float a0 = -spread + 2 * spread * float(i) / steps,
                    a1 = -spread + 2 * spread * float(i + 1) / steps;
        const Float3 p0{radius * std::sin(a0), cy + radius * std::cos(a0), 0};
        const Float3 p1{radius * std::sin(a1), cy + radius * std::cos(a1), 0};
        const float u0 = float(i) / steps, u1 = float(i + 1) / steps;
        backdrop.AddQuad({p0[0], p0[1], z0}, {p1[0], p1[1], z0}, {p1[0], p1[1], z1}, {p0[0], p0[1], z1},
                         {u0, 0}, {u1, 0}, {u1, 1}, {u0, 1});
    }
    return backdrop;
}

} // namespace VbGen
