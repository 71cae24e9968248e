#include "sim/match_digest.hpp"

#include "sim/match_state.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <cstring>

namespace {

struct Fnv64 {
    u64 hash = 14695981039346656037ull;
    void bytes(const void* data, size_t size) {
        const u8* p = static_cast<const u8*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash ^= p[i];
            hash *= 1099511628211ull;
        }
    }
    void u32s(u32 v) { bytes(&v, sizeof v); }
    // Floats by their bits: a replay must give the very same values.
    void f32s(f32 v) {
        u32 bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        u32s(bits);
    }
};

void addObject(Fnv64& h, const WorldObject* object) {
    if (!object) {
        h.u32s(0xFFFFFFFFu);
        return;
    }
    h.u32s(static_cast<u32>(object->type));
    h.u32s(object->owner);
    h.u32s(object->minX);
    h.u32s(object->minY);
    h.u32s(object->maxX);
    h.u32s(object->maxY);
    h.u32s(object->active ? 1 : 0);
}

void addPlayer(Fnv64& h, const Player& p) {
    if (p.camera) {
        h.u32s(p.camera->x);
        h.u32s(p.camera->y);
        h.u32s(p.camera->heading);
    }
    h.f32s(p.velocityX);
    h.f32s(p.velocityY);
    h.u32s(p.turnRate);
    h.u32s(static_cast<u32>(p.shields));
    h.u32s(p.ammo);
    h.u32s(p.mines);
    h.u32s(p.nitro);
    for (u16 score : p.flagScores) h.u32s(score);
    for (u32 control : {p.accelerate, p.brake, p.turnLeft, p.turnRight, p.dropFlag, p.layMine, p.fire})
        h.u32s(control);
    addObject(h, p.vehicle);
    addObject(h, p.carriedFlag);
    if (p.isComputer() == 1) {
        const auto& computer = static_cast<const ComputerPlayer&>(p);
        h.u32s(static_cast<u32>(computer.aiHeading));
        h.u32s(static_cast<u32>(computer.aiPause));
    }
}

} // namespace

u64 matchDigest() {
    Fnv64 h;
    h.u32s(world::state.playerCount);
    for (u16 i = 0; i < world::state.playerCount && i < world::state.players.size(); ++i)
        addPlayer(h, *world::state.players[i]);
    h.u32s(static_cast<u32>(sim::match.projectiles.size()));
    for (const Projectile& shot : sim::match.projectiles) {
        h.u32s(shot.x);
        h.u32s(shot.y);
        h.u32s(shot.heading);
        h.f32s(shot.speed);
        h.u32s(shot.power);
    }
    for (u32 cx = 0; cx < world::state.worldGrid.width; ++cx)
        for (u32 cy = 0; cy < world::state.worldGrid.height; ++cy)
            for (const CellList* node = world::state.worldGrid.cell(cx, cy); node && node->object;
                 node = node->next) {
                h.u32s(cx << 16 | cy);
                addObject(h, node->object);
            }
    h.u32s(static_cast<u32>(sim::match.winner));
    return h.hash;
}

u32 matchCheckValue() {
    const u64 digest = matchDigest();
    return static_cast<u32>(digest) ^ static_cast<u32>(digest >> 32);
}
