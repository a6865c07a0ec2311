#include "support/gl_context.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace ziru::test {

GlContext::GlContext(int width, int height) : width_(width), height_(height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        std::abort();
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window_ = SDL_CreateWindow("test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) {
        std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
        std::abort();
    }
    context_ = SDL_GL_CreateContext(static_cast<SDL_Window*>(window_));
    if (context_ == nullptr) {
        std::fprintf(stderr, "GL context: %s\n", SDL_GetError());
        std::abort();
    }
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window_), context_);
    glViewport(0, 0, width, height);
}

GlContext::~GlContext() {
    SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(context_);
    SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::vector<std::uint8_t> GlContext::ReadPixels() const {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<float> GetMatrix(GLenum which) {
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
}

}  // namespace ziru::test
