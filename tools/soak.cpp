// A long run of the flame scene, to catch leaks: the demo's window, set-up
// and frame loop (windowed 800 x 600, no question box) for N frames, with
// mouse drags and key presses reported through the platform's input path,
// so that they reach the window procedure as real messages. Prints resident
// memory and the number of live platform handles at the start, after 1,000
// frames and at the end, and flags growth after the first 1,000 frames.
//
//   soak [FRAMES]        (default 100000 frames)
//
// Run it from assets/ with SDL_VIDEODRIVER=offscreen. Exit code 0 when
// neither memory (over 1 MiB) nor handles grew after frame 1,000, else 1.
#include <GL/gl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/core/handles.h"
#include "platform/core/input.h"
#include "platform/win.h"
#include "scene.h"
#include "window/window.h"

namespace {

using namespace ziru;
using namespace ziru::platform;

constexpr long kWarmUpFrames = 1000;
constexpr long kGrowthLimit = 1L << 20;
constexpr long kResidentCeiling = 4L << 30;
// One input event every few frames: the loop handles one message per
// frame, so the queue never builds up.
constexpr long kFramesPerEvent = 8;

struct Sample {
    long resident = 0;
    std::size_t handles = 0;
};

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

Sample Measure(const char* when, long frame) {
    // Let the GL finish what it queued, so its memory is counted.
    glFinish();
    const Sample s{ResidentBytes(), detail::LiveHandleCount()};
    std::printf("%-6s frame %7ld  resident %8.2f MiB  live handles %zu\n", when, frame,
                static_cast<double>(s.resident) / (1 << 20), s.handles);
    std::fflush(stdout);
    return s;
}

// Step I of the input cycle: a left drag there and back, a right drag there
// and back (so the view does not drift away), and two key presses.
void Inject(long step) {
    const HWND w = window::HWINDOW;
    using input::Button;
    switch (step % 16) {
        case 0:
            input::MouseButton(w, Button::Left, true, 300, 200);
            break;
        case 1:
            input::MouseMoved(w, 340, 230);
            break;
        case 2:
            input::MouseMoved(w, 300, 200);
            break;
        case 3:
            input::MouseButton(w, Button::Left, false, 300, 200);
            break;
        case 4:
            input::MouseButton(w, Button::Right, true, 400, 300);
            break;
        case 5:
            input::MouseMoved(w, 400, 340);
            break;
        case 6:
            input::MouseMoved(w, 400, 300);
            break;
        case 7:
            input::MouseButton(w, Button::Right, false, 400, 300);
            break;
        case 8:
            input::Key(w, 'A', true);
            break;
        case 9:
            input::Key(w, 'A', false);
            break;
        case 10:
            input::Key(w, VK_UP, true);
            break;
        case 11:
            input::Key(w, VK_UP, false);
            break;
        default:
            input::MouseMoved(w, 200 + static_cast<int>(step % 16) * 10, 250);
            break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 100000;
    if (argc > 2 || frames < 1) {
        std::fprintf(stderr, "usage: soak [FRAMES]\n");
        return 2;
    }
    window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
    window::CREATEOGLWINDOW("Esempio di fiamme con ZirUzodo", 800, 600, 32, false);
    app::SceneSetup();

    const Sample start = Measure("start", 0);
    Sample warm = start;
    const auto began = std::chrono::steady_clock::now();
    long frame = 0;
    while (frame < frames && window::ACTIVE) {
        if (frame % kFramesPerEvent == 0) Inject(frame / kFramesPerEvent);
        glClear(GL_COLOR_BUFFER_BIT);
        window::SETGLMSG();
        app::OPENGL_DRAW();
        SwapBuffers(window::DCWINDOW);
        ++frame;
        if (frame == kWarmUpFrames) warm = Measure("warm", frame);
        // A run that grows without bound stops before it troubles the machine.
        if (frame % kWarmUpFrames == 0 && ResidentBytes() > kResidentCeiling) {
            std::printf("stopped: resident memory above %ld MiB\n", kResidentCeiling >> 20);
            break;
        }
    }
    const Sample end = Measure("end", frame);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("%ld frames in %.1f s (%.0f fps)\n", frame, seconds, frame / seconds);

    bool grew = false;
    if (frame > kWarmUpFrames && end.resident - warm.resident > kGrowthLimit) {
        std::printf("GROWTH: resident memory grew by %.2f MiB after frame %ld\n",
                    static_cast<double>(end.resident - warm.resident) / (1 << 20), kWarmUpFrames);
        grew = true;
    }
    if (frame > kWarmUpFrames && end.handles > warm.handles) {
        std::printf("GROWTH: live handles grew from %zu to %zu after frame %ld\n", warm.handles,
                    end.handles, kWarmUpFrames);
        grew = true;
    }
    window::DELETEOGLWINDOW();
    return grew ? 1 : 0;
}
