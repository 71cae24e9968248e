#include "world/object_definition.hpp"

#include "run_directory.hpp"
#include "world/token_reader.hpp"

namespace {

using Positions = std::vector<std::array<u32, 3>>;

class ObjectDefinitionTest : public WorldFiles {
  protected:
    // A reader over a definition body, the header already consumed as the
    // level loader does.
    static TokenReader bodyOf(std::string_view name, std::string_view body) {
        write(std::string(name), body);
        return TokenReader(name);
    }
    static Positions positions(const Polygon& polygon) {
        Positions result;
        for (const Vertex& v : polygon.vertices) result.push_back({v.x, v.y, v.z});
        return result;
    }
    TextureTable noTextures;
};

} // namespace

TEST_F(ObjectDefinitionTest, AMeshIsPlacedByOffsetsFromItsLowCorner) {
    TokenReader reader = bodyOf("Objects\\slab.odf", "0 0 0  65536 0 0  65536 0 65536 # 0 0 %");
    const auto object = readMesh(reader, 100, 200, 2, true, noTextures);
    EXPECT_EQ(extentOf(*object), (Extent{100, 200, 100 + 65536, 200, 65536}));
    EXPECT_EQ(object->shapeKind, ShapeKind::Mesh);
    EXPECT_EQ(object->owner, 2);
    EXPECT_TRUE(object->smooth);
    EXPECT_TRUE(object->active);
    ASSERT_EQ(object->polygons.size(), 1u);
    EXPECT_EQ(positions(object->polygons[0]),
              (Positions{{100, 200, 0}, {65636, 200, 0}, {65636, 200, 65536}}));
}

TEST_F(ObjectDefinitionTest, PolygonsCarryTheirTextureAndColourInFileOrder) {
    TextureTable textures;
    textures.push_back(nullptr);
    textures.push_back(std::make_unique<Texture>(1, 1));
    TokenReader reader = bodyOf("Objects\\two.odf", "/ first\n"
                                                    "0 0 0 10 0 0 10 10 0 # 1 1FF0000 %\n"
                                                    "0 0 5\n10 0 5\n10 10 5\n0 10 5 # 0 00ff00 %\n"
                                                    "0 0 0 1 0 0 1 1 0 # 7 ABCDEF %\n"
                                                    "/ the end\n");
    const auto object = readMesh(reader, 0, 0, 0, false, textures);
    ASSERT_EQ(object->polygons.size(), 3u);
    EXPECT_EQ(object->polygons[0].texture, textures[1].get());
    EXPECT_EQ(object->polygons[0].colour, 0x01FF0000u);
    EXPECT_EQ(object->polygons[1].texture, nullptr);
    EXPECT_EQ(object->polygons[1].colour, 0x0000FF00u);
    EXPECT_EQ(object->polygons[1].vertices.size(), 4u);
    EXPECT_EQ(object->polygons[2].texture, nullptr); // number past the table: untextured
    EXPECT_EQ(extentOf(*object), (Extent{0, 0, 10, 10, 5}));
}

TEST_F(ObjectDefinitionTest, ABoxIsStretchedToTheCornersInAnyOrder) {
    TokenReader reader = bodyOf("Objects\\woodwall.odf", "1 0 1  0 1 0  7 1 2 # 0 0 %");
    const auto object = readBox(reader, 500, 0, 10, 100, 300, 0, 0, false, noTextures);
    EXPECT_EQ(extentOf(*object), (Extent{100, 0, 500, 300, 10}));
    EXPECT_EQ(object->shapeKind, ShapeKind::Box);
    // Any non-zero selector picks the larger coordinate.
    EXPECT_EQ(positions(object->polygons[0]), (Positions{{500, 0, 10}, {100, 300, 0}, {500, 300, 10}}));
}

TEST_F(ObjectDefinitionTest, ATwoSidedFootprintIsCentredOnYWithTheDepthOfItsWidth) {
    // The y offsets (5000 here) play no part in the footprint.
    TokenReader reader = bodyOf("Objects\\tree.odf", "0 5000 0  400 5000 0  400 5000 3000  0 0 3000 # 0 0 %");
    const auto object = readTwoSided(reader, 1000, 1000, 0, false, noTextures);
    EXPECT_EQ(object->shapeKind, ShapeKind::TwoSided);
    EXPECT_EQ(extentOf(*object), (Extent{1000, 800, 1400, 1200, 3000}));
    EXPECT_EQ(positions(object->polygons[0])[0], (std::array<u32, 3>{1000, 6000, 0}));
}

TEST_F(ObjectDefinitionTest, AnUnclosedPolygonOrAnEmptyBodyEndsTheProgram) {
    TokenReader open = bodyOf("Objects\\stone1.odf", "0 0 0 1 0 0 1 1 0 # 0 0 0 0 0 1 # 0 0 %");
    EXPECT_EXIT(readMesh(open, 0, 0, 0, false, noTextures), exitsWithOne,
                exactly("Error: no % after color in Objects\\stone1.odf!\n"));
    TokenReader empty = bodyOf("Objects\\empty.odf", "/ nothing but a comment\n");
    EXPECT_EXIT(readMesh(empty, 0, 0, 0, false, noTextures), exitsWithOne,
                exactly("Error: no integer (getint)!\n"));
    TokenReader noHash = bodyOf("Objects\\nohash.odf", "0 0 0 1 0 0 % 0 0 %");
    EXPECT_EXIT(readTwoSided(noHash, 0, 0, 0, false, noTextures), exitsWithOne,
                exactly("Error: no integer (getint)!\n"));
}
