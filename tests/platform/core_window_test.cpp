// Windows: the frame geometry, creation and destruction order, properties,
// classes and the status bar.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/core/core.h"
#include "platform/types.h"
#include "tests/platform/core_support.h"

namespace {

using namespace ziru::platform;
using ziru::test::Log;
using ziru::test::LoggedOf;
using ziru::test::MakeChild;
using ziru::test::MakeTop;

struct GeometryCase {
    const char* name;
    DWORD style;
    int x, y, width, height;
    RECT window;
    int clientWidth, clientHeight;
};

TEST(CoreWindow, GeometryFollowsTheFrameModel) {
    const GeometryCase cases[] = {
        {"captioned demo window",
         WS_POPUP | WS_CAPTION | WS_SYSMENU,
         CW_USEDEFAULT,
         CW_USEDEFAULT,
         800,
         600,
         {0, 0, 800, 600},
         794,
         578},
        {"thin border covering the screen",
         WS_POPUP | WS_BORDER,
         CW_USEDEFAULT,
         CW_USEDEFAULT,
         1024,
         768,
         {0, 0, 1024, 768},
         1022,
         766},
        {"bare pop-up placed", WS_POPUP, 10, 20, 100, 50, {10, 20, 110, 70}, 100, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND w = MakeTop(c.style, c.x, c.y, c.width, c.height);
        ASSERT_TRUE(w);
        RECT r;
        ASSERT_TRUE(GetWindowRect(w, &r));
        EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom),
                  std::tie(c.window.left, c.window.top, c.window.right, c.window.bottom));
        ASSERT_TRUE(GetClientRect(w, &r));
        EXPECT_EQ(r.right, c.clientWidth);
        EXPECT_EQ(r.bottom, c.clientHeight);
        DestroyWindow(w);
    }
}

TEST(CoreWindow, ChildRectIsRelativeToTheParentClientArea) {
    const HWND top = MakeTop(WS_POPUP | WS_CAPTION, 100, 50, 400, 300);
    const HWND child = MakeChild(top, 7, 10, 20, 30, 40);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 100 + 3 + 10);
    EXPECT_EQ(r.top, 50 + 19 + 20);
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    MoveWindow(child, 5, 6, 70, 80, FALSE);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 100 + 3 + 5);
    EXPECT_EQ(r.bottom - r.top, 80);
    DestroyWindow(top);
}

TEST(CoreWindow, CreateSendsWmCreateInsideTheCall) {
    Log().clear();
    const HWND w = MakeTop(WS_POPUP, 0, 0, 10, 10);
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(Log().front().window, w);
    EXPECT_EQ(Log().front().message, WM_CREATE);
    DestroyWindow(w);
}

TEST(CoreWindow, DestroyReachesChildrenFirstAndOnlyOnce) {
    const HWND top = MakeTop(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    const HWND a = MakeChild(top, 1, 0, 0, 10, 10);
    const HWND b = MakeChild(a, 2, 0, 0, 5, 5);
    PostMessageA(b, WM_USER, 0, 0);
    Log().clear();
    EXPECT_TRUE(DestroyWindow(top));
    const std::vector<std::pair<HWND, UINT>> expected = {
        {b, WM_DESTROY}, {a, WM_DESTROY}, {top, WM_DESTROY}};
    EXPECT_EQ(LoggedOf({WM_DESTROY}), expected);
    EXPECT_FALSE(IsWindow(top) || IsWindow(a) || IsWindow(b));
    // A second destroy is a harmless failure; the dead child's message is gone.
    EXPECT_FALSE(DestroyWindow(top));
    MSG msg;
    while (PeekMessageA(&msg, HWND(), 0, 0, PM_REMOVE)) EXPECT_NE(msg.hwnd, b);
}

TEST(CoreWindow, ChildWithoutParentAndUnknownClassFail) {
    EXPECT_FALSE(CreateWindowExA(0, ziru::test::RecorderClass(), "", WS_CHILD, 0, 0, 1, 1, HWND(),
                                 HMENU(), HINSTANCE(), nullptr));
    EXPECT_FALSE(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, HWND(), HMENU(),
                                 HINSTANCE(), nullptr));
}

TEST(CoreWindow, ClassesRegisterOnceAndAreFoundByName) {
    WNDCLASSA wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "OnceOnly";
    EXPECT_NE(RegisterClassA(&wc), 0);
    EXPECT_EQ(RegisterClassA(&wc), 0);
    WNDCLASSEXA info;
    ASSERT_TRUE(GetClassInfoExA(HINSTANCE(), "onceonly", &info));
    EXPECT_STREQ(info.lpszClassName, "OnceOnly");
    EXPECT_EQ(info.lpfnWndProc, DefWindowProcA);
    EXPECT_FALSE(GetClassInfoExA(HINSTANCE(), "Unknown", &info));
}

TEST(CoreWindow, PropertiesAreKeptPerWindow) {
    const HWND a = MakeTop(WS_POPUP, 0, 0, 1, 1);
    const HWND b = MakeTop(WS_POPUP, 0, 0, 1, 1);
    SetPropA(a, "NAME", 42);
    EXPECT_EQ(GetPropA(a, "NAME"), 42u);
    EXPECT_EQ(GetPropA(b, "NAME"), 0u);
    EXPECT_EQ(RemovePropA(a, "NAME"), 42u);
    EXPECT_EQ(GetPropA(a, "NAME"), 0u);
    DestroyWindow(a);
    DestroyWindow(b);
    EXPECT_EQ(GetPropA(a, "NAME"), 0u);
}

TEST(CoreWindow, StatusBarSitsAtTheBottomAndKeepsItsParts) {
    const HWND top = MakeTop(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 800, 600);
    const HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Percorso file", top, 30482);
    ASSERT_TRUE(bar);
    EXPECT_EQ(GetDlgCtrlID(bar), 30482);
    RECT r;
    GetWindowRect(bar, &r);
    EXPECT_EQ(r.bottom, 600 - 3);
    EXPECT_EQ(r.right - r.left, 794);
    int edges[3] = {100, 200, -1};
    EXPECT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
    int out[4] = {};
    EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(out)), 3);
    EXPECT_EQ(out[1], 200);
    EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(edges)));
    char text[64] = {};
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Percorso file");
    EXPECT_FALSE(CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "x", HWND(), 1));
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(bar));
}

TEST(CoreWindow, ScreenSizeComesFromTheDesktopMode) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_TRUE(GetModuleHandleA(nullptr));
    EXPECT_EQ(StartupShowCommand(), SW_SHOWDEFAULT);
}

}  // namespace
