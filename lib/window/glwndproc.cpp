// The main window's procedure and the message pump: the lifetime flag, the
// key table, mouse drags and free-mouse mode turned into the rotation and
// zoom accumulators, and one message handled per frame.
#include "window/window.h"

namespace ziru::window {

using namespace platform;

// ===== Input state =========================================================

runtime::BoundedArray<std::int32_t, 0, 500> SETKEY;
bool LEFTMOUSEDOWN = false;
bool LEFTMOUSEDOWN2 = false;
bool RIGHTMOUSEDOWN = false;
bool RIGHTMOUSEDOWN2 = false;
bool MOUSEFREE = false;
std::int32_t XCOORD = 0;
std::int32_t YCOORD = 0;
std::int32_t ZCOORD = 0;
std::int32_t SETMX = 0;
std::int32_t SETMY = 0;
std::int32_t SETOMX = 0;
std::int32_t SETOMY = 0;
float XROT = 0;
float YROT = 0;
float XROT2 = 0;
float YROT2 = 0;
float DEPTH = 0;
float DEPTH2 = 0;
POINT MPOS;
std::int32_t MSPEED = 0;
MSG MSG_;

namespace {

constexpr std::int32_t kTrue = -1;
constexpr double kFreeLimit = 60.0;

// OLD + (DIFFERENCE / DIVISOR) * MSPEED in double precision, stored as float.
float Accumulate(float old, std::int32_t difference, double divisor) {
    return static_cast<float>(static_cast<double>(old) + (difference / divisor) * MSPEED);
}

float Clamp(float value) {
    if (value > kFreeLimit) return static_cast<float>(kFreeLimit);
    if (value < -kFreeLimit) return static_cast<float>(-kFreeLimit);
    return value;
}

void LeftDrag(std::int32_t x, std::int32_t y) {
    const std::int32_t dy = runtime::CheckedSub(y, YCOORD);
    const std::int32_t dx = runtime::CheckedSub(x, XCOORD);
    XROT = Accumulate(XROT, dy, 2.0);
    YROT = Accumulate(YROT, dx, 2.0);
    XROT2 = Accumulate(XROT2, dy, 2.0);
    YROT2 = Accumulate(YROT2, dx, 2.0);
    XCOORD = x;
    YCOORD = y;
}

void RightDrag(std::int32_t y) {
    const std::int32_t dz = runtime::CheckedSub(y, ZCOORD);
    DEPTH = Accumulate(DEPTH, -dz, 10.0);
    DEPTH2 = Accumulate(DEPTH2, -dz, 10.0);
    ZCOORD = y;
}

// The cursor is held at the window's centre; its offset turns the view.
void FreeMouse() {
    GetCursorPos(&MPOS);
    const std::int32_t cx = WIDTH / 2;
    const std::int32_t cy = HEIGHT / 2;
    SetCursorPos(cx, cy);
    const std::int32_t dx = runtime::CheckedSub(MPOS.x, cx);
    const std::int32_t dy = runtime::CheckedSub(cy, MPOS.y);
    XROT = Accumulate(XROT, dx, 100.0);
    YROT = Clamp(Accumulate(YROT, runtime::CheckedSub(0, dy), 100.0));
    XROT2 = Accumulate(XROT2, dx, 100.0);
    YROT2 = Clamp(Accumulate(YROT2, runtime::CheckedSub(0, dy), 100.0));
}

void MouseMove(LPARAM LPARAM_) {
    const std::int32_t x = GET_X_LPARAM(LPARAM_);
    const std::int32_t y = GET_Y_LPARAM(LPARAM_);
    SETOMX = x;
    SETOMY = y;
    if (LEFTMOUSEDOWN) LeftDrag(x, y);
    if (RIGHTMOUSEDOWN && !MOUSEFREE) RightDrag(y);
    if (MOUSEFREE && GetForegroundWindow() == HWINDOW) FreeMouse();
}

LRESULT Default(HWND WINDOW, UINT AMESSAGE, WPARAM WPARAM_, LPARAM LPARAM_) {
    if (WPARAM_ == 0) UpdateWindow(HSTATUS);
    return DefWindowProcA(WINDOW, AMESSAGE, WPARAM_, LPARAM_);
}

}  // namespace

LRESULT GLWNDPROC(HWND WINDOW, UINT AMESSAGE, WPARAM WPARAM_, LPARAM LPARAM_) {
    const std::int32_t x = GET_X_LPARAM(LPARAM_);
    const std::int32_t y = GET_Y_LPARAM(LPARAM_);
    switch (AMESSAGE) {
        case WM_CREATE:
            ACTIVE = true;
            return 0;
        case WM_DESTROY:
            ACTIVE = false;
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT PS;
            BeginPaint(WINDOW, &PS);
            UpdateWindow(HSTATUS);
            EndPaint(WINDOW, &PS);
            return 0;
        }
        case WM_CONTEXTMENU:
            if (SHOWMENUBAR && CREATEMOUSEMENU != nullptr) CREATEMOUSEMENU();
            break;
        case WM_KEYDOWN:
            if (WPARAM_ == VK_ESCAPE) {
                SendMessageA(HWINDOW, WM_DESTROY, 0, 0);
                return 0;
            }
            SETKEY[WPARAM_] = kTrue;
            break;
        case WM_KEYUP:
            SETKEY[WPARAM_] = 0;
            MOUSEFREE = false;
            break;
        case WM_COMMAND:
            if (SHOWMENUBAR && GETINPUTCOMMAND != nullptr) {
                GETINPUTCOMMAND(WINDOW, AMESSAGE, WPARAM_, LPARAM_);
            }
            return 0;
        case WM_MOUSEMOVE:
            MouseMove(LPARAM_);
            break;
        case WM_LBUTTONDOWN:
            ReleaseCapture();
            SetCapture(HWINDOW);
            LEFTMOUSEDOWN = true;
            LEFTMOUSEDOWN2 = true;
            XCOORD = x;
            YCOORD = y;
            SETMX = x;
            SETMY = y;
            break;
        case WM_LBUTTONUP:
            ReleaseCapture();
            LEFTMOUSEDOWN = false;
            LEFTMOUSEDOWN2 = false;
            XCOORD = 0;
            YCOORD = 0;
            SETMX = 0;
            SETMY = 0;
            break;
        case WM_RBUTTONDOWN:
            ReleaseCapture();
            SetCapture(HWINDOW);
            RIGHTMOUSEDOWN = true;
            RIGHTMOUSEDOWN2 = true;
            ZCOORD = y;
            break;
        case WM_RBUTTONUP:
            ReleaseCapture();
            RIGHTMOUSEDOWN = false;
            RIGHTMOUSEDOWN2 = false;
            break;
        default:
            break;
    }
    return Default(WINDOW, AMESSAGE, WPARAM_, LPARAM_);
}

void SETGLMSG() {
    if (!PeekMessageA(&MSG_, HWND(), 0, 0, PM_NOREMOVE)) return;
    GetMessageA(&MSG_, HWND(), 0, 0);
    TranslateMessage(&MSG_);
    DispatchMessageA(&MSG_);
}

}  // namespace ziru::window
