// The blocks: for every type described in content/game_objects/blocks/, its model, its collision model when
// it asks for one, its fragment models (pieces of the block in block space, also for fake fragments, which
// take their size and place from them), its pictures, the ten common debris stones, and the particle
// systems every block takes from the game's keeper (creation, destruction, explosion).
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class BlocksRecipe final : public Recipe {
public:
    std::string Family() const override { return "blocks"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
