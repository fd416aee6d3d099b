// Picks identifiers at random in proportion to their integer weights, never letting one entry come out
// more than a set number of times in a row when another can. Owned by whoever creates it (the bonus
// manager chooses bonus kinds with one); many instances. Draws come from the engine's random generator.
#pragma once

#include <cstdint>
#include <vector>

namespace GameTools {

class RandomSelecter {
public:
    // repeatCap: how many times in a row an entry may come out again after its first time (0: never twice).
    explicit RandomSelecter(uint32_t repeatCap) : repeatCap(repeatCap) {}
    virtual ~RandomSelecter() = default;

    void Add(int32_t id, uint32_t weight);
    // Changes the first entry of that id, or adds one when there is none.
    void SetWeight(int32_t id, uint32_t weight);
    // 0 when there are no entries. Entries of weight 0 come out only when every weight is 0.
    int32_t Select();

    int32_t GetLastIndex() const { return lastIndex; }
    uint32_t GetRepeatCount() const { return repeatCount; }
    uint32_t GetTotalWeight() const { return totalWeight; }

private:
    int32_t Draw() const;

    struct Entry {
        int32_t id = 0;
        uint32_t weight = 0;
    };

    uint32_t repeatCap = 0;
    uint32_t totalWeight = 0;
    std::vector<Entry> entries;
    int32_t lastIndex = -1;
    uint32_t repeatCount = 0;
};

} // namespace GameTools
