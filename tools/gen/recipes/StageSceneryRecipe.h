// The scenery of the second and third stages: the coast (a stone pier at sunset with water, a lighthouse
// and boats) and the forge (an iron foundry with lava, gear wheels and chimneys), each written when its
// description content/environment/<env>.xml exists. Every model lies in world units around the play field
// and within the camera's reach; the ground pictures are DXT1 DDS, the rest PNG.
#pragma once

#include "tools/gen/Recipe.h"

namespace VbGen {

class StageSceneryRecipe final : public Recipe {
public:
    std::string Family() const override { return "stage_scenery"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
