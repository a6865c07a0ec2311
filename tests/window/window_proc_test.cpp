// GLWNDPROC and SETGLMSG: message sequences sent straight to the window
// procedure and the state they leave, and the one-message-per-call pump.
#include <gtest/gtest.h>

#include <cmath>

#include "window/window.h"

namespace {

using namespace ziru::window;
using namespace ziru::platform;

struct Step {
    UINT message;
    WPARAM wParam;
    int x, y;
};

struct Expected {
    float xrot, yrot, depth;
    std::int32_t xcoord, ycoord, zcoord;
};

void ResetInput() {
    LEFTMOUSEDOWN = LEFTMOUSEDOWN2 = RIGHTMOUSEDOWN = RIGHTMOUSEDOWN2 = MOUSEFREE = false;
    XCOORD = YCOORD = ZCOORD = SETMX = SETMY = SETOMX = SETOMY = 0;
    XROT = YROT = XROT2 = YROT2 = DEPTH = DEPTH2 = 0;
    MSPEED = 2;
    for (auto& k : SETKEY) k = 0;
}

void Send(const std::vector<Step>& steps) {
    for (const Step& s : steps) GLWNDPROC(HWINDOW, s.message, s.wParam, MAKELPARAM(s.x, s.y));
}

TEST(GlWndProc, MouseDragsFeedTheAccumulators) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Expected after;
    };
    const Case cases[] = {
        {"left drag turns",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100}, {WM_MOUSEMOVE, MK_LBUTTON, 110, 120}},
         {20, 10, 0, 110, 120, 0}},
        {"release resets the anchor, later moves do nothing",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
          {WM_MOUSEMOVE, MK_LBUTTON, 110, 120},
          {WM_LBUTTONUP, 0, 110, 120},
          {WM_MOUSEMOVE, 0, 300, 300}},
         {20, 10, 0, 0, 0, 0}},
        {"dragging past the left edge goes on smoothly",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 50},
          {WM_MOUSEMOVE, MK_LBUTTON, -5, 50},
          {WM_MOUSEMOVE, MK_LBUTTON, -15, 51}},
         {1, -20, 0, -15, 51, 0}},
        {"odd differences keep their halves",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 0, 0}, {WM_MOUSEMOVE, MK_LBUTTON, 1, 3}},
         {3, 1, 0, 1, 3, 0}},
        {"right drag zooms, anchor kept on release",
         {{WM_RBUTTONDOWN, MK_RBUTTON, 0, 300},
          {WM_MOUSEMOVE, MK_RBUTTON, 40, 350},
          {WM_RBUTTONUP, 0, 40, 350}},
         {0, 0, -10, 0, 0, 350}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetInput();
        Send(c.steps);
        EXPECT_FLOAT_EQ(XROT, c.after.xrot);
        EXPECT_FLOAT_EQ(YROT, c.after.yrot);
        EXPECT_FLOAT_EQ(DEPTH, c.after.depth);
        EXPECT_EQ(XROT2, XROT);
        EXPECT_EQ(YROT2, YROT);
        EXPECT_EQ(DEPTH2, DEPTH);
        EXPECT_EQ(XCOORD, c.after.xcoord);
        EXPECT_EQ(YCOORD, c.after.ycoord);
        EXPECT_EQ(ZCOORD, c.after.zcoord);
    }
}

TEST(GlWndProc, ButtonsSetAndClearTheirPairs) {
    ResetInput();
    Send({{WM_LBUTTONDOWN, MK_LBUTTON, 7, 8}});
    EXPECT_TRUE(LEFTMOUSEDOWN && LEFTMOUSEDOWN2);
    EXPECT_EQ(SETMX, 7);
    EXPECT_EQ(SETMY, 8);
    Send({{WM_RBUTTONDOWN, MK_RBUTTON, 1, 2}, {WM_MOUSEMOVE, MK_RBUTTON, 3, 4}});
    EXPECT_TRUE(RIGHTMOUSEDOWN && RIGHTMOUSEDOWN2);
    EXPECT_EQ(SETOMX, 3);
    EXPECT_EQ(SETOMY, 4);
    Send({{WM_LBUTTONUP, 0, 0, 0}, {WM_RBUTTONUP, 0, 0, 0}});
    EXPECT_FALSE(LEFTMOUSEDOWN || LEFTMOUSEDOWN2 || RIGHTMOUSEDOWN || RIGHTMOUSEDOWN2);
    EXPECT_EQ(SETMX, 0);
}

TEST(GlWndProc, ZeroSpeedChangesNothing) {
    ResetInput();
    MSPEED = 0;
    Send({{WM_LBUTTONDOWN, MK_LBUTTON, 0, 0}, {WM_MOUSEMOVE, MK_LBUTTON, 90, 90}});
    EXPECT_EQ(XROT, 0);
    EXPECT_EQ(YROT, 0);
}

