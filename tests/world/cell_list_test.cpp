#include "world/cell_list.hpp"
#include "world/world_object.hpp"

#include <gtest/gtest.h>

namespace {

using Nodes = std::vector<const WorldObject*>;

// The object of every node, the empty first node's null included.
Nodes nodes(const CellList& list) {
    Nodes objects;
    for (const CellList* node = &list; node; node = node->next)
        objects.push_back(node->object);
    return objects;
}

WorldObject boxAt(u32 minX, u32 minY, u32 maxX, u32 maxY) {
    WorldObject object;
    object.minX = minX, object.minY = minY, object.maxX = maxX, object.maxY = maxY;
    return object;
}

// An object whose smallest box-edge distance from (0, 0) is the given value.
WorldObject atDistance(u32 d) {
    return boxAt(d, d + 1000, d + 5000, d + 9000);
}

} // namespace

TEST(CellList, AddAppendsEachObjectOnceInOrderOfFirstAddition) {
    WorldObject a, b, c;
    CellList list;
    EXPECT_EQ(nodes(list), (Nodes{nullptr}));
    list.add(&a);
    EXPECT_EQ(nodes(list), (Nodes{&a})); // the first node holds it
    for (WorldObject* object : {&b, &a, &b, &c})
        list.add(object);
    EXPECT_EQ(nodes(list), (Nodes{&a, &b, &c}));
}

TEST(CellList, InsertByDistanceKeepsTheFarthestFirst) {
    WorldObject near = atDistance(100), far = atDistance(300), middle = atDistance(200);
    CellList list;
    for (WorldObject* object : {&near, &far, &middle})
        list.insertByDistance(object, 0, 0);
    EXPECT_EQ(nodes(list), (Nodes{&far, &middle, &near}));

    // An equal distance goes after the ones already listed; a listed object is
    // not inserted again.
    WorldObject alsoMiddle = atDistance(200);
    for (WorldObject* object : {&alsoMiddle, &middle, &far})
        list.insertByDistance(object, 0, 0);
    EXPECT_EQ(nodes(list), (Nodes{&far, &middle, &alsoMiddle, &near}));
}

TEST(BoxDistance, TheSmallestEdgeGapReadAsSigned) {
    const WorldObject box = boxAt(1000, 5000, 3000, 9000);
    EXPECT_EQ(boxDistance(box, 0, 0), 1000u);
    EXPECT_EQ(boxDistance(box, 2500, 100000), 500u);
    EXPECT_EQ(boxDistance(box, 2000, 8000), 1000u); // inside: the nearest edge
    // Differences are signed 32-bit: a box just below 2^32 is close to 0, and
    // the most negative difference is 2^31 away, not an overflow.
    EXPECT_EQ(boxDistance(boxAt(0xFFFFFF00, 1 << 30, 0xFFFFFFFF, 1 << 30), 0, 0), 1u);
    EXPECT_EQ(boxDistance(boxAt(1u << 31, 1u << 31, 1u << 31, 1u << 31), 0, 0), 1u << 31);
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
