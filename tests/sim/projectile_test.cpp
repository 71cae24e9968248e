#include "sim_world.hpp"

#include "sim/projectile.hpp"

namespace {

// A shot fired facing east starts a quarter cell ahead and flies 4096 a step.
constexpr u32 muzzle = 16384;

class ProjectileTest : public PlayerTest {
  protected:
    // Fires player 0's gun from (x, y) facing `heading`; the car stays where it is.
    void fireFrom(u32 x, u32 y, u16 heading = east) {
        p->camera = std::make_unique<Camera>(playerEye(x, y, heading));
        Fire(*p, 0);
    }
};

} // namespace

TEST_F(ProjectileTest, FiringAppendsAShotAQuarterCellAheadAndAShotBlockedAtTheMuzzleIsSpent) {
    Fire(*p, 0);
    fireFrom(2 * cell, 5 * cell, north);
    ASSERT_EQ(sim::match.projectiles.size(), 2u);
    const Projectile& shot = sim::match.projectiles[0];
    EXPECT_EQ(std::tuple(shot.x, shot.y, shot.power), std::tuple(c3 + muzzle, c3, u16{2}));
    EXPECT_EQ(boxOf(*shot.object), around(c3 + muzzle, c3, 2048));
    EXPECT_EQ(shot.object->owner, 1);
    EXPECT_TRUE(listedWhereItLies(*shot.object));
    EXPECT_EQ(world::state.shotTemplate.minX, 0u) << "the template stays where it is";
    EXPECT_EQ(sim::match.projectiles[1].y, 5 * cell + muzzle) << "appended at the end";

    placeBox(ObjectType::Block, 0, c3 + 12000, 8 * cell - 9000, c3 + 20000, 8 * cell + 9000);
    fireFrom(c3, 8 * cell);
    EXPECT_EQ(sim::match.projectiles.size(), 2u);
    EXPECT_EQ(p->ammo, 7);
    p->ammo = 0;
    Fire(*p, 0);
    EXPECT_EQ(p->ammo, 0);
}

TEST_F(ProjectileTest, ShieldsSoakUpTheShotsPowerAndAWreckBelowZeroFeedsIt) {
    // After one step each shot touches the car ahead of it.
    Player& weak = addPlayer(c3 + 22000, c3 + 100);
    Player& strong = addPlayer(c3 + 22000, 6 * cell + 100);
    Player& wreck = addPlayer(c3 + 22000, 8 * cell + 100);
    Player& lastWreck = addPlayer(c3 + 22000, 5 * cell + 100);
    weak.shields = 1;
    wreck.shields = -1; // run over a mine earlier in this frame
    lastWreck.shields = -1;
    for (const u32 y : {c3, 6 * cell, 8 * cell, 5 * cell}) {
        fireFrom(c3, y);
    }
    sim::match.projectiles[3].power = 65535; // the power has no room left to grow
    MoveProjectiles();
    // Below 1 the shields still go to 0, and the power decreases by the negative
    // shields: it grows, but never wraps.
    EXPECT_EQ(std::tuple(weak.shields, strong.shields, wreck.shields, lastWreck.shields),
              (std::tuple<i16, i16, i16, i16>(0, 6, 0, 0)));
    ASSERT_EQ(sim::match.projectiles.size(), 3u) << "the shot into 8 shields ends";
    EXPECT_EQ(std::pair(sim::match.projectiles[0].y, sim::match.projectiles[0].power), std::pair(c3, u16{1}));
    EXPECT_EQ(std::pair(sim::match.projectiles[1].y, sim::match.projectiles[1].power),
              std::pair(8 * cell, u16{3}));
    EXPECT_EQ(std::pair(sim::match.projectiles[2].y, sim::match.projectiles[2].power),
              std::pair(5 * cell, u16{65535}));
}

