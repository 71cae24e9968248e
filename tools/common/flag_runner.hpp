#pragma once
// A scripted human for whole matches: each step it decides player 1's controls,
// as the keys would set them, to fetch the nearest opponent flag and bring it
// home. Tests hand the decision straight to the player (press); the demo pilot
// turns it into key presses. It steers along the shortest way on a lattice of
// car positions (any overlap with an obstacle counts, as in the level checks,
// with a margin for the car lying between lattice points); its own flags and
// laid mines count as obstacles, and while it carries a flag so do the other
// flags. When no opponent flag lies within reach it goes after the nearest car
// carrying one (the shots are the caller's), and when mines leave it no way at
// all it takes the way through them. When something the lattice did not
// foresee holds it, it turns to the free direction nearest its way and drives
// out.
#include "sim/collision.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <set>
#include <vector>

// The controls of one step: the four held ones, and a drop request.
struct RunnerControls {
    bool accelerate = false, brake = false, turnLeft = false, turnRight = false;
    bool dropFlag = false;
};

class FlagRunner {
  public:
    explicit FlagRunner(Player& human)
        : me(human), half(halfSizeOf(human.vehicle->minX, human.vehicle->maxX) + margin),
          columns(world::state.worldGrid.width * 65536 / step + 1),
          rows(world::state.worldGrid.height * 65536 / step + 1),
          fixedBlocked(static_cast<size_t>(columns * rows), 0) {
        for (const auto& object : world::state.worldObjects)
            if (object->active && isFixedObstacle(object->type)) stamp(fixedBlocked, boxOf(*object));
    }

    // Sets the controls for the coming step.
    void press() {
        const RunnerControls c = decide();
        me.accelerate = c.accelerate, me.brake = c.brake;
        me.turnLeft = c.turnLeft, me.turnRight = c.turnRight;
        if (c.dropFlag) me.dropFlag = 1;
    }

    // The controls for the coming step; call once a step, before it.
    RunnerControls decide() {
        RunnerControls c;
        const u16 own = me.vehicle->owner;
        if (me.carriedFlag != nullptr && me.carriedFlag->owner == own) {
            c.dropFlag = true; // picked up its own by mistake
        }
        replanWhenTheWorldChanged();
        if (goal == nullptr || distance.empty()) return c;
        // Pushing without moving: held by something the lattice did not foresee.
        const bool moved = me.camera->x != lastX || me.camera->y != lastY;
        lastX = me.camera->x, lastY = me.camera->y;
        stuckSteps = moved || !pushed ? 0 : stuckSteps + 1;
        const auto [aimX, aimY] = aimPoint();
        if (stuckSteps > 8 && escapeSteps == 0) {
            escapeSteps = 25;
            escapeHeading = freeHeadingNear(headingOf(aimX - i64{me.camera->x}, aimY - i64{me.camera->y}));
        }
        if (escapeSteps > 0) {
            --escapeSteps;
            const f64 angle = escapeHeading * 3.141592653589793 / 32768;
            steerToward(c, i64{me.camera->x} + static_cast<i64>(65536 * std::sin(angle)),
                        i64{me.camera->y} + static_cast<i64>(65536 * std::cos(angle)));
        } else {
            steerToward(c, aimX, aimY, closingOnAFlag());
        }
        pushed = c.accelerate;
        return c;
    }

    // True for an object in the grid: not carried, not gone.
    static bool isLying(const WorldObject& o) {
        const CellList* list = world::state.worldGrid.cell(cellOf(o.minX), cellOf(o.minY));
        return o.active && list != nullptr && listHolds(*list, o);
    }

    // What it is going for: an opponent flag, its headquarters, a car carrying a
    // flag, or nothing.
    const WorldObject* target() const { return goal; }

    // Lattice steps (a sixteenth of a cell each) left to the target; -1 with no
    // target or no way to it.
    i32 stepsToTarget() const {
        if (goal == nullptr || distance.empty()) return unreached;
        const auto [c, r] = here();
        return distance[at(c, r)];
    }

    // True when a mine lying in `box`, given the wide berth the runner keeps from
    // mines, would leave every way it has now open: from the car to its
    // headquarters and to each opponent flag it can reach. For laying a mine
    // where it will not wall the runner in.
    bool leavesWaysOpen(const Box& box) {
        replanWhenTheWorldChanged();
        std::vector<const WorldObject*> places{me.hq};
        for (const auto& object : world::state.worldObjects)
            if (object->type == ObjectType::Flag && object->owner != me.vehicle->owner && isLying(*object))
                places.push_back(object.get());
        const std::vector<i32> before = distancesFrom({here()});
        std::vector<u8> saved = blocked;
        stamp(blocked, box, mineBerth);
        const std::vector<i32> after = distancesFrom({here()});
        bool open = true;
        for (const WorldObject* place : places)
            if (reaches(before, *place) && !reaches(after, *place)) open = false;
        blocked = std::move(saved);
        return open;
    }

