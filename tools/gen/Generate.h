// The data generator's entry: makes the staged data tree (the loose form of data\, before packing) from the
// hand-written content and the recipes. Deterministic: the same inputs give the same bytes on every run.
// Incremental: files whose bytes are unchanged keep their timestamps. Used by vb_datagen and by tests.
#pragma once

#include "tools/gen/Recipe.h"

#include <string>
#include <vector>

namespace VbGen {

struct GenerateOptions {
    std::string fontsDir; // the DejaVu fonts' folder, for the font recipes
    std::string only;     // one recipe family; empty: every family, and stale files are removed
};

struct GenerateReport {
    int written = 0;   // files new or changed
    int unchanged = 0; // files that already held the same bytes
    int deleted = 0;   // stale files removed (only when every family ran)
};

// Throws GenError when a source breaks a rule, an output cannot be written, the family of options.only
// does not exist, or outDir is a place the generator must not clear: a root, the content, a folder around
// or inside it, or a non-empty folder without "publisher.xml" (which every staged tree holds).
GenerateReport Generate(Profile profile, const std::string& contentDir, const std::string& outDir,
                        const GenerateOptions& options = {});

// The recipe families in the order they run.
std::vector<std::string> RecipeFamilies();

} // namespace VbGen
