// ctest-label: core
#include "engine/core/ObjectManager.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

using namespace OrvexEngine;

namespace {

// Counts live instances so that a test sees each object deleted exactly once.
struct Counted {
    explicit Counted(char nameIn) : name(nameIn) { ++alive; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    virtual ~Counted() { --alive; }
    char name;
    static inline int alive = 0;
};

// The slots as letters, "." for an empty one.
std::string Slots(const ObjectManager<Counted>& manager) {
    std::string text;
    for (const Counted* object : manager.GetObjects())
        text += object != nullptr ? object->name : '.';
    return text;
}

} // namespace

// Scripts of "+X" (add a new object X) and "-X" (remove X and delete it), then the slots expected.
TEST(ObjectManager, ReusesFreedSlotsLastFirstAndCompactsBelowHalf) {
    struct Case {
        const char* script;
        const char* slots;
    };
    const Case cases[] = {
        {"+A +B +C -B +D", "ADC"},
        {"+A +B +C +D -D -C", "AB.."},           // 2 x 2 is still at least 4: holes stay
        {"+A +B +C +D -D -C -B", "A"},           // 1 x 2 < 4: compacted, nothing left to reuse
        {"+A +B +C +D -D -C -B +E", "AE"},       // appended: the freed indices were forgotten
        {"+A -A", ""},                           // removing the only object leaves nothing
        {"+A +B +C +D +E -B -C +F +G", "AGFDE"}, // C's slot first, then B's
        {"+A +B +C +D -A -C +E", ".BED"},        // 2 live of 4 slots: no compaction, C's slot reused
        {"+A +B +C +D +E -A -E -C", "BD"},       // compaction keeps the order of the live objects
    };
    for (const Case& c : cases) {
        {
            ObjectManager<Counted> manager;
            std::map<char, Counted*> byName;
            std::istringstream script(c.script);
            std::string step;
            while (script >> step) {
                if (step[0] == '+') {
                    byName[step[1]] = new Counted(step[1]);
                    manager.Add(byName[step[1]]);
                } else {
                    ASSERT_TRUE(manager.Remove(byName[step[1]])) << c.script;
                    delete byName[step[1]];
                }
            }
            EXPECT_EQ(Slots(manager), c.slots) << c.script;
            int live = 0;
            for (const Counted* object : manager.GetObjects())
                live += object != nullptr ? 1 : 0;
            EXPECT_EQ(manager.GetCount(), live) << c.script;
        }
        EXPECT_EQ(Counted::alive, 0) << c.script; // the destructor deleted every live object once
    }
}

TEST(ObjectManager, IgnoresNullAndObjectsItDoesNotHold) {
    ObjectManager<Counted> manager;
    Counted* a = new Counted('A');
    Counted stranger('S');
    manager.Add(a);
    manager.Add(nullptr);
    EXPECT_FALSE(manager.Remove(nullptr));
    EXPECT_FALSE(manager.Remove(&stranger));
    EXPECT_EQ(Slots(manager), "A");
    EXPECT_EQ(manager.GetCount(), 1);

    EXPECT_TRUE(manager.Remove(a));
    EXPECT_FALSE(manager.Remove(a)); // a second removal finds nothing
    delete a;
}

TEST(ObjectManager, PointerVectorHelpers) {
    std::vector<Counted*> objects = {new Counted('A'), nullptr, new Counted('B'), nullptr, new Counted('C')};
    std::vector<Counted*> copy = objects;
    RemoveNullPointers(copy);
    ASSERT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy[0]->name, 'A');
    EXPECT_EQ(copy[1]->name, 'B');
    EXPECT_EQ(copy[2]->name, 'C');

    ClearPointers(copy);
    EXPECT_EQ(copy, std::vector<Counted*>(3, nullptr));
    EXPECT_EQ(Counted::alive, 3); // clearing deletes nothing

    DeletePointerVector(objects);
    EXPECT_TRUE(objects.empty());
    EXPECT_EQ(Counted::alive, 0);
}