  private:
    static constexpr i64 step = 4096; // lattice spacing
    // Kept from obstacles: the car is never farther than this from its lattice point.
    static constexpr i64 margin = 2048;
    static constexpr i32 unreached = -1;
    static constexpr f64 slowSpeed = 1200; // world units a step
    static constexpr i64 mineBerth = 6144; // kept from mines besides the margin, where there is room

    static bool isFixedObstacle(ObjectType t) {
        return t == ObjectType::Block || t == ObjectType::Sea || t == ObjectType::Sand ||
               t == ObjectType::Hq || t == ObjectType::Plant;
    }

    size_t at(i64 c, i64 r) const { return static_cast<size_t>(r * columns + c); }
    bool inside(i64 c, i64 r) const { return c >= 0 && r >= 0 && c < columns && r < rows; }

    // Marks the lattice points where the car's box (with the margin, and `more`
    // besides) overlaps the box.
    void stamp(std::vector<u8>& mask, const Box& box, i64 more = 0) const {
        const Box o{static_cast<u32>(std::max<i64>(0, i64{box.minX} - more)),
                    static_cast<u32>(std::max<i64>(0, i64{box.minY} - more)),
                    static_cast<u32>(std::min<i64>(0xFFFFFFFF, i64{box.maxX} + more)),
                    static_cast<u32>(std::min<i64>(0xFFFFFFFF, i64{box.maxY} + more))};
        const i64 c0 = std::max<i64>(0, (i64{o.minX} - half) / step),
                  c1 = std::min(columns - 1, (i64{o.maxX} + half) / step + 1);
        const i64 r0 = std::max<i64>(0, (i64{o.minY} - half) / step),
                  r1 = std::min(rows - 1, (i64{o.maxY} + half) / step + 1);
        for (i64 r = r0; r <= r1; ++r)
            for (i64 c = c0; c <= c1; ++c)
                if (c * step - half < o.maxX && o.minX < c * step + half && r * step - half < o.maxY &&
                    o.minY < r * step + half)
                    mask[at(c, r)] = 1;
    }

    // Lattice points from which one step brings the car's box onto the object.
    std::vector<std::pair<i64, i64>> pointsTouching(const WorldObject& o) const {
        std::vector<std::pair<i64, i64>> found;
        const i64 reach = half + step;
        for (i64 r = std::max<i64>(0, (i64{o.minY} - reach) / step);
             r <= std::min(rows - 1, (i64{o.maxY} + reach) / step + 1); ++r)
            for (i64 c = std::max<i64>(0, (i64{o.minX} - reach) / step);
                 c <= std::min(columns - 1, (i64{o.maxX} + reach) / step + 1); ++c)
                if (!blocked[at(c, r)] && c * step - reach < o.maxX && o.minX < c * step + reach &&
                    r * step - reach < o.maxY && o.minY < r * step + reach)
                    found.emplace_back(c, r);
        return found;
    }

    bool reaches(const std::vector<i32>& from, const WorldObject& o) const {
        for (const auto& [c, r] : pointsTouching(o))
            if (from[at(c, r)] != unreached) return true;
        return false;
    }

