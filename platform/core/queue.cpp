// The message queue of the one thread: posted messages in order, the quit
// flag, WM_PAINT made up when nothing else waits, synchronous sends, the
// default window procedure, and painting (invalid areas, window DCs).
#include <algorithm>

#include "platform/core/core.h"
#include "platform/core/internal.h"
#include "platform/core/message_ring.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"

namespace ziru::platform {

namespace {

struct QuitState {
    bool pending = false;
    int code = 0;
};

detail::MessageRing& Queue() {
    static detail::MessageRing queue;
    return queue;
}

QuitState& Quit() {
    static QuitState quit;
    return quit;
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    msg.pt = detail::CursorPosition();
    return msg;
}

bool IsSelfOrDescendant(HWND filter, HWND window) {
    for (detail::Window* w = detail::FindWindow(window); w != nullptr;
         w = detail::FindWindow(w->parent)) {
        if (w->handle == filter) return true;
    }
    return false;
}

bool Matches(const MSG& msg, HWND filter, UINT first, UINT last) {
    if (filter && !IsSelfOrDescendant(filter, msg.hwnd)) return false;
    return (first == 0 && last == 0) || (msg.message >= first && msg.message <= last);
}

// The first shown window with an invalid area, parents before children.
HWND FirstToPaint(HWND filter) {
    HWND found;
    detail::ForEachWindow([&](detail::Window& w) {
        if (found || !w.invalid || !detail::IsShown(w)) return;
        if (filter && !IsSelfOrDescendant(filter, w.handle)) return;
        found = w.handle;
    });
    return found;
}

void PumpInput() {
    if (backend::VideoStarted()) backend::PumpEvents();
    detail::RunTestEvents();
}

RECT ClientBounds(const detail::Window& w) {
    const RECT screen = detail::ClientScreenRect(w);
    return RECT{0, 0, screen.right - screen.left, screen.bottom - screen.top};
}

RECT Union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

namespace detail {

void PostFront(const MSG& msg) {
    Queue().push_front(msg);
}

void DropMessagesFor(HWND window) {
    Queue().erase_if([&](const MSG& m) { return m.hwnd == window; });
}

}  // namespace detail

// ===== Posting and sending =================================================

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsWindow(window)) return FALSE;
    Queue().push_back(MakeMessage(window, message, wParam, lParam));
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    detail::Window* w = detail::FindWindow(window);
    if (w == nullptr || w->proc == nullptr) return 0;
    return w->proc(window, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    Quit().pending = true;
    Quit().code = exitCode;
}

// ===== Taking messages =====================================================

BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
    PumpInput();
    detail::MessageRing& queue = Queue();
    for (std::size_t i = 0; i < queue.size(); ++i) {
        if (!Matches(queue[i], window, first, last)) continue;
        if (msg != nullptr) *msg = queue[i];
        if (remove & PM_REMOVE) queue.erase(i);
        return TRUE;
    }
    const bool wantsQuit = (first == 0 && last == 0) || (WM_QUIT >= first && WM_QUIT <= last);
    if (Quit().pending && wantsQuit) {
        if (msg != nullptr) *msg = MakeMessage(HWND(), WM_QUIT, Quit().code, 0);
        if (remove & PM_REMOVE) Quit().pending = false;
        return TRUE;
    }
    const bool wantsPaint = (first == 0 && last == 0) || (WM_PAINT >= first && WM_PAINT <= last);
    if (wantsPaint) {
        // WM_PAINT stays until the window validates its area (BeginPaint).
        if (HWND paint = FirstToPaint(window)) {
            if (msg != nullptr) *msg = MakeMessage(paint, WM_PAINT, 0, 0);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last) {
    MSG taken;
    while (!PeekMessageA(&taken, window, first, last, PM_REMOVE)) {
        if (backend::VideoStarted()) backend::WaitEvents(10);
    }
    if (msg != nullptr) *msg = taken;
    return taken.message == WM_QUIT ? FALSE : TRUE;
}

namespace {

// The character a key gives, 0 for none (digits and letters unshifted by
// the keyboard layout; Shift makes letters capitals).
int CharacterOf(WPARAM vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return shift ? static_cast<int>(vk) : static_cast<int>(vk) + 32;
    if (vk >= '0' && vk <= '9') return static_cast<int>(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<int>('0' + vk - VK_NUMPAD0);
    switch (vk) {
        case VK_SPACE:
        case VK_RETURN:
        case VK_TAB:
        case VK_BACK:
        case VK_ESCAPE:
            return static_cast<int>(vk);
        default:
            return 0;
    }
}

}  // namespace

BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr) return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
    const int ch = CharacterOf(msg->wParam, detail::ShiftIsDown());
    if (ch != 0) {
        MSG out = *msg;
        out.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        out.wParam = ch;
        detail::PostFront(out);
    }
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || !msg->hwnd) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

// ===== Default processing ==================================================

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SYSKEYDOWN:
            // Alt+F4: the system menu's Close.
            if (wParam == VK_F4 && (lParam & (1 << 29))) {
                SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case WM_RBUTTONUP: {
            // A right click asks for a context menu, at the pointer in screen
            // coordinates.
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(window, &at);
            SendMessageA(window, WM_CONTEXTMENU, static_cast<WPARAM>(window.value),
                         MAKELPARAM(at.x, at.y));
            return 0;
        }
        case WM_CONTEXTMENU: {
            // Unhandled by a child: its parent may offer the menu.
            const HWND parent = GetParent(window);
            return parent ? SendMessageA(parent, WM_CONTEXTMENU, wParam, lParam) : 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            EndPaint(window, &ps);
            return 0;
        }
        default:
            return 0;
    }
}

