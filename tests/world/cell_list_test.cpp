#include "world/cell_list.hpp"
#include "world/world_object.hpp"

#include <gtest/gtest.h>

#include <array>

namespace {

std::vector<const WorldObject*> contents(const CellList& list) {
    std::vector<const WorldObject*> objects;
    for (const CellList* node = &list; node; node = node->next)
        if (node->object) objects.push_back(node->object);
    return objects;
}

size_t nodeCount(const CellList& list) {
    size_t count = 0;
    for (const CellList* node = &list; node; node = node->next) ++count;
    return count;
}

// Objects whose smallest box-edge distance from (0, 0) is the given value.
WorldObject atDistance(u32 distance) {
    WorldObject object;
    object.minX = distance;
    object.maxX = distance + 5000;
    object.minY = distance + 1000;
    object.maxY = distance + 9000;
    return object;
}

} // namespace

TEST(CellListAdd, AppendsEachObjectOnceInOrderOfFirstAddition) {
    WorldObject a, b, c;
    CellList list;
    EXPECT_TRUE(list.empty());
    list.add(&a);
    EXPECT_EQ(nodeCount(list), 1u); // the first node holds it
    list.add(&b);
    list.add(&a);
    list.add(&b);
    list.add(&c);
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&a, &b, &c}));
    EXPECT_EQ(nodeCount(list), 3u); // never an empty node at the end
}

TEST(CellListInsertByDistance, KeepsTheFarthestFirst) {
    WorldObject near = atDistance(100), far = atDistance(300), middle = atDistance(200);
    CellList list;
    list.insertByDistance(&near, 0, 0);
    list.insertByDistance(&far, 0, 0);
    list.insertByDistance(&middle, 0, 0);
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&far, &middle, &near}));

    // An equal distance goes after the ones already listed; a listed object is
    // not inserted again.
    WorldObject alsoMiddle = atDistance(200);
    list.insertByDistance(&alsoMiddle, 0, 0);
    list.insertByDistance(&middle, 0, 0);
    list.insertByDistance(&far, 0, 0);
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&far, &middle, &alsoMiddle, &near}));
    EXPECT_EQ(nodeCount(list), 4u);
}

TEST(CellListInsertByDistance, NearestGoesLastAndFarthestFirstFromAnyPoint) {
    WorldObject a = atDistance(0), b = atDistance(0);
    a.minX = 1000, a.maxX = 2000, a.minY = 1000, a.maxY = 2000;
    b.minX = 5000, b.maxX = 6000, b.minY = 5000, b.maxY = 6000;
    CellList list;
    list.insertByDistance(&a, 1500, 1500); // a is 500 away, b 3500
    list.insertByDistance(&b, 1500, 1500);
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&b, &a}));
}

TEST(BoxDistance, TheSmallestEdgeGapReadAsSigned) {
    WorldObject object;
    object.minX = 1000, object.maxX = 3000, object.minY = 5000, object.maxY = 9000;
    EXPECT_EQ(boxDistance(object, 0, 0), 1000u);
    EXPECT_EQ(boxDistance(object, 2500, 100000), 500u);
    EXPECT_EQ(boxDistance(object, 2000, 8000), 1000u); // inside: the nearest edge
    // Differences are signed 32-bit: a box just below 2^32 is close to 0.
    object.minX = 0xFFFFFF00, object.maxX = 0xFFFFFFFF;
    object.minY = object.maxY = 0x40000000;
    EXPECT_EQ(boxDistance(object, 0, 0), 1u);
    // The most negative difference is 2^31 away, not an overflow.
    object.minX = object.maxX = object.minY = object.maxY = 0x80000000;
    EXPECT_EQ(boxDistance(object, 0, 0), 0x80000000u);
}

TEST(CellListRemove, TakesOutTheObjectAndKeepsTheRestInOrder) {
    WorldObject a, b, c, stranger;
    CellList list;
    list.add(&a);
    list.remove(&a);
    EXPECT_TRUE(list.empty()); // the first node stays, empty
    EXPECT_EQ(list.next, nullptr);

    list.add(&a), list.add(&b), list.add(&c);
    list.remove(&b);
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&a, &c}));
    list.remove(&stranger);
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&a, &c}));
    list.remove(&c); // the last node
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&a}));
    EXPECT_EQ(nodeCount(list), 1u);

    list.add(&b), list.add(&c);
    list.remove(&a); // the first node takes the second's entry
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&b, &c}));
    EXPECT_EQ(nodeCount(list), 2u);
    list.add(&a); // and the list stays usable
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&b, &c, &a}));
}

TEST(CellListClear, FreesTheNodesAfterTheFirstAndLeavesItUsable) {
    std::array<WorldObject, 3> objects;
    CellList list;
    for (WorldObject& object : objects) list.add(&object);
    list.clear();
    EXPECT_EQ(list.object, &objects[0]);
    EXPECT_EQ(list.next, nullptr); // reset, so the list can be used again safely
    list.add(&objects[2]);
    EXPECT_EQ(contents(list), (std::vector<const WorldObject*>{&objects[0], &objects[2]}));
}

TEST(CellListClear, ALongListIsFreedWithoutDeepRecursion) {
    std::vector<WorldObject> objects(200000);
    auto list = std::make_unique<CellList>();
    CellList* last = list.get();
    for (WorldObject& object : objects) { // built by hand: add would walk the list each time
        if (last->object) last = last->next = new CellList;
        last->object = &object;
    }
    EXPECT_EQ(nodeCount(*list), objects.size());
    list.reset(); // the destructor frees the chain
}
