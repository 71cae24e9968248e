#pragma once
// What a match sounds like, heard from the human's car: every match event plays
// its effect placed around the human's camera (the angle from its heading, fading
// with distance so that a sound at the edge of the fog is faint), the human's
// engine loops with its speed, and the opponents' engines are heard when near.
#include "base/types.hpp"
#include "framework/audio_output.hpp"

struct Camera;
struct MatchEvent;

// Where a world point is heard from by an eye: the angle from its heading
// (clockwise, 90 on the right of the screen) and the mixer's distance.
SoundPlace soundPlaceFrom(const Camera& eye, u32 x, u32 y);

// The simulation's event listener while a match has sound.
void OnMatchEvent(const MatchEvent& event);

// The engines after a step: the human's three loops mixed by its speed, and each
// opponent's loop placed where it is (silent beyond hearing).
void UpdateEngineSounds();

// Stops every engine loop (a paused match or its end is still).
void silenceEngines();

// The match's frame callback with sound: the step (plain or a demo's), then the
// engines.
void SoundingUpdateFrame();

// The mute key: everything falls silent at once; again, and it plays again.
void ToggleMute();
