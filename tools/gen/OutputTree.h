// The staged data tree the generator fills: files are named as the game names them below "data\"
// ("ui\fonts\fonts_basic.xml"), written only when their bytes change, and counted. After a complete run
// Prune removes whatever no recipe produced, so a file dropped from the sources cannot linger in a pack.
// Created by Generate for one run; any number may exist.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace VbGen {

class OutputTree {
public:
    explicit OutputTree(std::string root);

    // name: relative, lower-case, "\"-separated. Throws GenError for a name the packs could not hold or one
    // written twice in a run (two recipes claiming one file is a mistake in the recipes).
    void Write(const std::string& name, const std::vector<uint8_t>& bytes);
    void Write(const std::string& name, const std::string& text);

    // Deletes every file below the root that this run did not write, then the folders left empty.
    void Prune();

    const std::string& Root() const { return root; }
    const std::set<std::string>& Produced() const { return produced; }
    int Written() const { return written; }
    int Unchanged() const { return unchanged; }
    int Deleted() const { return deleted; }

private:
    std::string root;
    std::set<std::string> produced; // names written in this run
    int written = 0;
    int unchanged = 0;
    int deleted = 0;
};

} // namespace VbGen
