// The level geometry files: every design content/levels/designs/SS_LL.lvl compiled into
// levels_geometry\SS_LL.vbg against the block types of content/game_objects/blocks/ (none without them).
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class LevelsRecipe final : public Recipe {
public:
    std::string Family() const override { return "levels"; }
    uint32_t Version() const override { return 1; }
    // Throws GenError for a design whose name is not SS_LL.lvl or that breaks a rule of the compiler.
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
