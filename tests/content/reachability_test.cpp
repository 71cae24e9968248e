// The path search behind the level checks must be able to fail: an open ring
// leaks, a walled-in flag cannot be reached.
#include "tests/content/reachability.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TinyField {
    WorldGrid grid;
    std::vector<std::unique_ptr<WorldObject>> objects;

    TinyField() { grid.resize(4, 4); }

    WorldObject& add(ObjectType type, u32 minX, u32 minY, u32 maxX, u32 maxY) {
        auto o = std::make_unique<WorldObject>();
        o->type = type;
        o->active = true;
        o->minX = minX, o->minY = minY, o->maxX = maxX, o->maxY = maxY;
        for (u32 cx = minX >> 16; cx <= std::min<u32>(maxX >> 16, 3); ++cx)
            for (u32 cy = minY >> 16; cy <= std::min<u32>(maxY >> 16, 3); ++cy) grid.cellFor(cx, cy).add(o.get());
        objects.push_back(std::move(o));
        return *objects.back();
    }
    // A ring of walls 4096 thick just inside the 4 x 4 cell field, with an
    // optional gap in its east side.
    void ring(bool gap) {
        const u32 far = 4 * 65536 - 8192;
        add(ObjectType::Block, 4096, 4096, far, 8192);
        add(ObjectType::Block, 4096, far - 4096, far, far);
        add(ObjectType::Block, 4096, 4096, 8192, far);
        if (gap) {
            add(ObjectType::Block, far - 4096, 4096, far, 100000);
            add(ObjectType::Block, far - 4096, 130000, far, far);
        } else {
            add(ObjectType::Block, far - 4096, 4096, far, far);
        }
    }
};

TEST(DrivableArea, AClosedRingHoldsTheCarAndAnOpenOneLeaks) {
    TinyField closed;
    closed.ring(false);
    DrivableArea inside(closed.grid, 4717, 4096);
    inside.floodFrom(131072, 131072);
    EXPECT_TRUE(inside.startFree());
    EXPECT_FALSE(inside.leaksOut());

    TinyField open;
    open.ring(true);
    DrivableArea leaking(open.grid, 4717, 4096);
    leaking.floodFrom(131072, 131072);
    EXPECT_TRUE(leaking.leaksOut());
}

TEST(DrivableArea, AFlagBehindWaterCannotBeReachedButOneInTheOpenCan) {
    TinyField field;
    field.ring(false);
    // A pool of sea round the flag, too wide to pass.
    const WorldObject& hidden = field.add(ObjectType::Flag, 180000, 180000, 184000, 180500);
    field.add(ObjectType::Sea, 160000, 160000, 200000, 170000);
    field.add(ObjectType::Sea, 160000, 190000, 200000, 200000);
    field.add(ObjectType::Sea, 160000, 160000, 170000, 200000);
    field.add(ObjectType::Sea, 190000, 160000, 200000, 200000);
    const WorldObject& open = field.add(ObjectType::Flag, 60000, 180000, 64000, 180500);
    DrivableArea area(field.grid, 4717, 4096);
    area.floodFrom(60000, 60000);
    EXPECT_TRUE(area.touches(open));
    EXPECT_FALSE(area.touches(hidden));
}

TEST(DrivableArea, AStartInsideAnObstacleIsReported) {
    TinyField field;
    field.add(ObjectType::Block, 50000, 50000, 70000, 70000);
    DrivableArea area(field.grid, 4717, 4096);
    area.floodFrom(60000, 60000);
    EXPECT_FALSE(area.startFree());
}

} // namespace
