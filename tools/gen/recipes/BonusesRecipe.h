// The eleven falling bonuses: a rounded tile standing on its edge with the kind's icon on both faces,
// spinning once about the vertical in 24 frames as it bobs; the icons share one picture of 4 x 4 cells,
// and one texture pack names each kind's cell in it.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class BonusesRecipe final : public Recipe {
public:
    std::string Family() const override { return "bonuses"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
