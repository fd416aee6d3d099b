// The GUI's pictures and models: panels, the looks of buttons, check boxes, scroll parts and arrows as atlases
// (frame 0 top left, one cell per look), the edit field, ribbon, icons, logo and separator below
// ui\textures\; the unit-sized control models (pop-up quad, ribbon, slide animators) below ui\models\; the
// console background ui\console\console.jpg. Drawn from shapes; nothing random, so nothing to seed.
#pragma once

#include "tools/gen/Recipe.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VbGen {

// One GUI atlas as the resource list declares it: the material's frames lie in a grid of cells.
struct GuiAtlasLayout {
    std::string name; // "button": ui\textures\button.png and the material ui/button
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t columns = 1;
    uint32_t rows = 1;
    uint32_t frames = 1;
};

// Every picture of ui\textures\, atlases and single pictures (one cell, one frame) alike.
const std::vector<GuiAtlasLayout>& GuiPictures();

class GuiArtRecipe final : public Recipe {
public:
    std::string Family() const override { return "gui_art"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
