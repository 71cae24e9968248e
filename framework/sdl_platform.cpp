#include "framework/sdl_platform.hpp"

#include "framework/events.hpp"

#include <SDL.h>

#include <array>
#include <cstring>
#include <utility>

namespace {

// ---- Keys ----

struct KeyPair {
    SDL_Scancode sdl;
    u8 pc;
};

// Every key of the 104-key board (and the two extra keys of the 105-key one) with
// its set-1 scan code. Extended keys keep the code of the key they were added
// beside: the arrows and the editing block share codes with the keypad, right Ctrl
// and Alt with the left ones, keypad Enter and / with Enter and /.
// clang-format off
constexpr KeyPair keyPairs[] = {
    {SDL_SCANCODE_ESCAPE, 1},
    {SDL_SCANCODE_1, 2}, {SDL_SCANCODE_2, 3}, {SDL_SCANCODE_3, 4}, {SDL_SCANCODE_4, 5},
    {SDL_SCANCODE_5, 6}, {SDL_SCANCODE_6, 7}, {SDL_SCANCODE_7, 8}, {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10}, {SDL_SCANCODE_0, 11}, {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13}, {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16}, {SDL_SCANCODE_W, 17}, {SDL_SCANCODE_E, 18}, {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20}, {SDL_SCANCODE_Y, 21}, {SDL_SCANCODE_U, 22}, {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24}, {SDL_SCANCODE_P, 25}, {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27}, {SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30}, {SDL_SCANCODE_S, 31}, {SDL_SCANCODE_D, 32}, {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34}, {SDL_SCANCODE_H, 35}, {SDL_SCANCODE_J, 36}, {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38}, {SDL_SCANCODE_SEMICOLON, 39}, {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41}, {SDL_SCANCODE_LSHIFT, 42}, {SDL_SCANCODE_BACKSLASH, 43},
    {SDL_SCANCODE_NONUSHASH, 43}, {SDL_SCANCODE_Z, 44}, {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46}, {SDL_SCANCODE_V, 47}, {SDL_SCANCODE_B, 48}, {SDL_SCANCODE_N, 49},
    {SDL_SCANCODE_M, 50}, {SDL_SCANCODE_COMMA, 51}, {SDL_SCANCODE_PERIOD, 52},
    {SDL_SCANCODE_SLASH, 53}, {SDL_SCANCODE_RSHIFT, 54}, {SDL_SCANCODE_KP_MULTIPLY, 55},
    {SDL_SCANCODE_LALT, 56}, {SDL_SCANCODE_SPACE, 57}, {SDL_SCANCODE_CAPSLOCK, 58},
    {SDL_SCANCODE_F1, 59}, {SDL_SCANCODE_F2, 60}, {SDL_SCANCODE_F3, 61}, {SDL_SCANCODE_F4, 62},
    {SDL_SCANCODE_F5, 63}, {SDL_SCANCODE_F6, 64}, {SDL_SCANCODE_F7, 65}, {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67}, {SDL_SCANCODE_F10, 68}, {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70}, {SDL_SCANCODE_KP_7, 71}, {SDL_SCANCODE_KP_8, 72},
    {SDL_SCANCODE_KP_9, 73}, {SDL_SCANCODE_KP_MINUS, 74}, {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76}, {SDL_SCANCODE_KP_6, 77}, {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79}, {SDL_SCANCODE_KP_2, 80}, {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82}, {SDL_SCANCODE_KP_PERIOD, 83}, {SDL_SCANCODE_NONUSBACKSLASH, 86},
    {SDL_SCANCODE_F11, 87}, {SDL_SCANCODE_F12, 88},
    // The extended keys.
    {SDL_SCANCODE_KP_ENTER, 28}, {SDL_SCANCODE_RCTRL, 29}, {SDL_SCANCODE_KP_DIVIDE, 53},
    {SDL_SCANCODE_PRINTSCREEN, 55}, {SDL_SCANCODE_RALT, 56}, {SDL_SCANCODE_PAUSE, 69},
    {SDL_SCANCODE_HOME, 71}, {SDL_SCANCODE_UP, 72}, {SDL_SCANCODE_PAGEUP, 73},
    {SDL_SCANCODE_LEFT, 75}, {SDL_SCANCODE_RIGHT, 77}, {SDL_SCANCODE_END, 79},
    {SDL_SCANCODE_DOWN, 80}, {SDL_SCANCODE_PAGEDOWN, 81}, {SDL_SCANCODE_INSERT, 82},
    {SDL_SCANCODE_DELETE, 83}, {SDL_SCANCODE_LGUI, 91}, {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93},
};
// clang-format on

constexpr std::array<u8, SDL_NUM_SCANCODES> makeScanCodeTable() {
    std::array<u8, SDL_NUM_SCANCODES> table{};
    for (const KeyPair& k : keyPairs) table[k.sdl] = k.pc;
    return table;
}

constexpr std::array<u8, SDL_NUM_SCANCODES> scanCodeTable = makeScanCodeTable();

static_assert(scanCodeTable[SDL_SCANCODE_ESCAPE] == scanEsc);
static_assert(scanCodeTable[SDL_SCANCODE_KP_ENTER] == scanEnter);
static_assert(scanCodeTable[SDL_SCANCODE_KP_8] == scanCodeTable[SDL_SCANCODE_UP]);

void applyWindowIcon(SDL_Window* window, const WindowIcon& icon) {
    if (!window || icon.pixels.empty()) return;
    // SDL copies the pixels; the surface only lends them for the call.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<u32*>(icon.pixels.data()), static_cast<int>(icon.width), static_cast<int>(icon.height), 32,
        static_cast<int>(icon.width * 4), SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// SDL's game controller buttons the game reads, in PadButton's order.
constexpr SDL_GameControllerButton padButtons[padButtonCount] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};
constexpr SDL_GameControllerAxis padAxes[padAxisCount] = {
    SDL_CONTROLLER_AXIS_LEFTX,
    SDL_CONTROLLER_AXIS_LEFTY,
    SDL_CONTROLLER_AXIS_TRIGGERLEFT,
    SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
};

// No key of the keyboard shares a code with a pad's control.
constexpr bool keyboardLeavesPadCodesFree() {
    for (const KeyPair& k : keyPairs)
        if (k.pc >= scanPadUp && k.pc <= scanPadRightTrigger) return false;
    return true;
}
static_assert(keyboardLeavesPadCodesFree());

PlatformMessage messageOf(MessageKind kind, u32 time) {
    PlatformMessage m;
    m.kind = kind;
    m.time = time;
    return m;
}

void setModifiers(PlatformMessage& m, Uint16 mod) {
    m.alt = mod & KMOD_ALT;
    m.shift = mod & KMOD_SHIFT;
    m.ctrl = mod & KMOD_CTRL;
}

// The pointer in window coordinates (the renderer's logical scaling undone; a
// full-screen window covers the desktop, so there they are desktop coordinates)
// and the buttons held.
void setPointer(PlatformMessage& m) {
    int x = 0;
    int y = 0;
    const Uint32 buttons = SDL_GetMouseState(&x, &y);
    m.x = x;
    m.y = y;
    m.leftHeld = buttons & SDL_BUTTON_LMASK;
    m.rightHeld = buttons & SDL_BUTTON_RMASK;
    setModifiers(m, static_cast<Uint16>(SDL_GetModState()));
}

// The character a key press types: the text SDL made of it when that is one plain
// ASCII character, else the key's own symbol when that is ASCII.
u8 characterOf(const SDL_KeyboardEvent& key) {
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
        next.type == SDL_TEXTINPUT) {
        SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
        const unsigned char c = static_cast<unsigned char>(next.text.text[0]);
        if (c > 0 && c < 128 && next.text.text[1] == '\0') return c;
    }
    const SDL_Keycode symbol = key.keysym.sym;
    return symbol > 0 && symbol < 128 ? static_cast<u8>(symbol) : 0;
}

