#include "tests/content/reachability.hpp"
#include "tests/support/world_run.hpp"

#include "sim/collision.hpp"
#include "world/player.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

namespace {

// A 4 x 4 cell field for the path search alone.
struct TinyField {
    WorldGrid grid;
    std::vector<std::unique_ptr<WorldObject>> objects;

    TinyField() { grid.resize(4, 4); }
    const WorldObject& add(ObjectType type, u32 minX, u32 minY, u32 maxX, u32 maxY) {
        objects.push_back(std::make_unique<WorldObject>());
        WorldObject& o = *objects.back();
        o.type = type, o.active = true;
        o.minX = minX, o.minY = minY, o.maxX = maxX, o.maxY = maxY;
        for (u32 cx = minX >> 16; cx <= maxX >> 16; ++cx)
            for (u32 cy = minY >> 16; cy <= maxY >> 16; ++cy) grid.cellFor(cx, cy).add(&o);
        return o;
    }
    // Four bars `thick` wide round the square lo..hi, optionally with a gap in the east bar.
    void ring(ObjectType type, u32 lo, u32 hi, u32 thick, bool gap = false) {
        add(type, lo, lo, hi, lo + thick);
        add(type, lo, hi - thick, hi, hi);
        add(type, lo, lo, lo + thick, hi);
        add(type, hi - thick, lo, hi, gap ? (lo + hi) / 2 - 10000 : hi);
        if (gap) add(type, hi - thick, (lo + hi) / 2 + 10000, hi, hi);
    }
};

// The path search behind the level checks must be able to fail: an open ring
// leaks, a flag ringed by water cannot be reached, a start inside a wall is caught.
TEST(DrivableArea, CanFailOnAnOpenRingAHiddenFlagAndABlockedStart) {
    const u32 far = 4 * 65536 - 8192;
    for (bool gap : {false, true}) {
        TinyField field;
        field.ring(ObjectType::Block, 4096, far, 4096, gap);
        DrivableArea area(field.grid, 4717, 4096);
        area.floodFrom(131072, 131072);
        EXPECT_TRUE(area.startFree);
        EXPECT_EQ(area.leaksOut, gap);
    }
    TinyField field;
    field.ring(ObjectType::Block, 4096, far, 4096);
    field.ring(ObjectType::Sea, 160000, 200000, 10000); // too wide to pass
    const WorldObject& hidden = field.add(ObjectType::Flag, 180000, 180000, 184000, 180500);
    const WorldObject& open = field.add(ObjectType::Flag, 60000, 180000, 64000, 180500);
    DrivableArea area(field.grid, 4717, 4096);
    area.floodFrom(60000, 60000);
    EXPECT_TRUE(area.touches(open));
    EXPECT_FALSE(area.touches(hidden));

    DrivableArea inWall(field.grid, 4717, 4096);
    inWall.floodFrom(6000, 100000);
    EXPECT_FALSE(inWall.startFree);
}

struct LevelCase {
    u16 number;
    u16 players;
};
void PrintTo(const LevelCase& c, std::ostream* out) {
    *out << levelFileName(c.number);
}

// Loads the level, its definitions and the mine and shot templates.
class LevelContent : public InRunDirectory, public ::testing::WithParamInterface<LevelCase> {
  protected:
    void SetUp() override {
        InRunDirectory::SetUp();
        loadTextures();
        loadLevel(GetParam().number);
    }
};

TEST_P(LevelContent, PlayersEachHaveOneCarOneHeadquartersAndTheSameFlags) {
    ASSERT_EQ(world::state.playerCount, GetParam().players);
    EXPECT_NE(world::state.mineTemplate.polygons.size(), 0u);
    EXPECT_NE(world::state.shotTemplate.polygons.size(), 0u);
    std::map<std::pair<ObjectType, u16>, int> count;
    for (const auto& o : world::state.worldObjects) ++count[{o->type, o->owner}];
    const int flagsEach = count[{ObjectType::Flag, 1}];
    EXPECT_GE(flagsEach, 1);
    EXPECT_EQ(world::state.flagCount, flagsEach * world::state.playerCount);
    for (u16 owner = 1; owner <= world::state.playerCount; ++owner) {
        SCOPED_TRACE(owner);
        EXPECT_EQ((count[{ObjectType::Car, owner}]), 1);
        EXPECT_EQ((count[{ObjectType::Hq, owner}]), 1);
        EXPECT_EQ((count[{ObjectType::Flag, owner}]), flagsEach);
    }
}

TEST_P(LevelContent, NothingTouchesACarAtItsStartAndEverythingLiesInTheGrid) {
    for (const auto& o : world::state.worldObjects) {
        EXPECT_LE(o->maxX, u32{world::state.worldGrid.width} * 65536);
        EXPECT_LE(o->maxY, u32{world::state.worldGrid.height} * 65536);
        for (u16 i = 0; i < world::state.playerCount; ++i)
            EXPECT_FALSE(o.get() != world::state.players[i]->vehicle &&
                         BoxesTouch(boxOf(*world::state.players[i]->vehicle), boxOf(*o)))
                << "player " << i + 1 << " starts touching a " << static_cast<int>(o->type);
    }
}

// A closed ring of walls keeps every car in, and from every start each
// opponent's flag can be reached and carried to the player's own headquarters.
TEST_P(LevelContent, EveryFlagCanBeReachedAndCarriedHomeInsideAClosedRing) {
    for (u16 i = 0; i < world::state.playerCount; ++i) {
        SCOPED_TRACE(i + 1);
        const Player& p = *world::state.players[i];
        DrivableArea area(world::state.worldGrid, (p.vehicle->maxX - p.vehicle->minX) / 2, 4096);
        area.floodFrom(p.startX, p.startY);
        ASSERT_TRUE(area.startFree);
        EXPECT_FALSE(area.leaksOut) << "the ring is open";
        EXPECT_TRUE(area.touches(*p.hq)) << "cannot reach its headquarters";
        for (const auto& flag : world::state.worldObjects)
            if (flag->type == ObjectType::Flag && flag->owner != i + 1) {
                EXPECT_TRUE(area.touches(*flag)) << "cannot reach a flag of player " << flag->owner << " at "
                                                 << flag->minX << ", " << flag->minY;
            }
    }
}

// Between two obstacles facing each other a car either cannot pass at all or
// has room to spare: a slot barely wider than a car catches a computer player,
// which drives straight at its target and only turns when it runs into things.
TEST_P(LevelContent, ObstaclesLeaveNoSlotsBarelyWiderThanACar) {
    const WorldObject& car = *world::state.players[0]->vehicle;
    const i64 carSide = i64{car.maxX} - car.minX;
    const i64 roomy = carSide * 3 / 2;
    std::vector<const WorldObject*> obstacles;
    for (const auto& o : world::state.worldObjects)
        if (o->type == ObjectType::Block || o->type == ObjectType::Sea || o->type == ObjectType::Sand ||
            o->type == ObjectType::Hq || o->type == ObjectType::Plant)
            obstacles.push_back(o.get());
    // Across x when their y ranges overlap, across y when their x ranges do.
    const auto gap = [](i64 aMin, i64 aMax, i64 bMin, i64 bMax) {
        return std::max(bMin - aMax, aMin - bMax);
    };
    for (size_t i = 0; i < obstacles.size(); ++i)
        for (size_t k = i + 1; k < obstacles.size(); ++k) {
            const WorldObject& a = *obstacles[i];
            const WorldObject& b = *obstacles[k];
            const i64 gx = gap(a.minX, a.maxX, b.minX, b.maxX), gy = gap(a.minY, a.maxY, b.minY, b.maxY);
            const i64 across = gy < 0 ? gx : gx < 0 ? gy : -1;
            EXPECT_FALSE(across >= carSide && across < roomy)
                << "a slot " << across << " wide between the objects at " << a.minX << ", " << a.minY
                << " and " << b.minX << ", " << b.minY;
        }
}

// Level-A, Level-B for two; Level-C, Level-D for three; test.lvl for two.
INSTANTIATE_TEST_SUITE_P(Shipped, LevelContent,
                         ::testing::Values(LevelCase{0, 2}, LevelCase{1, 2}, LevelCase{2, 3}, LevelCase{3, 3},
                                           LevelCase{4, 2}),
                         [](const auto& info) { return "Level" + std::to_string(info.param.number); });

} // namespace
