// Shaped image buttons over the flame scene: three buttons of the class
// "IMAGEBUTTON" (a disc, a diamond and a star) are children of the OpenGL
// window; they light up under the mouse, change when pressed, and their
// clicks reach the program through the window layer's GETINPUTCOMMAND hook:
//   the disc turns the scene by 45 degrees,
//   the diamond moves it nearer and back,
//   the star changes the colour of the light.
// Escape or the close box ends the program.
//
//   buttons_flames [ASSETS] [--frames N] [--snapshot FRAME FILE]...
//
// ASSETS is the folder with Floor04.bmp, ParticleFire.tga and buttons/
// (default: the working directory). --frames ends the program after N
// frames; --snapshot writes the window's picture after frame FRAME as a
// binary PPM file (for tests without a display).
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "buttons/hoverbutton.h"
#include "platform/win.h"
#include "render/state.h"
#include "scene.h"
#include "window/window.h"

namespace {

using namespace ziru;
using namespace ziru::platform;

constexpr UINT kTurn = 101;
constexpr UINT kZoom = 102;
constexpr UINT kLight = 103;

// Diffuse and ambient light colours the star cycles through; the first is
// the library's own, filled in at start.
struct LightColours {
    GLfloat diffuse[4];
    GLfloat ambient[4];
};
LightColours gLights[3] = {
    {},
    {{1.0f, 0.55f, 0.2f, 1.0f}, {0.35f, 0.12f, 0.02f, 1.0f}},
    {{0.3f, 0.5f, 1.0f, 1.0f}, {0.02f, 0.06f, 0.3f, 1.0f}},
};
int gLight = 0;

void UseLight(int index) {
    for (int i = 0; i < 4; ++i) {
        render::DIFFUSELIGHT[i] = gLights[index].diffuse[i];
        render::AMBIENTLIGHT[i] = gLights[index].ambient[i];
    }
    // Sends the colours; the scene places the light again every frame.
    render::SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
}

// The window layer hands every WM_COMMAND of the main window here.
LRESULT OnCommand(HWND, UINT, WPARAM wParam, LPARAM) {
    switch (static_cast<UINT>(wParam)) {
        case kTurn:
            window::YROT += 45;
            break;
        case kZoom:
            window::DEPTH = window::DEPTH > -6 ? -12.0f : 0.0f;
            break;
        case kLight:
            gLight = (gLight + 1) % 3;
            UseLight(gLight);
            break;
        default:
            break;
    }
    return 0;
}

// Creates one button whose pictures are buttons/NAME{N,H,P}.BMP.
void AddButton(const char* name, int x, int y, UINT id) {
    buttons::BMPTYPE = std::string("buttons/") + name;
    CreateWindowExA(0, window::SZHOVERCLASS, name, WS_CHILD | WS_VISIBLE, x, y, 0, 0,
                    window::HWINDOW, HMENU(id), GetModuleHandleA(nullptr), nullptr);
}

// The client area as shown, top row first, red-green-blue.
bool WritePpm(const std::string& name) {
    RECT client;
    GetClientRect(window::HWINDOW, &client);
    const int width = client.right;
    const int height = client.bottom;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    GLint readBuffer = 0;
    GLboolean doubleBuffered = GL_FALSE;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    // After the swap the picture shown is the front buffer.
    if (doubleBuffered) glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glReadBuffer(static_cast<GLenum>(readBuffer));
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int y = height - 1; y >= 0; --y) {
        std::fwrite(&rgb[static_cast<std::size_t>(y) * width * 3], 1,
                    static_cast<std::size_t>(width) * 3, file);
    }
    return std::fclose(file) == 0;
}

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: buttons_flames [ASSETS] [--frames N] [--snapshot FRAME FILE]...\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    long frames = 0;
    std::vector<std::pair<long, std::string>> snapshots;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frames = std::atol(argv[++i]);
        } else if (std::strcmp(argv[i], "--snapshot") == 0 && i + 2 < argc) {
            snapshots.emplace_back(std::atol(argv[i + 1]), argv[i + 2]);
            i += 2;
        } else if (argv[i][0] != '-' && chdir(argv[i]) == 0) {
            continue;
        } else {
            Usage();
        }
    }

    window::FULLSCREEN = false;
    // Commands reach GETINPUTCOMMAND only while the menu-bar switch is on.
    window::SHOWMENUBAR = true;
    window::GETINPUTCOMMAND = OnCommand;
    window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
    window::CREATEOGLWINDOW("Shaped image buttons over the flames", 800, 600, 32, false);
    app::SceneSetup();
    for (int i = 0; i < 4; ++i) {
        gLights[0].diffuse[i] = render::DIFFUSELIGHT[i];
        gLights[0].ambient[i] = render::AMBIENTLIGHT[i];
    }
    AddButton("turn", 12, 12, kTurn);
    AddButton("zoom", 86, 12, kZoom);
    AddButton("light", 160, 12, kLight);

    long frame = 0;
    do {
        glClear(GL_COLOR_BUFFER_BIT);
        window::SETGLMSG();
        app::OPENGL_DRAW();
        SwapBuffers(window::DCWINDOW);
        ++frame;
        for (const auto& [when, file] : snapshots) {
            if (when == frame && !WritePpm(file)) {
                std::fprintf(stderr, "buttons_flames: cannot write %s\n", file.c_str());
            }
        }
    } while (window::ACTIVE && (frames == 0 || frame < frames));
    window::DELETEOGLWINDOW();
    return 0;
}
