#include "world/world.hpp"

#include "run_directory.hpp"
#include "sim/player.hpp"

#include <algorithm>
#include <string>

namespace {

// Definitions shared by the level tests.
constexpr const char* carDefinition = // 4000 x 3000 x 4000
    "0 0 %\n0 0 0 4000 0 0 4000 3000 0 0 3000 4000 # 0 1000000 %\n";
constexpr const char* hqDefinition = "0 0 %\n0 0 0 20000 0 0 20000 20000 5000 # 0 1000000 %\n";

class LevelTest : public RunDirectory {
protected:
    void SetUp() override {
        RunDirectory::SetUp();
        write("Objects\\car.odf", carDefinition);
        write("Objects\\hq.odf", hqDefinition);
        write("Objects\\flag.odf", "0 0 % 0 0 0 100 0 0 100 100 10000 # 0 1000000 %");
        write("Objects\\stone1.odf", "0 1 %\n0 0 0 1000 0 0 1000 1000 500 # 0 808080 %\n");
        write("Objects\\woodwall.odf", "1 0 %\n0 0 0 1 0 0 1 0 1 0 0 1 # 1 0 %\n");
        write("Objects\\tree.odf", "3 0 % 0 0 0 400 0 0 400 0 6000 0 0 6000 # 0 00FF00 %");
        write("Objects\\mine.odf", "0 0 % 0 0 0 500 0 0 500 500 100 # 0 202020 %");
        write("Objects\\shot.odf", "0 1 x 0 0 0 100 0 0 100 400 100 # 0 FFFF00 %");
    }

    // A two-player level of 32 x 32 cells: both cars and headquarters, then `more`.
    static std::string twoPlayers(std::string_view more) {
        return "Test level\n32 32 2\nFF0000 0000ff\n"
               "car\n1 100000 100000 0\n"
               "hq\n1 200000 100000 0\n"
               "car\n2 1000000 1000000 0\n"
               "hq\n2 1100000 1000000 0\n" +
               std::string(more);
    }

    static void loadTestLevel(std::string_view text) {
        write("Levels\\test.lvl", text);
        loadLevelFile("Levels\\test.lvl");
    }

    static bool listed(u32 cx, u32 cy, const WorldObject* object) {
        const CellList* cell = worldGrid.cell(cx, cy);
        for (; cell && cell->object; cell = cell->next)
            if (cell->object == object) return true;
        return false;
    }

    // The cells (cx, cy) that list the object, row by row.
    static std::vector<std::pair<u32, u32>> cellsOf(const WorldObject* object) {
        std::vector<std::pair<u32, u32>> cells;
        for (u32 cy = 0; cy < worldGrid.height; ++cy)
            for (u32 cx = 0; cx < worldGrid.width; ++cx)
                if (listed(cx, cy, object)) cells.emplace_back(cx, cy);
        return cells;
    }

    // The level objects in file order (the grid does not keep one).
    static const WorldObject* lastObject() { return worldObjects.back().get(); }
};

using Cells = std::vector<std::pair<u32, u32>>;
const auto exitsWithOne = testing::ExitedWithCode(1);

} // namespace

TEST_F(LevelTest, TheHeaderCreatesTheHumanAndTheComputerPlayers) {
    loadTestLevel(twoPlayers(""));
    EXPECT_EQ(playerCount, 2);
    EXPECT_EQ(playerColours, (std::vector<u32>{0xFF0000, 0x0000FF}));
    EXPECT_EQ(worldGrid.width, 32);
    EXPECT_EQ(worldGrid.height, 32);
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0]->isComputer(), 0u);
    EXPECT_EQ(players[1]->isComputer(), 1u);
    const auto& computer = static_cast<const ComputerPlayer&>(*players[1]);
    EXPECT_EQ(computer.aiHeading, -1);
    EXPECT_EQ(computer.aiPause, 0);
    for (u32 i = 0; i < 2; ++i) {
        const Player& player = *players[i];
        EXPECT_EQ(player.colour, playerColours[i]);
        EXPECT_EQ(player.world, &worldGrid);
        EXPECT_EQ(player.flagScores, (std::vector<u16>{0, 0, 0}));
        ASSERT_NE(player.vehicle, nullptr);
        EXPECT_EQ(player.vehicle->type, ObjectType::Car);
        EXPECT_EQ(player.vehicle->owner, i + 1);
        ASSERT_NE(player.hq, nullptr);
        EXPECT_EQ(player.hq->type, ObjectType::Hq);
        EXPECT_EQ(player.hq->owner, i + 1);
        EXPECT_EQ(player.camera, nullptr); // made later, with the screen
        EXPECT_EQ(player.ammo, 10);
    }
    EXPECT_EQ(flagCount, 0);
    EXPECT_EQ(worldObjects.size(), 4u);
}

