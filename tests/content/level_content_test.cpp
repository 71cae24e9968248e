#include "tests/content/reachability.hpp"
#include "tests/content/run_directory.hpp"

#include "sim/player.hpp"

#include <map>
#include <set>

namespace {

struct LevelCase {
    u16 number;
    u16 players;
};
// Level-A, Level-B for two; Level-C, Level-D for three; test.lvl for two.
const LevelCase levels[] = {{0, 2}, {1, 2}, {2, 3}, {3, 3}, {4, 2}};

// Every object of the level, each once, in grid order.
std::vector<const WorldObject*> levelObjects() {
    std::vector<const WorldObject*> objects;
    std::set<const WorldObject*> seen;
    for (const auto& cell : worldGrid.cells)
        for (const CellList* node = cell.get(); node && node->object; node = node->next)
            if (seen.insert(node->object).second) objects.push_back(node->object);
    return objects;
}

// The game's box-touch rule: a corner of one box strictly inside the other.
bool boxesTouch(const WorldObject& a, const WorldObject& b) {
    const auto inside = [](u32 lo, u32 v, u32 hi) { return lo < v && v < hi; };
    return (inside(a.minX, b.minX, a.maxX) && inside(a.minY, b.minY, a.maxY)) ||
           (inside(a.minX, b.maxX, a.maxX) && inside(a.minY, b.maxY, a.maxY)) ||
           (inside(b.minX, a.minX, b.maxX) && inside(b.minY, a.maxY, b.maxY)) ||
           (inside(b.minX, a.maxX, b.maxX) && inside(b.minY, a.minY, b.maxY));
}

using LevelContent = InRunDirectory;

TEST_F(LevelContent, EveryLevelLoadsWithItsPlayersCarsHeadquartersAndEqualFlags) {
    for (const LevelCase& level : levels) {
        SCOPED_TRACE(levelFileName(level.number));
        resetWorld();
        loadTextures();
        loadLevel(level.number);
        ASSERT_EQ(playerCount, level.players);
        EXPECT_GE(worldGrid.width, level.number == 4 ? 8 : 16);
        EXPECT_LE(worldGrid.width, 32);
        EXPECT_GE(worldGrid.height, level.number == 4 ? 8 : 16);
        EXPECT_LE(worldGrid.height, 32);
        std::map<std::pair<ObjectType, u16>, int> count;
        for (const WorldObject* o : levelObjects()) ++count[{o->type, o->owner}];
        for (u16 owner = 1; owner <= playerCount; ++owner) {
            const Player& p = *players[owner - 1];
            EXPECT_NE(p.vehicle, nullptr);
            EXPECT_NE(p.hq, nullptr);
            EXPECT_EQ((count[{ObjectType::Car, owner}]), 1) << "player " << owner;
            EXPECT_EQ((count[{ObjectType::Hq, owner}]), 1) << "player " << owner;
            const int ownFlags = count[{ObjectType::Flag, owner}], firstFlags = count[{ObjectType::Flag, 1}];
            EXPECT_EQ(ownFlags, firstFlags) << "player " << owner;
        }
        EXPECT_GE((count[{ObjectType::Flag, 1}]), 1);
        const int flagsEach = count[{ObjectType::Flag, 1}];
        EXPECT_EQ(flagCount, flagsEach * playerCount);
        // The player colours differ clearly: some channel differs by half its range.
        for (u16 i = 0; i < playerCount; ++i)
            for (u16 j = i + 1; j < playerCount; ++j) {
                int most = 0;
                for (int shift : {0, 8, 16})
                    most = std::max(most, std::abs(int(playerColours[i] >> shift & 0xFF) -
                                                   int(playerColours[j] >> shift & 0xFF)));
                EXPECT_GE(most, 128);
            }
        EXPECT_NE(mineTemplate.polygons.size(), 0u);
        EXPECT_NE(shotTemplate.polygons.size(), 0u);
    }
}

TEST_F(LevelContent, NothingTouchesACarAtItsStart) {
    for (const LevelCase& level : levels) {
        SCOPED_TRACE(levelFileName(level.number));
        resetWorld();
        loadLevel(level.number);
        const auto objects = levelObjects();
        for (u16 i = 0; i < playerCount; ++i) {
            const WorldObject& car = *players[i]->vehicle;
            for (const WorldObject* o : objects) {
                if (o == &car) continue;
                EXPECT_FALSE(boxesTouch(car, *o)) << "player " << i + 1 << " starts touching a "
                                                  << static_cast<int>(o->type);
            }
        }
    }
}

TEST_F(LevelContent, EveryObjectLiesInsideTheGrid) {
    for (const LevelCase& level : levels) {
        SCOPED_TRACE(levelFileName(level.number));
        resetWorld();
        loadLevel(level.number);
        for (const auto& object : worldObjects) {
            EXPECT_LE(object->maxX, u32{worldGrid.width} * 65536);
            EXPECT_LE(object->maxY, u32{worldGrid.height} * 65536);
        }
    }
}

// A closed ring of walls keeps every car in, and from every start each
// opponent's flag can be reached and carried to the start player's own
// headquarters: the level can be played to the end.
TEST_F(LevelContent, EveryFlagCanBeReachedAndCarriedHome) {
    for (const LevelCase& level : levels) {
        SCOPED_TRACE(levelFileName(level.number));
        resetWorld();
        loadLevel(level.number);
        std::vector<const WorldObject*> flags;
        for (const WorldObject* o : levelObjects())
            if (o->type == ObjectType::Flag) flags.push_back(o);
        for (u16 i = 0; i < playerCount; ++i) {
            const Player& p = *players[i];
            const u32 half = (p.vehicle->maxX - p.vehicle->minX) / 2;
            DrivableArea area(worldGrid, half, 4096);
            area.floodFrom(p.startX, p.startY);
            ASSERT_TRUE(area.startFree()) << "player " << i + 1;
            EXPECT_FALSE(area.leaksOut()) << "player " << i + 1 << " can leave the ring";
            EXPECT_TRUE(area.touches(*p.hq)) << "player " << i + 1 << " cannot reach its headquarters";
            for (const WorldObject* flag : flags) {
                if (flag->owner == i + 1) continue;
                EXPECT_TRUE(area.touches(*flag)) << "player " << i + 1 << " cannot reach a flag of player "
                                                 << flag->owner << " at " << flag->minX << ", " << flag->minY;
            }
        }
    }
}

TEST_F(LevelContent, TheTestLevelHoldsOneOfEveryObject) {
    loadLevel(4);
    std::map<ObjectType, int> count;
    for (const auto& o : worldObjects) ++count[o->type];
    for (ObjectType t : {ObjectType::Block, ObjectType::Car, ObjectType::Flag, ObjectType::Hq, ObjectType::Mine,
                         ObjectType::Sea, ObjectType::Sand, ObjectType::FirePak, ObjectType::MinePak,
                         ObjectType::HealthPak, ObjectType::NitroPak, ObjectType::Plant})
        EXPECT_GE(count[t], 1) << static_cast<int>(t);
}

} // namespace
