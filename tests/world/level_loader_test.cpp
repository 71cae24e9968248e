#include "world/world.hpp"

#include "run_directory.hpp"
#include "world/player.hpp"

#include <algorithm>
#include <map>

namespace {

using Cells = std::vector<std::pair<u32, u32>>;

class LevelTest : public WorldFiles {
  protected:
    void SetUp() override {
        WorldFiles::SetUp();
        write("Objects\\car.odf", "0 0 %\n0 0 0 4000 0 0 4000 3000 0 0 3000 4000 # 0 1000000 %\n");
        write("Objects\\hq.odf", "0 0 %\n0 0 0 20000 0 0 20000 20000 5000 # 0 1000000 %\n");
        write("Objects\\flag.odf", "0 0 % 0 0 0 100 0 0 100 100 10000 # 0 1000000 %");
        write("Objects\\stone1.odf", "0 1 %\n0 0 0 1000 0 0 1000 1000 500 # 0 808080 %\n");
        write("Objects\\woodwall.odf", "1 0 %\n0 0 0 1 0 0 1 0 1 0 0 1 # 1 0 %\n");
        write("Objects\\tree.odf", "3 0 % 0 0 0 400 0 0 400 0 6000 0 0 6000 # 0 00FF00 %");
        write("Objects\\mine.odf", "0 0 % 0 0 0 500 0 0 500 500 100 # 0 202020 %");
        write("Objects\\shot.odf", "0 1 x 0 0 0 100 0 0 100 400 100 # 0 FFFF00 %");
    }

    // A two-player level of 32 x 32 cells: both cars and headquarters, then `more`.
    static std::string twoPlayers(std::string_view more) {
        return "Test level\n32 32 2\nFF0000 0000ff\ncar\n1 100000 100000 0\nhq\n1 200000 100000 0\n"
               "car\n2 1000000 1000000 0\nhq\n2 1100000 1000000 0\n" +
               std::string(more);
    }
    static void loadTestLevel(std::string_view text) {
        write("Levels\\test.lvl", text);
        loadLevelFile("Levels\\test.lvl");
    }

    // The cells (cx, cy) that list the object, row by row.
    static Cells cellsOf(const WorldObject* object) {
        Cells cells;
        for (u32 cy = 0; cy < world::state.worldGrid.height; ++cy)
            for (u32 cx = 0; cx < world::state.worldGrid.width; ++cx)
                for (const CellList* cell = world::state.worldGrid.cell(cx, cy); cell && cell->object;
                     cell = cell->next)
                    if (cell->object == object) cells.emplace_back(cx, cy);
        return cells;
    }
};

} // namespace

TEST_F(LevelTest, TheHeaderMakesThePlayersAndEachCarTheStartOfItsOwner) {
    loadTestLevel(twoPlayers(""));
    EXPECT_EQ(world::state.playerColours, (std::vector<u32>{0xFF0000, 0x0000FF}));
    ASSERT_EQ(world::state.playerCount, 2);
    EXPECT_FALSE(world::state.players[0]->isComputer());
    EXPECT_TRUE(world::state.players[1]->isComputer());
    for (u16 owner : {1, 2}) {
        const Player& player = *world::state.players[owner - 1];
        EXPECT_EQ(player.colour, world::state.playerColours[owner - 1]);
        EXPECT_EQ(player.world, &world::state.worldGrid);
        ASSERT_TRUE(player.vehicle && player.hq);
        EXPECT_EQ(std::pair(player.vehicle->type, player.vehicle->owner), std::pair(ObjectType::Car, owner));
        EXPECT_EQ(std::pair(player.hq->type, player.hq->owner), std::pair(ObjectType::Hq, owner));
    }
    EXPECT_EQ(world::state.flagCount, 0);

    // The car spans 100000..104000 x 100000..103000: a box of half-side 2500
    // around (102000, 101500) holds it at any heading.
    const Player& player = *world::state.players[0];
    const WorldObject& car = *player.vehicle;
    EXPECT_EQ(extentOf(car), (Extent{102000 - 2500, 101500 - 2500, 102000 + 2500, 101500 + 2500, 4000}));
    EXPECT_EQ(player.startX, 102000u);
    EXPECT_EQ(player.startY, 101500u);
    EXPECT_EQ(player.startHeading, 16384);
    EXPECT_EQ(cellsOf(&car), (Cells{{1, 1}}));
    EXPECT_EQ(car.polygons[0].vertices[1].x, 104000u); // the shape stays where it was read
}

