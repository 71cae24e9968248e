#pragma once
// Recording a match into a demo file, and playing one back: at the game's pace
// (-playdemo) or as fast as the machine allows (-timedemo).
//
// A demo step is one call of UpdateFrame. While a demo runs, the match's frame
// callback is DemoUpdateFrame and the simulation's frame hook DemoStepDone:
//
//   recording: DemoUpdateFrame notes the human's controls as the step begins
//   (with the refills and view switches made since the step before), the match
//   clock hook notes every clock value the step reads, and DemoStepDone writes
//   the step's record (and every 35 steps a check value of the match state);
//   the end of the match writes the end record with the digest of the state.
//
//   playing: DemoUpdateFrame puts the recorded controls, refills and switches in
//   place, the match clock hook hands back the recorded clock values instead of
//   the real clock, and DemoStepDone compares the check values. At the last step
//   (or when a winner is found) the state's digest is compared with the
//   recording's: a difference ends the program with one line on standard error,
//   naming the steps in which the state first differs, and exit code 1.
//
// A match without a demo uses none of this.
#include "base/types.hpp"
#include "shell/command_line.hpp"

struct Player;

// Takes the command line's demo request, before the framework starts. A demo to
// play is read and checked here (its level must exist); a file to record into
// must be writable. Either failing ends the program with its message and exit 1.
void prepareDemo(const DemoRequest& request);

// A demo is being recorded or played in this run.
bool demoActive();
// A demo is being played (-playdemo or -timedemo).
bool demoPlaying();

// Sets the menu's settings to the demo's and starts its match (StartMatch): the
// menu is skipped.
void startDemoMatch();
// The level file of the match: the demo's when one is played.
const char* demoLevelFile();
// Called by StartMatch once the match is set up: opens the recording or starts
// the playback.
void beginDemo();

// The match's frame callback, draw callback and simulation frame hook while a
// demo runs.
void DemoUpdateFrame();
void DemoDrawFrame();
void DemoStepDone();

// The key bindings report the keypad-plus refills and the F and F10 switches.
void noteRefill();
void noteToggle(u8 demoToggle);
// While a demo plays, the keyboard answers only Esc, F, F10, S (and F12, Alt+Enter).
bool keyboardDrivesHuman();

// The winner screen's ten seconds are skipped by a timed demo.
bool winnerWaitSkipped();
// A demo is being played as fast as the machine allows (-timedemo): no pause.
bool demoTimed();
// The end of a run with a demo: writes the recording's end record, prints a timed
// demo's figures; returns the exit code (`code` when nothing changes it).
int endDemo(int code);

// Steps recorded or played so far in this match.
u32 demoStepsDone();

// Back to no demo (tests).
void resetDemo();
