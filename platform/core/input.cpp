// Input: reports of the backend (or of a test) become mouse and key
// messages here, routed to the capture window, the deepest shown child under
// the pointer or the top-level window; capture, focus and the cursor
// position are kept here too.
#include "platform/core/input.h"

#include <array>

#include "platform/core/core.h"
#include "platform/core/internal.h"

namespace ziru::platform {

namespace {

struct InputState {
    HWND capture;
    HWND focus;
    POINT cursor;
    bool cursorKnown = false;
    bool buttons[3] = {false, false, false};
    std::array<bool, 256> keys{};
};

InputState& State() {
    static InputState state;
    return state;
}

bool KeyDown(WPARAM vk) {
    return vk < 256 && State().keys[static_cast<std::size_t>(vk)];
}

WPARAM MouseFlags() {
    const InputState& s = State();
    WPARAM flags = 0;
    if (s.buttons[0]) flags |= MK_LBUTTON;
    if (s.buttons[1]) flags |= MK_RBUTTON;
    if (s.buttons[2]) flags |= MK_MBUTTON;
    if (KeyDown(VK_SHIFT)) flags |= MK_SHIFT;
    if (KeyDown(VK_CONTROL)) flags |= MK_CONTROL;
    return flags;
}

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The deepest shown child of WINDOW under the screen point, or WINDOW.
HWND DeepestAt(detail::Window& window, int x, int y) {
    for (auto it = window.children.rbegin(); it != window.children.rend(); ++it) {
        detail::Window* child = detail::FindWindow(*it);
        if (child == nullptr || !child->visible) continue;
        RECT outer;
        GetWindowRect(child->handle, &outer);
        if (!Inside(outer, x, y)) continue;
        if (!detail::HitsShape(child->handle, x - outer.left, y - outer.top)) continue;
        return DeepestAt(*child, x, y);
    }
    return window.handle;
}

// The window that gets a mouse message at the screen point: the capture
// window, else the window under the point inside TOP's client area.
HWND MouseTarget(HWND top, int sx, int sy) {
    InputState& s = State();
    if (s.capture && IsWindow(s.capture)) return s.capture;
    detail::Window* w = detail::FindWindow(top);
    if (w == nullptr || !Inside(detail::ClientScreenRect(*w), sx, sy)) return HWND();
    return DeepestAt(*w, sx, sy);
}

POINT ToScreen(HWND top, int x, int y) {
    POINT p{x, y};
    ClientToScreen(top, &p);
    return p;
}

void PostMouse(HWND target, UINT message, POINT screen) {
    POINT client = screen;
    ScreenToClient(target, &client);
    PostMessageA(target, message, MouseFlags(), MAKELPARAM(client.x, client.y));
}

// Posts a mouse move when the pointer moved to SCREEN.
void MoveTo(HWND top, POINT screen) {
    InputState& s = State();
    if (s.cursorKnown && s.cursor.x == screen.x && s.cursor.y == screen.y) return;
    s.cursor = screen;
    s.cursorKnown = true;
    const HWND target = MouseTarget(top, screen.x, screen.y);
    if (!target) return;
    if (!s.capture) {
        if (detail::Window* w = detail::FindWindow(target)) detail::ShowClassCursor(*w);
    }
    PostMouse(target, WM_MOUSEMOVE, screen);
}

LPARAM KeyData(UINT vk, bool down, bool repeat, bool alt) {
    std::uint32_t data = 1;
    data |= (vk & 0xFFu) << 16;
    if (alt) data |= 1u << 29;
    if (repeat || !down) data |= 1u << 30;
    if (!down) data |= 1u << 31;
    return static_cast<LPARAM>(static_cast<std::int32_t>(data));
}

}  // namespace

namespace detail {

bool ShiftIsDown() {
    return KeyDown(VK_SHIFT);
}

POINT CursorPosition() {
    return State().cursor;
}

void ForgetInputWindow(HWND window) {
    InputState& s = State();
    if (s.capture == window) {
        s.capture = HWND();
        backend::CaptureMouse(false);
    }
    if (s.focus == window) s.focus = HWND();
}

}  // namespace detail

// ===== Reports =============================================================

namespace input {

void MouseMoved(HWND top, int x, int y) {
    MoveTo(top, ToScreen(top, x, y));
}

void MouseButton(HWND top, Button button, bool down, int x, int y) {
    InputState& s = State();
    const POINT screen = ToScreen(top, x, y);
    MoveTo(top, screen);
    const int index = static_cast<int>(button);
    s.buttons[index] = down;
    static constexpr UINT kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static constexpr UINT kUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    const HWND target = MouseTarget(top, screen.x, screen.y);
    if (target) PostMouse(target, down ? kDown[index] : kUp[index], screen);
}

void Key(HWND top, UINT vk, bool down) {
    InputState& s = State();
    const bool repeat = down && KeyDown(vk);
    if (vk < 256) s.keys[vk] = down;
    // Alt itself and every key with Alt held are system keys; so is F10.
    const bool alt = KeyDown(VK_MENU) || (vk == VK_MENU && !down);
    const bool system = alt || vk == VK_MENU || vk == VK_F10;
    UINT message = down ? WM_KEYDOWN : WM_KEYUP;
    if (system) message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    const HWND target = s.focus ? s.focus : top;
    if (target) PostMessageA(target, message, vk, KeyData(vk, down, repeat, alt));
}

void CloseRequested(HWND top) {
    if (IsWindow(top)) PostMessageA(top, WM_CLOSE, 0, 0);
}

void QuitRequested() {
    for (HWND top : detail::TopLevelWindows()) CloseRequested(top);
}

void FocusChanged(HWND top, bool gained) {
    InputState& s = State();
    if (gained && IsWindow(top)) {
        s.focus = top;
    } else if (!gained && s.focus == top) {
        s.focus = HWND();
        s.keys.fill(false);
    }
}

void Exposed(HWND top) {
    InvalidateRect(top, nullptr, FALSE);
}

HWND DefaultTarget() {
    if (State().focus && IsWindow(State().focus)) return State().focus;
    HWND first;
    detail::ForEachTopLevel([&](detail::Window& w) {
        if (!first && IsWindowVisible(w.handle)) first = w.handle;
    });
    return first;
}

}  // namespace input

// ===== Capture, focus, cursor position =====================================

HWND SetCapture(HWND window) {
    InputState& s = State();
    const HWND previous = s.capture;
    if (!IsWindow(window)) return previous;
    s.capture = window;
    if (previous && previous != window) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    backend::CaptureMouse(true);
    return previous;
}

BOOL ReleaseCapture() {
    InputState& s = State();
    const HWND previous = s.capture;
    s.capture = HWND();
    backend::CaptureMouse(false);
    if (previous) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return State().capture;
}

HWND GetForegroundWindow() {
    return State().focus;
}

BOOL SetCursorPos(int x, int y) {
    backend::WarpMouse(x, y);
    // The move is posted here, once: the warp's own motion event then finds
    // the pointer where it already is and adds nothing.
    const POINT screen{x, y};
    HWND top;
    detail::ForEachTopLevel([&](detail::Window& w) {
        if (IsShown(w) && Inside(detail::ClientScreenRect(w), x, y)) top = w.handle;
    });
    if (!top) top = State().capture ? detail::TopLevelOf(State().capture)->handle : HWND();
    if (top) {
        MoveTo(top, screen);
    } else {
        State().cursor = screen;
        State().cursorKnown = true;
    }
    return TRUE;
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) return FALSE;
    int x = 0;
    int y = 0;
    if (backend::VideoStarted() && backend::GlobalMouse(&x, &y)) {
        *point = POINT{x, y};
    } else {
        *point = State().cursor;
    }
    return TRUE;
}

}  // namespace ziru::platform
