#include "world/cell_list.hpp"

#include "world/world_object.hpp"

#include <algorithm>
#include <cassert>

namespace {

// |a - b| with the difference read as a signed 32-bit number, taken in unsigned
// arithmetic so that the most negative difference cannot overflow.
u32 signedGap(u32 a, u32 b) {
    const u32 difference = a - b;
    return static_cast<i32>(difference) < 0 ? 0u - difference : difference;
}

} // namespace

u64 cellListSteps = 0;

CellList::~CellList() {
    clear();
}

void CellList::add(WorldObject* obj) {
    ++cellListSteps;
    if (object == obj) return;
    CellList* node = this;
    while (node->object) {
        if (!node->next) node->next = new CellList;
        node = node->next;
        ++cellListSteps;
        if (node->object == obj) return;
    }
    node->object = obj;
}

CellList& CellList::appendAfter(CellList& last, WorldObject* obj) {
    assert(last.next == nullptr && "appendAfter needs the list's last node");
    ++cellListSteps;
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
    const u32 distance = boxDistance(*obj, px, py);
    for (CellList* node = this;;) {
        if (node->object == obj) return;
        if (distance > boxDistance(*node->object, px, py)) {
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

u32 boxDistance(const WorldObject& obj, u32 px, u32 py) {
    u32 distance = signedGap(obj.minX, px);
    distance = std::min(distance, signedGap(obj.maxX, px));
    distance = std::min(distance, signedGap(obj.minY, py));
    return std::min(distance, signedGap(obj.maxY, py));
}
