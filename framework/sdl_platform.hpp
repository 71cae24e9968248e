#pragma once
// The real platform: one SDL2 window (X11 class "GameFrameworkWindow"), full
// screen as a desktop-sized window showing the game's size scaled with its shape
// kept, frames through one streaming texture, presenting paced by the retrace and
// never faster than 60 frames a second; gamepads through SDL's game controllers,
// plugged in before or while the game runs. The only place that talks to SDL.
#include "base/types.hpp"
#include "framework/gamepad.hpp"
#include "framework/platform.hpp"
#include "framework/sdl_audio.hpp"

#include <deque>
#include <map>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct _SDL_GameController;
union SDL_Event;

class SdlPlatform final : public Platform {
  public:
    SdlPlatform() = default;
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    bool openDisplay(DisplayHardware& hardware) override;
    void closeDisplay() override;
    bool createWindow(const char* title, bool canMaximise) override;
    void destroyWindow() override;
    void setWindowIcon(const WindowIcon& icon) override;
    FrameExtent frameExtent() override;
    WindowPlace windowPlace() override;
    void showWindow(WindowPlace place, u32 clientWidth, u32 clientHeight) override;
    bool enterFullScreen(u32 width, u32 height) override;
    void present(const PresentedFrame& frame) override;
    void repaint() override;
    bool pollMessage(PlatformMessage& message) override;
    void waitMessage(u32 milliseconds) override;
    void idle(u32 milliseconds) override { waitMessage(milliseconds); }
    void postMessage(const PlatformMessage& message) override;
    void startPass() override {}
    u32 milliseconds() override;
    bool askYesNo(const char* text, const char* title) override;
    void showError(const char* text, const char* title) override;
    AudioOutput& audio() override { return audio_; }

  private:
    // Turns one SDL event into the messages it means (none, one or two).
    void translate(const SDL_Event& event);
    // Clears, draws the texture and presents, at most 60 times a second.
    void show();
    // Queues the key messages a gamepad caused.
    void queuePadKeys(u32 time);
    void closeGamepads();

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    u32 textureWidth_ = 0;
    u32 textureHeight_ = 0;
    u32 switchEventType_ = 0; // the SDL user event that carries the switch command
    bool fullScreen_ = false;
    bool displayAway_ = false;                 // the full-screen display was reported taken away
    u64 lastPresent_ = 0;                      // performance-counter time of the last present
    bool paced_ = true;                        // frames wait for the retrace and the 60-a-second floor
    std::deque<PlatformMessage> pending_;      // translated, not yet taken
    SdlAudio audio_;                           // SDL2_mixer on SDL's audio device
    WindowIcon icon_;                          // given to every window made
    bool padsStarted_ = false;                 // SDL's game controllers are running
    std::map<i32, _SDL_GameController*> pads_; // open game controllers by joystick instance
    GamepadKeys padKeys_;                      // what the pads press
    std::vector<PlatformMessage> padMessages_;
};

// The PC scan code (set 1, extended bit dropped) of an SDL scancode; 0 for a key
// the PC keyboard does not have, or a number outside SDL's range.
u8 pcScanCode(int sdlScancode);
