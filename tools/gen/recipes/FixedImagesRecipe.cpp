#include "tools/gen/recipes/FixedImagesRecipe.h"

#include "tools/formats/Picture.h"
#include "tools/formats/TgaWriter.h"

#include <algorithm>

namespace VbGen {

void FixedImagesRecipe::Run(const RecipeContext& context) const {
    // White, so that the material's colour alone decides the backdrop's tint.
    VelmoraFormats::Picture empty(8, 8, 3);
    std::fill(empty.pixels.begin(), empty.pixels.end(), uint8_t{255});
    context.out->Write("common\\empty.tga", VelmoraFormats::WriteTga(empty));
}

} // namespace VbGen
