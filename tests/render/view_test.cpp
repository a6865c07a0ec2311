// Mouse-driven view and billboard lock: matrices checked against products
// worked out here, and a square drawn inside the lock read back in pixels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "render/render.h"
#include "support/gl_context.h"
#include "window/window.h"

namespace ziru::render {
namespace {

using test::GetMatrix;

// Column-major 4 x 4 matrices, as OpenGL stores them.
using Mat = std::array<double, 16>;

Mat Identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Mat Multiply(const Mat& a, const Mat& b) {
    Mat r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[c * 4 + row] += a[k * 4 + row] * b[c * 4 + k];
    return r;
}

Mat Translation(double x, double y, double z) {
    Mat m = Identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Mat Scaling(double s) {
    Mat m = Identity();
    m[0] = m[5] = m[10] = s;
    return m;
}

// Rotation by DEGREES about the unit axis (x, y, z), counter-clockwise
// looking down the axis.
Mat Rotation(double degrees, double x, double y, double z) {
    const double a = degrees * std::numbers::pi / 180.0, c = std::cos(a), s = std::sin(a);
    Mat m = Identity();
    m[0] = x * x * (1 - c) + c;
    m[1] = y * x * (1 - c) + z * s;
    m[2] = x * z * (1 - c) - y * s;
    m[4] = x * y * (1 - c) - z * s;
    m[5] = y * y * (1 - c) + c;
    m[6] = y * z * (1 - c) + x * s;
    m[8] = x * z * (1 - c) + y * s;
    m[9] = y * z * (1 - c) - x * s;
    m[10] = z * z * (1 - c) + c;
    return m;
}

void ExpectMatrix(const Mat& expected) {
    const std::vector<float> actual = GetMatrix(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << "element " << i;
}

void Load(const Mat& m) {
    GLfloat f[16];
    for (int i = 0; i < 16; ++i) f[i] = static_cast<GLfloat>(m[i]);
    glLoadMatrixf(f);
}

class View : public testing::Test {
  protected:
    void SetUp() override {
        glMatrixMode(GL_MODELVIEW);
        window::DEPTH = 10;
        window::XROT = 0;
        window::YROT = 0;
        window::MSPEED = 0;
    }
    test::GlContext context{64, 64};
};

// ===== Mouse-driven view ===================================================

TEST_F(View, MouseMoveMultipliesTheModeTransform) {
    // Zero angles: a pure translation by the depth along the mode's axis.
    // Turned: translation, then XROT about the first axis, YROT about the
    // second, all multiplied onto the matrix already current.
    const Mat base = Multiply(Translation(1, 2, 3), Rotation(20, 0, 0, 1));
    const struct {
        std::int32_t mode;
        Mat shift;
        std::array<double, 3> xaxis, yaxis;
    } cases[] = {
        {0, Translation(0, 0, -10), {1, 0, 0}, {0, 1, 0}},
        {1, Translation(0, -10, 0), {1, 0, 0}, {0, 0, 1}},
        {2, Translation(-10, 0, 0), {0, 0, -1}, {0, 1, 0}},
        {3, Translation(0, 0, -10), {0, 1, 0}, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        for (const auto& [xrot, yrot] : {std::pair{0.0f, 0.0f}, std::pair{30.0f, -45.0f}}) {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " xrot " << xrot);
            window::XROT = xrot;
            window::YROT = yrot;
            Load(base);
            SETGLMOUSEMOVE(c.mode, c.mode + 2);
            EXPECT_EQ(window::MSPEED, c.mode + 2);
            const auto& [ax, ay, az] = c.xaxis;
            const auto& [bx, by, bz] = c.yaxis;
            ExpectMatrix(Multiply(Multiply(Multiply(base, c.shift), Rotation(xrot, ax, ay, az)),
                                  Rotation(yrot, bx, by, bz)));
        }
    }
}

TEST_F(View, MouseMoveWithAnotherModeOnlySetsTheSpeed) {
    window::XROT = 30;
    const Mat base = Translation(1, 2, 3);
    Load(base);
    SETGLMOUSEMOVE(7, 5);
    EXPECT_EQ(window::MSPEED, 5);
    ExpectMatrix(base);
}

// ===== Billboard lock ======================================================

TEST_F(View, LockFromIdentityIsTheAnchorThenATenth) {
    for (bool scale : {true, false}) {
        SCOPED_TRACE(scale);
        LOCKVIEWMODELSCALE = scale;
        glLoadIdentity();
        const GLint depth = [] {
            GLint d = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &d);
            return d;
        }();
        LOCKVIEWMODELBEGIN(1, 2, 3);
        ExpectMatrix(Multiply(Translation(1, 2, 3), Scaling(scale ? 0.1 : 1)));
        GLint inside = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &inside);
        EXPECT_EQ(inside, depth + 2);
        LOCKVIEWMODELEND();
        GLint after = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
        EXPECT_EQ(after, depth);
        ExpectMatrix(Identity());
    }
    LOCKVIEWMODELSCALE = true;
}

TEST_F(View, LockedSquareFacesTheViewerAtUnitSize) {
    // The view box is 4 units across 64 pixels: 16 pixels a unit. Without the
    // lock the scene's quarter turn about y would show the square edge-on.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    const Mat scene = Multiply(Rotation(90, 0, 1, 0), Scaling(0.05));
    Load(scene);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    LOCKVIEWMODELBEGIN(0, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(-5, -5);
    glVertex2f(5, -5);
    glVertex2f(5, 5);
    glVertex2f(-5, 5);
    glEnd();
    LOCKVIEWMODELEND();
    ExpectMatrix(scene);

    const std::vector<std::uint8_t> pixels = context.ReadPixels();
    int lit = 0, xmin = 64, xmax = -1, ymin = 64, ymax = -1;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (pixels[(y * 64 + x) * 4] == 0) continue;
            ++lit;
            xmin = std::min(xmin, x);
            xmax = std::max(xmax, x);
            ymin = std::min(ymin, y);
            ymax = std::max(ymax, y);
        }
    }
    EXPECT_EQ(lit, 16 * 16);
    EXPECT_EQ(xmin, 24);
    EXPECT_EQ(xmax, 39);
    EXPECT_EQ(ymin, 24);
    EXPECT_EQ(ymax, 39);
}

}  // namespace
}  // namespace ziru::render