// A video driver that puts windows on a screen, or one the user named.
bool isVisibleDriver(const char* driver) {
    if (!driver) return false;
    if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0) return true;
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return asked && SDL_strcasecmp(asked, driver) == 0;
}

} // namespace

u8 pcScanCode(int sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= static_cast<int>(scanCodeTable.size())) return 0;
    return scanCodeTable[static_cast<size_t>(sdlScancode)];
}

SdlPlatform::~SdlPlatform() {
    // The sound goes first: closing the display ends SDL altogether.
    audio_.close();
    closeDisplay();
}

bool SdlPlatform::openDisplay(DisplayHardware& hardware) {
    // The X11 window class; SDL reads it from the environment.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "GameFrameworkWindow", 1);
    // Ctrl+C in a terminal ends the program as usual, and closing the window is a
    // question the framework asks, not a quit.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Nearest-pixel scaling keeps a doubled pixel crisp.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoStarted_ = true;
    // Without a screen SDL falls back to drivers that show nothing; the game would
    // run unseen. They count only when asked for by name (tests ask for "dummy").
    if (!isVisibleDriver(SDL_GetCurrentVideoDriver())) {
        closeDisplay();
        return false;
    }

    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0 || desktop.w <= 0 || desktop.h <= 0) {
        closeDisplay();
        return false;
    }
    hardware.desktopWidth = static_cast<u32>(desktop.w);
    hardware.desktopHeight = static_cast<u32>(desktop.h);
    // Frames go to the screen as 24-bit pixels whatever the desktop really uses.
    hardware.desktopBitsPerPixel = 24;
    // Every full-screen mode is a desktop-sized window, which the full-screen DIB,
    // DirectDraw and OpenGL drivers all serve; the direct hardware drivers find no
    // hardware here.
    hardware.families = familyBit(DriverFamily::FullScreenDib) | familyBit(DriverFamily::DirectDraw) |
                        familyBit(DriverFamily::OpenGL);
    hardware.modes =
        offerModesUpTo(hardware.desktopWidth, hardware.desktopHeight, 2, modeCapPageFlip | modeCapDesktop);
    if (switchEventType_ == 0) switchEventType_ = SDL_RegisterEvents(1);
    // Pads already plugged in report themselves as added with the first events. A
    // machine whose controllers cannot start plays with the keyboard alone.
    padsStarted_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    return true;
}

