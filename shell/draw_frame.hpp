#pragma once
// The composition of one frame of a match: ground and sky, the 3D view of player
// 1, the HUD, the frame-rate counter and, once somebody has won, the winner screen.

// Composes and shows one frame. After the winner screen it waits ten seconds and
// ends the program with 0.
void DrawFrame();

// The background of a frame: the ground bands below the horizon, then the sky
// (the sliding sky bitmap or the plain gradient).
void DrawBackground();

// The frame-rate counter: counts this frame and, once a second, takes the count.
void CountFrame();
