// The menu background below ui\background\: the basic layers (sky, hills, the play field picture) as models in
// GUI units with their pictures and materials, and the additional layers (drifting clouds, two bouncing
// balls, sparks on an animator sweeping along the field). Every layer model has at least two frames, since
// a looped one-frame animation never advances. Hill shapes are seeded from the picture's name.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class BackgroundRecipe final : public Recipe {
public:
    std::string Family() const override { return "background"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