TEST_F(ProjectileTest, AShotClearsMinesFreelyAndCutsThroughOnePlant) {
    std::vector<WorldObject*> cleared; // two mines, two plants, a step apart
    for (u32 i = 1; i <= 4; ++i) {
        const ObjectType type = i <= 2 ? ObjectType::Mine : ObjectType::Plant;
        cleared.push_back(placeAround(type, 0, c3 + muzzle + i * 4096, c3, 1000));
    }
    Fire(*p, 0);
    std::vector<u16> power;
    for (int step = 0; step < 4 && !sim::match.projectiles.empty(); ++step) {
        MoveProjectiles();
        power.push_back(sim::match.projectiles.empty() ? 0 : sim::match.projectiles[0].power);
    }
    EXPECT_EQ(power, (std::vector<u16>{2, 2, 1, 0})) << "the second plant ends the shot";
    for (const WorldObject* object : cleared) {
        EXPECT_FALSE(worldOwns(object)) << "cleared and freed";
    }
    // A wall and a plant in one step: the plant cannot take a hit the wall spent.
    const u32 at = c3 + muzzle + 4096;
    placeBox(ObjectType::Block, 0, at - 1000, c3 - 1000, at - 900, c3 + 1000);
    WorldObject* plant = placeAround(ObjectType::Plant, 0, at + 500, c3, 500);
    Fire(*p, 0);
    MoveProjectiles();
    EXPECT_FALSE(worldOwns(plant));
    EXPECT_TRUE(sim::match.projectiles.empty()) << "power did not wrap below 0";
}

TEST_F(ProjectileTest, WhenAMiddleShotEndsTheNextMovesUpAndStillFliesThisPass) {
    for (const u32 y : {2 * cell, 5 * cell, 8 * cell}) {
        fireFrom(c3, y);
    }
    const u32 x = c3 + muzzle;
    placeBox(ObjectType::Block, 0, x + 3000, 5 * cell - 5000, x + 9000, 5 * cell + 5000);
    WorldObject* middle = sim::match.projectiles[1].object.get();
    MoveProjectiles();
    ASSERT_EQ(sim::match.projectiles.size(), 2u);
    EXPECT_EQ(std::pair(sim::match.projectiles[0].x, sim::match.projectiles[0].y),
              std::pair(x + 4096, 2 * cell));
    EXPECT_EQ(std::pair(sim::match.projectiles[1].x, sim::match.projectiles[1].y),
              std::pair(x + 4096, 8 * cell))
        << "the moved-up shot did not skip its step";
    EXPECT_TRUE(cellsHolding(*middle).empty());
    EXPECT_TRUE(listedWhereItLies(*sim::match.projectiles[1].object));
}

TEST_F(ProjectileTest, AShotLeavingTheGridEndsOnEitherSide) {
    fireFrom(10 * cell - 20000, c3);     // its box ends 1568 short of the far edge
    fireFrom(20000, 5 * cell, 3 * east); // westward, 1568 from x = 0
    ASSERT_EQ(sim::match.projectiles.size(), 2u);
    MoveProjectiles();
    EXPECT_TRUE(sim::match.projectiles.empty());
    for (const auto& list : world::state.worldGrid.cells) {
        for (const CellList* node = list.get(); node != nullptr && node->object != nullptr;
             node = node->next) {
            EXPECT_NE(node->object->type, ObjectType::Shot);
        }
    }
}

TEST_F(ProjectileTest, AMineIsLaidHalfACellBehindOnlyWhereItFitsWhollyInsideTheGrid) {
    const size_t owned = world::state.worldObjects.size();
    LayMine(*p, 0);
    ASSERT_EQ(world::state.worldObjects.size(), owned + 1);
    const WorldObject& mine = *world::state.worldObjects.back();
    EXPECT_EQ(std::tuple(mine.type, mine.owner, p->mines), std::tuple(ObjectType::Mine, u16{1}, u16{4}));
    EXPECT_EQ(boxOf(mine), around(c3 - 32768, c3, 4096));
    EXPECT_TRUE(listedWhereItLies(mine));
    EXPECT_EQ(world::state.mineTemplate.minX, 0u);
    // The rear of the car against a wall, a drop point at x = -2768, a box from
    // x = -1864: nothing is laid or spent.
    placeBox(ObjectType::Block, 0, c3 - 40000, c3 - 10000, c3 - 30000, c3 + 10000);
    for (const u32 x : {c3, 30000u, 35000u}) {
        p->camera->x = x;
        LayMine(*p, 0);
    }
    EXPECT_EQ(p->mines, 4);
    EXPECT_EQ(world::state.worldObjects.size(), owned + 2);
    p->camera->x = 32768 + 4096; // a box from exactly 0
    LayMine(*p, 0);
    EXPECT_EQ(p->mines, 3);
    p->mines = 0;
    p->camera->x = c3 + cell;
    LayMine(*p, 0);
    EXPECT_EQ(world::state.worldObjects.size(), owned + 3);
}
