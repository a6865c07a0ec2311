// The flame generator: the drift it hands to the emitter, the matrix it
// restores, and a read-back picture of one flame.
#include "effects/flame/flame.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "render/render.h"
#include "runtime/runtime.h"
#include "support/gl_context.h"
#include "window/window.h"

namespace ziru::effects {
namespace {

using render::GLVECTOR;
using render::TGLVECTOR;

class Flame : public testing::Test {
  protected:
    void SetUp() override {
        window::WIDTH = context.width();
        window::HEIGHT = context.height();
        render::OPENGL_INIT(100, 0, 0, 0, 0);
        runtime::RandSeed(11);
    }
    test::GlContext context{160, 240};
    TFX_EMISSION e{};
};

// ===== Drift ===============================================================

TEST_F(Flame, DriftIsTheRiseAlongDirPlusTheSway) {
    // Slot 1 is live with no drift of its own and the ramp stays shut, so
    // its position after one call is exactly the common drift.
    const float half_pi = static_cast<float>(std::numbers::pi / 2);
    const struct {
        const char* name;
        TGLVECTOR dir;
        float length, oscillation, time;
        float px, py, pz;
        float tolerance;
    } cases[] = {
        {"time 0", {0, 1, 0}, 2.5f, 0.25f, 0, 0, 2.5f, 0.25f, 0},
        {"time pi/2", {0, 1, 0}, 2.5f, 0.25f, half_pi, -0.25f, 2.5f, 0, 1e-7f},
        {"no oscillation", {0.5f, 1, -2}, 2.5f, 0, 1.3f, 1.25f, 2.5f, -5, 0},
        {"horizontal dir", {1, 0, 0}, 2, 0.5f, 0, 2, 0, 0.5f, 0},
        {"dir of length 2", {0, 2, 0}, 2.5f, 0, 0, 0, 5, 0, 0},
        {"no dir", {0, 0, 0}, 2.5f, 0.25f, 0, 0, 0, 0.25f, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        e = TFX_EMISSION{};
        e.EMISSIONGEN = 1;
        e.EMISSION[1].LIFE = 5;
        e.EMISSION[1].FADE = 1;
        ZIRUZODO(e, GLVECTOR(3, -2, 1), c.dir, c.length, c.oscillation, c.time);
        EXPECT_NEAR(e.EMISSION[1].X, c.px, c.tolerance);
        EXPECT_NEAR(e.EMISSION[1].Y, c.py, c.tolerance);
        EXPECT_NEAR(e.EMISSION[1].Z, c.pz, c.tolerance);
        EXPECT_EQ(e.EMISSIONGEN, 1);
    }
}

TEST_F(Flame, RestoresTheMatrix) {
    glTranslatef(1, 2, -20);
    glRotatef(30, 1, 0, 0);
    const std::vector<float> before = test::GetMatrix(GL_MODELVIEW_MATRIX);
    GLint depth_before = 0, depth_after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
    for (int call = 0; call < 20; ++call)
        ZIRUZODO(e, GLVECTOR(-5, 1, 0), GLVECTOR(0, 1, 0), 2.5f, 0.25f, 0.05f * call);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
    EXPECT_EQ(test::GetMatrix(GL_MODELVIEW_MATRIX), before);
    EXPECT_EQ(depth_after, depth_before);
    EXPECT_EQ(e.EMISSIONGEN, 11);
}

TEST_F(Flame, FxEmissionIsAddEmission) {
    TFX_EMISSION a{}, b{};
    for (int call = 0; call < 60; ++call) {
        runtime::RandSeed(call);
        a.ADDEMISSION(1, 2, 3, 0.1f, 0.2f, 0.3f, 0.01f, 0.5f, 1, 0.5f, 0.2f, 0, 0, 0, 5, 2,
                      call % 2 == 0, call % 3 == 0);
        runtime::RandSeed(call);
        FX_EMISSION(b, 1, 2, 3, 0.1f, 0.2f, 0.3f, 0.01f, 0.5f, 1, 0.5f, 0.2f, 0, 0, 0, 5, 2,
                    call % 2 == 0, call % 3 == 0);
    }
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(a.EMISSIONGEN, 56);
}

// ===== Picture =============================================================

// A soft orange glow, brightest in the middle and transparent at the edge,
// standing in for the flame texture.
GLuint MakeGlowTexture() {
    constexpr int SIZE = 32;
    std::vector<std::uint8_t> pixels(SIZE * SIZE * 4);
    for (int y = 0; y < SIZE; ++y) {
        for (int x = 0; x < SIZE; ++x) {
            const double r = std::hypot(x + 0.5 - SIZE / 2.0, y + 0.5 - SIZE / 2.0) / (SIZE / 2.0);
            const double f = r < 1 ? (1 - r) * (1 - r) : 0;
            std::uint8_t* p = &pixels[(y * SIZE + x) * 4];
            p[0] = static_cast<std::uint8_t>(255 * f);
            p[1] = static_cast<std::uint8_t>(150 * f);
            p[2] = static_cast<std::uint8_t>(60 * f);
            p[3] = static_cast<std::uint8_t>(255 * f);
        }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, SIZE, SIZE, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    return name;
}

// Writes the picture as a binary PPM, top row first, when the environment
// names a folder for pictures (to look at a run by eye).
void SavePicture(const std::vector<std::uint8_t>& rgba, int width, int height, const char* name) {
    const char* folder = std::getenv("ZIRU_SAVE_PICTURES");
    if (folder == nullptr) return;
    const std::string path = std::string(folder) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) std::fwrite(&rgba[(y * width + x) * 4], 1, 3, file);
    std::fclose(file);
}

struct Picture {
    std::vector<std::uint8_t> rgba;
    int width, height;
    int Red(int x, int y) const { return rgba[(y * width + x) * 4]; }
    // Mean x of the red channel over rows Y0..Y1, weighted by brightness.
    double CentroidX(int y0, int y1) const {
        double sum = 0, weight = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = 0; x < width; ++x) {
                sum += x * Red(x, y);
                weight += Red(x, y);
            }
        return weight > 0 ? sum / weight : -1;
    }
    int RowMax(int y) const {
        int best = 0;
        for (int x = 0; x < width; ++x) best = std::max(best, Red(x, y));
        return best;
    }
};

TEST_F(Flame, DrawsARisingSwayingColumn) {
    // The base 15 units in front of the eye and 3 below: pixel (80, 62),
    // about 19 pixels a unit. The column rises 0.125 units a call for 31 to
    // 51 calls: up to some 6 units, or 120 pixels.
    MakeGlowTexture();
    glEnable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 1);
    float time = 0;
    auto frame = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        time = static_cast<float>(time + 0.05);
        ZIRUZODO(e, GLVECTOR(0, -3, -15), GLVECTOR(0, 1, 0), 2.5f, 0.25f, time);
        return Picture{context.ReadPixels(), context.width(), context.height()};
    };
    for (int call = 1; call < 150; ++call) frame();
    const Picture first = frame();
    SavePicture(first.rgba, first.width, first.height, "flame.ppm");

    // Bright at the base and up the middle, dark below the base and at the sides.
    EXPECT_GT(first.Red(80, 65), 200);
    EXPECT_GT(first.RowMax(120), 100);
    EXPECT_LT(first.RowMax(25), 10);
    for (int y = 0; y < first.height; ++y) {
        EXPECT_LT(first.Red(5, y), 10) << y;
        EXPECT_LT(first.Red(first.width - 6, y), 10) << y;
    }
    // The base stays put while the upper column sways.
    std::vector<double> base, top;
    Picture picture = first;
    for (int step = 0; step < 8; ++step) {
        base.push_back(picture.CentroidX(55, 70));
        top.push_back(picture.CentroidX(130, 180));
        for (int call = 0; call < 15; ++call) picture = frame();
    }
    const auto [top_min, top_max] = std::minmax_element(top.begin(), top.end());
    const auto [base_min, base_max] = std::minmax_element(base.begin(), base.end());
    EXPECT_GT(*top_max - *top_min, 4.0);
    EXPECT_LT(*base_max - *base_min, 3.0);
    for (double x : base) EXPECT_NEAR(x, 80, 4);
}

}  // namespace
}  // namespace ziru::effects