void SdlPlatform::closeGamepads() {
    for (const auto& [instance, controller] : pads_) SDL_GameControllerClose(controller);
    pads_.clear();
    padKeys_ = GamepadKeys{};
    padsStarted_ = false;
}

void SdlPlatform::closeDisplay() {
    closeGamepads();
    destroyWindow();
    pending_.clear();
    if (videoStarted_) SDL_Quit();
    videoStarted_ = false;
}

bool SdlPlatform::createWindow(const char* title, bool canMaximise) {
    const Uint32 flags = SDL_WINDOW_HIDDEN | (canMaximise ? SDL_WINDOW_RESIZABLE : 0);
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 320, 200, flags);
    if (!window_) return false;
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    // No accelerated renderer (no GPU, no GL): SDL's software one draws the same.
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    paced_ = true;
    if (!renderer_) {
        destroyWindow();
        return false;
    }
    applyWindowIcon(window_, icon_);
    SDL_StartTextInput();
    return true;
}

void SdlPlatform::destroyWindow() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) {
        SDL_StopTextInput();
        SDL_DestroyWindow(window_);
    }
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    textureWidth_ = textureHeight_ = 0;
    fullScreen_ = false;
    displayAway_ = false;
}

void SdlPlatform::setWindowIcon(const WindowIcon& icon) {
    icon_ = icon;
    applyWindowIcon(window_, icon_);
}

FrameExtent SdlPlatform::frameExtent() {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!window_ || SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) return {};
    return {static_cast<u32>(left + right), static_cast<u32>(top + bottom)};
}

WindowPlace SdlPlatform::windowPlace() {
    if (!window_) return {};
    int x = 0, y = 0, top = 0, left = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    // SDL places the client area; the framework speaks of the outer corner.
    if (SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr) != 0) top = left = 0;
    return {x - left, y - top};
}

void SdlPlatform::showWindow(WindowPlace place, u32 clientWidth, u32 clientHeight) {
    if (!window_) return;
    if (fullScreen_) SDL_SetWindowFullscreen(window_, 0);
    fullScreen_ = false;
    displayAway_ = false;
    int top = 0, left = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr) != 0) top = left = 0;
    SDL_SetWindowSize(window_, static_cast<int>(clientWidth), static_cast<int>(clientHeight));
    SDL_SetWindowPosition(window_, place.x + left, place.y + top);
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

bool SdlPlatform::enterFullScreen(u32 /*width*/, u32 /*height*/) {
    // The mode's size reaches SDL with the first frame, as the renderer's logical size.
    if (!window_) return false;
    SDL_ShowWindow(window_);
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    SDL_RaiseWindow(window_);
    fullScreen_ = true;
    displayAway_ = false;
    return true;
}

