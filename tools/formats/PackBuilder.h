// Lays out the game's data folder from a staged loose tree and a pack plan: each plan line names an
// output ("pack0.pak", or "loose") and the folders ("ui\") and files it takes. Every staged file must match
// exactly one line; packs are rewritten only when their bytes change, and every file of the output folder
// the plan places but this run does not produce is deleted, so no stale loose copy can shadow a packed
// member. A folder holding anything else is refused. Used by vb_pack
// and by tests; one object per plan.
#pragma once

#include "tools/formats/PackWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

class PackBuilder {
public:
    struct Line {
        std::string output;                // a pack file name, or "loose"
        std::vector<std::string> patterns; // lower-case, "\"-separated; a trailing "\" names a folder
    };
    struct Report {
        int written = 0;   // files whose bytes changed or that were new
        int unchanged = 0; // files left alone because their bytes were the same
        int deleted = 0;   // files of the output folder that the plan does not produce
    };

    // Plan text: one line per output, "#" starts a comment. Throws FormatError for a malformed line.
    explicit PackBuilder(const std::string& planText);
    static PackBuilder FromFile(const std::string& planPath);

    // The output of the one line that takes the member name; throws FormatError for none or several.
    const std::string& OutputOf(const std::string& memberName) const;

    // packed: packs plus loose files as the plan says; otherwise the staged tree copied as it is.
    // Throws FormatError when a staged file matches no line or several, or a pack exceeds maxPackSize; and,
    // before anything is written or deleted, when the output folder holds a file the plan does not place.
    Report LayOut(const std::string& stagedDir, const std::string& outDir, bool packed,
                  uint32_t maxPackSize = 16u << 20) const;

    const std::vector<Line>& Lines() const { return lines; }
    // True for a file this plan can put in an output folder: a pack it names, a file one of its lines
    // takes, or the temporary copy of either.
    bool Places(const std::string& name) const;

private:
    std::vector<Line> lines;
};

// Every file below folder, as pack members named by their path relative to it (lower-cased).
PackWriter PackFolder(const std::string& folder);

// Writes every member of the pack below outDir, "\" turned into folders. Throws FormatError.
void ExtractPack(const std::string& packPath, const std::string& outDir);

// The member name of a file below a folder: relative path, lower-case, "\"-separated.
std::string MemberNameOf(const std::string& folder, const std::string& file);

} // namespace VbFormats
