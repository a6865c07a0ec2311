// Input: mouse routing to children, shapes and the capture window, button
// flags, the cursor position, the foreground window and the key table.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/core/core.h"
#include "platform/core/input.h"
#include "platform/core/internal.h"
#include "platform/sdl/backend.h"
#include "tests/platform/core_support.h"

namespace {

using namespace ziru::platform;
using ziru::test::Drain;
using ziru::test::MakeChild;
using ziru::test::MakeTop;

struct Delivered {
    HWND window;
    UINT message;
    WPARAM flags;
    int x, y;
    bool operator==(const Delivered&) const = default;
};

std::vector<Delivered> Mouse() {
    std::vector<Delivered> out;
    for (const MSG& m : Drain()) {
        if (m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONUP) {
            out.push_back(
                {m.hwnd, m.message, m.wParam, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)});
        }
    }
    return out;
}

class Input : public ::testing::Test {
  protected:
    void SetUp() override {
        // Captioned at (100, 100): the client area starts at (103, 119).
        top = MakeTop(WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 400, 300);
        child = MakeChild(top, 1, 50, 50, 100, 100);
        Drain();
    }
    void TearDown() override {
        detail::SetHitTestHook(nullptr);
        ReleaseCapture();
        DestroyWindow(top);
        Drain();
    }
    HWND top;
    HWND child;
};

TEST_F(Input, MouseGoesToTheDeepestChildUnderThePointer) {
    input::MouseMoved(top, 10, 10);
    input::MouseMoved(top, 60, 70);
    input::MouseButton(top, input::Button::Left, true, 60, 70);
    const std::vector<Delivered> expected = {
        {top, WM_MOUSEMOVE, 0, 10, 10},
        {child, WM_MOUSEMOVE, 0, 10, 20},
        {child, WM_LBUTTONDOWN, MK_LBUTTON, 10, 20},
    };
    EXPECT_EQ(Mouse(), expected);
    input::MouseButton(top, input::Button::Left, false, 60, 70);
    Drain();
}

TEST_F(Input, ChildShapeDecidesTheHit) {
    // Only the child's left half belongs to its shape.
    detail::SetHitTestHook([&](HWND w, int x, int) { return w != child || x < 50; });
    input::MouseMoved(top, 60, 60);
    input::MouseMoved(top, 120, 60);
    const std::vector<Delivered> expected = {
        {child, WM_MOUSEMOVE, 0, 10, 10},
        {top, WM_MOUSEMOVE, 0, 120, 60},
    };
    EXPECT_EQ(Mouse(), expected);
}

TEST_F(Input, CaptureGetsMovesOutsideWithNegativeCoordinates) {
    SetCapture(child);
    EXPECT_EQ(GetCapture(), child);
    input::MouseButton(top, input::Button::Right, true, 60, 60);
    input::MouseMoved(top, -30, 5);
    const std::vector<Delivered> expected = {
        {child, WM_MOUSEMOVE, 0, 10, 10},
        {child, WM_RBUTTONDOWN, MK_RBUTTON, 10, 10},
        {child, WM_MOUSEMOVE, MK_RBUTTON, -80, -45},
    };
    EXPECT_EQ(Mouse(), expected);
    ReleaseCapture();
    input::MouseMoved(top, -40, 5);
    EXPECT_TRUE(Mouse().empty());  // outside and not captured: nobody's
    input::MouseButton(top, input::Button::Right, false, 5, 5);
    Drain();
}

TEST_F(Input, ShiftAndControlShowInTheFlags) {
    input::Key(top, static_cast<UINT>(VK_SHIFT), true);
    input::Key(top, static_cast<UINT>(VK_CONTROL), true);
    input::MouseMoved(top, 1, 2);
    input::Key(top, static_cast<UINT>(VK_SHIFT), false);
    input::Key(top, static_cast<UINT>(VK_CONTROL), false);
    const auto moves = Mouse();
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].flags, MK_SHIFT | MK_CONTROL);
}

TEST_F(Input, CursorPositionIsKeptAndWarpsMoveThePointer) {
    SetCursorPos(103 + 200, 119 + 150);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 303);
    EXPECT_EQ(p.y, 269);
    const std::vector<Delivered> expected = {{top, WM_MOUSEMOVE, 0, 200, 150}};
    EXPECT_EQ(Mouse(), expected);
    // The same place again is no move.
    input::MouseMoved(top, 200, 150);
    EXPECT_TRUE(Mouse().empty());
}

TEST_F(Input, ForegroundFollowsShowingAndFocusReports) {
    EXPECT_EQ(GetForegroundWindow(), top);
    input::FocusChanged(top, false);
    EXPECT_FALSE(GetForegroundWindow());
    input::FocusChanged(top, true);
    EXPECT_EQ(GetForegroundWindow(), top);
    EXPECT_EQ(input::DefaultTarget(), top);
}

TEST(KeyTable, SdlKeycodesMapToVirtualKeys) {
    const std::pair<SDL_Keycode, UINT> cases[] = {
        {SDLK_a, 0x41},      {SDLK_z, 0x5A},      {SDLK_0, 0x30},     {SDLK_9, 0x39},
        {SDLK_F1, 0x70},     {SDLK_F12, 0x7B},    {SDLK_F13, 0x7C},   {SDLK_F24, 0x87},
        {SDLK_LEFT, 0x25},   {SDLK_UP, 0x26},     {SDLK_RIGHT, 0x27}, {SDLK_DOWN, 0x28},
        {SDLK_KP_0, 0x60},   {SDLK_KP_1, 0x61},   {SDLK_KP_9, 0x69},  {SDLK_ESCAPE, 0x1B},
        {SDLK_DELETE, 0x2E}, {SDLK_RETURN, 0x0D}, {SDLK_SPACE, 0x20}, {SDLK_TAB, 0x09},
        {SDLK_LSHIFT, 0x10}, {SDLK_RCTRL, 0x11},  {SDLK_LALT, 0x12},  {SDLK_UNKNOWN, 0},
    };
    for (const auto& [sdl, vk] : cases) {
        EXPECT_EQ(backend::VirtualKeyFromSdl(sdl), vk) << SDL_GetKeyName(sdl);
    }
}

}  // namespace
