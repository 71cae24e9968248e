#pragma once
// What happens in a match, told as it happens: plain records handed to one
// listener that the shell registers (for sound), and that tests read. Telling
// changes nothing: the simulation steps exactly the same with or without a
// listener, and a listener must not change the match.
#include "base/types.hpp"

enum class MatchEventKind : u8 {
    ShotFired,      // a shot left the muzzle (or met something there at once)
    ShotHitCar,     // a shot took shields off a car
    ShotHitWall,    // a shot ended on a wall, a plant or anything else that stops it
    PlantFlattened, // a fast car ran a plant down
    MineLaid,       // a mine went down behind a car
    MineExploded,   // a car drove onto a mine, or a shot set one off
    CarDestroyed,   // a car without shields is out, where it stood
    CarRespawned,   // ... and back at its start
    CrateCollected, // a pick-up was collected; `crate` says which
    FlagPickedUp,   // a car took a flag
    FlagDropped,    // a carried flag was put down, or left by a dying carrier
    FlagCaptured,   // a flag was delivered at its carrier's headquarters
    CarsBumped,     // one car drove into another
    CarHitWall,     // a car was stopped by something solid at speed
    NitroOn,        // nitro lifted a car past the plain top speed
    MatchWon,       // the capture that won the match
};

enum class CrateKind : u8 { None, Ammo, Mines, Shields, Nitro };

// No second player in an event.
inline constexpr u16 noPlayer = 0xFFFF;

struct MatchEvent {
    MatchEventKind kind = MatchEventKind::ShotFired;
    u32 x = 0; // where it happened, world units
    u32 y = 0;
    u16 player = noPlayer;             // index of the player it happened to or who did it
    u16 other = noPlayer;              // the second party: the shooter of a hit car, the car bumped,
                                       // the owner of a flag picked up, dropped or captured
    CrateKind crate = CrateKind::None; // CrateCollected: which kind
    f32 speed = 0;                     // CarsBumped, CarHitWall: how hard, world units per frame
};

// An event of that kind at (x, y), about `player` (and `other`).
inline MatchEvent matchEventAt(MatchEventKind kind, u32 x, u32 y, u16 player, u16 other = noPlayer) {
    MatchEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.player = player;
    event.other = other;
    return event;
}

// The listener: a plain function, called during UpdateFrame in the order things
// happen. Null: nobody listens.
using MatchEventListener = void (*)(const MatchEvent& event);

// Registers the listener (null for none); resetSimulation forgets it.
void setMatchEventListener(MatchEventListener listener);

// Tells the listener, if there is one.
void tellMatchEvent(const MatchEvent& event);

// The name of an event kind, for logs and test messages ("ShotFired").
const char* matchEventName(MatchEventKind kind);