TEST(GlWndProc, KeysAreRecordedUntilReleased) {
    ResetInput();
    Send({{WM_KEYDOWN, 'A', 0, 0}, {WM_KEYDOWN, 'A', 0, 0}, {WM_KEYDOWN, VK_LEFT, 0, 0}});
    EXPECT_EQ(SETKEY['A'], -1);
    EXPECT_EQ(SETKEY[VK_LEFT], -1);
    MOUSEFREE = true;
    Send({{WM_KEYUP, 'A', 0, 0}});
    EXPECT_EQ(SETKEY['A'], 0);
    EXPECT_EQ(SETKEY[VK_LEFT], -1);
    EXPECT_FALSE(MOUSEFREE);  // any release ends free-mouse mode
    Send({{WM_SYSKEYDOWN, 'B', 0, 0}});
    EXPECT_EQ(SETKEY['B'], 0);  // keys with Alt are not recorded
}

TEST(GlWndProc, KeyCodeAboveTheTableIsARunTimeError) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        EXPECT_EXIT(GLWNDPROC(HWND(), message, 501, 0), ::testing::ExitedWithCode(217), "");
    }
}

TEST(GlWndProc, HooksRunOnlyWithTheMenuBarShown) {
    static int menus = 0;
    static int commands = 0;
    CREATEMOUSEMENU = [] { ++menus; };
    GETINPUTCOMMAND = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return ++commands; };
    SHOWMENUBAR = false;
    GLWNDPROC(HWND(), WM_CONTEXTMENU, 0, 0);
    EXPECT_EQ(GLWNDPROC(HWND(), WM_COMMAND, 1, 0), 0);
    EXPECT_EQ(menus + commands, 0);
    SHOWMENUBAR = true;
    GLWNDPROC(HWND(), WM_CONTEXTMENU, 0, 0);
    EXPECT_EQ(GLWNDPROC(HWND(), WM_COMMAND, 1, 0), 0);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(commands, 1);
    SHOWMENUBAR = false;
    CREATEMOUSEMENU = nullptr;
    GETINPUTCOMMAND = nullptr;
}

// A window of GLWNDPROC's own, 800 x 600 at the screen's corner, with no
// frame: its client coordinates are screen coordinates.
HWND MakeMainWindow(DWORD visible) {
    static const bool registered = [] {
        WNDCLASSA wc;
        wc.lpfnWndProc = GLWNDPROC;
        wc.lpszClassName = "ProcTest";
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, "ProcTest", "", WS_POPUP | visible, 0, 0, 800, 600, HWND(), HMENU(),
                           HINSTANCE(), nullptr);
}

TEST(GlWndProc, FreeMouseTurnsByTheOffsetFromTheCentre) {
    ResetInput();
    HWINDOW = MakeMainWindow(WS_VISIBLE);
    WIDTH = 800;
    HEIGHT = 600;
    ASSERT_EQ(GetForegroundWindow(), HWINDOW);
    MOUSEFREE = true;
    SetCursorPos(500, 250);
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, MAKELPARAM(500, 250));
    EXPECT_FLOAT_EQ(XROT, 2);
    EXPECT_FLOAT_EQ(YROT, -1);
    EXPECT_EQ(MPOS.x, 500);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 300);
    // Beyond the limit after a left drag: the next step pulls it back.
    YROT = 100;
    SetCursorPos(400, 250);
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, 0);
    EXPECT_FLOAT_EQ(YROT, 60);
    YROT = -100;
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, 0);
    EXPECT_FLOAT_EQ(YROT, -60);
    // No zoom in free-mouse mode.
    GLWNDPROC(HWINDOW, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(0, 300));
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(0, 350));
    EXPECT_EQ(DEPTH, 0);
    // Another window in the foreground: nothing happens.
    const HWND other = MakeMainWindow(WS_VISIBLE);
    ASSERT_EQ(GetForegroundWindow(), other);
    SetCursorPos(700, 100);
    const float before = XROT;
    GLWNDPROC(HWINDOW, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(XROT, before);
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 700);
    DestroyWindow(other);
    DestroyWindow(HWINDOW);
    HWINDOW = HWND();
    MOUSEFREE = false;
}

TEST(SetGlMsg, TakesOneMessagePerCallAndNeverWaits) {
    MSG msg;
    while (PeekMessageA(&msg, HWND(), 0, 0, PM_REMOVE)) {
    }
    const HWND w = MakeMainWindow(0);
    ASSERT_TRUE(w);
    ResetInput();
    for (WPARAM k = 0x41; k < 0x41 + 10; ++k) PostMessageA(w, WM_KEYUP, k, 0);
    for (int i = 0; i < 10; ++i) SETKEY[0x41 + i] = -1;
    for (int call = 1; call <= 10; ++call) {
        SETGLMSG();
        int released = 0;
        for (int i = 0; i < 10; ++i) released += SETKEY[0x41 + i] == 0;
        EXPECT_EQ(released, call);
    }
    SETGLMSG();  // nothing waits: returns at once
    EXPECT_FALSE(PeekMessageA(&msg, HWND(), 0, 0, PM_NOREMOVE));
    DestroyWindow(w);
}

}  // namespace
