#pragma once
// The per-player record of a match. The level loader creates the records (the
// human as entry 0, computer players after it) and the world owns them; the
// simulation drives them.
#include "base/types.hpp"
#include "world/camera.hpp"
#include "world/world_object.hpp"

#include <memory>
#include <vector>

struct WorldGrid;

struct Player {
    Player(u16 playerCount, u32 playerColour)
        : flagScores(static_cast<size_t>(playerCount) + 1, 0), colour(playerColour) {}
    virtual ~Player() = default;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // 0 for the human at the keyboard, 1 for a computer player.
    virtual u32 isComputer() const = 0;

    // Keeps the car's present shape and box corner as the one every turn starts from.
    void keepUnturnedShape() {
        unturnedShape = vehicle->polygons;
        unturnedMinX = vehicle->minX;
        unturnedMinY = vehicle->minY;
    }

    f32 velocityX = 0; // world units per frame
    f32 velocityY = 0;
    u16 turnRate = 0; // heading change per frame, read as a signed 16-bit angle
    u32 startX = 0;   // respawn position (centre of the car at load)
    u32 startY = 0;
    u16 startHeading = initialHeading; // respawn heading
    // The car's shape as loaded, facing the start heading, with its box's low
    // corner then. Every turn shapes the car afresh from it: turning the shape a
    // little at a time would truncate its corners inward until it wore thin.
    std::vector<Polygon> unturnedShape;
    u32 unturnedMinX = 0;
    u32 unturnedMinY = 0;
    std::vector<u16> flagScores;        // captured flags, indexed by the flag's owner number
    u32 colour = 0;                     // 0x00RRGGBB from the level header
    std::unique_ptr<Camera> camera;     // position and heading of the player
    WorldObject* vehicle = nullptr;     // the player's car
    WorldObject* hq = nullptr;          // where flags are delivered
    WorldObject* carriedFlag = nullptr; // out of the grid while carried
    WorldGrid* world = nullptr;         // grid used for this player's queries
    u16 ammo = 10;                      // shots left
    u16 mines = 5;                      // mines left
    i16 shields = 8;                    // dies below 1; at most 8 from pick-ups
    u16 nitro = 0;                      // frames of nitro left
    u32 accelerate = 0;                 // held controls
    u32 brake = 0;
    u32 turnLeft = 0;
    u32 turnRight = 0;
    u32 dropFlag = 0; // one-shot requests, cleared by UpdateFrame
    u32 layMine = 0;
    u32 fire = 0;
};

struct HumanPlayer final : Player {
    using Player::Player;
    u32 isComputer() const override { return 0; }
};

struct ComputerPlayer final : Player {
    using Player::Player;
    u32 isComputer() const override { return 1; }

    i32 aiHeading = -1; // heading it wants to face; -1 = no target
    i32 aiPause = 0;    // whole seconds when it last ran into something; 0 = not pausing
};