TEST_F(LevelTest, ACarsBoxHoldsItAtAnyHeadingAndItsCentreIsTheStart) {
    loadTestLevel(twoPlayers(""));
    const Player& player = *players[0];
    const WorldObject& car = *player.vehicle;
    // Spans 100000..104000 x 100000..103000: centre (102000, 101500), r = 2500.
    EXPECT_EQ(car.minX, 102000u - 2500);
    EXPECT_EQ(car.maxX, 102000u + 2500);
    EXPECT_EQ(car.minY, 101500u - 2500);
    EXPECT_EQ(car.maxY, 101500u + 2500);
    EXPECT_EQ(player.startX, 102000u);
    EXPECT_EQ(player.startY, 101500u);
    EXPECT_EQ(player.startHeading, 16384);
    EXPECT_EQ(cellsOf(&car), (Cells{{1, 1}}));
    // The shape itself stays where the definition put it.
    EXPECT_EQ(car.polygons[0].vertices[1].x, 104000u);
}

TEST_F(LevelTest, ABoxEntryReadsItsSecondCornerAndCoversEveryCellItTouches) {
    loadTestLevel(twoPlayers("woodwall\n0 0 0 0 200000 1000 30000\nstone1\n0 300000 0 0\n"));
    const WorldObject* wall = worldObjects[4].get();
    EXPECT_EQ(wall->shapeKind, ShapeKind::Box);
    EXPECT_EQ(wall->maxX, 200000u);
    EXPECT_EQ(wall->height, 30000u);
    EXPECT_EQ(cellsOf(wall), (Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(lastObject()->minX, 300000u); // the entry after it was read in step
    EXPECT_TRUE(lastObject()->smooth);
}

TEST_F(LevelTest, ABoxReachingACellBoundaryIsListedInTheNextCellToo) {
    write("Objects\\slab.odf", "0 0 % 0 0 0 65535 0 0 65535 10 0 # 0 0 %");
    write("Objects\\longslab.odf", "0 0 % 0 0 0 65536 0 0 65536 10 0 # 0 0 %");
    loadTestLevel(twoPlayers("slab\n0 65536 0 0\nlongslab\n0 65536 0 0\n"));
    EXPECT_EQ(cellsOf(worldObjects[4].get()), (Cells{{1, 0}}));
    EXPECT_EQ(cellsOf(worldObjects[5].get()), (Cells{{1, 0}, {2, 0}}));
}

TEST_F(LevelTest, ObjectsOutsideTheGridAreCreatedButListedOnlyInsideIt) {
    // The grid is 32 cells wide: cell 31 is the last column.
    loadTestLevel(twoPlayers("woodwall\n0 1966080 0 0 2500000 70000 100\n"
                             "stone1\n0 4294000000 4294000000 0\n"));
    EXPECT_EQ(cellsOf(worldObjects[4].get()), (Cells{{30, 0}, {31, 0}, {30, 1}, {31, 1}}));
    EXPECT_EQ(worldObjects.size(), 6u);
    EXPECT_TRUE(cellsOf(lastObject()).empty());
}

TEST_F(LevelTest, ATreeIsHitOnlyNearItsTrunk) {
    loadTestLevel(twoPlayers("tree\n0 70000 70000 0\n"));
    const WorldObject* tree = lastObject();
    EXPECT_EQ(tree->shapeKind, ShapeKind::TwoSided);
    EXPECT_EQ(tree->type, ObjectType::Plant);
    // The definition gives x 70000..70400 and y 69800..70200 (depth = width).
    const u32 cx = 70000 / 2 + 70400 / 2;
    const u32 cy = 69800 / 2 + 70200 / 2;
    EXPECT_EQ(tree->minX, cx - 1024);
    EXPECT_EQ(tree->maxX, cx + 1024);
    EXPECT_EQ(tree->minY, cy - 1024);
    EXPECT_EQ(tree->maxY, cy + 1024);
    EXPECT_EQ(tree->height, 6000u);
}

TEST_F(LevelTest, TypesComeFromTheNameComparedWithCase) {
    const char* names[] = {"stone2", "stone3", "brickwall", "oldbrickwall", "mine", "sea",
                           "sand", "firepak", "minepak", "healthpak", "nitropak", "bush",
                           "boulder", "Flag"};
    const ObjectType types[] = {ObjectType::Block,   ObjectType::Block,     ObjectType::Block,
                                ObjectType::Block,   ObjectType::Mine,      ObjectType::Sea,
                                ObjectType::Sand,    ObjectType::FirePak,   ObjectType::MinePak,
                                ObjectType::HealthPak, ObjectType::NitroPak, ObjectType::Plant,
                                ObjectType::Block,   ObjectType::Block};
    std::string entries;
    for (const char* name : names) {
        if (std::string_view(name) != "Flag" && std::string_view(name) != "mine")
            write(std::string("Objects\\") + name + ".odf", "0 0 % 0 0 0 10 0 0 10 10 0 # 0 0 %");
        entries += std::string(name) + "\n0 70000 70000 0\n";
    }
    // "Flag" opens flag.odf (file names ignore case) but is no flag.
    loadTestLevel(twoPlayers(entries + "flag\n2 80000 80000 0\nflag\n1 90000 90000 0\n"));
    ASSERT_EQ(worldObjects.size(), 4u + std::size(names) + 2);
    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(worldObjects[4 + i]->type, types[i]);
    }
    EXPECT_EQ(flagCount, 2);
    EXPECT_EQ(lastObject()->type, ObjectType::Flag);
    EXPECT_EQ(lastObject()->owner, 1);
}

TEST_F(LevelTest, DefinitionsOfOtherKindsPlaceNothing) {
    write("Objects\\marker.odf", "2 0 %\n");
    write("Objects\\odd.odf", "9 0 % whatever follows is never read");
    loadTestLevel(twoPlayers("marker\n0 5 5 5\nodd\n0 5 5 5\nstone1\n0 7 7 0\n"));
    EXPECT_EQ(worldObjects.size(), 5u);
    EXPECT_EQ(lastObject()->minX, 7u);
}

TEST_F(LevelTest, TrailingBlanksOfANameBelongToTheFileName) {
    write("Objects\\stone1  .odf", "0 0 %\n0 0 0 3 0 0 3 3 3 # 0 0 %\n");
    loadTestLevel(twoPlayers("stone1  \n0 10 10 0\n"));
    EXPECT_EQ(lastObject()->maxX, 13u); // the blank-named definition, not stone1.odf
    EXPECT_EQ(lastObject()->type, ObjectType::Block);
}

TEST_F(LevelTest, AnEmptyLevelHasNothingButItsGridAndTheTemplates) {
    loadTestLevel("Empty\n/ nothing follows the header\n4 3 0\n");
    EXPECT_EQ(worldGrid.width, 4);
    EXPECT_EQ(worldGrid.height, 3);
    ASSERT_EQ(worldGrid.cells.size(), 12u);
    EXPECT_TRUE(std::all_of(worldGrid.cells.begin(), worldGrid.cells.end(),
                            [](const auto& cell) { return cell == nullptr; }));
    EXPECT_TRUE(players.empty());
    EXPECT_EQ(flagCount, 0);
    EXPECT_TRUE(worldObjects.empty());
    EXPECT_EQ(mineTemplate.type, ObjectType::Mine);
    EXPECT_EQ(shotTemplate.type, ObjectType::Shot);
}

TEST_F(LevelTest, TheTemplatesAreOwnerlessActiveMeshesWithNormals) {
    loadTestLevel(twoPlayers(""));
    for (const WorldObject* object : {&mineTemplate, &shotTemplate}) {
        EXPECT_EQ(object->shapeKind, ShapeKind::Mesh);
        EXPECT_EQ(object->owner, 0);
        EXPECT_TRUE(object->active);
        EXPECT_EQ(object->minX, 0u);
        EXPECT_EQ(object->minY, 0u);
        ASSERT_EQ(object->polygons.size(), 1u);
        EXPECT_NE(object->polygons[0].nz, 0.0f);
        EXPECT_EQ(object->polygons[0].vertices[0].nz, object->polygons[0].nz);
    }
    EXPECT_FALSE(mineTemplate.smooth);
    EXPECT_TRUE(shotTemplate.smooth); // its header's third token was skipped unchecked
    EXPECT_EQ(shotTemplate.maxY, 400u);
    EXPECT_EQ(shotTemplate.polygons[0].colour, 0xFFFF00u);
}

TEST_F(LevelTest, LevelsByNumberAndAFreshWorldForEachLoad) {
    EXPECT_STREQ(levelFileName(0), "Levels\\Level-A.lvl");
    EXPECT_STREQ(levelFileName(3), "Levels\\Level-D.lvl");
    EXPECT_STREQ(levelFileName(4), "Levels\\test.lvl");
    EXPECT_EQ(levelFileName(5), nullptr);

    write("Levels\\test.lvl", twoPlayers("flag\n1 5 5 0\n"));
    loadLevel(4);
    EXPECT_EQ(flagCount, 1);
    loadLevel(4); // a second load starts from nothing
    EXPECT_EQ(flagCount, 1);
    EXPECT_EQ(worldObjects.size(), 5u);
    EXPECT_EQ(players.size(), 2u);
    EXPECT_EQ(cellsOf(lastObject()), (Cells{{0, 0}}));
    const CellList* origin = worldGrid.cell(0, 0);
    ASSERT_NE(origin, nullptr);
    EXPECT_EQ(origin->next, nullptr); // listed once

    resetWorld();
    EXPECT_EQ(playerCount, 0);
    EXPECT_EQ(flagCount, 0);
    EXPECT_TRUE(players.empty() && playerColours.empty() && worldObjects.empty());
    EXPECT_TRUE(worldGrid.cells.empty());
    EXPECT_TRUE(mineTemplate.polygons.empty());
}

TEST_F(LevelTest, TheWorldOwnsAdoptedObjectsUntilTheyAreDestroyed) {
    auto first = std::make_unique<WorldObject>();
    WorldObject* a = adoptObject(std::move(first));
    WorldObject* b = adoptObject(clone(*a));
    WorldObject* c = adoptObject(std::make_unique<WorldObject>());
    destroyObject(a);
    ASSERT_EQ(worldObjects.size(), 2u);
    EXPECT_TRUE(std::any_of(worldObjects.begin(), worldObjects.end(),
                            [b](const auto& owned) { return owned.get() == b; }));
    destroyObject(c);
    destroyObject(b);
    EXPECT_TRUE(worldObjects.empty());
}

TEST_F(LevelTest, BrokenDefinitionsEndTheProgramWithTheirMessages) {
    write("Objects\\long.odf", "0 0 0 % 0 0 0 1 0 0 1 1 0 # 0 0 %");
    write("Levels\\test.lvl", twoPlayers("long\n0 0 0 0\n"));
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne,
                exactly("Error: header too long in $s!\n"));

    write("Objects\\open.odf", "0 0 % 0 0 0 1 0 0 1 1 0 # 0 0 0 0 0 1 # 0 0 %");
    write("Levels\\test.lvl", twoPlayers("open\n0 0 0 0\n"));
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne,
                exactly("Error: no % after color in Objects\\open.odf!\n"));

    write("Levels\\test.lvl", twoPlayers("nowhere\n0 0 0 0\n"));
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne,
                exactly("Error: no integer (getint)!\n"));

    // A box entry without its second corner.
    write("Levels\\test.lvl", twoPlayers("woodwall\n0 0 0 0 5 5\n"));
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne,
                exactly("Error: no integer (getint)!\n"));

    EXPECT_EXIT(loadLevelFile("Levels\\Level-Z.lvl"), exitsWithOne,
                exactly("Error: no integer (getint)!\n"));
    EXPECT_EXIT(loadLevel(9), exitsWithOne, exactly("Error: no integer (getint)!\n"));

    write("Levels\\test.lvl", twoPlayers(""));
    std::filesystem::remove("Objects/shot.odf");
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne,
                exactly("Error: no integer (getint)!\n"));
}

