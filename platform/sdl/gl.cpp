// SDL2 OpenGL: attributes, probing a pixel format, contexts, the swap, and
// the hidden window that holds the current context while its own window is
// destroyed (SDL would otherwise unload GL under live contexts).
#include <GL/gl.h>
#include <SDL.h>

#include "platform/sdl/backend.h"

namespace ziru::platform::backend {

SDL_Window* SdlWindow(NativeWindow* window);

namespace {

SDL_Window*& Parking() {
    static SDL_Window* parking = nullptr;
    return parking;
}

SDL_Window* CreateHiddenGlWindow(const GlAttributes& attributes);

}  // namespace

// Every attribute is set each time: SDL keeps them between windows.
void ApplyGlAttributes(const GlAttributes& gl) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, gl.doubleBuffer || gl.defaults ? 1 : 0);
    if (gl.defaults) return;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, gl.red);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, gl.green);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, gl.blue);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, gl.alpha);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, gl.depth);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, gl.stencil);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, gl.accumRed);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, gl.accumGreen);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, gl.accumBlue);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, gl.accumAlpha);
    SDL_GL_SetAttribute(SDL_GL_STEREO, gl.stereo ? 1 : 0);
}

namespace {

SDL_Window* CreateHiddenGlWindow(const GlAttributes& attributes) {
    ApplyGlAttributes(attributes);
    return SDL_CreateWindow("", 0, 0, 1, 1,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
}

}  // namespace

bool ProbeGlAttributes(const GlAttributes& attributes) {
    if (!EnsureVideo()) return false;
    SDL_Window* probe = CreateHiddenGlWindow(attributes);
    if (probe == nullptr) return false;
    SDL_DestroyWindow(probe);
    return true;
}

NativeContext CreateGlContext(NativeWindow* window) {
    SDL_Window* sdl = SdlWindow(window);
    if (sdl == nullptr || !(SDL_GetWindowFlags(sdl) & SDL_WINDOW_OPENGL)) return nullptr;
    // Creating a context makes it current; the caller decides that.
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(sdl);
    SDL_GL_MakeCurrent(previousWindow, previous);
    return context;
}

bool MakeCurrent(NativeWindow* window, NativeContext context) {
    if (context == nullptr) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    SDL_Window* sdl = SdlWindow(window);
    if (sdl == nullptr) return false;
    return SDL_GL_MakeCurrent(sdl, context) == 0;
}

void DeleteGlContext(NativeContext context) {
    if (context != nullptr) SDL_GL_DeleteContext(context);
}

bool SwapWindow(NativeWindow* window) {
    SDL_Window* sdl = SdlWindow(window);
    if (sdl == nullptr) return false;
    SDL_GL_SwapWindow(sdl);
    // The offscreen driver's swap does not even flush: without a flush the
    // driver queues every frame's commands and memory grows without bound.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && SDL_strcmp(driver, "offscreen") == 0) glFlush();
    return true;
}

void ParkContexts(NativeWindow* window, const GlAttributes& attributes) {
    if (Parking() == nullptr) Parking() = CreateHiddenGlWindow(attributes);
    SDL_Window* sdl = SdlWindow(window);
    if (sdl == nullptr || SDL_GL_GetCurrentWindow() != sdl) return;
    SDL_GLContext current = SDL_GL_GetCurrentContext();
    if (Parking() == nullptr || SDL_GL_MakeCurrent(Parking(), current) != 0) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
    }
}

void ReleaseParking() {
    if (Parking() == nullptr) return;
    if (SDL_GL_GetCurrentWindow() == Parking()) SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_DestroyWindow(Parking());
    Parking() = nullptr;
}

}  // namespace ziru::platform::backend