    // Steps from the seeds to every free lattice point.
    std::vector<i32> distancesFrom(const std::vector<std::pair<i64, i64>>& seeds) const {
        std::vector<i32> distance(blocked.size(), unreached);
        std::deque<std::pair<i64, i64>> queue;
        for (const auto& [c, r] : seeds) {
            distance[at(c, r)] = 0;
            queue.emplace_back(c, r);
        }
        while (!queue.empty()) {
            const auto [c, r] = queue.front();
            queue.pop_front();
            for (const auto& [dc, dr] :
                 {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const i64 nc = c + dc, nr = r + dr;
                if (!inside(nc, nr) || blocked[at(nc, nr)] || distance[at(nc, nr)] != unreached) continue;
                distance[at(nc, nr)] = distance[at(c, r)] + 1;
                queue.emplace_back(nc, nr);
            }
        }
        return distance;
    }

    // The free lattice point nearest the car (the lower on the way when two are as near).
    std::pair<i64, i64> here() const {
        const i64 c = (i64{me.camera->x} + step / 2) / step, r = (i64{me.camera->y} + step / 2) / step;
        std::pair<i64, i64> best{c, r};
        i64 bestScore = -1;
        for (i64 dr = -3; dr <= 3; ++dr)
            for (i64 dc = -3; dc <= 3; ++dc) {
                if (!inside(c + dc, r + dr) || blocked[at(c + dc, r + dr)]) continue;
                const i32 d = distance.empty() ? 0 : distance[at(c + dc, r + dr)];
                const i64 score = (dc * dc + dr * dr) * 1'000'000 + (d == unreached ? 999'999 : d);
                if (bestScore < 0 || score < bestScore) bestScore = score, best = {c + dc, r + dr};
            }
        return best;
    }

    // Rebuilds the obstacles and the way to the goal when flags or mines changed,
    // and now and then while the goal is a moving car.
    void replanWhenTheWorldChanged() {
        std::set<const WorldObject*> lying;
        for (const auto& object : world::state.worldObjects)
            if ((object->type == ObjectType::Flag || object->type == ObjectType::Mine) && isLying(*object))
                lying.insert(object.get());
        const bool carrying = me.carriedFlag != nullptr && me.carriedFlag->owner != me.vehicle->owner;
        const bool chaseDue = chasing && ++stepsSincePlan >= chaseReplan;
        if (planned && lying == lastLying && carrying == wasCarrying && !chaseDue) return;
        planned = true;
        lastLying = lying;
        wasCarrying = carrying;
        stepsSincePlan = 0;

        // Well clear of mines if it can (a fast car strays from its way), close
        // by them if it must, through them (where a shot may clear them) if they
        // leave it nowhere to go.
        for (const MineWay way : {MineWay::WideBerth, MineWay::Close, MineWay::Through}) {
            chooseGoal(lying, carrying, way);
            if (goal != nullptr) break;
        }
        if (goal != nullptr) distance = distancesFrom(pointsTouching(*goal));
    }

    // The goal: home with an opponent flag; else the lying opponent flag nearest
    // by the way there; else, with none to be had, the nearest car carrying a
    // flag, to be shot so that it drops it.
    enum class MineWay { WideBerth, Close, Through };

    void chooseGoal(const std::set<const WorldObject*>& lying, bool carrying, MineWay way) {
        blocked = fixedBlocked;
        const u16 own = me.vehicle->owner;
        for (const WorldObject* o : lying) {
            if (o->type != ObjectType::Mine && (o->owner == own || carrying)) stamp(blocked, boxOf(*o));
            if (o->type == ObjectType::Mine && way != MineWay::Through)
                stamp(blocked, boxOf(*o), way == MineWay::WideBerth ? mineBerth : 0);
        }
        goal = nullptr;
        chasing = false;
        distance.clear();
        const std::vector<i32> fromCar = distancesFrom({here()});
        if (carrying) {
            if (way == MineWay::Through || reaches(fromCar, *me.hq)) goal = me.hq;
            return;
        }
        i32 nearest = unreached;
        auto consider = [&](const WorldObject& o) {
            for (const auto& [c, r] : pointsTouching(o)) {
                const i32 d = fromCar[at(c, r)];
                if (d != unreached && (nearest == unreached || d < nearest)) nearest = d, goal = &o;
            }
        };
        for (const auto& o :
             world::state.worldObjects) // in the level's order, so that ties fall alike every run
            if (o->type == ObjectType::Flag && o->owner != own && lying.count(o.get()) != 0) consider(*o);
        if (goal != nullptr) return;
        for (u16 i = 0; i < world::state.playerCount; ++i) {
            const Player& other = *world::state.players[i];
            if (&other != &me && other.carriedFlag != nullptr && other.vehicle->active &&
                other.carriedFlag->owner != other.vehicle->owner)
                consider(*other.vehicle);
        }
        chasing = goal != nullptr;
    }

    // A point a little way down the path: the lowest point within reach that
    // the car can see in a straight line.
    std::pair<i64, i64> aimPoint() const {
        const auto [c, r] = here();
        const std::pair<i64, i64> onto{goal->minX / 2 + goal->maxX / 2, goal->minY / 2 + goal->maxY / 2};
        // At the goal: straight onto it, even where that runs inside the margin
        // (a flag lying against a wall is taken that way).
        if (distance[at(c, r)] == 0) return onto;
        if (c * step + step / 2 < me.camera->x || me.camera->x + step / 2 < c * step ||
            r * step + step / 2 < me.camera->y || me.camera->y + step / 2 < r * step)
            return {c * step, r * step}; // too close to something: out to free ground first
        if (distance[at(c, r)] < 0) return onto;
        std::pair<i64, i64> best{c, r};
        i32 bestDistance = distance[at(c, r)];
        constexpr i64 reach = 8;
        for (i64 dr = -reach; dr <= reach; ++dr)
            for (i64 dc = -reach; dc <= reach; ++dc) {
                const i64 nc = c + dc, nr = r + dr;
                if (!inside(nc, nr) || distance[at(nc, nr)] == unreached ||
                    distance[at(nc, nr)] >= bestDistance)
                    continue;
                if (dc * dc + dr * dr > reach * reach || !clearLine(c, r, nc, nr)) continue;
                best = {nc, nr};
                bestDistance = distance[at(nc, nr)];
            }
        return {best.first * step, best.second * step};
    }

    bool clearLine(i64 c0, i64 r0, i64 c1, i64 r1) const {
        const i64 n = 2 * std::max(std::abs(c1 - c0), std::abs(r1 - r0));
        for (i64 k = 1; k <= n; ++k) {
            const i64 c = c0 + ((c1 - c0) * k * 2 + n) / (2 * n), r = r0 + ((r1 - r0) * k * 2 + n) / (2 * n);
            if (blocked[at(c, r)]) return false;
        }
        return true;
    }

    static i32 headingOf(i64 dx, i64 dy) {
        return static_cast<i32>(std::atan2(static_cast<f64>(dx), static_cast<f64>(dy)) * 32768 /
                                3.141592653589793);
    }

    // Of sixteen directions, the one nearest the wanted heading in which the
    // car's box can move a short way without overlapping an obstacle.
    u16 freeHeadingNear(i32 wanted) const {
        const Box box = boxOf(*me.vehicle);
        u16 best = static_cast<u16>(wanted + 32768);
        i32 bestTurn = 65536;
        for (i32 k = 0; k < 16; ++k) {
            const u16 heading = static_cast<u16>(wanted + k * 4096);
            const f64 angle = heading * 3.141592653589793 / 32768;
            bool free = true;
            for (const f64 way : {300.0, 1500.0, 3000.0, 6000.0}) {
                const i64 dx = static_cast<i64>(way * std::sin(angle)),
                          dy = static_cast<i64>(way * std::cos(angle));
                for (const auto& o : world::state.worldObjects)
                    if (o.get() != me.vehicle && o->active &&
                        (isFixedObstacle(o->type) || o->type == ObjectType::Car) &&
                        box.minX + dx < i64{o->maxX} && i64{o->minX} < box.maxX + dx &&
                        box.minY + dy < i64{o->maxY} && i64{o->minY} < box.maxY + dy)
                        free = false;
            }
            const i32 turn = std::abs(static_cast<i16>(static_cast<u16>(k * 4096)));
            if (free && turn < bestTurn) bestTurn = turn, best = heading;
        }
        return best;
    }

    // Turns toward the point, easing off the turn before it overshoots; drives
    // when roughly facing it and brakes when facing well away.
    // Near a flag: a flag is small, and a car at full speed turns in a circle
    // wider than the places from which it touches one.
    bool closingOnAFlag() const {
        return goal->type == ObjectType::Flag && stepsToTarget() >= 0 && stepsToTarget() <= 8;
    }

    // When slow, it drives only while facing the point closely, and no faster
    // than lets it turn onto a flag rather than circle it.
    void steerToward(RunnerControls& c, i64 x, i64 y, bool slow = false) const {
        if (x == i64{me.camera->x} && y == i64{me.camera->y}) return;
        const i32 wanted = headingOf(x - i64{me.camera->x}, y - i64{me.camera->y});
        const i32 error = static_cast<i16>(static_cast<u16>(wanted - me.camera->heading));
        const i32 turning = static_cast<i16>(me.turnRate);
        const f64 speed = std::hypot(f64{me.velocityX}, f64{me.velocityY});
        if (std::abs(error) > (slow ? 3000 : 8000))
            c.brake = true;
        else if (std::abs(error) < (slow ? 1200 : 3000) && (!slow || speed < slowSpeed))
            c.accelerate = true;
        // Friction lets a turn run on four times its rate, or twice while braking.
        const i32 ahead = error - (c.brake ? 2 : 4) * turning;
        if (ahead > 300) c.turnLeft = true;
        if (ahead < -300) c.turnRight = true;
    }

    Player& me;
    const i64 half;
    const i64 columns, rows;
    std::vector<u8> fixedBlocked, blocked;
    std::vector<i32> distance;
    const WorldObject* goal = nullptr;
    std::set<const WorldObject*> lastLying;
    bool wasCarrying = false;
    bool planned = false;
    bool chasing = false; // the goal is a car
    u32 stepsSincePlan = 0;
    static constexpr u32 chaseReplan = 15;
    u32 lastX = 0, lastY = 0;
    bool pushed = false; // accelerating in the last step
    u32 stuckSteps = 0, escapeSteps = 0;
    u16 escapeHeading = 0;
};
