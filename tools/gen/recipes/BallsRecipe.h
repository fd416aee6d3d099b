// The two balls: smooth spheres centred on the origin (the game takes the radius from the box), a marbled
// blue-white simple ball of radius 2.5 and a golden super ball of radius 3 with a band of stars. The
// game's keeper and every level's keeper (for the ball keepers) load them.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class BallsRecipe final : public Recipe {
public:
    std::string Family() const override { return "balls"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