void SdlPlatform::present(const PresentedFrame& frame) {
    if (!renderer_ || frame.width == 0 || frame.height == 0) return;
    if (!texture_ || frame.width != textureWidth_ || frame.height != textureHeight_) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                                     static_cast<int>(frame.width), static_cast<int>(frame.height));
        if (!texture_) return;
        textureWidth_ = frame.width;
        textureHeight_ = frame.height;
        // Scaled to the window or the screen with its shape kept, black bars around.
        SDL_RenderSetLogicalSize(renderer_, static_cast<int>(frame.width), static_cast<int>(frame.height));
    }
    // The frame goes into the streaming texture once: its rows copied straight
    // into the locked pixels.
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
    const size_t rowBytes = static_cast<size_t>(frame.width) * 3;
    for (u32 y = 0; y < frame.height; ++y)
        std::memcpy(static_cast<u8*>(pixels) + static_cast<size_t>(y) * static_cast<size_t>(pitch),
                    frame.pixels + static_cast<size_t>(y) * frame.bytesPerLine, rowBytes);
    SDL_UnlockTexture(texture_);
    if (frame.paced != paced_) {
        // A timed demo shows every frame at once: no retrace to wait for.
        SDL_RenderSetVSync(renderer_, frame.paced ? 1 : 0);
        paced_ = frame.paced;
    }
    show();
}

void SdlPlatform::repaint() {
    if (renderer_ && texture_) show();
}

void SdlPlatform::show() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    // The game takes one step per two frames and has no clock of its own: at most
    // 60 frames a second keeps it at 30 steps a second on any display, with or
    // without a retrace to wait for.
    const u64 frequency = SDL_GetPerformanceFrequency();
    const u64 due = lastPresent_ + frequency / 60;
    u64 now = SDL_GetPerformanceCounter();
    if (paced_ && lastPresent_ != 0 && now < due) {
        SDL_Delay(static_cast<Uint32>((due - now) * 1000 / frequency));
        while ((now = SDL_GetPerformanceCounter()) < due) {
        }
    }
    lastPresent_ = now;
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const u8 scan = pcScanCode(e.key.keysym.scancode);
        if (scan == 0) return; // a key the game's keyboard does not have
        PlatformMessage m =
            messageOf(e.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp, e.key.timestamp);
        m.scanCode = scan;
        setModifiers(m, e.key.keysym.mod);
        // Alt+key and F10 are the system's keys: they never reach a menu shortcut,
        // and Alt+Enter is the switch between window and full screen.
        m.systemKey = m.alt || scan == scanF10;
        if (e.type == SDL_KEYDOWN) {
            m.repeat = e.key.repeat != 0;
            m.character = characterOf(e.key);
        }
        pending_.push_back(m);
        return;
    }
    case SDL_MOUSEMOTION: {
        PlatformMessage m = messageOf(MessageKind::MouseMove, e.motion.timestamp);
        setPointer(m);
        pending_.push_back(m);
        return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const u32 button = e.button.button == SDL_BUTTON_LEFT    ? buttonLeft
                           : e.button.button == SDL_BUTTON_RIGHT ? buttonRight
                                                                 : 0;
        if (button == 0) return;
        PlatformMessage m =
            messageOf(e.type == SDL_MOUSEBUTTONDOWN ? MessageKind::MouseDown : MessageKind::MouseUp,
                      e.button.timestamp);
        setPointer(m);
        m.button = button;
        m.doubleClick = e.type == SDL_MOUSEBUTTONDOWN && e.button.clicks == 2;
        pending_.push_back(m);
        return;
    }
    case SDL_WINDOWEVENT: {
        const u32 time = e.window.timestamp;
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: pending_.push_back(messageOf(MessageKind::Close, time)); return;
        case SDL_WINDOWEVENT_EXPOSED: pending_.push_back(messageOf(MessageKind::Paint, time)); return;
        case SDL_WINDOWEVENT_MAXIMIZED: pending_.push_back(messageOf(MessageKind::Maximise, time)); return;
        case SDL_WINDOWEVENT_FOCUS_GAINED: {
            PlatformMessage m = messageOf(MessageKind::Activate, time);
            m.state = 1;
            pending_.push_back(m);
            if (displayAway_) {
                displayAway_ = false;
                PlatformMessage back = messageOf(MessageKind::DisplaySuspend, time);
                back.state = 2;
                pending_.push_back(back);
            }
            return;
        }
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED: {
            PlatformMessage m = messageOf(MessageKind::Activate, time);
            m.state = 0;
            m.minimised = e.window.event == SDL_WINDOWEVENT_MINIMIZED;
            pending_.push_back(m);
            // Another program takes over the screen while the game is full screen.
            if (fullScreen_ && !displayAway_) {
                displayAway_ = true;
                PlatformMessage away = messageOf(MessageKind::DisplaySuspend, time);
                away.state = 1;
                pending_.push_back(away);
            }
            return;
        }
        default: return;
        }
    }
    case SDL_DISPLAYEVENT:
        pending_.push_back(messageOf(MessageKind::DisplayChange, e.display.timestamp));
        return;
    case SDL_CONTROLLERDEVICEADDED: {
        // `which` is the device index here, the joystick's instance afterwards.
        SDL_GameController* controller = SDL_GameControllerOpen(e.cdevice.which);
        if (!controller) return;
        const i32 instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        if (pads_.count(instance)) {
            SDL_GameControllerClose(controller); // reported twice: keep the one open
            return;
        }
        pads_[instance] = controller;
        padKeys_.plug(instance);
        return;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        const auto found = pads_.find(e.cdevice.which);
        if (found == pads_.end()) return;
        SDL_GameControllerClose(found->second);
        pads_.erase(found);
        padKeys_.unplug(e.cdevice.which, padMessages_);
        queuePadKeys(e.cdevice.timestamp);
        return;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        for (u32 b = 0; b < padButtonCount; ++b)
            if (e.cbutton.button == padButtons[b])
                padKeys_.button(e.cbutton.which, static_cast<PadButton>(b),
                                e.type == SDL_CONTROLLERBUTTONDOWN, padMessages_);
        queuePadKeys(e.cbutton.timestamp);
        return;
    case SDL_CONTROLLERAXISMOTION:
        for (u32 a = 0; a < padAxisCount; ++a)
            if (e.caxis.axis == padAxes[a])
                padKeys_.axis(e.caxis.which, static_cast<PadAxis>(a), e.caxis.value, padMessages_);
        queuePadKeys(e.caxis.timestamp);
        return;
    default:
        if (switchEventType_ != 0 && e.type == switchEventType_) {
            PlatformMessage m = messageOf(MessageKind::SwitchCommand, e.user.timestamp);
            m.reason = static_cast<u32>(e.user.code);
            pending_.push_back(m);
        }
        return;
    }
}

