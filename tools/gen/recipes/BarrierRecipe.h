// The barrier behind the bat, in world coordinates: two posts at the field's sides (x -77 and 77, y -87)
// whose winch drums turn once while a rope is laid (16 frames), and three ropes at heights 5, 6.5 and 8
// that grow from the left post to the right one over 16 frames. Rope 0's box at its last frame, y -87.5 to
// -86.5, is the line a ball bounces on.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class BarrierRecipe final : public Recipe {
public:
    std::string Family() const override { return "barrier"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
