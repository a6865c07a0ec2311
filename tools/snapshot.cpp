// Renders the flame scene without a display, on SDL's offscreen driver, and
// writes one frame as a PNG picture: the demo's window and frame loop as the
// demo runs them, minus the question box.
//
//   snapshot [--frames N] [--width W] [--height H] [--fullscreen]
//            [--left-drag DX,DY] [--right-drag DY] [--out FILE]
//
// Run it with the texture files in the working directory. The random source
// is never seeded, so the same N gives the same picture on one machine.
#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win.h"
#include "scene.h"
#include "window/window.h"

namespace {

using namespace ziru;
using namespace ziru::platform;

struct Options {
    int frames = 200;
    int width = 800;
    int height = 600;
    bool fullscreen = false;
    bool leftDrag = false;
    int dragX = 0, dragY = 0;
    bool rightDrag = false;
    int zoomY = 0;
    std::string out = "snapshot.png";
};

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: snapshot [--frames N] [--width W] [--height H] [--fullscreen]\n"
                 "                [--left-drag DX,DY] [--right-drag DY] [--out FILE]\n");
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--fullscreen") {
            o.fullscreen = true;
        } else if (arg == "--frames" && hasValue) {
            o.frames = std::atoi(argv[++i]);
        } else if (arg == "--width" && hasValue) {
            o.width = std::atoi(argv[++i]);
        } else if (arg == "--height" && hasValue) {
            o.height = std::atoi(argv[++i]);
        } else if (arg == "--out" && hasValue) {
            o.out = argv[++i];
        } else if (arg == "--left-drag" && hasValue) {
            o.leftDrag = std::sscanf(argv[++i], "%d,%d", &o.dragX, &o.dragY) == 2;
            if (!o.leftDrag) Usage();
        } else if (arg == "--right-drag" && hasValue) {
            o.rightDrag = std::sscanf(argv[++i], "%d", &o.zoomY) == 1;
            if (!o.rightDrag) Usage();
        } else {
            Usage();
        }
    }
    if (o.frames < 1 || o.width < 1 || o.height < 1) Usage();
    return o;
}

// Queues a press, a move and a release, as a user's drag would; the frame
// loop handles one message per frame, so the drag is done after 3 frames.
void QueueDrag(UINT down, UINT up, WPARAM button, int dx, int dy) {
    const int x = 300, y = 200;
    PostMessageA(window::HWINDOW, down, button, MAKELPARAM(x, y));
    PostMessageA(window::HWINDOW, WM_MOUSEMOVE, button, MAKELPARAM(x + dx, y + dy));
    PostMessageA(window::HWINDOW, up, 0, MAKELPARAM(x + dx, y + dy));
}

bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        // GL reads rows bottom-up; a picture file stores them top-down.
        for (int y = height - 1; y >= 0; --y) {
            png_write_row(png, const_cast<png_bytep>(&rgb[static_cast<size_t>(y) * width * 3]));
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);

    window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
    window::CREATEOGLWINDOW("Esempio di fiamme con ZirUzodo", options.width, options.height, 32,
                            options.fullscreen);
    app::SceneSetup();
    if (options.leftDrag)
        QueueDrag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, options.dragX, options.dragY);
    if (options.rightDrag) QueueDrag(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 0, options.zoomY);

    for (int frame = 1; frame <= options.frames && window::ACTIVE; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT);
        window::SETGLMSG();
        app::OPENGL_DRAW();
        if (frame == options.frames) break;  // read this frame back before its swap
        SwapBuffers(window::DCWINDOW);
    }

    // The drawable is the window's client area.
    RECT client;
    GetClientRect(window::HWINDOW, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    window::DELETEOGLWINDOW();

    if (!WritePng(options.out, width, height, rgb)) {
        std::fprintf(stderr, "snapshot: cannot write %s\n", options.out.c_str());
        return 1;
    }
    std::printf("snapshot: frame %d, %d x %d pixels, written to %s\n", options.frames, width,
                height, options.out.c_str());
    return 0;
}
