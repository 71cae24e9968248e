// Where the human hears a sound: its angle from the view's heading agrees with
// the side of the screen the renderer draws it on, and its distance fades to
// faint at the edge of the fog and to nothing just beyond.
#include "render/fog.hpp"
#include "render/view.hpp"
#include "shell/match_sound.hpp"
#include "world/camera.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr u32 centre = 1u << 24;

TEST(SoundPlace, AheadRightBehindAndLeftOfEveryHeading) {
    for (u16 heading : {u16{0}, u16{16384}, u16{5000}, u16{40000}, u16{65000}}) {
        const Camera eye = playerEye(centre, centre, heading);
        const f32 s = eye.sinHeading;
        const f32 c = eye.cosHeading;
        const auto at = [&](f32 ahead, f32 right) {
            // A point `ahead` along the heading and `right` across it, where the
            // screen shows a negative lateral offset: to the right.
            const f32 dx = ahead * s - right * c;
            const f32 dy = ahead * c + right * s;
            return soundPlaceFrom(eye, static_cast<u32>(centre + std::lround(dx)),
                                  static_cast<u32>(centre + std::lround(dy)));
        };
        EXPECT_NEAR(at(30000, 0).angle % 359, 0, 1) << heading;
        EXPECT_NEAR(at(0, 30000).angle, 90, 1) << heading;
        EXPECT_NEAR(at(-30000, 0).angle, 180, 1) << heading;
        EXPECT_NEAR(at(0, -30000).angle, 270, 1) << heading;
        EXPECT_NEAR(at(20000, 20000).angle, 45, 1) << heading;
    }
}

TEST(SoundPlace, TheRightOfTheSoundIsTheRightOfTheScreen) {
    const Camera eye = playerEye(centre, centre, 12345);
    const ViewConstants view = viewConstants(eye, 639, 479);
    for (i32 dx = -40000; dx <= 40000; dx += 10000) {
        for (i32 dy = -40000; dy <= 40000; dy += 10000) {
            const f32 depth = depthOf(eye, static_cast<f32>(dx), static_cast<f32>(dy));
            if (depth < 1000) continue; // behind the eye: not on the screen
            ViewPoint point;
            point.lateral = lateralOf(eye, static_cast<f32>(dx), static_cast<f32>(dy));
            point.depth = depth;
            const f32 column = project(point, view).sx;
            const u16 angle = soundPlaceFrom(eye, centre + dx, centre + dy).angle;
            if (column > view.centreX + 1) {
                EXPECT_TRUE(angle > 0 && angle < 90) << dx << " " << dy;
            } else if (column < view.centreX - 1) {
                EXPECT_GT(angle, 270) << dx << " " << dy;
            }
        }
    }
}

TEST(SoundPlace, FullAtTheCarFaintAtTheFogsEdgeGoneJustBeyond) {
    const Camera eye = playerEye(centre, centre, 0);
    const auto distanceAt = [&](f32 units) {
        return soundPlaceFrom(eye, centre, centre + static_cast<u32>(units)).distance;
    };
    EXPECT_EQ(soundPlaceFrom(eye, centre, centre).distance, 0);
    EXPECT_EQ(distanceAt(fogDepth / 2), 108);
    EXPECT_EQ(distanceAt(fogDepth), 216); // about a seventh of the volume
    EXPECT_EQ(distanceAt(fogDepth * 1.2f), 255);
    EXPECT_EQ(distanceAt(fogDepth * 10), 255);
}

} // namespace