// ===== Painting ============================================================

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL /*erase*/) {
    detail::Window* w = detail::FindWindow(window);
    if (w == nullptr) return window ? FALSE : TRUE;
    const RECT area = rect != nullptr ? *rect : ClientBounds(*w);
    w->invalidRect = w->invalid ? Union(w->invalidRect, area) : area;
    w->invalid = true;
    return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* /*rect*/) {
    detail::Window* w = detail::FindWindow(window);
    if (w == nullptr) return FALSE;
    w->invalid = false;
    w->invalidRect = RECT{};
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    detail::Window* w = detail::FindWindow(window);
    if (w == nullptr) return FALSE;
    if (w->invalid && detail::IsShown(*w)) SendMessageA(window, WM_PAINT, 0, 0);
    return TRUE;
}

HDC GetDC(HWND window) {
    if (!window) return detail::GetScreenDC();
    detail::Window* w = detail::FindWindow(window);
    if (w == nullptr) return HDC();
    const HDC dc = detail::NewDC(detail::DcKind::Window, window);
    w->dcs.push_back(dc);
    return dc;
}

int ReleaseDC(HWND window, HDC dc) {
    if (!window) return detail::ReleaseScreenDC(dc);
    detail::DeviceContext* found = detail::FindDC(dc);
    if (found == nullptr || found->kind == detail::DcKind::Memory) return 0;
    if (found->window != window) return 0;
    if (detail::Window* w = detail::FindWindow(window)) std::erase(w->dcs, dc);
    detail::FreeDC(dc);
    return 1;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    detail::Window* w = detail::FindWindow(window);
    if (w == nullptr) return HDC();
    PAINTSTRUCT ps;
    ps.rcPaint = w->invalid ? w->invalidRect : RECT{};
    ps.fErase = FALSE;
    ValidateRect(window, nullptr);
    ps.hdc = GetDC(window);
    if (paint != nullptr) *paint = ps;
    return ps.hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    ReleaseDC(window, paint->hdc);
    return TRUE;
}

}  // namespace ziru::platform
