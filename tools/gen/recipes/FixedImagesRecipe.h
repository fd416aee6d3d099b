// The images the game opens by a fixed name rather than through a resource list. So far the plain white
// picture the logos window tints for its backdrop (common\empty.tga).
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class FixedImagesRecipe final : public Recipe {
public:
    std::string Family() const override { return "fixed_images"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