TEST_F(LevelTest, ALevelThatCannotBePlayedIsRefusedByName) {
    const std::string header = "Test level\n32 32 2\nFF0000 0000FF\n";
    const std::string car1 = "car\n1 100000 100000 0\n", hq1 = "hq\n1 200000 100000 0\n";
    const std::string car2 = "car\n2 1000000 1000000 0\n", hq2 = "hq\n2 1100000 1000000 0\n";
    const struct {
        std::string level;
        const char* message;
    } cases[] = {
        {header + car1 + hq1 + car2 + hq2 + "car\n3 5 5 0\n",
         "Error: car of owner 3 in Levels\\test.lvl has no player!\n"},
        {header + car1 + hq1 + car2 + "hq\n0 5 5 0\n",
         "Error: hq of owner 0 in Levels\\test.lvl has no player!\n"},
        {header + car1 + hq1 + hq2, "Error: player 2 has no car in Levels\\test.lvl!\n"},
        {header + car1 + car2 + hq2, "Error: player 1 has no hq in Levels\\test.lvl!\n"},
        {"Huge\n65535 65535 0\n", "Error: grid of 65535 x 65535 cells in Levels\\test.lvl is too large!\n"},
        {"Many\n4 4 256\n", "Error: 256 players in Levels\\test.lvl are too many!\n"},
    };
    for (const auto& [level, message] : cases) {
        SCOPED_TRACE(message);
        write("Levels\\test.lvl", level);
        EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne, exactly(message));
    }
}
