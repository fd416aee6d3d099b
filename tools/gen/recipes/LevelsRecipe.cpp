#include "tools/gen/recipes/LevelsRecipe.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/LevelGeometryWriter.h"
#include "tools/gen/BlockCatalogue.h"
#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"
#include "tools/gen/LevelCompiler.h"

#include <algorithm>
#include <filesystem>
#include <regex>

namespace VbGen {

namespace fs = std::filesystem;

void LevelsRecipe::Run(const RecipeContext& context) const {
    const fs::path folder = fs::path(context.contentDir) / "levels" / "designs";
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return;
    std::vector<fs::path> designs;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".lvl")
            designs.push_back(entry.path());
    std::sort(designs.begin(), designs.end());
    if (designs.empty())
        return;

    // Designs are built from the block types; a content tree without block descriptions has no levels.
    const std::map<std::string, BlockType> types = ReadBlockCatalogue(context.contentDir);
    if (types.empty())
        return;
    // The game derives each level's file name from its place: stage and level, two digits each at least.
    static const std::regex pattern("[0-9]{2,}_[0-9]{2,}");
    for (const fs::path& design : designs) {
        const std::string where = "content/levels/designs/" + design.filename().string();
        const std::string stem = design.stem().string();
        if (!std::regex_match(stem, pattern))
            throw GenError(where + ": a design is named after its stage and level, as in 00_02.lvl");
        const std::vector<uint8_t> bytes = ReadBytes(design.string());
        const VbFormats::LevelGeometry level =
            CompileLevel(std::string(bytes.begin(), bytes.end()), where, types);
        try {
            context.out->Write("levels_geometry\\" + stem + ".vbg",
                               VbFormats::LevelGeometryWriter::Write(level));
        } catch (const VbFormats::FormatError& failure) {
            throw GenError(where + ": " + failure.what());
        }
    }
}

} // namespace VbGen
