#include "render/camera.hpp"

#include <gtest/gtest.h>

#include <cmath>

TEST(Camera, StoresItsFieldsAndDerivesTheAnglesFromThem) {
    const Camera camera(100000, 200000, 3072, 16384, 7168, 3584, 0, 131072);
    EXPECT_EQ(camera.x, 100000u);
    EXPECT_EQ(camera.y, 200000u);
    EXPECT_EQ(camera.z, 3072u);
    EXPECT_EQ(camera.heading, 16384);
    EXPECT_EQ(camera.angleAbove, 7168);
    EXPECT_EQ(camera.angleBelow, 3584);
    EXPECT_EQ(camera.nearDepth, 0u);
    EXPECT_EQ(camera.farDepth, 131072u);
    // A quarter turn looks along +x. With pi rounded to a float the sine rounds to
    // exactly 1 and the cosine is a tiny negative number, not 0.
    EXPECT_EQ(camera.sinHeading, 1.0f);
    EXPECT_LT(camera.cosHeading, 0.0f);
    EXPECT_GT(camera.cosHeading, -1e-7f);
    // The standard view reaches 19.6875 degrees below the horizon.
    EXPECT_NEAR(camera.tanBelow, 0.357806f, 1e-6f);
}

TEST(Camera, HeadingZeroLooksAlongY) {
    const Camera camera(0, 0, 0, 0, 7168, 3584, 0, 131072);
    EXPECT_EQ(camera.sinHeading, 0.0f);
    EXPECT_EQ(camera.cosHeading, 1.0f);
}

TEST(Camera, HeadingUsesTwiceTheSinglePrecisionPi) {
    // 2 * pi as a float times heading / 65536, all single precision.
    EXPECT_EQ(headingRadians(32768), 3.1415927f);
    EXPECT_EQ(headingRadians(16384), 3.1415927f / 2);
    EXPECT_EQ(headingRadians(0x10000 + 16384), headingRadians(16384)); // low 16 bits
}

TEST(Camera, MoveByAddsSignedStepsWithWrapAround) {
    Camera camera(10, 4294967290u, 3072, 100, 7168, 3584, 0, 131072);
    const f32 sine = camera.sinHeading;
    camera.moveBy(-20, 10);
    EXPECT_EQ(camera.x, 4294967286u);
    EXPECT_EQ(camera.y, 4u);
    EXPECT_EQ(camera.heading, 100);
    EXPECT_EQ(camera.sinHeading, sine);
}

TEST(Camera, MoveAndTurnWrapsTheHeadingAndRecomputesOnlySineAndCosine) {
    Camera camera(1000, 2000, 3072, 65000, 7168, 3584, 0, 131072);
    camera.tanBelow = 5.0f; // must survive a turn
    camera.moveAndTurn(5, -5, 1000);
    EXPECT_EQ(camera.x, 1005u);
    EXPECT_EQ(camera.y, 1995u);
    EXPECT_EQ(camera.heading, 464);
    EXPECT_EQ(camera.sinHeading, std::sin(headingRadians(464)));
    EXPECT_EQ(camera.cosHeading, std::cos(headingRadians(464)));
    EXPECT_EQ(camera.tanBelow, 5.0f);

    camera.moveAndTurn(0, 0, -1000);
    EXPECT_EQ(camera.heading, 65000);
    camera.moveAndTurn(0, 0, -32768);
    EXPECT_EQ(camera.heading, 32232);
}
