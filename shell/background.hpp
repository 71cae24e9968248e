#pragma once
// The background of a match's frame, painted before the scene: white, then the
// ground bands below the horizon, then the sky (a sky bitmap slid to the left,
// or the plain gradient from deep blue into the fog colour). The bands are laid
// out for 480 rows and halved on any frame but 640 columns wide.
//
// Every band is a full-width row of one colour, so the painter works out the
// colour each row ends with and writes every row once: the first pixel, then
// doubled across the row, or the row above copied down when the colour repeats.
#include "base/types.hpp"

struct Bitmap;
struct DeviceContext;

// What a background row ends up showing: the white of the clear, or a colour.
struct BackgroundRow {
    bool cleared = true; // only the clear's white (back colour 0xFFFFFF, packed)
    u8 red = 0, green = 0, blue = 0;
};

// Row y of a frame whose largest column is maxX, with the plain sky or without
// any sky (the sky bitmap then covers the top rows).
BackgroundRow backgroundRow(i32 y, i32 maxX, bool plainSky);

// Paints the background of a frame whose largest column is maxX into every row
// of dc: with the realistic sky, the sky bitmap at column skyX (none drawn when
// it is null), else the plain sky. Leaves the context's colour and back colour
// as drawing the bands one line at a time would.
void paintBackground(DeviceContext& dc, i32 maxX, bool realisticSky, const Bitmap* sky, i32 skyX);
