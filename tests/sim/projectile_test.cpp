#include "sim_world.hpp"

#include "sim/match_state.hpp"
#include "sim/projectile.hpp"
#include "world/world.hpp"

namespace {

constexpr u32 c3 = 3 * cell;
// A shot fired from (x, y) facing east starts a quarter cell ahead.
constexpr u32 muzzle = 16384;

class ProjectileTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        p = &addPlayer(c3, c3);
    }
    // Fires player 0's gun from (x, y) facing `heading`; the car stays where it is.
    void fireFrom(u32 x, u32 y, u16 heading = east) {
        p->camera = std::make_unique<Camera>(x, y, 3072, heading, 7168, 3584, 0, 131072);
        Fire(*p, 0);
    }
    Player* p = nullptr;
};

} // namespace

TEST_F(ProjectileTest, FiringPlacesAShotAQuarterCellAheadAndAppendsItsRecord) {
    Fire(*p, 0);
    EXPECT_EQ(p->ammo, 9);
    ASSERT_EQ(projectiles.size(), 1u);
    const Projectile& shot = projectiles[0];
    EXPECT_EQ(shot.x, c3 + muzzle);
    EXPECT_EQ(shot.y, c3);
    EXPECT_EQ(shot.heading, east);
    EXPECT_EQ(shot.dirX, p->camera->sinHeading);
    EXPECT_EQ(shot.dirY, p->camera->cosHeading);
    EXPECT_EQ(shot.speed, 4096.0f);
    EXPECT_EQ(shot.power, 2);
    EXPECT_EQ(shot.object->owner, 1);
    EXPECT_EQ(shot.object->type, ObjectType::Shot);
    EXPECT_EQ(shot.object->minX, c3 + muzzle - 2048);
    EXPECT_EQ(shot.object->maxY, c3 + 2048);
    EXPECT_TRUE(listedWhereItLies(*shot.object));
    EXPECT_EQ(shotTemplate.minX, 0u) << "the template stays where it is";

    fireFrom(2 * cell, 5 * cell, north);
    ASSERT_EQ(projectiles.size(), 2u);
    EXPECT_EQ(projectiles[1].y, 5 * cell + muzzle) << "appended at the end";
}

TEST_F(ProjectileTest, AShotBlockedAtTheMuzzleIsSpentAndFreed) {
    placeBox(ObjectType::Block, 0, c3 + 12000, c3 - 10000, c3 + 20000, c3 + 10000);
    Fire(*p, 0);
    EXPECT_TRUE(projectiles.empty());
    EXPECT_EQ(p->ammo, 9);
    p->ammo = 0;
    Fire(*p, 0);
    EXPECT_EQ(p->ammo, 0);
}

TEST_F(ProjectileTest, AShotFliesFullSpeedFromTheFrameItWasFiredIn) {
    Fire(*p, 0);
    MoveProjectiles();
    ASSERT_EQ(projectiles.size(), 1u);
    EXPECT_EQ(projectiles[0].x, c3 + muzzle + 4096);
    EXPECT_EQ(projectiles[0].y, c3);
    EXPECT_EQ(projectiles[0].object->minX, c3 + muzzle + 4096 - 2048);
    EXPECT_TRUE(listedWhereItLies(*projectiles[0].object));
}

TEST_F(ProjectileTest, ShieldsSoakUpTheShotsPower) {
    // After one step each shot touches a car ahead of it.
    Player& weak = addPlayer(c3 + 22000, c3 + 100);
    Player& strong = addPlayer(c3 + 22000, 6 * cell + 100);
    weak.shields = 1;
    fireFrom(c3, c3);
    fireFrom(c3, 6 * cell);
    MoveProjectiles();
    EXPECT_EQ(weak.shields, 0) << "dead at the end of the frame";
    EXPECT_EQ(strong.shields, 6);
    ASSERT_EQ(projectiles.size(), 1u) << "the shot into 8 shields ends";
    EXPECT_EQ(projectiles[0].y, c3);
    EXPECT_EQ(projectiles[0].power, 1) << "flies on with what is left";
}

TEST_F(ProjectileTest, AWreckDoesNotFeedTheShot) {
    Player& q = addPlayer(c3 + 22000, c3 + 100);
    q.shields = -1; // run over a mine earlier in this frame
    Fire(*p, 0);
    MoveProjectiles();
    EXPECT_EQ(q.shields, -1);
    ASSERT_EQ(projectiles.size(), 1u);
    EXPECT_EQ(projectiles[0].power, 2);
}