TEST_F(LevelTest, EntriesAreListedInEveryCellTheirBoxesTouch) {
    write("Objects\\slab.odf", "0 0 % 0 0 0 65535 0 0 65535 10 0 # 0 0 %");
    write("Objects\\longslab.odf", "0 0 % 0 0 0 65536 0 0 65536 10 0 # 0 0 %");
    loadTestLevel(twoPlayers("woodwall\n0 0 0 0 200000 1000 30000\n"
                             "slab\n0 65536 0 0\nlongslab\n0 65536 0 0\n"
                             "woodwall\n0 1966080 0 0 2500000 70000 100\n" // past the last column, 31
                             "stone1\n0 4294000000 4294000000 0\n"
                             "tree\n0 70000 70000 0\n"));
    ASSERT_EQ(world::state.worldObjects.size(), 10u);
    const WorldObject* wall = world::state.worldObjects[4].get();
    EXPECT_EQ(extentOf(*wall), (Extent{0, 0, 200000, 1000, 30000}));
    EXPECT_EQ(cellsOf(wall), (Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(cellsOf(world::state.worldObjects[5].get()), (Cells{{1, 0}}));
    EXPECT_EQ(cellsOf(world::state.worldObjects[6].get()), (Cells{{1, 0}, {2, 0}}));
    EXPECT_EQ(cellsOf(world::state.worldObjects[7].get()), (Cells{{30, 0}, {31, 0}, {30, 1}, {31, 1}}));
    EXPECT_TRUE(cellsOf(world::state.worldObjects[8].get()).empty()); // outside the grid: made, not listed

    // A tree is hit only near its trunk: its definition gives x 70000..70400
    // and y 69800..70200 (depth = width).
    const WorldObject* tree = world::state.worldObjects[9].get();
    EXPECT_EQ(tree->type, ObjectType::Plant);
    const u32 cx = 70000 / 2 + 70400 / 2, cy = 69800 / 2 + 70200 / 2;
    EXPECT_EQ(extentOf(*tree), (Extent{cx - 1024, cy - 1024, cx + 1024, cy + 1024, 6000}));
}

TEST_F(LevelTest, AnEntryNameIsTheDefinitionFileVerbatimAndGivesTheType) {
    using enum ObjectType;
    // "Flag" is no flag: types compare with case. "stone1  " opens "stone1  .odf".
    const char* names[] = {"stone2",  "brickwall", "mine",      "sea",      "sand",
                           "firepak", "minepak",   "healthpak", "nitropak", "bush",
                           "boulder", "Flag",      "stone1  ",  "flag",     "flag"};
    const ObjectType types[] = {Block,    Block, Mine,  Sea,   Sand,  FirePak, MinePak, HealthPak,
                                NitroPak, Plant, Block, Block, Block, Flag,    Flag};
    write("Objects\\marker.odf", "2 0 %\n"); // kinds that place nothing
    write("Objects\\odd.odf", "9 0 % whatever follows is never read");
    std::string entries = "marker\n0 5 5 5\nodd\n0 5 5 5\n";
    for (const std::string name : names) {
        if (!std::filesystem::exists("Objects/" + name + ".odf"))
            write("Objects\\" + name + ".odf", "0 0 % 0 0 0 3 0 0 3 3 3 # 0 0 %");
        entries += name + "\n1 70000 70000 0\n";
    }
    loadTestLevel(twoPlayers(entries));
    ASSERT_EQ(world::state.worldObjects.size(), 4u + std::size(names));
    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(world::state.worldObjects[4 + i]->type, types[i]);
    }
    EXPECT_EQ(world::state.worldObjects[4 + 12]->maxX, 70003u); // not stone1.odf's 71000
    EXPECT_EQ(world::state.flagCount, 2);
    EXPECT_EQ(world::state.worldObjects.back()->owner, 1);
}

TEST_F(LevelTest, AnEmptyLevelHasNothingButItsGridAndTheTemplates) {
    loadTestLevel("Empty\n/ nothing follows the header\n4 3 0\n");
    EXPECT_EQ(world::state.worldGrid.width, 4);
    EXPECT_EQ(world::state.worldGrid.height, 3);
    ASSERT_EQ(world::state.worldGrid.cells.size(), 12u);
    EXPECT_EQ(std::count(world::state.worldGrid.cells.begin(), world::state.worldGrid.cells.end(), nullptr),
              12);
    EXPECT_TRUE(world::state.players.empty());
    EXPECT_EQ(world::state.flagCount, 0);
    EXPECT_TRUE(world::state.worldObjects.empty());

    // The templates are ownerless active meshes at (0, 0) with normals.
    for (const WorldObject* object : {&world::state.mineTemplate, &world::state.shotTemplate}) {
        EXPECT_EQ(object->owner, 0);
        EXPECT_TRUE(object->active);
        ASSERT_EQ(object->polygons.size(), 1u);
        EXPECT_NE(object->polygons[0].nz, 0.0f);
        EXPECT_EQ(object->polygons[0].vertices[0].nz, object->polygons[0].nz);
    }
    EXPECT_EQ(world::state.mineTemplate.type, ObjectType::Mine);
    EXPECT_EQ(world::state.shotTemplate.type, ObjectType::Shot);
    EXPECT_FALSE(world::state.mineTemplate.smooth);
    EXPECT_TRUE(world::state.shotTemplate.smooth); // its header's third token was skipped unchecked
    EXPECT_EQ(world::state.shotTemplate.maxY, 400u);
}

TEST_F(LevelTest, LevelsByNumberAndAFreshWorldForEachLoad) {
    EXPECT_STREQ(levelFileName(0), "Levels\\Level-A.lvl");
    EXPECT_STREQ(levelFileName(3), "Levels\\Level-D.lvl");
    EXPECT_STREQ(levelFileName(4), "Levels\\test.lvl");
    EXPECT_EQ(levelFileName(5), nullptr);

    write("Levels\\test.lvl", twoPlayers("flag\n1 5 5 0\n"));
    loadLevel(4);
    loadLevel(4); // a second load starts from nothing
    EXPECT_EQ(world::state.flagCount, 1);
    EXPECT_EQ(world::state.worldObjects.size(), 5u);
    EXPECT_EQ(world::state.players.size(), 2u);
    ASSERT_NE(world::state.worldGrid.cell(0, 0), nullptr);
    EXPECT_EQ(world::state.worldGrid.cell(0, 0)->next, nullptr); // the flag, listed once
}

TEST_F(LevelTest, BrokenOrUnplayableLevelsEndTheProgramWithTheirMessages) {
    write("Objects\\long.odf", "0 0 0 % 0 0 0 1 0 0 1 1 0 # 0 0 %");
    const std::string header = "T\n4 4 2\n1 2\n";
    const std::pair<std::string, const char*> cases[] = {
        {twoPlayers("long\n0 0 0 0\n"), "Error: header too long in $s!\n"},
        {twoPlayers("nowhere\n0 0 0 0\n"), "Error: no integer (getint)!\n"},
        {twoPlayers("woodwall\n0 0 0 0 5 5\n"), "Error: no integer (getint)!\n"}, // no second corner
        {twoPlayers("car\n3 5 5 0\n"), "Error: car of owner 3 in Levels\\test.lvl has no player!\n"},
        {twoPlayers("hq\n0 5 5 0\n"), "Error: hq of owner 0 in Levels\\test.lvl has no player!\n"},
        {header + "car\n1 70000 70000 0\nhq\n1 0 0 0\nhq\n2 0 0 0\n",
         "Error: player 2 has no car in Levels\\test.lvl!\n"},
        {header + "car\n1 70000 70000 0\ncar\n2 140000 70000 0\nhq\n2 0 0 0\n",
         "Error: player 1 has no hq in Levels\\test.lvl!\n"},
        // A car's box wrapping below 0 or reaching past the far edge: it could
        // neither be listed where it stands nor move.
        {header + "car\n1 0 0 0\n", "Error: car of owner 1 in Levels\\test.lvl lies outside the grid!\n"},
        {header + "car\n2 100000 260000 0\n",
         "Error: car of owner 2 in Levels\\test.lvl lies outside the grid!\n"},
        {"Huge\n65535 65535 0\n", "Error: grid of 65535 x 65535 cells in Levels\\test.lvl is too large!\n"},
        {"Many\n4 4 256\n", "Error: 256 players in Levels\\test.lvl are too many!\n"},
    };
    for (const auto& [level, message] : cases) {
        SCOPED_TRACE(message);
        write("Levels\\test.lvl", level);
        EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne, exactly(message));
    }
    EXPECT_EXIT(loadLevel(9), exitsWithOne, exactly("Error: no integer (getint)!\n"));
    write("Levels\\test.lvl", twoPlayers(""));
    std::filesystem::remove("Objects/shot.odf");
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne, exactly("Error: no integer (getint)!\n"));
}

