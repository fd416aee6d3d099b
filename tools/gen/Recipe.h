// One family of generated data (fixed images, fonts, sounds...): it reads what it needs from content\ and
// writes its files into the staged tree. Generate runs every recipe in a fixed order; each is a stateless
// object made once per run. A recipe changes its Version when its output changes for the same inputs.
#pragma once

#include "tools/gen/OutputTree.h"

#include <cstdint>
#include <string>

namespace VbGen {

enum class Profile {
    Full,    // the shipped data set
    Minimal, // every name the game looks up, with placeholder art: fast, for tests that need a whole tree
};

struct RecipeContext {
    Profile profile = Profile::Full;
    std::string contentDir;    // the hand-written sources
    std::string fontsDir;      // the folder of the free system fonts; empty when no recipe needs it
    OutputTree* out = nullptr; // not owned
};

class Recipe {
public:
    virtual ~Recipe() = default;

    // The family's name for --only, lower-case ("content", "fixed_images").
    virtual std::string Family() const = 0;
    virtual uint32_t Version() const = 0;
    // Writes the family's files; throws GenError naming the source and the rule it breaks.
    virtual void Run(const RecipeContext& context) const = 0;
};

} // namespace VbGen