TEST_F(ProjectileTest, AShotClearsMinesFreelyAndCutsThroughOnePlant) {
    const u32 start = c3 + muzzle;
    WorldObject* mine1 = placeAround(ObjectType::Mine, 0, start + 4096, c3, 1000);
    WorldObject* mine2 = placeAround(ObjectType::Mine, 0, start + 2 * 4096, c3, 1000);
    WorldObject* plant1 = placeAround(ObjectType::Plant, 0, start + 3 * 4096, c3, 1000);
    WorldObject* plant2 = placeAround(ObjectType::Plant, 0, start + 4 * 4096, c3, 1000);
    Fire(*p, 0);
    MoveProjectiles();
    MoveProjectiles();
    EXPECT_FALSE(worldOwns(mine1));
    EXPECT_FALSE(worldOwns(mine2));
    ASSERT_EQ(projectiles.size(), 1u);
    EXPECT_EQ(projectiles[0].power, 2);
    MoveProjectiles();
    EXPECT_FALSE(worldOwns(plant1));
    ASSERT_EQ(projectiles.size(), 1u);
    EXPECT_EQ(projectiles[0].power, 1);
    MoveProjectiles();
    EXPECT_FALSE(worldOwns(plant2)) << "the second plant goes too";
    EXPECT_TRUE(projectiles.empty()) << "and ends the shot";
}

TEST_F(ProjectileTest, PowerNeverWrapsBelowZero) {
    // A wall and a plant in one step: the wall spends the shot; the plant cannot
    // take a hit it no longer has.
    const u32 at = c3 + muzzle + 4096;
    placeBox(ObjectType::Block, 0, at - 1000, c3 - 1000, at - 900, c3 + 1000);
    WorldObject* plant = placeAround(ObjectType::Plant, 0, at + 500, c3, 500);
    Fire(*p, 0);
    MoveProjectiles();
    EXPECT_FALSE(worldOwns(plant));
    EXPECT_TRUE(projectiles.empty());
}

TEST_F(ProjectileTest, WhenAMiddleShotEndsTheNextMovesUpAndStillFliesThisPass) {
    fireFrom(c3, 2 * cell);
    fireFrom(c3, 5 * cell);
    fireFrom(c3, 8 * cell);
    // A wall one step ahead of the middle shot.
    placeBox(ObjectType::Block, 0, c3 + muzzle + 3000, 5 * cell - 5000, c3 + muzzle + 9000, 5 * cell + 5000);
    WorldObject* middle = projectiles[1].object.get();
    MoveProjectiles();
    ASSERT_EQ(projectiles.size(), 2u);
    EXPECT_EQ(projectiles[0].y, 2 * cell);
    EXPECT_EQ(projectiles[1].y, 8 * cell);
    EXPECT_EQ(projectiles[0].x, c3 + muzzle + 4096);
    EXPECT_EQ(projectiles[1].x, c3 + muzzle + 4096) << "the moved-up shot did not skip its step";
    EXPECT_TRUE(cellsHolding(*middle).empty());
    for (const Projectile& shot : projectiles) {
        EXPECT_TRUE(listedWhereItLies(*shot.object));
    }
}

TEST_F(ProjectileTest, AShotLeavingTheGridEndsOnEitherSide) {
    fireFrom(10 * cell - 20000, c3); // its box ends 1568 short of the far edge
    ASSERT_EQ(projectiles.size(), 1u);
    fireFrom(20000, 5 * cell, 3 * east); // westward, 1568 from x = 0
    ASSERT_EQ(projectiles.size(), 2u);
    MoveProjectiles();
    EXPECT_TRUE(projectiles.empty());
    for (const auto& list : worldGrid.cells) {
        for (const CellList* node = list.get(); node != nullptr && node->object != nullptr;
             node = node->next) {
            EXPECT_NE(node->object->type, ObjectType::Shot);
        }
    }
}

TEST_F(ProjectileTest, AMineIsLaidHalfACellBehindWhereItFits) {
    const size_t owned = worldObjects.size();
    LayMine(*p, 0);
    EXPECT_EQ(p->mines, 4);
    ASSERT_EQ(worldObjects.size(), owned + 1);
    const WorldObject& mine = *worldObjects.back();
    EXPECT_EQ(mine.type, ObjectType::Mine);
    EXPECT_EQ(mine.owner, 1);
    EXPECT_EQ(mine.minX, c3 - 32768 - 4096);
    EXPECT_EQ(mine.maxY, c3 + 4096);
    EXPECT_TRUE(listedWhereItLies(mine));
    EXPECT_EQ(mineTemplate.minX, 0u);

    // With the rear of the car against a wall nothing is laid or spent.
    placeBox(ObjectType::Block, 0, c3 - 40000, c3 - 10000, c3 - 30000, c3 + 10000);
    LayMine(*p, 0);
    EXPECT_EQ(p->mines, 4);
    EXPECT_EQ(worldObjects.size(), owned + 2);
}

TEST_F(ProjectileTest, AMineMustFitWhollyInsideTheGrid) {
    const size_t owned = worldObjects.size();
    p->camera->x = 30000; // drop point at x = -2768
    LayMine(*p, 0);
    p->camera->x = 35000; // drop point at 2232, box from -1864
    LayMine(*p, 0);
    EXPECT_EQ(p->mines, 5);
    EXPECT_EQ(worldObjects.size(), owned);
    p->camera->x = 32768 + 4096; // box from exactly 0
    LayMine(*p, 0);
    EXPECT_EQ(p->mines, 4);
    p->mines = 0;
    p->camera->x = c3;
    LayMine(*p, 0);
    EXPECT_EQ(worldObjects.size(), owned + 1);
}
