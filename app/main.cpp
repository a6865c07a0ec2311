// The flame demo: asks whether to run full screen, opens the OpenGL window,
// sets the scene up once, then draws frame after frame, pumping one window
// message per frame, until the window is gone.
#include <GL/gl.h>

#include "platform/win.h"
#include "scene.h"
#include "window/window.h"

int main() {
    using namespace ziru;
    using namespace ziru::platform;

    const int answer =
        MessageBoxA(HWND(), "Settare lo schermo intero?  ", "Video!", MB_YESNO | MB_ICONQUESTION);
    // Yes, or a box that could not be shown (0), means full screen.
    window::FULLSCREEN = answer != IDNO;
    window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
    window::CREATEOGLWINDOW("Esempio di fiamme con ZirUzodo", 800, 600, 32, window::FULLSCREEN);
    app::SceneSetup();
    do {
        glClear(GL_COLOR_BUFFER_BIT);
        window::SETGLMSG();
        app::OPENGL_DRAW();
        SwapBuffers(window::DCWINDOW);
    } while (window::ACTIVE);
    window::DELETEOGLWINDOW();
    return 0;
}
