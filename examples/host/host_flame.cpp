// A host program of the library in one file: an 800 x 600 window with one
// flame of its own, built with the hooks and settings a host may set before
// the window is made. Run it from assets/ (it reads "ParticleFire.tga").
//
//   Up / Down     windier / calmer flame   (WM_COMMAND -> GETINPUTCOMMAND)
//   right click   next flame length        (WM_CONTEXTMENU -> CREATEMOUSEMENU)
//   L             billboard scale lock     (read from SETKEY)
//   left drag     turn, right drag: zoom   Escape: end
//
// The status bar shows the same state in three parts; each change is also
// printed on standard output and written to the window title.
#include <GL/gl.h>

#include <cstdio>

#include "effects/emitter.h"
#include "effects/flame/flame.h"
#include "platform/win.h"
#include "render/render.h"
#include "texture/bmp_texture.h"
#include "texture/tga_texture.h"
#include "window/window.h"

using namespace ziru;
using namespace ziru::platform;

namespace {

// The commands of the host's small accelerator table.
constexpr WPARAM IDM_WINDIER = 101;
constexpr WPARAM IDM_CALMER = 102;
constexpr float kLengths[] = {2.5f, 4.0f, 1.5f};

effects::TFX_EMISSION FIRE{};
int LENGTHINDEX = 0;
float SWAY = 0.25f;

void SHOWSTATE() {
    char parts[3][64];
    std::snprintf(parts[0], sizeof parts[0], "length %.1f", kLengths[LENGTHINDEX]);
    std::snprintf(parts[1], sizeof parts[1], "sway %.2f", SWAY);
    std::snprintf(parts[2], sizeof parts[2], "scale lock %s",
                  render::LOCKVIEWMODELSCALE ? "on" : "off");
    char line[200];
    std::snprintf(line, sizeof line, "%s | %s | %s", parts[0], parts[1], parts[2]);
    for (WPARAM i = 0; i < 3; ++i) {
        SendMessageA(window::HSTATUS, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(parts[i]));
    }
    SetWindowTextA(window::HWINDOW, line);
    std::printf("state: %s\n", line);
    std::fflush(stdout);
}

// WM_COMMAND, called by the window procedure because SHOWMENUBAR is true.
LRESULT INPUTCOMMAND(HWND, UINT, WPARAM COMMAND, LPARAM) {
    if (COMMAND == IDM_WINDIER && SWAY < 1.0f) SWAY += 0.25f;
    if (COMMAND == IDM_CALMER && SWAY > 0.0f) SWAY -= 0.25f;
    SHOWSTATE();
    return 0;
}

// WM_CONTEXTMENU: the next flame length.
void MOUSEMENU() {
    LENGTHINDEX = (LENGTHINDEX + 1) % 3;
    SHOWSTATE();
}

// True once each time key VK goes down.
bool PRESSED(WPARAM VK, bool& WASDOWN) {
    const bool DOWN = window::SETKEY[VK] != 0;
    const bool EDGE = DOWN && !WASDOWN;
    WASDOWN = DOWN;
    return EDGE;
}

}  // namespace

int main() {
    window::SHOWMENUBAR = true;
    window::GETINPUTCOMMAND = INPUTCOMMAND;
    window::CREATEMOUSEMENU = MOUSEMENU;
    window::SHOWSTATUSBAR = true;
    // Three parts: right edges at 200 and 400 pixels, the last to the end.
    window::STATUSITEM[1] = 200;
    window::STATUSITEM[2] = 400;
    window::STATUSITEM[3] = -1;
    window::MAXSTATUSITEM = 3;

    window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
    window::CREATEOGLWINDOW("ziru host", 800, 600, 32, false);

    render::OPENGL_INIT(100, 0, 0, 0, 0);
    // A mipmap filter before loading: the texture gets its mipmap chain.
    texture::GL_MIN_FILTER = GL_LINEAR_MIPMAP_LINEAR;
    texture::TEXTURELOADTGAID("ParticleFire.tga", 0);
    SHOWSTATE();

    float TIME = 0;
    bool UPDOWN = false, DOWNDOWN = false, LDOWN = false;
    do {
        glClear(GL_COLOR_BUFFER_BIT);
        window::SETGLMSG();

        // Keys as an accelerator table: each press posts its command.
        if (PRESSED(VK_UP, UPDOWN)) PostMessageA(window::HWINDOW, WM_COMMAND, IDM_WINDIER, 0);
        if (PRESSED(VK_DOWN, DOWNDOWN)) PostMessageA(window::HWINDOW, WM_COMMAND, IDM_CALMER, 0);
        if (PRESSED('L', LDOWN)) {
            render::LOCKVIEWMODELSCALE = !render::LOCKVIEWMODELSCALE;
            SHOWSTATE();
        }

        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        render::OPENGL_INIT(100, 0, 0, 0, 0);
        glTranslatef(0, -6, -24);
        glRotatef(15, 1, 0, 0);
        render::SETGLMOUSEMOVE(0, 2);
        TIME += 0.05f;
        texture::TEXTURETGASELECTID(0);
        effects::ZIRUZODO(FIRE, render::GLVECTOR(0, 0, 0), render::GLVECTOR(0, 1, 0),
                          kLengths[LENGTHINDEX], SWAY, TIME);
        SwapBuffers(window::DCWINDOW);
    } while (window::ACTIVE);
    window::DELETEOGLWINDOW();
    return 0;
}
