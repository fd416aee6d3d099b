#include "tools/gen/recipes/ContentRecipe.h"

#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace VbGen {

namespace fs = std::filesystem;

void ContentRecipe::Run(const RecipeContext& context) const {
    std::error_code error;
    if (!fs::is_directory(context.contentDir, error))
        throw GenError("no content folder at " + context.contentDir);
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(context.contentDir))
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end()); // the same order, so the same first error, on every machine

    for (const fs::path& file : files) {
        std::string name = file.lexically_relative(context.contentDir).generic_string();
        if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
            throw GenError("content/" + name + ": data file and folder names are lower-case");
        std::replace(name.begin(), name.end(), '/', '\\');
        context.out->Write(name, ReadBytes(file.string()));
    }
}

} // namespace VbGen
