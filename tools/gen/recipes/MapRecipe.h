// The stage map: map.gmf compiled from the layout and the level list, the map picture with a winding road
// through the icons' places over the three stages' lands, and the four icon models (start, finish, check
// point, path) with their six looks: open, before the selection, hover, selected, preview and shadow.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class MapRecipe final : public Recipe {
public:
    std::string Family() const override { return "map"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
