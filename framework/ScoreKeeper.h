// A level's score: the points of each scoring event, times a multiplier, summed into a total. The level in
// play owns one; blocks and the level's bonus catch add events to it.
#pragma once

#include <cstdint>
#include <map>

namespace GameFramework {

class ScoreKeeper {
public:
    explicit ScoreKeeper(int initialTotal = 0) : total(initialTotal) {}
    virtual ~ScoreKeeper() = default;

    // The first registration of an event wins; later ones leave its points alone.
    void SetPoints(uint32_t eventId, int points) { this->points.emplace(eventId, points); }
    // The event's points times the multiplier; 0 for an event without points.
    int GetPoints(uint32_t eventId) const {
        const auto found = points.find(eventId);
        return found != points.end() ? found->second * multiplier : 0;
    }
    void AddScore(uint32_t eventId, int count) { total += GetPoints(eventId) * count; }

    int GetTotal() const { return total; }
    void SetTotal(int value) { total = value; }
    int GetMultiplier() const { return multiplier; }

private:
    std::map<uint32_t, int> points;
    int multiplier = 1;
    int total = 0;
};

} // namespace GameFramework
