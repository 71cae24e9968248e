// Two faults players saw, each pinned by the small level and the camera that
// showed it, built from the shipped object definitions:
// - a fir's lower left canopy painted over by a far wall in the fog's grey,
//   which outline mode (it leaves out what lies beyond the fog) drew whole;
// - a black line one pixel wide down the view, flickering while turning next
//   to a headquarters: an opponent's car worn down to a line by turning.
// The depth-buffered reference says what each pixel should show.
#include "depth_reference.hpp"
#include "render/scene_build.hpp"
#include "render_test_support.hpp"
#include "tests/support/run_directory.hpp"
#include "world/player.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Runs in the shipped run directory, so that the level below finds the
// object definitions; the level itself goes to a file of its own.
class ViewFault : public ::testing::Test {
  protected:
    void SetUp() override { loadTextures(); }
    void TearDown() override {
        resetWorld();
        resetTextures();
        std::filesystem::remove(levelFile_);
    }

    // Loads a 10 x 10 level of two players made of `objects` in level syntax
    // (each player needs a car and a headquarters).
    void loadTestLevel(const std::string& objects) {
        levelFile_ = std::filesystem::temp_directory_path() /
                     ("tessaron_view_fault_" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".lvl");
        std::ofstream(levelFile_) << "View fault\n10\n10\n2\nFF2818\n2850FF\n" << objects;
        loadLevelFile(levelFile_.string());
    }

    // Everything the camera sees, in the game's order, against the reference.
    struct View {
        std::vector<const WorldObject*> objects;
        ObjectImage painter, reference;
    };
    View look(const Camera& camera) {
        View view;
        view.objects = sceneObjects(world::state.worldGrid, camera);
        view.painter = painterImage(view.objects, camera, screen_, world::state.playerColours);
        view.reference = depthImage(view.objects, camera, screen_);
        return view;
    }

    const FrameBounds screen_ = boundsOf(640, 480);

  private:
    RunDirectory run{RunDirectory::Shipped};
    std::filesystem::path levelFile_;
};

// The object number of `object` in a view, 0 when the view does not show it.
u16 numberOf(const std::vector<const WorldObject*>& objects, const WorldObject* object) {
    const auto at = std::find(objects.begin(), objects.end(), object);
    return at == objects.end() ? 0 : static_cast<u16>(at - objects.begin() + 1);
}

u64 pixelsOf(const ObjectImage& image, u16 number) {
    return static_cast<u64>(std::count(image.object.begin(), image.object.end(), number));
}

} // namespace

TEST_F(ViewFault, AFarWallInTheFogNoLongerCoversANearFir) {
    // A fir 20000 ahead, and a wall 140000 ahead (in full fog) starting right
    // at the eye's x. The old order key took the wall's distance along x, 0,
    // and drew it last, over the fir's lower left canopy.
    loadTestLevel("hq\n1 30000 560000 0\nhq\n2 560000 560000 0\n"
                  "car\n1 30000 500000 0\ncar\n2 560000 500000 0\n"
                  "tree\n0 208000 160000 0\n"
                  "brickwall\n0 215000 280000 0\n247768 284096 20000\n");
    const Camera camera = playerEye(215000, 140000, 0);
    const View view = look(camera);
    const WorldObject* fir = nullptr;
    const WorldObject* wall = nullptr;
    for (const WorldObject* object : view.objects) {
        if (object->type == ObjectType::Plant) fir = object;
        if (object->type == ObjectType::Block) wall = object;
    }
    ASSERT_NE(fir, nullptr);
    ASSERT_NE(wall, nullptr);
    const u16 firNumber = numberOf(view.objects, fir);
    const u16 wallNumber = numberOf(view.objects, wall);
    EXPECT_LT(wallNumber, firNumber); // the far wall is drawn first

    // The wall shows round the fir's lower left canopy; the painter shows every
    // pixel of the fir.
    u64 firPixels = 0, wallOverFir = 0;
    for (size_t i = 0; i < view.reference.object.size(); ++i) {
        if (view.reference.object[i] != firNumber) continue;
        ++firPixels;
        wallOverFir += view.painter.object[i] == wallNumber;
    }
    EXPECT_GT(firPixels, 20000u);
    EXPECT_GT(pixelsOf(view.reference, wallNumber), 1000u);
    EXPECT_EQ(wallOverFir, 0u);
    EXPECT_EQ(compareWithReference(view.objects, camera, screen_, world::state.playerColours).farther, 0u);
}

TEST_F(ViewFault, ACarWornToALineByTurningIsNotDrawn) {
    // The opponent's car stands beside a headquarters, turned on the spot a
    // little at a time, as stuck opponents once were: every small turn truncated
    // its corners toward its centre, and after some thousands of turns the shape
    // had no width left, every face a vertical line without area or direction.
    // Such faces were filled as a line one pixel wide running down the view,
    // which came and went as the car turned. The game now turns cars from their
    // loaded shape; the renderer still draws no face without area.
    loadTestLevel("hq\n1 150000 150000 0\nhq\n2 560000 560000 0\n"
                  "car\n1 30000 500000 0\ncar\n2 180000 155000 0\n");
    WorldObject& car = *world::state.players[1]->vehicle;
    for (int turn = 0; turn < 8000; ++turn) {
        rotate(car, static_cast<u16>(-1536)); // as the game turns a car at full lock
        computeNormals(car);
    }
    for (const Polygon& polygon : car.polygons)
        for (const Vertex& vertex : polygon.vertices)
            ASSERT_TRUE(vertex.x == car.polygons[0].vertices[0].x &&
                        vertex.y == car.polygons[0].vertices[0].y);

    // Turning on the spot next to the headquarters, 4000 from the car.
    u32 headingsSeeingTheCar = 0;
    for (u32 heading = 0; heading < 65536; heading += 1024) {
        const Camera camera = playerEye(181000, 154700, static_cast<u16>(heading));
        const View view = look(camera);
        const u16 number = numberOf(view.objects, &car);
        if (number == 0) continue;
        ++headingsSeeingTheCar;
        EXPECT_EQ(pixelsOf(view.painter, number), 0u) << "heading " << heading;
        EXPECT_EQ(pixelsOf(view.reference, number), 0u) << "heading " << heading;
    }
    EXPECT_GT(headingsSeeingTheCar, 10u);
}
