// The WGL part on the offscreen driver: the format ladder, a context on a
// window, and a window destroyed under its current context.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "platform/win.h"
#include "tests/platform/core_support.h"

namespace {

using namespace ziru::platform;
using ziru::test::MakeTop;

// The window layer's request: 32 bits of everything, stereo, double buffer.
PIXELFORMATDESCRIPTOR DemoRequest() {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = 0x1067;
    pfd.cColorBits = pfd.cAlphaBits = pfd.cAccumBits = pfd.cDepthBits = 32;
    pfd.cStencilBits = pfd.cAuxBuffers = 32;
    pfd.iLayerType = PFD_OVERLAY_PLANE;
    return pfd;
}

TEST(FormatLadder, RelaxesStepByStepToTheDefaults) {
    const auto ladder = detail::FormatLadder(DemoRequest());
    ASSERT_EQ(ladder.size(), 6u);
    const backend::GlAttributes& first = ladder.front();
    EXPECT_EQ(first.red, 8);
    EXPECT_EQ(first.alpha, 8);
    EXPECT_EQ(first.stencil, 8);
    EXPECT_EQ(first.depth, 24);  // 32 only without stencil
    EXPECT_EQ(first.accumRed, 8);
    EXPECT_TRUE(first.stereo);
    EXPECT_TRUE(first.doubleBuffer);
    EXPECT_FALSE(ladder[1].stereo);
    EXPECT_EQ(ladder[2].accumRed, 0);
    EXPECT_EQ(ladder[3].stencil, 0);
    EXPECT_EQ(ladder[4].depth, 16);
    EXPECT_TRUE(ladder.back().defaults);
}

TEST(Wgl, ContextOnAWindowDrawsAndSwaps) {
    const HWND w = MakeTop(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200, 150);
    const HDC dc = GetDC(w);
    const PIXELFORMATDESCRIPTOR pfd = DemoRequest();
    const int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_GT(format, 0);
    EXPECT_TRUE(SetPixelFormat(dc, format, &pfd));
    EXPECT_FALSE(SetPixelFormat(dc, format, &pfd));  // once per window
    EXPECT_EQ(GetPixelFormat(dc), format);
    const HGLRC rc = wglCreateContext(dc);
    ASSERT_TRUE(rc);
    ASSERT_TRUE(wglMakeCurrent(dc, rc));
    EXPECT_EQ(wglGetCurrentContext(), rc);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 194);  // the client area
    EXPECT_EQ(viewport[3], 128);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_TRUE(SwapBuffers(dc));
    wglMakeCurrent(dc, HGLRC());
    EXPECT_FALSE(wglGetCurrentContext());
    EXPECT_TRUE(wglDeleteContext(rc));
    EXPECT_FALSE(wglDeleteContext(rc));
    ReleaseDC(w, dc);
    DestroyWindow(w);
}

TEST(Wgl, DestroyingTheWindowUnderItsContextLeavesLaterCallsHarmless) {
    const HWND w = MakeTop(WS_POPUP | WS_VISIBLE, 0, 0, 64, 64);
    const HDC dc = GetDC(w);
    const PIXELFORMATDESCRIPTOR pfd = DemoRequest();
    SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
    const HGLRC rc = wglCreateContext(dc);
    ASSERT_TRUE(wglMakeCurrent(dc, rc));
    ASSERT_TRUE(DestroyWindow(w));
    // The rest of the frame, as after a close box.
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glEnd();
    EXPECT_FALSE(SwapBuffers(dc));
    EXPECT_TRUE(wglMakeCurrent(dc, HGLRC()));
    EXPECT_TRUE(wglDeleteContext(rc));
    EXPECT_EQ(ReleaseDC(w, dc), 0);
}

TEST(Wgl, NoFormatForADcWithoutWindow) {
    const PIXELFORMATDESCRIPTOR pfd = DemoRequest();
    EXPECT_EQ(ChoosePixelFormat(HDC(), &pfd), 0);
    EXPECT_FALSE(wglCreateContext(HDC()));
    EXPECT_FALSE(SwapBuffers(HDC()));
}

}  // namespace
