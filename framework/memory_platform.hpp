#pragma once
// A platform without a display, for tests, tools and benchmarks. Frames stay in
// memory and go to an observer; the messages come from a script that says at which
// main-loop pass each arrives; time is a virtual clock that moves only when the
// program runs passes, sleeps (base's sleepMilliseconds) or waits for messages.
//
//     MemoryPlatform& machine = useMemoryPlatform(1024, 768);
//     machine.pressKey(3, scanSpace);    // Space goes down in the third pass
//     machine.releaseKey(5, scanSpace);
//     machine.requestClose(9);           // the window's close box, answered Yes
//     ... InitFramework, SetMode, MainLoop ...
//     machine.framesPresented, machine.lastFrame (with keepLastFrame set)
//
// Pass 0 is everything before the first main-loop pass: its messages arrive at
// the first look at the message queue.
#include "base/types.hpp"
#include "framework/gamepad.hpp"
#include "framework/memory_audio.hpp"
#include "framework/platform.hpp"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class MemoryPlatform final : public Platform {
  public:
    // A desktop of that size, 24 bits per pixel, showing every mode up to its
    // size at every depth with two pages.
    explicit MemoryPlatform(u32 desktopWidth = 1024, u32 desktopHeight = 768);

    // ---- Set-up, before InitFramework ----

    DisplayHardware hardware;     // what openDisplay reports
    FrameExtent frame;            // what a window's frame and caption add (none by default)
    bool displayAvailable = true; // false: openDisplay fails, as with no display at all
    bool closeAnswer = true;      // the answer to every "Confirm Exit" question
    u32 millisecondsPerPass = 33; // virtual time each main-loop pass takes
    // Virtual time each read of the game's clock takes; for code that waits by
    // reading the clock again and again.
    u32 millisecondsPerClockRead = 0;

    // ---- The script: what happens at which main-loop pass ----

    // Key presses by scan code. A key pressed again while held repeats; Alt (56)
    // held makes system keys, as does F10; Shift (42, 54) and Ctrl (29) held show
    // in the modifiers.
    void pressKey(u32 pass, u8 scanCode, u8 character = 0);
    void releaseKey(u32 pass, u8 scanCode);
    // Down and up in the same pass.
    void tapKey(u32 pass, u8 scanCode, u8 character = 0);

    // The pointer, in client-area (window) or desktop (full screen) coordinates;
    // buttons are buttonLeft or buttonRight.
    void moveMouse(u32 pass, i32 x, i32 y);
    void pressButton(u32 pass, u32 button, i32 x, i32 y, bool doubleClick = false);
    void releaseButton(u32 pass, u32 button, i32 x, i32 y);
    void timerTick(u32 pass);

    void requestClose(u32 pass);              // the window's close box
    void changeFocus(u32 pass, bool focused); // the window gains or loses the keyboard
    void minimise(u32 pass);
    void maximise(u32 pass);        // the window's maximise box
    void changeDisplay(u32 pass);   // the desktop's resolution changed
    void takeDisplayAway(u32 pass); // the full-screen display goes to another program
    void giveDisplayBack(u32 pass);

    // Gamepads, by a number of the test's choosing: plugged in and out, buttons
    // and axes. They press the pad's keys as the real back end's pads do.
    void plugPad(u32 pass, i32 pad);
    void unplugPad(u32 pass, i32 pad);
    void padButton(u32 pass, i32 pad, PadButton button, bool down);
    void padAxis(u32 pass, i32 pad, PadAxis axis, i32 value);

    // Any other message.
    void send(u32 pass, const PlatformMessage& message);

    // True when every scripted message has been delivered.
    bool scriptDone() const { return script_.empty(); }

    // ---- What the program did ----

    // Sees every presented frame (its pixels are valid during the call only).
    std::function<void(const PresentedFrame&)> frameObserver;
    u32 framesPresented = 0;
    u32 repaints = 0;
    u32 idlePasses = 0; // passes that waited for input
    // True: every presented frame is copied into lastFrame. Off by default, so
    // that a frame costs no copy unless somebody looks at it afterwards.
    bool keepLastFrame = false;
    // The last presented frame while keepLastFrame is set: rows of blue, green,
    // red bytes without padding.
    std::vector<u8> lastFrame;
    u32 lastFrameWidth = 0;
    u32 lastFrameHeight = 0;

    bool displayOpen = false;
    bool windowExists = false;
    std::string windowTitle;
    bool windowCanMaximise = false;
    WindowIcon windowIcon; // the icon the program gave its window
    bool windowShown = false;
    bool fullScreen = false;
    u32 clientWidth = 0; // the window's client area, while windowed
    u32 clientHeight = 0;
    WindowPlace place;   // the window's place; a test may move it
    u32 screenWidth = 0; // the full-screen mode's size, while full screen
    u32 screenHeight = 0;

    struct Box {
        std::string title;
        std::string text;
    };
    std::vector<Box> questions; // Yes/No questions asked
    std::vector<Box> errors;    // error boxes shown

    // The sound: what would have been played (and, before it opens, whether a
    // device is there).
    MemoryAudio sound;

    u32 pass() const { return pass_; }
    // Moves the virtual clock on.
    void advanceTime(u32 milliseconds) { now_ += milliseconds; }
    // The game's clock: whole seconds of virtual calendar time.
    u32 clockSeconds();

    // ---- Platform ----
    bool openDisplay(DisplayHardware& description) override;
    void closeDisplay() override;
    bool createWindow(const char* title, bool canMaximise) override;
    void destroyWindow() override;
    void setWindowIcon(const WindowIcon& icon) override { windowIcon = icon; }
    FrameExtent frameExtent() override { return frame; }
    WindowPlace windowPlace() override { return place; }
    void showWindow(WindowPlace where, u32 width, u32 height) override;
    bool enterFullScreen(u32 width, u32 height) override;
    void present(const PresentedFrame& shown) override;
    void repaint() override { ++repaints; }
    bool pollMessage(PlatformMessage& message) override;
    void waitMessage(u32 milliseconds) override;
    void idle(u32) override { ++idlePasses; } // passes are the memory platform's time
    void postMessage(const PlatformMessage& message) override { posted_.push_back(message); }
    void startPass() override;
    u32 milliseconds() override;
    bool askYesNo(const char* text, const char* title) override;
    void showError(const char* text, const char* title) override;
    AudioOutput& audio() override { return sound; }

  private:
    // What a pad does, when a scheduled entry is one.
    enum class PadEvent : u8 { None, Plug, Unplug, Button, Axis };
    struct PadAction {
        PadEvent event = PadEvent::None;
        i32 pad = 0;
        u32 control = 0; // the PadButton or PadAxis
        i32 value = 0;   // button down (1) or up (0); the axis' value
    };
    struct Scheduled {
        u32 pass;
        PlatformMessage message;
        PadAction pad;
    };
    void schedule(u32 pass, const PlatformMessage& message);
    void schedulePad(u32 pass, const PadAction& pad);
    // Takes the script's next entry: its message, or the key messages of a pad
    // action (none or several) into padKeys_.
    void takeScripted(std::deque<PlatformMessage>& into);
    // Fills in what the keyboard and mouse state say about a message as it arrives.
    void arrive(PlatformMessage& message);

    std::deque<Scheduled> script_; // in order of pass, then of scheduling
    std::deque<PlatformMessage> posted_;
    std::deque<PlatformMessage> padMessages_; // a pad's key messages, not yet taken
    GamepadKeys padKeys_;
    u32 pass_ = 0;
    u64 start_; // virtual calendar time at start, milliseconds
    u64 now_;
    bool held_[256] = {}; // keys down, as the script has pressed them
    bool leftHeld_ = false;
    bool rightHeld_ = false;
};

// Makes a fresh memory platform of that desktop size the framework's platform,
// with its virtual clock as the game's clock and sleep, and returns it.
MemoryPlatform& useMemoryPlatform(u32 desktopWidth = 1024, u32 desktopHeight = 768);

// The memory platform in use (the program must have chosen it).
MemoryPlatform& memoryPlatform();
