#pragma once
// What the framework needs of the machine it runs on: a display with one window,
// a message queue, message boxes, a way to show a finished frame and a sound
// output. Two back ends
// provide it: SdlPlatform (a real window) and MemoryPlatform (no display; tests,
// tools and benchmarks script its messages and look at its frames).
//
// The framework knows nothing of SDL; the back ends know nothing of events,
// callbacks or mode lists. They meet in the neutral records below.
#include "base/types.hpp"
#include "framework/audio_output.hpp"
#include "framework/modes.hpp"

#include <memory>
#include <vector>

// The messages a back end hands the framework, one per user action or window
// change, in the order they happened.
enum class MessageKind : u32 {
    KeyDown,        // a key went down, or repeats while held
    KeyUp,          // a key was released
    MouseDown,      // a mouse button went down (or was double-clicked)
    MouseUp,        // a mouse button was released
    MouseMove,      // the pointer moved
    Timer,          // a timer ran out
    Close,          // the user asks to close the window
    Paint,          // part of the window must be shown again
    Activate,       // the window gained or lost the keyboard, or was minimised
    Maximise,       // the user asked to maximise the window
    DisplayChange,  // the desktop's display settings changed
    DisplaySuspend, // the full-screen display was taken away (state 1) or given back (state 2)
    SwitchCommand,  // the framework's own request to switch between window and full screen
};

struct PlatformMessage {
    MessageKind kind = MessageKind::Paint;
    u32 time = 0; // milliseconds since the platform started
    // Keys.
    u8 scanCode = 0;        // PC scan code, set 1, without the extended bit
    u8 character = 0;       // the character the key types, 0 for none
    bool repeat = false;    // KeyDown of a key that was already down
    u32 repeatCount = 1;    // key presses this message stands for
    bool systemKey = false; // a key pressed with Alt held, or F10: never a menu shortcut
    bool alt = false;       // modifier keys held when the message was made
    bool shift = false;
    bool ctrl = false;
    // Mouse.
    i32 x = 0; // pointer: client-area position in a window, desktop position in full screen
    i32 y = 0;
    u32 button = 0; // MouseDown/MouseUp: 1 left, 4 right
    bool doubleClick = false;
    bool leftHeld = false; // buttons held when the message was made
    bool rightHeld = false;
    // Window and display.
    u32 state = 0;          // Activate: 0 inactive, 1 active, 2 active by a click; DisplaySuspend: 1 or 2
    bool minimised = false; // Activate: the window is now minimised
    u32 reason = 0;         // SwitchCommand: 1 the user asked, 2 the desktop changed
};

// A finished frame handed to the back end: rows of 24-bit pixels whose bytes are
// blue, green, red, top row first.
struct PresentedFrame {
    const u8* pixels = nullptr;
    u32 width = 0;
    u32 height = 0;
    u32 bytesPerLine = 0;
    // Shown at the pace of the real display (its retrace, at most 60 frames a
    // second); false shows it at once.
    bool paced = true;
};

// Where a window sits on the desktop (its outer top-left corner).
struct WindowPlace {
    i32 x = 0;
    i32 y = 0;
};

// The picture a window shows as its icon: rows of 32-bit pixels 0xAARRGGBB
// (alpha, red, green, blue), top row first.
struct WindowIcon {
    std::vector<u32> pixels;
    u32 width = 0;
    u32 height = 0;
};

// The width and height a window's frame and caption add to its client area.
struct FrameExtent {
    u32 width = 0;
    u32 height = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // Connects to the display and describes it; false when there is none.
    virtual bool openDisplay(DisplayHardware& hardware) = 0;
    // Destroys the window and lets go of the display.
    virtual void closeDisplay() = 0;

    // Makes the program's one window, hidden, with a maximise box only if asked.
    virtual bool createWindow(const char* title, bool canMaximise) = 0;
    virtual void destroyWindow() = 0;
    // The window's icon, now and for every window made later.
    virtual void setWindowIcon(const WindowIcon& icon) = 0;
    // What frame and caption add around the client area (0 when unknown).
    virtual FrameExtent frameExtent() = 0;
    virtual WindowPlace windowPlace() = 0;
    // Shows the window (out of full screen) with that client size at that place,
    // gives it the keyboard and brings it to the front.
    virtual void showWindow(WindowPlace place, u32 clientWidth, u32 clientHeight) = 0;
    // Turns the window into the full-screen display of a width x height mode.
    virtual bool enterFullScreen(u32 width, u32 height) = 0;

    // Shows a finished frame, scaled to fill the window or the screen.
    virtual void present(const PresentedFrame& frame) = 0;
    // Shows the last presented frame again.
    virtual void repaint() = 0;

    // Takes the next waiting message; false when none waits.
    virtual bool pollMessage(PlatformMessage& message) = 0;
    // Sleeps until a message waits, at most `milliseconds`: the wait of a program
    // held until the display comes back.
    virtual void waitMessage(u32 milliseconds) = 0;
    // The same for a main-loop pass that has nothing to run but the events.
    virtual void idle(u32 milliseconds) = 0;
    // Queues a message of the framework's own (the switch command).
    virtual void postMessage(const PlatformMessage& message) = 0;
    // A new pass of the main loop begins.
    virtual void startPass() = 0;
    // Milliseconds since the platform started (the time stamp of messages).
    virtual u32 milliseconds() = 0;

    // A Yes/No question with a question-mark icon; true for Yes.
    virtual bool askYesNo(const char* text, const char* title) = 0;
    // An error box with a warning icon.
    virtual void showError(const char* text, const char* title) = 0;

    // The machine's sound output (closed until the framework opens it).
    virtual AudioOutput& audio() = 0;
};

// Makes `chosen` the platform the framework talks to (after closing anything open
// on the old one). The program chooses before InitFramework.
void selectPlatform(std::unique_ptr<Platform> chosen);
