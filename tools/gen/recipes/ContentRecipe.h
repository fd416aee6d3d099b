// Copies the hand-written data files of content\ into the staged tree at the same relative place
// (content/ui/windows/x.xml becomes ui\windows\x.xml). Only XML is data as written; every other file in
// content\ (pack plan, level designs, sound lists, the player's guide) is the source of another step.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class ContentRecipe final : public Recipe {
public:
    std::string Family() const override { return "content"; }
    uint32_t Version() const override { return 1; }
    // Throws GenError for a data file whose name is not lower-case (pack members and listings are).
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
