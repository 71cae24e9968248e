#pragma once
// The window's side of the platform messages: every waiting message is first
// turned into an input event (events.hpp), then answered as a window: closing with
// a confirmation, Alt+Enter and the maximise box switching between window and full
// screen, the full-screen display going away and coming back.
#include "base/types.hpp"

struct PlatformMessage;

// Takes every waiting platform message, queues its event and answers it.
void pumpMessages();

// The window's answer to one message.
void handleWindowMessage(const PlatformMessage& message);

// Switch command reasons.
inline constexpr u32 switchByUser = 1;          // Alt+Enter or the maximise box
inline constexpr u32 switchByDisplayChange = 2; // the desktop's display changed
