#include "tools/gen/Generate.h"

#include "tools/gen/GenError.h"
#include "tools/gen/recipes/BackgroundRecipe.h"
#include "tools/gen/recipes/BallsRecipe.h"
#include "tools/gen/recipes/BarrierRecipe.h"
#include "tools/gen/recipes/BatRecipe.h"
#include "tools/gen/recipes/BlocksRecipe.h"
#include "tools/gen/recipes/BonusesRecipe.h"
#include "tools/gen/recipes/ContentRecipe.h"
#include "tools/gen/recipes/EnvironmentRecipe.h"
#include "tools/gen/recipes/FixedImagesRecipe.h"
#include "tools/gen/recipes/FontsRecipe.h"
#include "tools/gen/recipes/GameplayParticlesRecipe.h"
#include "tools/gen/recipes/GuiArtRecipe.h"
#include "tools/gen/recipes/GunsRecipe.h"
#include "tools/gen/recipes/HammerRecipe.h"
#include "tools/gen/recipes/LevelsRecipe.h"
#include "tools/gen/recipes/MapRecipe.h"
#include "tools/gen/recipes/SoundsRecipe.h"
#include "tools/gen/recipes/StageSceneryRecipe.h"
#include "tools/gen/recipes/TextsRecipe.h"

#include <filesystem>
#include <memory>

namespace VbGen {

namespace fs = std::filesystem;

namespace {

// Every recipe, in the order they run. A new family is one more line here.
std::vector<std::unique_ptr<Recipe>> MakeRecipes() {
    std::vector<std::unique_ptr<Recipe>> recipes;
    recipes.push_back(std::make_unique<ContentRecipe>());
    recipes.push_back(std::make_unique<FontsRecipe>());
    recipes.push_back(std::make_unique<TextsRecipe>());
    recipes.push_back(std::make_unique<GuiArtRecipe>());
    recipes.push_back(std::make_unique<BackgroundRecipe>());
    recipes.push_back(std::make_unique<FixedImagesRecipe>());
    recipes.push_back(std::make_unique<SoundsRecipe>());
    recipes.push_back(std::make_unique<BlocksRecipe>());
    recipes.push_back(std::make_unique<BallsRecipe>());
    recipes.push_back(std::make_unique<BatRecipe>());
    recipes.push_back(std::make_unique<GameplayParticlesRecipe>());
    recipes.push_back(std::make_unique<BonusesRecipe>());
    recipes.push_back(std::make_unique<GunsRecipe>());
    recipes.push_back(std::make_unique<HammerRecipe>());
    recipes.push_back(std::make_unique<BarrierRecipe>());
    recipes.push_back(std::make_unique<EnvironmentRecipe>());
    recipes.push_back(std::make_unique<StageSceneryRecipe>());
    recipes.push_back(std::make_unique<LevelsRecipe>());
    recipes.push_back(std::make_unique<MapRecipe>());
    return recipes;
}

bool IsWithin(const fs::path& inner, const fs::path& outer) {
    fs::path relative = inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != "..";
}

// The staged tree is cleared of whatever the run does not produce: never let that reach a folder that
// holds anything else of value.
void CheckOutputFolder(const std::string& contentDir, const std::string& outDir) {
    std::error_code error;
    fs::path out = fs::weakly_canonical(fs::absolute(outDir, error), error);
    fs::path content = fs::weakly_canonical(fs::absolute(contentDir, error), error);
    if (outDir.empty() || out == out.root_path() || IsWithin(content, out) || IsWithin(out, content))
        throw GenError("refusing to generate into " + outDir + " (a root, the content folder or around it)");
    // An existing folder must be empty or a staged tree already: every staged tree holds the publisher file.
    if (fs::is_directory(out, error) && !fs::is_empty(out, error) &&
        !fs::exists(out / "publisher.xml", error))
        throw GenError("refusing to generate into " + outDir + ": it holds files but no staged data tree");
}

} // namespace

std::vector<std::string> RecipeFamilies() {
    std::vector<std::string> families;
    for (const std::unique_ptr<Recipe>& recipe : MakeRecipes())
        families.push_back(recipe->Family());
    return families;
}

GenerateReport Generate(Profile profile, const std::string& contentDir, const std::string& outDir,
                        const GenerateOptions& options) {
    CheckOutputFolder(contentDir, outDir);
    std::vector<std::unique_ptr<Recipe>> recipes = MakeRecipes();
    if (!options.only.empty()) {
        bool known = false;
        for (const std::unique_ptr<Recipe>& recipe : recipes)
            known = known || recipe->Family() == options.only;
        if (!known)
            throw GenError("no recipe family \"" + options.only + "\"");
    }

    OutputTree out(outDir);
    RecipeContext context;
    context.profile = profile;
    context.contentDir = contentDir;
    context.fontsDir = options.fontsDir;
    context.out = &out;
    for (const std::unique_ptr<Recipe>& recipe : recipes)
        if (options.only.empty() || recipe->Family() == options.only)
            recipe->Run(context);
    // With one family only, the files of the others were not produced this time but are not stale.
    if (options.only.empty())
        out.Prune();

    GenerateReport report;
    report.written = out.Written();
    report.unchanged = out.Unchanged();
    report.deleted = out.Deleted();
    return report;
}

} // namespace VbGen
