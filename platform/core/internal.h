// The window manager's inner records, shared by the core's files and the
// GL part: the window table, frames, and the hooks through which GDI (window
// regions, painting children) and GL (contexts of dying windows) plug in.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sdl/backend.h"
#include "platform/types.h"

namespace ziru::platform::detail {

struct WindowClass {
    WNDCLASSEXA info;
    std::string name;
    std::string menuName;
};

struct Window {
    HWND handle;
    ATOM atom = 0;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent;
    int id = 0;
    std::string title;
    // Outer rectangle: screen coordinates for a top-level window, the
    // parent's client coordinates for a child.
    RECT rect;
    bool visible = false;
    bool destroying = false;
    bool invalid = false;
    RECT invalidRect;
    // Looked up by the caller's text without making a string of it.
    std::map<std::string, HANDLE, std::less<>> properties;
    std::vector<HWND> children;  // in creation order
    std::vector<HDC> dcs;        // handed out by GetDC and BeginPaint
    backend::NativeWindow* native = nullptr;
    int pixelFormat = 0;
};

Window* FindWindow(HWND handle);
const WindowClass* FindClassOf(const Window& window);
// Every window, top-level and children, in creation order.
const std::vector<HWND>& WindowOrder();
// Calls VISIT for every live window in creation order. By index, reading the
// size afresh, so a visit may create windows; walks run for every message
// taken and every warp, so they copy nothing and allocate nothing.
template <typename Visit>
void ForEachWindow(Visit&& visit) {
    const std::vector<HWND>& order = WindowOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (Window* w = FindWindow(order[i])) visit(*w);
    }
}
// The same for the top-level windows only.
template <typename Visit>
void ForEachTopLevel(Visit&& visit) {
    ForEachWindow([&](Window& w) {
        if (!w.parent) visit(w);
    });
}
std::vector<HWND> TopLevelWindows();

// The frame around the client area: left, top, right, bottom.
RECT FrameOf(DWORD style);
// The client area in screen coordinates.
RECT ClientScreenRect(const Window& window);
// The top-level window that holds WINDOW (WINDOW itself when top-level).
Window* TopLevelOf(HWND window);
// A visible window and all its ancestors visible.
bool IsShown(const Window& window);

// Gives the window a new native (SDL) window made for GL with ATTRIBUTES,
// keeping position, size, title and visibility. False when SDL refuses.
bool RecreateNativeForGl(Window& window, const backend::GlAttributes& attributes);

// ===== Hooks ===============================================================

// Whether the point (window coordinates) lies inside the window's shape.
// No hook: the window region SetWindowRgn gave it, else the whole rectangle.
using HitTestHook = std::function<bool(HWND, int, int)>;
void SetHitTestHook(HitTestHook hook);
bool HitsShape(HWND window, int x, int y);

// Called with a top-level window whose native window is about to be
// destroyed (GL moves its contexts away).
using NativeDestroyHook = std::function<void(Window&)>;
void SetNativeDestroyHook(NativeDestroyHook hook);

// SwapBuffers calls CompositeChildren before the swap, with the GL context
// current on the top-level window: the shown child windows are drawn over
// the GL picture, then the hook (if any) sees the finished picture.
using CompositeHook = std::function<void(HWND top)>;
void SetCompositeHook(CompositeHook hook);
void CompositeChildren(HWND top);

// ===== Child-window surfaces (children.cpp) ================================

// Gives GDI the child windows' surfaces (BitBlt onto their paint contexts).
void InstallChildLayer();
// The window is being destroyed: its surface, texture and region go.
void ForgetChildLayer(HWND window);
// Whether the point (window coordinates) lies inside the window region.
bool ShapeContains(HWND window, int x, int y);
// Draws the shown, painted children of TOP over the current GL picture.
void CompositeChildLayers(HWND top);

// ===== Queue internals =====================================================

// Posts a message at the front of the queue (TranslateMessage's characters
// follow their key message at once).
void PostFront(const MSG& msg);
// Drops every queued message for WINDOW (it is being destroyed).
void DropMessagesFor(HWND window);
// Input state forgets WINDOW (capture, focus).
void ForgetInputWindow(HWND window);
void ForgetDCs(Window& window);
// Applies injected test events due at this pump (ZIRU_TEST_EVENTS).
void RunTestEvents();
// Whether Shift is held now (key reports).
bool ShiftIsDown();
// The current cursor position kept by the core (screen coordinates).
POINT CursorPosition();
// Shows the class cursor of the window under the pointer.
void ShowClassCursor(const Window& window);

}  // namespace ziru::platform::detail
