// The hammer the player swings over the screen: drawn with the GUI camera, so authored in GUI units with
// the middle of its striking face at the origin; one bone turning about x through the grip swings the head
// down onto that point over frames 0-4 and back up over frames 4-9.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class HammerRecipe final : public Recipe {
public:
    std::string Family() const override { return "hammer"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
