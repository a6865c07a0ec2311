// The seam between the portable core and the one backend (SDL2). The core
// calls these; the backend only translates: it shows what the core asks for
// and reports input back through platform/core/input.h, never posting
// messages itself, so the order of messages is decided in the core alone.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace ziru::platform::backend {

// An SDL window, a cursor and a GL context, opaque to the core.
struct NativeWindow;
struct NativeCursor;
using NativeContext = void*;

// ===== Video ===============================================================

// Starts the video driver once: the one SDL_VIDEODRIVER names, else x11 with
// a DISPLAY, wayland with a WAYLAND_DISPLAY, else offscreen (said once on
// standard error: windows are then invisible). False when none starts.
bool EnsureVideo();
bool VideoStarted();
// The driver started ("x11", "offscreen", ...), empty before.
std::string DriverName();
bool ScreenSize(int* width, int* height);

// ===== GL attributes =======================================================

// The SDL GL attributes of one pixel format; 0 leaves an attribute to SDL.
struct GlAttributes {
    int red = 0, green = 0, blue = 0, alpha = 0;
    int depth = 0, stencil = 0;
    int accumRed = 0, accumGreen = 0, accumBlue = 0, accumAlpha = 0;
    bool doubleBuffer = true;
    bool stereo = false;
    // Every attribute at SDL's default (the last rung of the ladder).
    bool defaults = false;
    friend bool operator==(const GlAttributes&, const GlAttributes&) = default;
};

// ===== Windows =============================================================

struct WindowSpec {
    HWND owner;                               // reported back with every input event
    std::string title;                        // UTF-8
    int x = 0, y = 0, width = 1, height = 1;  // the client area on the screen
    bool decorated = false;
    bool visible = false;
    const GlAttributes* gl = nullptr;  // an OpenGL window with these attributes
};

// Null when SDL refuses (for a GL window: the attributes cannot be met).
NativeWindow* CreateNativeWindow(const WindowSpec& spec);
void DestroyNativeWindow(NativeWindow* window);
void ShowNativeWindow(NativeWindow* window, bool show);
void PlaceNativeWindow(NativeWindow* window, int x, int y, int width, int height);
void SetNativeTitle(NativeWindow* window, const std::string& title);

// ===== Input ===============================================================

// Reports every pending event to the core.
void PumpEvents();
// Waits up to MS milliseconds for an event (without taking it).
void WaitEvents(int ms);
void CaptureMouse(bool on);
bool WarpMouse(int x, int y);
// The pointer in screen coordinates, where the driver knows it.
bool GlobalMouse(int* x, int* y);

// ===== Cursors =============================================================

// Null where the driver has no cursors (offscreen).
NativeCursor* CreateSystemCursor(std::uint32_t id);
// PIXELS: WIDTH x HEIGHT ARGB values, top row first.
NativeCursor* CreateColorCursor(const std::uint32_t* pixels, int width, int height, int hotX,
                                int hotY);
void ShowCursorShape(NativeCursor* cursor);

// ===== OpenGL ==============================================================

// Whether a window with these attributes can be made (a hidden 1 x 1 probe).
bool ProbeGlAttributes(const GlAttributes& attributes);
NativeContext CreateGlContext(NativeWindow* window);
bool MakeCurrent(NativeWindow* window, NativeContext context);
void DeleteGlContext(NativeContext context);
bool SwapWindow(NativeWindow* window);
// Before WINDOW goes away while contexts live: the current context moves to
// a hidden 1 x 1 window with ATTRIBUTES (or is unbound), so later GL calls
// stay harmless and GL stays loaded until the contexts are deleted.
void ParkContexts(NativeWindow* window, const GlAttributes& attributes);
// After the last context is deleted: the hidden window goes too.
void ReleaseParking();

// ===== Message boxes =======================================================

// Shows a modal message box (texts already UTF-8) and returns IDOK, IDYES,
// IDNO, ..., or 0 when no box could be shown.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// ===== Keys ================================================================

// The virtual-key code of an SDL keycode; 0 for keys without one.
UINT VirtualKeyFromSdl(std::int32_t keycode);

}  // namespace ziru::platform::backend
