#pragma once
// A singly linked list of object pointers: the objects touching one grid cell,
// and the renderer's far-to-near draw order. The first node is the list itself
// and survives every operation; an empty list is a first node without object.
// The list never owns its objects.
#include "base/types.hpp"

struct WorldObject;

struct CellList {
    CellList() = default;
    CellList(const CellList&) = delete;
    CellList& operator=(const CellList&) = delete;
    ~CellList();

    WorldObject* object = nullptr; // null only in an empty list's first node
    CellList* next = nullptr;      // owned

    bool empty() const { return object == nullptr; }

    // Appends the object unless the list already holds it.
    void add(WorldObject* obj);
    // Appends the object after `last`, the list's last node, without walking the
    // list, and returns the node that is last now. For a builder that knows the
    // object is new to the list: it only checks that `last` does not hold it
    // already, the one place a repeated entry of the same object could be.
    static CellList& appendAfter(CellList& last, WorldObject* obj);
    // Keeps the list ordered far to near from (px, py) by boxDistanceSquared;
    // equal distances go after the ones already listed. An object already
    // listed is not inserted again.
    void insertByDistance(WorldObject* obj, u32 px, u32 py);
    // Takes the object's node(s) out of the list.
    void remove(const WorldObject* obj);
    // Frees every node after this one and leaves this node's object as it is;
    // `next` becomes null, so the list stays safe to use afterwards.
    void clear();
};

// True when the list holds the object.
bool listHolds(const CellList& list, const WorldObject& object);

// The square of the distance from (px, py) to the nearest point of the object's
// box on the ground plane, 0 when the point lies in the box; differences are
// taken as signed 32-bit numbers. The renderer's draw-order key: an object's
// nearest point decides whether it is drawn before or after another, so
// objects that line up along one axis are still told apart.
u64 boxDistanceSquared(const WorldObject& obj, u32 px, u32 py);
