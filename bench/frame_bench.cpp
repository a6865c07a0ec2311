// Frame-rate benchmark of the flame scene on SDL's offscreen driver at
// 800 x 600, every frame finished with glFinish (the offscreen swap does not
// even flush, so without it the figures would measure nothing):
//   (a) an empty frame: clear and finish;
//   (b) the demo's scene;
//   (c) an ideal renderer of the same picture: the same floor and the same
//       live particles of the same kind of emitters, their billboards worked
//       out on the CPU and drawn in one vertex-array call;
//   (d) the demo's scene with 30 flames instead of 3.
// Run it with the texture files in the working directory:
//   cd assets && ../build/bench/frame_bench [frames-per-run] [runs]
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "effects/flame/flame.h"
#include "platform/win.h"
#include "render/render.h"
#include "runtime/runtime.h"
#include "scene.h"
#include "texture/bmp_texture.h"
#include "texture/tga_texture.h"
#include "window/window.h"

namespace {

using namespace ziru;
using Clock = std::chrono::steady_clock;

// ===== The demo's frame with any number of flames ==========================

struct Flame {
    effects::TFX_EMISSION emitter{};
    float x, z, phase;
};

std::vector<Flame> MakeFlames(int count) {
    std::vector<Flame> flames(count);
    for (int i = 0; i < count; ++i) {
        flames[i].x = count == 3 ? -5.0f + 5.0f * i : -9.0f + 2.0f * (i % 10);
        flames[i].z = count == 3 ? 0.0f : -5.0f + 5.0f * (i / 10);
        flames[i].phase = count == 3 ? (i == 0 ? 0.0f : i == 1 ? 5.0f : 15.0f) : 1.7f * i;
    }
    return flames;
}

// The camera, the light and the floor, as the scene draws them.
void DrawFloor() {
    glClear(GL_COLOR_BUFFER_BIT + GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    render::OPENGL_I2D(0, 0, 0, 0);
    render::OPENGL_INIT(100, 0, 0, 0, 0);
    glTranslatef(0, -1, -30);
    glRotatef(30, 1, 0, 0);
    render::SETGLMOUSEMOVE(0, 2);
    render::PUTGLPOINTLIGHT(GL_LIGHT0, 0, 0, 10, 0, 0.1f);
    texture::TEXTURESELECTID(0);
    app::QUAD(-10, 0, -10, 10, 0, -10, -10, 0, 10, 10, 0, 10);
}

void DrawManyFlames(std::vector<Flame>& flames, float time) {
    DrawFloor();
    texture::TEXTURETGASELECTID(0);
    for (Flame& f : flames) {
        effects::ZIRUZODO(f.emitter, render::GLVECTOR(f.x, 1, f.z), render::GLVECTOR(0, 1, 0), 2.5f,
                          0.25f, time + f.phase);
    }
    for (const Flame& f : flames) app::FLARE(render::GLVECTOR(f.x, 0.02, f.z), 2);
}

// ===== The ideal renderer ==================================================

// The emitter's update without its drawing: the same ramp, drift, ageing and
// respawn as ADDEMISSION with the flame generator's arguments.
void Update(effects::TFX_EMISSION& e, float PX, float PY, float PZ) {
    e.EMISSIONCOUNT = 10;
    e.EMISSIONTIMER += 1;
    if (e.EMISSIONTIMER >= e.EMISSIONCOUNT && e.EMISSIONGEN < 100) ++e.EMISSIONGEN;
    for (int n = 1; n <= e.EMISSIONGEN; ++n) {
        effects::GLPARTICLE& p = e.EMISSION[n];
        p.X += PX;
        p.Y += PY;
        p.Z += PZ;
        if (p.LIFE == 0 || p.FADE >= p.LIFE) {
            p.X = static_cast<float>(runtime::Random(4) - 2);
            p.Y = static_cast<float>(runtime::Random(4) - 2);
            p.Z = static_cast<float>(runtime::Random(4) - 2);
            p.XG = static_cast<float>(runtime::RandomReal() * 0.5 - 0.25);
            p.YG = static_cast<float>(runtime::RandomReal() * 0.5 - 0.25);
            p.ZG = static_cast<float>(runtime::RandomReal() * 0.5 - 0.25);
            p.LIFE = static_cast<float>(3 + runtime::Random(3));
            p.FADE = 0;
        }
        p.FADE = static_cast<float>(p.FADE + 0.1);
        p.X += p.XG;
        p.Y += p.YG;
        p.Z += p.ZG;
    }
}

struct Vertex {
    GLfloat s, t;
    GLfloat r, g, b, a;
    GLfloat x, y, z;
};

void DrawIdeal(std::vector<Flame>& flames, float time, std::vector<Vertex>& vertices) {
    DrawFloor();
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    vertices.clear();
    for (Flame& f : flames) {
        const float t = time + f.phase;
        Update(f.emitter, -0.25f * std::sin(t), 2.5f, 0.25f * std::cos(t));
        for (int n = 1; n <= f.emitter.EMISSIONGEN; ++n) {
            const effects::GLPARTICLE& p = f.emitter.EMISSION[n];
            const float wx = f.x + 0.05f * p.X, wy = 1 + 0.05f * p.Y, wz = f.z + 0.05f * p.Z;
            const float ex = m[0] * wx + m[4] * wy + m[8] * wz + m[12];
            const float ey = m[1] * wx + m[5] * wy + m[9] * wz + m[13];
            const float ez = m[2] * wx + m[6] * wy + m[10] * wz + m[14];
            const float h = 1 + 10 * 0.0005f * std::sqrt(p.FADE);
            const float k = p.LIFE / p.FADE;
            const float c = std::min(k, 1.0f), a = std::min(0.1f * k, 1.0f);
            vertices.push_back({1, 1, c, c, c, a, ex + h, ey + h, ez});
            vertices.push_back({0, 1, c, c, c, a, ex - h, ey + h, ez});
            vertices.push_back({0, 0, c, c, c, a, ex - h, ey - h, ez});
            vertices.push_back({1, 0, c, c, c, a, ex + h, ey - h, ez});
        }
    }
    texture::TEXTURETGASELECTID(0);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].s);
    glColorPointer(4, GL_FLOAT, sizeof(Vertex), &vertices[0].r);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glPopMatrix();
    for (const Flame& f : flames) app::FLARE(render::GLVECTOR(f.x, 0.02, f.z), 2);
}

