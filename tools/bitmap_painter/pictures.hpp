#pragma once
// The game's pictures, painted. Coordinates are pixels, y downward.
#include "gfx/bitmap.hpp"
#include "tools/bitmap_painter/canvas.hpp"

// The sky, fading into the fog colour (240, 240, 240) toward the bottom and
// repeating every 640 / scale columns (the screen width, after which the
// sliding sky wraps): scale 1 paints the 1280 x 320 sky for 640 x 480, scale 2
// the same sky at 640 x 160 for 320 x 240.
Canvas paintSky(int scale);

// Where the cockpit's instruments are drawn by the head-up display.
struct CockpitLayout {
    int width, height;
    double scale;     // 1 at 640 x 480, 0.5 at 320 x 240
    int speed[4];     // well around the speed bar: x0, y0, x1, y1
    int compass[3];   // centre x, y and radius of the needle
    int nitroLamp[2]; // top-left corner of the lamp bitmap
    int flagLamp[2];
    int lampSize;
    int ammoDigits[4]; // well around the two ammunition digits
    int mineDigits[4];
    int shields[4]; // well around the shield bars
    bool labels;    // lettering beside the wells
};
CockpitLayout cockpitLayout640();
CockpitLayout cockpitLayout320();

// The dashboard over the view; uncovered pixels stay pure white, which the
// game draws as transparent.
Canvas paintCockpit(const CockpitLayout& layout);

// A lit lamp on the dark of its well.
Canvas paintLamp(int size, Rgb glow);

// A lit bar of a seven-segment digit.
Canvas paintSegment(int width, int height);

// The menu's background: title art at the top, a dark calm panel where the
// menu lines stand, a small scene on the right.
Canvas paintMenu(int width, int height);

// A 24-bit bitmap of the canvas. With `keyUncovered`, pixels the painted shapes
// do not cover become pure white (the game's transparent colour) and no painted
// pixel is pure white.
Bitmap toBitmap24(const Canvas& canvas, bool keyUncovered);

// An 8-bit bitmap with a palette chosen for the picture (median cut) and a
// light ordered dither.
Bitmap toBitmap8(const Canvas& canvas);
