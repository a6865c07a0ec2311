// Times the particle emitter: ADDEMISSION on a full emitter (100 live
// particles) drawing into an 800 x 600 offscreen context, as the flame scene
// draws it (textured, additive), and as untextured discs. Each batch of
// calls ends with glFinish so the time covers the GPU work; the median of
// several batches is reported, and so is the number of heap allocations
// made inside the timed loop, which must be 0.
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "effects/emitter.h"
#include "render/render.h"
#include "window/window.h"

namespace {

// Every global allocation is counted, so a heap allocation on the emitter's
// path shows up in the report.
unsigned long long allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using ziru::effects::TFX_EMISSION;

constexpr int WIDTH = 800, HEIGHT = 600;
constexpr int CALLS_PER_BATCH = 100;
constexpr int BATCHES = 9;

// A soft round glow, the kind of texture a flame is drawn with.
void BindGlowTexture() {
    constexpr int SIZE = 64;
    static std::uint8_t pixels[SIZE * SIZE * 4];
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const float dx = (x + 0.5f) / SIZE * 2 - 1, dy = (y + 0.5f) / SIZE * 2 - 1;
            const float f = std::max(0.0f, 1 - (dx * dx + dy * dy));
            std::uint8_t* p = &pixels[(y * SIZE + x) * 4];
            p[0] = static_cast<std::uint8_t>(255 * f);
            p[1] = static_cast<std::uint8_t>(150 * f);
            p[2] = static_cast<std::uint8_t>(60 * f);
            p[3] = static_cast<std::uint8_t>(255 * f);
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, SIZE, SIZE, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glEnable(GL_TEXTURE_2D);
}

void Call(TFX_EMISSION& emitter, bool texture) {
    // The flame generator's arguments, rising along y.
    emitter.ADDEMISSION(0, 0, 0, 0, 2.5f, 0.25f, 0.0005f, 0.05f, 1, 1, 1, 0, 0, 0, 10, 3, texture,
                        true);
}

void Measure(const char* label, bool texture) {
    static TFX_EMISSION emitter;
    emitter = TFX_EMISSION{};
    // Warm-up: fill all 100 slots and let the driver settle.
    for (int i = 0; i < 300; ++i) Call(emitter, texture);
    glFinish();
    if (emitter.EMISSIONGEN != 100) {
        std::fprintf(stderr, "emitter not full: %d slots\n", emitter.EMISSIONGEN);
        std::exit(1);
    }

    std::vector<double> seconds;
    seconds.reserve(BATCHES);
    const unsigned long long allocations_before = allocations;
    for (int batch = 0; batch < BATCHES; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < CALLS_PER_BATCH; ++i) Call(emitter, texture);
        glFinish();
        const auto stop = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(stop - start).count());
    }
    const unsigned long long allocated = allocations - allocations_before;

    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[BATCHES / 2];
    const double particles = 100.0 * CALLS_PER_BATCH;
    std::printf(
        "%-18s %8.0f particles/s  %6.2f us/particle  %6.3f ms/call (min %.3f, max %.3f)  "
        "heap allocations in timed loop: %llu\n",
        label, particles / median, median / particles * 1e6, median / CALLS_PER_BATCH * 1e3,
        seconds.front() / CALLS_PER_BATCH * 1e3, seconds.back() / CALLS_PER_BATCH * 1e3, allocated);
}

}  // namespace

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("emitter_bench", 0, 0, WIDTH, HEIGHT,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "GL context: %s\n", SDL_GetError());
        return 1;
    }
    std::printf("video driver %s, renderer %s\n", SDL_GetCurrentVideoDriver(),
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    // The flame scene's view: 30 units in front of the eye, seen from 30
    // degrees above; each billboard covers some 48 x 48 pixels.
    ziru::window::WIDTH = WIDTH;
    ziru::window::HEIGHT = HEIGHT;
    ziru::render::OPENGL_INIT(100, 0, 0, 0, 0);
    glTranslatef(0, -1, -30);
    glRotatef(30, 1, 0, 0);
    BindGlowTexture();

    Measure("textured, additive", true);
    Measure("discs, additive", false);

    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