// ===== Timing ==============================================================

double SecondsPerFrame(const std::function<void()>& frame, int frames) {
    const auto start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        frame();
        platform::SwapBuffers(window::DCWINDOW);
        glFinish();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / frames;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);

    window::OGLWINDOWSETTING(window::ARROW, "", window::GENERIC, "");
    window::CREATEOGLWINDOW("Esempio di fiamme con ZirUzodo", 800, 600, 32, false);
    app::SceneSetup();

    std::vector<Flame> ideal = MakeFlames(3);
    std::vector<Flame> many = MakeFlames(30);
    std::vector<Vertex> vertices;
    vertices.reserve(30 * 100 * 4);
    float idealTime = 0, manyTime = 0;

    struct Case {
        const char* name;
        std::function<void()> frame;
        std::vector<double> seconds;
    };
    std::vector<Case> cases = {
        {"(a) empty frame", [] { glClear(GL_COLOR_BUFFER_BIT); }, {}},
        {"(b) demo scene", [] { app::OPENGL_DRAW(); }, {}},
        {"(c) ideal renderer", [&] { DrawIdeal(ideal, idealTime += 0.05f, vertices); }, {}},
        {"(d) 30 flames", [&] { DrawManyFlames(many, manyTime += 0.05f); }, {}},
    };

    // Warm-up: every emitter full (109 calls) and the driver's caches warm.
    for (Case& c : cases) SecondsPerFrame(c.frame, 150);
    for (int run = 0; run < runs; ++run) {
        for (Case& c : cases) c.seconds.push_back(SecondsPerFrame(c.frame, frames));
    }

    std::printf("frame_bench: 800 x 600, offscreen, %d runs of %d frames, medians\n", runs, frames);
    std::vector<double> median;
    for (Case& c : cases) {
        median.push_back(Median(c.seconds));
        std::printf("  %-20s %8.1f fps %8.3f ms/frame\n", c.name, 1 / median.back(),
                    1000 * median.back());
    }
    std::printf("  (b)/(c) frame rate ratio: %.2f\n", median[2] / median[1]);
    std::printf("  time(d)/time(b):          %.2f\n", median[3] / median[1]);
    window::DELETEOGLWINDOW();
    return 0;
}