void SdlPlatform::queuePadKeys(u32 time) {
    for (PlatformMessage& m : padMessages_) {
        m.time = time;
        pending_.push_back(m);
    }
    padMessages_.clear();
}

bool SdlPlatform::pollMessage(PlatformMessage& message) {
    if (!videoStarted_) return false;
    SDL_Event event;
    while (pending_.empty() && SDL_PollEvent(&event)) translate(event);
    if (pending_.empty()) return false;
    message = pending_.front();
    pending_.pop_front();
    return true;
}

void SdlPlatform::waitMessage(u32 milliseconds) {
    if (!videoStarted_ || !pending_.empty()) return;
    SDL_WaitEventTimeout(nullptr, static_cast<int>(milliseconds));
}

void SdlPlatform::postMessage(const PlatformMessage& message) {
    if (message.kind != MessageKind::SwitchCommand || switchEventType_ == 0) return;
    SDL_Event event{};
    event.type = switchEventType_;
    event.user.code = static_cast<Sint32>(message.reason);
    event.user.timestamp = message.time;
    SDL_PushEvent(&event);
}

u32 SdlPlatform::milliseconds() {
    return SDL_GetTicks();
}

bool SdlPlatform::askYesNo(const char* text, const char* title) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    // SDL has no question-mark icon; the information icon is the nearest.
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_INFORMATION, window_, title, text, 2, buttons, nullptr};
    int chosen = 0;
    // A box that cannot be shown cannot be answered: the close request stands.
    if (SDL_ShowMessageBox(&box, &chosen) != 0) return true;
    return chosen == 1;
}

void SdlPlatform::showError(const char* text, const char* title) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title, text, window_);
}
