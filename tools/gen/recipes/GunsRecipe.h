// The two guns a bonus mounts on the bat and their bolts, in the bat's frame on top of its hull: each gun
// rises out of the hull growing from a twentieth of its size and unfolds its limbs (frames 0-33 of the
// arbalest's 41, 0-19 of the ballista's 26), then snaps its limbs forward and back for a shot and ends in
// the loaded pose; each bolt slides forward onto the gun in 8 frames and stands in the pose it flies in.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class GunsRecipe final : public Recipe {
public:
    std::string Family() const override { return "guns"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
