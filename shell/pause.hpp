#pragma once
// Pausing a match. P (or a gamepad's Start) stops it and P again goes on; a
// windowed match that loses the keyboard, or a full-screen one whose display is
// taken away, stops too. While paused no step runs and nothing moves: the last
// frame stays on show with "PAUSED" over it, and with no frame callback the main
// loop waits for input instead of running passes. The match clock leaves the
// paused seconds out, so a computer player that waits for some seconds waits as
// many seconds of play as it would have without the break, and a demo records
// no step of the pause.
#include "base/types.hpp"

#include <vector>

// The pause of this run, kept in shell::state.
struct PauseState {
    bool paused = false;
    u32 pausedAt = 0;      // whole seconds of the calendar when the pause began
    u32 pausedSeconds = 0; // whole seconds of every pause so far, left out of the match clock
    // The frame on show when the pause began (the draw target's rows), drawn again
    // under "PAUSED" whenever the paused frame must be shown anew.
    std::vector<u8> frame;
    i32 frameBytesPerLine = 0;
    i32 frameHeight = 0;
};

// Registers the match's frame and draw callbacks (a demo's when one runs), or
// clears them while the match stands still.
void setMatchSteps(bool running);

// True while the match is paused.
bool matchPaused();

// Stops the match and shows the paused frame. Nothing happens in the menu, after
// the winner, in a timed demo or when the match is paused already.
void pauseMatch();
// Lets the match run on from where it stopped.
void resumeMatch();
// P: pauses a running match, resumes a paused one.
void togglePause();

// Shows the paused frame again: after the mode has been set anew or the display
// has come back.
void redrawPaused();

// The match clock of a match without a demo to play: the calendar's whole
// seconds less every second the match stood paused.
u32 playedSeconds();

// Back to a match that has never been paused (tests, a new run).
void resetPause();
