#include "world/cell_list.hpp"
#include "world/world_object.hpp"

#include <gtest/gtest.h>

namespace {

using Nodes = std::vector<const WorldObject*>;

// The object of every node, the empty first node's null included.
Nodes nodes(const CellList& list) {
    Nodes objects;
    for (const CellList* node = &list; node; node = node->next) objects.push_back(node->object);
    return objects;
}

WorldObject boxAt(u32 minX, u32 minY, u32 maxX, u32 maxY) {
    WorldObject object;
    object.minX = minX, object.minY = minY, object.maxX = maxX, object.maxY = maxY;
    return object;
}

// An object whose box starts the given distance from (0, 0) along x, level
// with it along y.
WorldObject atDistance(u32 d) {
    return boxAt(d, 0, d + 5000, 9000);
}

} // namespace

TEST(CellList, AddAppendsEachObjectOnceInOrderOfFirstAddition) {
    WorldObject a, b, c;
    CellList list;
    EXPECT_EQ(nodes(list), (Nodes{nullptr}));
    list.add(&a);
    EXPECT_EQ(nodes(list), (Nodes{&a})); // the first node holds it
    for (WorldObject* object : {&b, &a, &b, &c}) list.add(object);
    EXPECT_EQ(nodes(list), (Nodes{&a, &b, &c}));
}

TEST(CellList, InsertByDistanceKeepsTheFarthestFirst) {
    WorldObject near = atDistance(100), far = atDistance(300), middle = atDistance(200);
    CellList list;
    for (WorldObject* object : {&near, &far, &middle}) list.insertByDistance(object, 0, 0);
    EXPECT_EQ(nodes(list), (Nodes{&far, &middle, &near}));

    // An equal distance goes after the ones already listed; a listed object is
    // not inserted again.
    WorldObject alsoMiddle = atDistance(200);
    for (WorldObject* object : {&alsoMiddle, &middle, &far}) list.insertByDistance(object, 0, 0);
    EXPECT_EQ(nodes(list), (Nodes{&far, &middle, &alsoMiddle, &near}));
}

TEST(BoxDistance, TheSquaredGapToTheNearestPointOfTheBox) {
    const WorldObject box = boxAt(1000, 5000, 3000, 9000);
    EXPECT_EQ(boxDistanceSquared(box, 0, 0), 1000ull * 1000 + 5000 * 5000); // to the corner
    EXPECT_EQ(boxDistanceSquared(box, 2500, 100000), 91000ull * 91000);     // to the far side
    EXPECT_EQ(boxDistanceSquared(box, 2000, 8000), 0u);                     // inside
    EXPECT_EQ(boxDistanceSquared(box, 3000, 9000), 0u);                     // on the corner
    // Differences are signed 32-bit: a box just below 2^32 is close to 0, and
    // the largest gap, 2^31 on both axes, does not overflow.
    EXPECT_EQ(boxDistanceSquared(boxAt(0xFFFFFF00, 1 << 30, 0xFFFFFFFF, 1 << 30), 0, 1 << 30), 1u);
    EXPECT_EQ(boxDistanceSquared(boxAt(1u << 31, 1u << 31, 1u << 31, 1u << 31), 0, 0), 1ull << 63);
}

TEST(CellList, InsertByDistanceTellsApartObjectsInLineAlongOneAxis) {
    // Both boxes start 1000 along y from the eye; the second lies far off to
    // the side, so it is the farther one and drawn first.
    WorldObject ahead = boxAt(0, 1000, 100, 2000), aside = boxAt(50000, 1000, 50100, 2000);
    CellList list;
    list.insertByDistance(&ahead, 50, 0);
    list.insertByDistance(&aside, 50, 0);
    EXPECT_EQ(nodes(list), (Nodes{&aside, &ahead}));
}

TEST(CellList, RemoveTakesOutTheObjectAndKeepsTheRestInOrder) {
    WorldObject a, b, c, stranger;
    CellList list;
    list.add(&a);
    list.remove(&a);
    EXPECT_EQ(nodes(list), (Nodes{nullptr})); // the first node stays, empty

    list.add(&a), list.add(&b), list.add(&c);
    list.remove(&b);
    EXPECT_EQ(nodes(list), (Nodes{&a, &c}));
    list.remove(&stranger);
    EXPECT_EQ(nodes(list), (Nodes{&a, &c}));
    list.remove(&c); // the last node
    EXPECT_EQ(nodes(list), (Nodes{&a}));

    list.add(&b), list.add(&c);
    list.remove(&a); // the first node takes the second's entry
    EXPECT_EQ(nodes(list), (Nodes{&b, &c}));
    list.add(&a); // and the list stays usable
    EXPECT_EQ(nodes(list), (Nodes{&b, &c, &a}));
}

TEST(CellList, ClearFreesTheNodesAfterTheFirstAndLeavesItUsable) {
    WorldObject a, b, c;
    CellList list;
    list.add(&a), list.add(&b);
    list.clear();
    EXPECT_EQ(nodes(list), (Nodes{&a}));
    list.add(&c);
    EXPECT_EQ(nodes(list), (Nodes{&a, &c}));

    // A long chain is freed without deep recursion (built by hand: add walks the list).
    std::vector<WorldObject> objects(200000);
    auto longList = std::make_unique<CellList>();
    CellList* last = longList.get();
    for (WorldObject& object : objects) {
        if (last->object) last = last->next = new CellList;
        last->object = &object;
    }
    longList.reset();
}
