// The images the game opens by a fixed name rather than through a resource list: the plain white picture the
// logos window tints for its backdrop (common\empty.tga), the two splash pictures (company first, then the
// game), the small publisher logo of the menus and the custom cursor, each of the last two as a colour JPEG
// and a grey coverage JPEG.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class FixedImagesRecipe final : public Recipe {
public:
    std::string Family() const override { return "fixed_images"; }
    uint32_t Version() const override { return 2; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
