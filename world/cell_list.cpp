#include "world/cell_list.hpp"

#include "world/world.hpp"
#include "world/world_object.hpp"

#include <cassert>

namespace {

// The gap along one axis from p to the interval [low, high], with the
// differences read as signed 32-bit numbers: 0 when p lies inside.
u64 axisGap(u32 low, u32 high, u32 p) {
    const i64 toLow = static_cast<i32>(low - p);
    const i64 toHigh = static_cast<i32>(high - p);
    if (toLow > 0) return static_cast<u64>(toLow);
    if (toHigh < 0) return static_cast<u64>(-toHigh);
    return 0;
}

} // namespace

CellList::~CellList() {
    clear();
}

void CellList::add(WorldObject* obj) {
    ++world::state.cellListSteps;
    if (object == obj) return;
    CellList* node = this;
    while (node->object) {
        if (!node->next) node->next = new CellList;
        node = node->next;
        ++world::state.cellListSteps;
        if (node->object == obj) return;
    }
    node->object = obj;
}

CellList& CellList::appendAfter(CellList& last, WorldObject* obj) {
    assert(last.next == nullptr && "appendAfter needs the list's last node");
    ++world::state.cellListSteps;
    if (last.empty()) { // an empty list: its first node takes the object
        last.object = obj;
        return last;
    }
    if (last.object == obj) return last;
    CellList* node = new CellList;
    node->object = obj;
    last.next = node;
    return *node;
}

void CellList::insertByDistance(WorldObject* obj, u32 px, u32 py) {
    if (empty()) {
        object = obj;
        return;
    }
    const u64 distance = boxDistanceSquared(*obj, px, py);
    for (CellList* node = this;;) {
        if (node->object == obj) return;
        if (distance > boxDistanceSquared(*node->object, px, py)) {
            // Farther than this node: it takes the new object and its old
            // entry moves one place back.
            CellList* moved = new CellList;
            moved->object = node->object;
            moved->next = node->next;
            node->object = obj;
            node->next = moved;
            return;
        }
        if (!node->next) node->next = new CellList;
        node = node->next;
        if (node->empty()) {
            node->object = obj;
            return;
        }
    }
}

void CellList::remove(const WorldObject* obj) {
    CellList* previous = nullptr;
    for (CellList* node = this; node && node->object;) {
        if (node->object != obj) {
            previous = node;
            node = node->next;
            continue;
        }
        if (CellList* following = node->next) {
            // Pull the following node's entry forward and free that node.
            node->object = following->object;
            node->next = following->next;
            following->next = nullptr;
            delete following;
            previous = node;
            node = node->next;
        } else if (previous) {
            previous->next = nullptr;
            delete node;
            return;
        } else {
            object = nullptr; // the first node stays, now empty
            return;
        }
    }
}

void CellList::clear() {
    // Iterative, so a long list cannot exhaust the stack; each node is unlinked
    // before it is freed so that its own destructor has nothing left to free.
    CellList* node = next;
    next = nullptr;
    while (node) {
        CellList* following = node->next;
        node->next = nullptr;
        delete node;
        node = following;
    }
}

bool listHolds(const CellList& list, const WorldObject& object) {
    for (const CellList* node = &list; node != nullptr && node->object != nullptr; node = node->next) {
        if (node->object == &object) {
            return true;
        }
    }
    return false;
}

u64 boxDistanceSquared(const WorldObject& obj, u32 px, u32 py) {
    // Each gap is at most 2^31, so the sum of the squares stays below 2^63.
    const u64 gapX = axisGap(obj.minX, obj.maxX, px);
    const u64 gapY = axisGap(obj.minY, obj.maxY, py);
    return gapX * gapX + gapY * gapY;
}
