// The bat: a head bar whose length is its animation frame (61 frames, 14 + 0.6 x frame units long, the end
// caps moving out while the middle stretches), a hull it stands on and a rotor spinning on top, all in one
// frame (origin on the ground at the bat's centre, +y towards the blocks), and the pieces each part breaks
// into when a life is lost, each placed where it sits inside its part.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class BatRecipe final : public Recipe {
public:
    std::string Family() const override { return "bat"; }
    uint32_t Version() const override { return 2; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
