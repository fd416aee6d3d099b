// The play field and its surroundings: the walls of environment\field.vbf (compiled from
// content/environment/field.txt), the lights of environment\lighting\lighting.ini that every level shares,
// and the scenery models and pictures of each environment whose description content/environment/<env>.xml
// exists and whose recipe the generator knows (meadow so far).
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class EnvironmentRecipe final : public Recipe {
public:
    std::string Family() const override { return "environment"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
