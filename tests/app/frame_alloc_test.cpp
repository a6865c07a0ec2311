// A running frame does no heap allocation: the scene, the emitters, the
// window procedure and the message queue reuse what they have, whatever input
// arrives. Counts every operator new of the process while frames run with
// mouse drags and key presses going through the platform's input path.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

#include "platform/core/input.h"
#include "platform/win.h"
#include "scene.h"
#include "window/window.h"

namespace {

bool counting = false;
long allocations = 0;

// Every form of the global allocation functions goes through one counter and
// malloc, so that whatever allocates (our code, or the GL driver's C++ parts)
// is counted and every delete matches its new.
void* Allocate(std::size_t size) {
    if (counting) ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace {

using namespace ziru;
using namespace ziru::platform;

// One frame of the demo's loop, with input before every other frame: a left
// drag, a right drag and a key. The loop handles one message a frame, so this
// keeps the queue from growing without bound (a key gives two messages).
void Frame(int n) {
    const HWND top = window::HWINDOW;
    switch (n % 2 == 0 ? n / 2 % 12 : -1) {
        case -1:
            break;
        case 0:
            input::MouseButton(top, input::Button::Left, true, 300, 200);
            break;
        case 1:
            input::MouseMoved(top, 310 + n % 50, 190);
            break;
        case 2:
            input::MouseButton(top, input::Button::Left, false, 320, 190);
            break;
        case 3:
            input::MouseButton(top, input::Button::Right, true, 300, 200);
            break;
        case 4:
            input::MouseMoved(top, 300, 205);
            break;
        case 5:
            input::MouseButton(top, input::Button::Right, false, 300, 205);
            break;
        case 6:
            input::Key(top, 'A', true);
            break;
        case 7:
            input::Key(top, 'A', false);
            break;
        default:
            input::MouseMoved(top, 100 + n % 300, 100);
            break;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    window::SETGLMSG();
    app::OPENGL_DRAW();
    SwapBuffers(window::DCWINDOW);
}

TEST(FrameLoop, RunsWithoutHeapAllocation) {
    ASSERT_EQ(chdir(ZIRU_SOURCE_DIR "/assets"), 0);
    window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
    window::CREATEOGLWINDOW("Esempio di fiamme con ZirUzodo", 800, 600, 32, false);
    app::SceneSetup();
    // Warm up: the emitters fill (109 frames) and the queue takes its size.
    int n = 0;
    for (; n < 240; ++n) Frame(n);

    counting = true;
    for (; n < 600; ++n) Frame(n);
    counting = false;

    EXPECT_EQ(allocations, 0) << "heap allocations in 360 frames with input";
    EXPECT_TRUE(window::ACTIVE);
    EXPECT_NE(window::YROT, 0.0f);
    EXPECT_NE(window::DEPTH, 0.0f);
    window::DELETEOGLWINDOW();
}

}  // namespace
