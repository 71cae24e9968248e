#pragma once
// The head-up display of the human player, drawn over the 3D view: speed, compass,
// ammunition, mines, the carried flag, nitro and shields, as the simulation reads
// them (sim/hud_readings.hpp). A cockpit layout for 640x480 and one for
// 320x240, drawn over the cockpit bitmap with lamps and seven-segment digits,
// and a plain layout with text labels for every other case.
#include "base/types.hpp"

struct DeviceContext;
struct Player;
struct ScreenInfo;

void DrawHud(const Player& player, DeviceContext& target, const ScreenInfo& screen, u32 cockpit);

// Frees the HUD's font (tools that draw the HUD without the rest of the shell).
void resetHud();
