#pragma once
// Sound effects through the platform's sound output. Sound is an extra: a
// machine without a sound device, or an effect that cannot be read, costs one
// line on standard error and the game plays on, silently where it must. Nothing
// here waits: the device is opened once, and a failed open is not tried again.
#include "base/types.hpp"
#include "framework/audio_output.hpp"

// Opens the platform's sound output. Without one, writes "Sound: <why>; playing
// on without sound." on standard error and returns false; every call below
// then does nothing.
bool StartSound();
// Stops every sound and closes the output (ShutdownFramework does it too).
void StopSound();
// True while the output is open.
bool SoundStarted();

// Loads the data file `name` ("sounds\shot.wav") as an effect. A file that is
// missing or damaged writes "Sound: <name>: <why>; that effect stays silent."
// on standard error and gives 0, which plays nothing. Without sound: 0, silently.
SoundHandle LoadSound(const char* name);

// Plays an effect once (nothing while muted).
void PlaySound(SoundHandle sound, SoundLane lane, SoundPlace place, u8 volume);
// Keeps a loop going on a voice; sound 0 stops it (nothing while muted).
void LoopSound(u32 voice, SoundHandle sound, SoundPlace place, u8 volume);

// Mutes (everything stops at once) or unmutes (new sounds play again).
void MuteSound(bool muted);
bool SoundMuted();
