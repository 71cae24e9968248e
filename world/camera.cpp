#include "world/camera.hpp"

#include <cmath>

Camera::Camera(u32 x_, u32 y_, u32 z_, u16 heading_, u16 angleAbove_, u16 angleBelow_, u32 nearDepth_,
               u32 farDepth_)
    : x(x_), y(y_), z(z_), heading(heading_), angleAbove(angleAbove_), angleBelow(angleBelow_),
      nearDepth(nearDepth_), farDepth(farDepth_) {
    const f32 a = headingRadians(heading);
    sinHeading = std::sin(a);
    cosHeading = std::cos(a);
    tanBelow = std::tan(headingRadians(angleBelow));
}

void Camera::moveBy(i32 dx, i32 dy) {
    x += static_cast<u32>(dx);
    y += static_cast<u32>(dy);
}

void Camera::moveAndTurn(i32 dx, i32 dy, i16 dHeading) {
    moveBy(dx, dy);
    heading = static_cast<u16>(heading + static_cast<u16>(dHeading));
    const f32 a = headingRadians(heading);
    sinHeading = std::sin(a);
    cosHeading = std::cos(a);
}

Camera playerEye(u32 x, u32 y, u16 heading) {
    return Camera(x, y, eyeHeight, heading, eyeAngleAbove, eyeAngleBelow, eyeNearDepth, eyeFarDepth);
}
