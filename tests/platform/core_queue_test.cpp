// The message queue: order of posted messages, WM_QUIT and WM_PAINT, peeking
// without removal, sending, translation and the default procedure.
#include <gtest/gtest.h>

#include "platform/core/core.h"
#include "platform/core/input.h"
#include "tests/platform/core_support.h"

namespace {

using namespace ziru::platform;
using ziru::test::Drain;
using ziru::test::Log;
using ziru::test::LoggedOf;
using ziru::test::MakeTop;

class Queue : public ::testing::Test {
  protected:
    void SetUp() override {
        window = MakeTop(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
        Drain();
        Log().clear();
    }
    void TearDown() override {
        DestroyWindow(window);
        Drain();
    }
    HWND window;
};

TEST_F(Queue, PostedMessagesComeInOrderThenQuitThenPaint) {
    InvalidateRect(window, nullptr, FALSE);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER + 1, 1, 0);
    PostMessageA(window, WM_USER + 2, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, HWND(), 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    ASSERT_TRUE(GetMessageA(&msg, HWND(), 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 1);
    ASSERT_TRUE(GetMessageA(&msg, HWND(), 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 2);
    EXPECT_FALSE(GetMessageA(&msg, HWND(), 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3);
    // Paint stays until the window validates itself.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PeekMessageA(&msg, HWND(), 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, WM_PAINT);
    }
    DispatchMessageA(&msg);  // the default procedure validates
    EXPECT_FALSE(PeekMessageA(&msg, HWND(), 0, 0, PM_REMOVE));
}

TEST_F(Queue, SendIsSynchronousAndPostIsNot) {
    SendMessageA(window, WM_USER, 5, 6);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].wParam, 5);
    PostMessageA(window, WM_USER, 7, 8);
    EXPECT_EQ(Log().size(), 1u);
    MSG msg;
    GetMessageA(&msg, HWND(), 0, 0);
    DispatchMessageA(&msg);
    EXPECT_EQ(Log().back().lParam, 8);
}

TEST_F(Queue, UpdateWindowPaintsAtOnceOnlyWhenInvalid) {
    UpdateWindow(window);
    EXPECT_TRUE(LoggedOf({WM_PAINT}).empty());
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(LoggedOf({WM_PAINT}).size(), 1u);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, HWND(), 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, CloseAndAltF4DestroyThroughTheDefaultProcedure) {
    struct Case {
        const char* name;
        void (*act)(HWND);
    };
    const Case cases[] = {
        {"WM_CLOSE", [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }},
        {"close box", [](HWND w) { input::CloseRequested(w); }},
        {"Alt+F4",
         [](HWND w) {
             input::Key(w, static_cast<UINT>(VK_MENU), true);
             input::Key(w, static_cast<UINT>(VK_F4), true);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND w = MakeTop(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
        c.act(w);
        MSG msg;
        while (IsWindow(w) && PeekMessageA(&msg, HWND(), 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        EXPECT_FALSE(IsWindow(w));
        input::Key(w, static_cast<UINT>(VK_MENU), false);
        Drain();
    }
}

TEST_F(Queue, KeysBecomeKeyAndCharacterMessages) {
    input::Key(window, 'A', true);
    input::Key(window, 'A', false);
    input::Key(window, static_cast<UINT>(VK_MENU), true);
    input::Key(window, 'X', true);
    input::Key(window, 'X', false);
    input::Key(window, static_cast<UINT>(VK_MENU), false);
    std::vector<std::pair<UINT, WPARAM>> got;
    MSG msg;
    while (PeekMessageA(&msg, HWND(), 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        got.emplace_back(msg.message, msg.wParam);
    }
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, 'A'},    {WM_CHAR, 'a'},    {WM_KEYUP, 'A'},    {WM_SYSKEYDOWN, VK_MENU},
        {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}, {WM_SYSKEYUP, 'X'}, {WM_SYSKEYUP, VK_MENU}};
    EXPECT_EQ(got, expected);
}

}  // namespace

namespace {

TEST_F(Queue, ARightClickAsksTheWindowAndThenItsParentForAContextMenu) {
    // A captioned window at (0, 0): its client area starts at (3, 19).
    const HWND top = MakeTop(WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 200, 200);
    const HWND child = ziru::test::MakeChild(top, 7, 10, 10, 50, 50);
    Drain();
    Log().clear();
    SendMessageA(child, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    std::vector<std::pair<HWND, UINT>> menus;
    for (const auto& l : Log()) {
        if (l.message == WM_CONTEXTMENU) {
            menus.emplace_back(l.window, l.message);
            EXPECT_EQ(l.wParam, static_cast<WPARAM>(child.value));
            EXPECT_EQ(GET_X_LPARAM(l.lParam), 3 + 10 + 5);
            EXPECT_EQ(GET_Y_LPARAM(l.lParam), 19 + 10 + 6);
        }
    }
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].first, child);
    EXPECT_EQ(menus[1].first, top);
    DestroyWindow(top);
}

}  // namespace
