// SDL2 video: choosing and starting the driver, native windows, cursors,
// capture and warping, and the event pump that reports input to the core.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/core/input.h"
#include "platform/sdl/backend.h"

namespace ziru::platform::backend {

struct NativeWindow {
    SDL_Window* window = nullptr;
    HWND owner;
};

struct NativeCursor {
    SDL_Cursor* cursor = nullptr;
};

namespace {

enum class VideoState { NotTried, Started, Failed };

VideoState& State() {
    static VideoState state = VideoState::NotTried;
    return state;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// The driver to ask for: the one named, else the display present, else
// offscreen rendering.
const char* ChooseDriver() {
    if (Set("SDL_VIDEODRIVER")) return std::getenv("SDL_VIDEODRIVER");
    if (Set("DISPLAY")) return "x11";
    if (Set("WAYLAND_DISPLAY")) return "wayland";
    return "offscreen";
}

bool StartDriver(const char* driver) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

HWND OwnerOf(Uint32 windowId) {
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    if (window == nullptr) return HWND();
    auto* native = static_cast<NativeWindow*>(SDL_GetWindowData(window, "ziru"));
    return native != nullptr ? native->owner : HWND();
}

void ReportWindowEvent(const SDL_WindowEvent& e, bool* closed) {
    const HWND owner = OwnerOf(e.windowID);
    if (!owner) return;
    switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            *closed = true;
            input::CloseRequested(owner);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            input::FocusChanged(owner, true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            input::FocusChanged(owner, false);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            input::Exposed(owner);
            break;
        default:
            break;
    }
}

void ReportButton(const SDL_MouseButtonEvent& e) {
    const HWND owner = OwnerOf(e.windowID);
    if (!owner) return;
    input::Button button = input::Button::Left;
    if (e.button == SDL_BUTTON_RIGHT) button = input::Button::Right;
    if (e.button == SDL_BUTTON_MIDDLE) button = input::Button::Middle;
    if (e.button > SDL_BUTTON_RIGHT) return;
    input::MouseButton(owner, button, e.type == SDL_MOUSEBUTTONDOWN, e.x, e.y);
}

void ReportKey(const SDL_KeyboardEvent& e) {
    const HWND owner = OwnerOf(e.windowID);
    const UINT vk = VirtualKeyFromSdl(e.keysym.sym);
    if (owner && vk != 0) input::Key(owner, vk, e.type == SDL_KEYDOWN);
}

}  // namespace

// ===== Video ===============================================================

bool EnsureVideo() {
    if (State() != VideoState::NotTried) return State() == VideoState::Started;
    const char* driver = ChooseDriver();
    bool started = StartDriver(driver);
    // A display that cannot be opened: draw offscreen rather than not at all.
    if (!started && !Set("SDL_VIDEODRIVER")) {
        std::fprintf(stderr, "ziru: cannot use the %s display (%s)\n", driver, SDL_GetError());
        started = StartDriver("offscreen");
    }
    State() = started ? VideoState::Started : VideoState::Failed;
    if (!started) {
        std::fprintf(stderr, "ziru: no video driver (%s)\n", SDL_GetError());
    } else if (!Set("SDL_VIDEODRIVER") && DriverName() == "offscreen") {
        std::fprintf(stderr,
                     "ziru: no display found: windows are invisible (offscreen rendering)\n");
    }
    return started;
}

bool VideoStarted() {
    return State() == VideoState::Started;
}

std::string DriverName() {
    const char* name = VideoStarted() ? SDL_GetCurrentVideoDriver() : nullptr;
    return name != nullptr ? name : "";
}

bool ScreenSize(int* width, int* height) {
    SDL_DisplayMode mode;
    if (!VideoStarted() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
    *width = mode.w;
    *height = mode.h;
    return true;
}

// ===== Windows =============================================================

void ApplyGlAttributes(const GlAttributes& gl);

NativeWindow* CreateNativeWindow(const WindowSpec& spec) {
    if (!VideoStarted()) return nullptr;
    Uint32 flags = spec.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (!spec.decorated) flags |= SDL_WINDOW_BORDERLESS;
    if (spec.gl != nullptr) {
        flags |= SDL_WINDOW_OPENGL;
        ApplyGlAttributes(*spec.gl);
    }
    SDL_Window* window =
        SDL_CreateWindow(spec.title.c_str(), spec.x, spec.y, spec.width, spec.height, flags);
    if (window == nullptr) return nullptr;
    auto* native = new NativeWindow{window, spec.owner};
    SDL_SetWindowData(window, "ziru", native);
    return native;
}

void DestroyNativeWindow(NativeWindow* window) {
    if (window == nullptr) return;
    SDL_DestroyWindow(window->window);
    delete window;
}

void ShowNativeWindow(NativeWindow* window, bool show) {
    if (show) {
        SDL_ShowWindow(window->window);
    } else {
        SDL_HideWindow(window->window);
    }
}

void PlaceNativeWindow(NativeWindow* window, int x, int y, int width, int height) {
    SDL_SetWindowPosition(window->window, x, y);
    SDL_SetWindowSize(window->window, width, height);
}

void SetNativeTitle(NativeWindow* window, const std::string& title) {
    SDL_SetWindowTitle(window->window, title.c_str());
}

SDL_Window* SdlWindow(NativeWindow* window) {
    return window ? window->window : nullptr;
}

// ===== Input ===============================================================

void PumpEvents() {
    SDL_Event e;
    bool closed = false;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                // The last window's close box also ends in SDL_QUIT: asked once.
                if (!closed) input::QuitRequested();
                break;
            case SDL_WINDOWEVENT:
                ReportWindowEvent(e.window, &closed);
                break;
            case SDL_MOUSEMOTION:
                if (HWND owner = OwnerOf(e.motion.windowID)) {
                    input::MouseMoved(owner, e.motion.x, e.motion.y);
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                ReportButton(e.button);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                ReportKey(e.key);
                break;
            default:
                break;
        }
    }
}

void WaitEvents(int ms) {
    SDL_WaitEventTimeout(nullptr, ms);
}

void CaptureMouse(bool on) {
    if (VideoStarted()) SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

bool WarpMouse(int x, int y) {
    return VideoStarted() && SDL_WarpMouseGlobal(x, y) == 0;
}

bool GlobalMouse(int* x, int* y) {
    // The offscreen driver has no pointer: the core's own position counts.
    if (!VideoStarted() || DriverName() == "offscreen") return false;
    SDL_GetGlobalMouseState(x, y);
    return true;
}

// ===== Cursors =============================================================

NativeCursor* CreateSystemCursor(std::uint32_t id) {
    SDL_SystemCursor shape = SDL_SYSTEM_CURSOR_ARROW;
    switch (id) {
        case IDC_IBEAM:
            shape = SDL_SYSTEM_CURSOR_IBEAM;
            break;
        case IDC_WAIT:
            shape = SDL_SYSTEM_CURSOR_WAIT;
            break;
        case IDC_CROSS:
            shape = SDL_SYSTEM_CURSOR_CROSSHAIR;
            break;
        case IDC_SIZE:
        case IDC_SIZEALL:
            shape = SDL_SYSTEM_CURSOR_SIZEALL;
            break;
        case IDC_SIZENWSE:
            shape = SDL_SYSTEM_CURSOR_SIZENWSE;
            break;
        case IDC_SIZENESW:
            shape = SDL_SYSTEM_CURSOR_SIZENESW;
            break;
        case IDC_SIZEWE:
            shape = SDL_SYSTEM_CURSOR_SIZEWE;
            break;
        case IDC_SIZENS:
            shape = SDL_SYSTEM_CURSOR_SIZENS;
            break;
        case IDC_NO:
            shape = SDL_SYSTEM_CURSOR_NO;
            break;
        case IDC_HAND:
            shape = SDL_SYSTEM_CURSOR_HAND;
            break;
        case IDC_APPSTARTING:
            shape = SDL_SYSTEM_CURSOR_WAITARROW;
            break;
        // No up-arrow or help shape in SDL: the arrow is closest.
        default:
            shape = SDL_SYSTEM_CURSOR_ARROW;
            break;
    }
    SDL_Cursor* cursor = SDL_CreateSystemCursor(shape);
    return cursor != nullptr ? new NativeCursor{cursor} : nullptr;
}

NativeCursor* CreateColorCursor(const std::uint32_t* pixels, int width, int height, int hotX,
                                int hotY) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(pixels), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return nullptr;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    return cursor != nullptr ? new NativeCursor{cursor} : nullptr;
}

void ShowCursorShape(NativeCursor* cursor) {
    if (cursor != nullptr) SDL_SetCursor(cursor->cursor);
}

}  // namespace ziru::platform::backend
