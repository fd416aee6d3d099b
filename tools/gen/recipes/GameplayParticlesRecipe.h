// The particle systems of play other than the blocks' own: the balls' hit sparks and trails, the bat's
// burst, the bonuses' catch and end-level sparkles, the bolts' trails and the chips of a bolt that hits,
// with their sprites; and the two flare pictures drawn under the balls and the falling bonuses.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class GameplayParticlesRecipe final : public Recipe {
public:
    std::string Family() const override { return "gameplay_particles"; }
    uint32_t Version() const override { return 2; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