TEST_F(LevelTest, ACarTooWideForItsPlaceIsRefused) {
    // 323,776 units wide: its square box reaches 161,900 units to every side of
    // its centre, below 0 in y although the shape itself starts at y = 100000.
    write("Objects\\car.odf", "0 0 %\n0 0 0 323776 0 0 323776 3000 0 0 3000 4000 # 0 1000000 %\n");
    write("Levels\\test.lvl", twoPlayers(""));
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne,
                exactly("Error: car of owner 1 in Levels\\test.lvl lies outside the grid!\n"));
    // Away from the edges the same car fits.
    write("Levels\\test.lvl", "Wide\n32 32 1\nFF0000\ncar\n1 300000 300000 0\nhq\n1 0 0 0\n");
    loadLevelFile("Levels\\test.lvl");
    EXPECT_EQ(world::state.players[0]->startY, 301500u);
}

TEST_F(LevelTest, LoadingCostsOneListStepPerCellEntryAndKeepsFileOrder) {
    // Forty walls over the whole of a 64 x 64 grid: 163,840 cell entries, each
    // cell listing the walls in file order.
    std::string walls;
    for (int i = 0; i < 40; ++i) walls += "woodwall\n0 0 0 0\n4194303 4194303 30000\n";
    loadTestLevel("Walls\n64 64 1\nFF0000\ncar\n1 100000 100000 0\nhq\n1 200000 100000 0\n" + walls);
    const u64 steps = world::state.cellListSteps; // counted from the reset that loading starts with
    std::map<const WorldObject*, size_t> fileOrder;
    for (size_t i = 0; i < world::state.worldObjects.size(); ++i)
        fileOrder[world::state.worldObjects[i].get()] = i;
    u64 entries = 0;
    for (u32 cx = 0; cx < world::state.worldGrid.width; ++cx) {
        for (u32 cy = 0; cy < world::state.worldGrid.height; ++cy) {
            std::vector<size_t> listed;
            for (const CellList* node = world::state.worldGrid.cell(cx, cy); node && node->object;
                 node = node->next)
                listed.push_back(fileOrder.at(node->object));
            entries += listed.size();
            ASSERT_EQ(std::adjacent_find(listed.begin(), listed.end(), std::greater_equal<>()), listed.end())
                << "cell " << cx << "," << cy;
        }
    }
    EXPECT_EQ(entries, 40u * 64 * 64 + 2); // and the car and the hq
    EXPECT_LE(steps, 2 * entries) << "a walk along the lists costs about 20 steps an entry";
}

TEST_F(LevelTest, ALevelNeedingMillionsOfCellEntriesIsRefusedBeforeTheyAreMade) {
    // Forty walls each over the whole of a 1024 x 1024 grid would need 42 million
    // entries; the limit is 4 million.
    std::string walls;
    for (int i = 0; i < 40; ++i) walls += "woodwall\n0 0 0 0\n67108863 67108863 30000\n";
    write("Levels\\test.lvl", "Huge walls\n1024 1024 0\n" + walls);
    EXPECT_EXIT(loadLevelFile("Levels\\test.lvl"), exitsWithOne,
                exactly("Error: objects in Levels\\test.lvl need more than 4000000 cell entries!\n"));
}
