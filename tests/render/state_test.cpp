// Projection set-up, lights, render-state switches and the vertex pair, on
// an offscreen context: matrices and state read back from OpenGL.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "render/render.h"
#include "support/gl_context.h"
#include "window/window.h"

namespace ziru::render {
namespace {

using test::GetMatrix;

GLint GetInt(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

std::vector<float> GetFloats(GLenum what, int count) {
    std::vector<float> values(count);
    glGetFloatv(what, values.data());
    return values;
}

const std::vector<float> IDENTITY = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class GlState : public testing::Test {
  protected:
    void SetUp() override {
        window::WIDTH = 800;
        window::HEIGHT = 600;
    }
    // Something other than identity in both matrices, to see them reset.
    void Scramble() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glRotatef(33, 1, 2, 3);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(4, 5, 6);
        glMatrixMode(GL_TEXTURE);
    }
    test::GlContext context{800, 600};
};

// ===== Projection set-up ===================================================

TEST_F(GlState, InitSetsTheFourThirdsPerspective) {
    Scramble();
    OPENGL_INIT(100, 0, 0, 0, 0);
    const std::vector<float> p = GetMatrix(GL_PROJECTION_MATRIX);
    const double f = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0);
    EXPECT_NEAR(p[0], f * 3.0 / 4.0, 1e-5);
    EXPECT_NEAR(p[5], f, 1e-5);
    EXPECT_NEAR(p[10], (100 + 0.1) / (0.1 - 100), 1e-5);
    EXPECT_NEAR(p[14], 2 * 100 * 0.1 / (0.1 - 100), 1e-5);
    EXPECT_EQ(p[11], -1.0f);
    EXPECT_EQ(GetInt(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(GetMatrix(GL_MODELVIEW_MATRIX), IDENTITY);
    const std::vector<float> viewport = GetFloats(GL_VIEWPORT, 4);
    EXPECT_EQ(viewport, (std::vector<float>{0, 0, 800, 600}));
}

TEST_F(GlState, InitSetsTheDefaultRenderState) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glDisable(GL_BLEND);
    OPENGL_INIT(100, 0, 0, 0, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(GetInt(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(GetFloats(GL_CURRENT_COLOR, 4), (std::vector<float>{1, 1, 1, 0.5f}));
    EXPECT_EQ(GetInt(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(GetInt(GL_BLEND_DST), GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GetInt(GL_LIGHT_MODEL_LOCAL_VIEWER), 1);
    EXPECT_EQ(GetInt(GL_LINE_SMOOTH_HINT), GL_NICEST);
    EXPECT_EQ(GetInt(GL_POLYGON_SMOOTH_HINT), GL_NICEST);
    EXPECT_EQ(GetInt(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_TRUE(glIsEnabled(GL_AUTO_NORMAL));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
}

TEST_F(GlState, ClearColourTakesAlphaFirst) {
    OPENGL_INIT(100, 1, 0.2, 0.4, 0.6);
    EXPECT_EQ(GetFloats(GL_COLOR_CLEAR_VALUE, 4), (std::vector<float>{0.2f, 0.4f, 0.6f, 1}));
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<std::uint8_t> pixels = context.ReadPixels();
    EXPECT_EQ(pixels[0], 51);
    EXPECT_EQ(pixels[1], 102);
    EXPECT_EQ(pixels[2], 153);
    EXPECT_EQ(pixels[3], 255);
    OPENGL_I2D(0.8, 0.1, 0.3, 0.5);
    EXPECT_EQ(GetFloats(GL_COLOR_CLEAR_VALUE, 4), (std::vector<float>{0.1f, 0.3f, 0.5f, 0.8f}));
}

TEST_F(GlState, ClearDepthIsTheFarPlaneClamped) {
    const struct { double depth, cleared; } cases[] = {{100, 1}, {1, 1}, {0.5, 0.5}};
    for (const auto& c : cases) {
        OPENGL_INIT(c.depth, 0, 0, 0, 0);
        EXPECT_FLOAT_EQ(GetFloats(GL_DEPTH_CLEAR_VALUE, 1)[0], c.cleared) << c.depth;
        const std::vector<float> p = GetMatrix(GL_PROJECTION_MATRIX);
        EXPECT_NEAR(p[14], 2 * c.depth * 0.1 / (0.1 - c.depth), 1e-5) << c.depth;
    }
}

TEST_F(GlState, TwoDimensionalSetUpKeepsTheAspect) {
    Scramble();
    OPENGL_I2D(0, 0, 0, 0);
    const std::vector<float> p = GetMatrix(GL_PROJECTION_MATRIX);
    // x from -2 to 2, y from -1.5 to 1.5, z from -2 to 2.
    EXPECT_FLOAT_EQ(p[0], 2.0f / 4.0f);
    EXPECT_FLOAT_EQ(p[5], 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(p[10], -2.0f / 4.0f);
    EXPECT_FLOAT_EQ(p[12] + p[13] + p[14], 0.0f);
    EXPECT_EQ(GetInt(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(GetMatrix(GL_MODELVIEW_MATRIX), IDENTITY);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(GetInt(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
}

TEST(GlStateDeath, TwoDimensionalSetUpStopsOnAnOverflowingHeight) {
    window::WIDTH = 800;
    window::HEIGHT = 0x40000000;
    EXPECT_EXIT(OPENGL_I2D(0, 0, 0, 0), testing::ExitedWithCode(217),
                "");  // the report goes to standard output
}

// ===== Switches ============================================================

struct SwitchCase {
    const char* name;
    std::function<void()> before;
    std::function<void()> operation;
    std::function<void()> check;
};

void ExpectBlendFunc(GLenum src, GLenum dst) {
    EXPECT_EQ(GetInt(GL_BLEND_SRC), static_cast<GLint>(src));
    EXPECT_EQ(GetInt(GL_BLEND_DST), static_cast<GLint>(dst));
}

const SwitchCase SWITCH_CASES[] = {
    {"SETGLREFRACTIVE",
     [] {
         glDisable(GL_CULL_FACE);
         glCullFace(GL_FRONT);
         glFrontFace(GL_CW);
         glShadeModel(GL_FLAT);
     },
     SETGLREFRACTIVE,
     [] {
         EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
         EXPECT_EQ(GetInt(GL_CULL_FACE_MODE), GL_BACK);
         EXPECT_EQ(GetInt(GL_FRONT_FACE), GL_CCW);
         EXPECT_EQ(GetInt(GL_SHADE_MODEL), GL_SMOOTH);
     }},
    {"TWOSIDEON", [] { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0); }, TWOSIDEON,
     [] { EXPECT_EQ(GetInt(GL_LIGHT_MODEL_TWO_SIDE), 1); }},
    {"TWOSIDEOFF", [] { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }, TWOSIDEOFF,
     [] { EXPECT_EQ(GetInt(GL_LIGHT_MODEL_TWO_SIDE), 0); }},
    {"TRANSPARENTON", [] { glDisable(GL_BLEND); }, TRANSPARENTON,
     [] { EXPECT_TRUE(glIsEnabled(GL_BLEND)); }},
    {"TRANSPARENTOFF", [] { glEnable(GL_BLEND); }, TRANSPARENTOFF,
     [] { EXPECT_FALSE(glIsEnabled(GL_BLEND)); }},
    {"TEXTUREON", [] { glDisable(GL_TEXTURE_2D); }, TEXTUREON,
     [] { EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)); }},
    {"TEXTUREOFF", [] { glEnable(GL_TEXTURE_2D); }, TEXTUREOFF,
     [] { EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)); }},
    {"SETGLSPRITE(true)",
     [] {
         glBlendFunc(GL_DST_COLOR, GL_ZERO);
         glDisable(GL_BLEND);
         glDepthMask(GL_TRUE);
     },
     [] { SETGLSPRITE(true); },
     [] {
         ExpectBlendFunc(GL_ONE, GL_ONE);
         EXPECT_TRUE(glIsEnabled(GL_BLEND));
         EXPECT_EQ(GetInt(GL_DEPTH_WRITEMASK), GL_FALSE);
     }},
    {"SETGLSPRITE(false)",
     [] {
         glBlendFunc(GL_DST_COLOR, GL_ZERO);
         glDisable(GL_BLEND);
         glDepthMask(GL_TRUE);
     },
     [] { SETGLSPRITE(false); },
     [] {
         ExpectBlendFunc(GL_DST_COLOR, GL_ZERO);
         EXPECT_TRUE(glIsEnabled(GL_BLEND));
         EXPECT_EQ(GetInt(GL_DEPTH_WRITEMASK), GL_FALSE);
     }},
    {"SETGLSPRITEOFF",
     [] {
         glDepthMask(GL_FALSE);
         glEnable(GL_BLEND);
         glEnable(GL_ALPHA_TEST);
     },
     SETGLSPRITEOFF,
     [] {
         EXPECT_EQ(GetInt(GL_DEPTH_WRITEMASK), GL_TRUE);
         EXPECT_FALSE(glIsEnabled(GL_BLEND));
         EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
     }},
};

TEST_F(GlState, SwitchesSetTheirState) {
    for (const SwitchCase& c : SWITCH_CASES) {
        SCOPED_TRACE(c.name);
        c.before();
        c.operation();
        c.check();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// ===== Lights ==============================================================

TEST_F(GlState, LightTakesTheColoursAsTheyStand) {
    const auto saved = AMBIENTLIGHT;
    AMBIENTLIGHT[1] = 0.25f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SETGLLIGHT(GL_LIGHT1, 0, 0, 0, 0.1f);
    AMBIENTLIGHT = saved;
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    std::vector<float> value(4);
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, value.data());
    EXPECT_EQ(value, (std::vector<float>{0.5f, 0.25f, 0.5f, 1}));
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, value.data());
    EXPECT_EQ(value, (std::vector<float>{1, 1, 1, 1}));
    glGetLightfv(GL_LIGHT1, GL_SPECULAR, value.data());
    EXPECT_EQ(value, (std::vector<float>{1, 1, 1, 1}));
    glGetLightfv(GL_LIGHT1, GL_POSITION, value.data());
    EXPECT_EQ(value, (std::vector<float>{0, 0, 0, 0.1f}));
    EXPECT_EQ(std::vector<float>(LIGHTPOSITION.begin(), LIGHTPOSITION.end()), value);
}

TEST_F(GlState, PointLightMarksItselfOnlyWithASize) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.5f, 0, 0);
    glClearColor(0, 0, 0, 0);
    glColor4f(1, 1, 1, 1);
    SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 1);
    glDisable(GL_LIGHTING);
    glPointSize(3);
    const struct {
        float size;
        int lit;
        float point_size;
    } cases[] = {{0, 0, 3}, {4, 16, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        glClear(GL_COLOR_BUFFER_BIT);
        PUTGLPOINTLIGHT(GL_LIGHT0, c.size, 0, 0, 0, 1);
        // The position goes through the modelview matrix, as OpenGL does.
        std::vector<float> position(4);
        glGetLightfv(GL_LIGHT0, GL_POSITION, position.data());
        EXPECT_EQ(position, (std::vector<float>{0.5f, 0, 0, 1}));
        EXPECT_EQ(LIGHTPOSITION[3], 1.0f);
        EXPECT_EQ(GetFloats(GL_POINT_SIZE, 1)[0], c.point_size);
        EXPECT_EQ(GetFloats(GL_CURRENT_NORMAL, 3), (std::vector<float>{0, 0, 1}));
        // A square point centred at x = 0.5, y = 0 in normalised coordinates.
        const std::vector<std::uint8_t> pixels = context.ReadPixels();
        int lit = 0;
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                if (pixels[(y * 800 + x) * 4] == 0) continue;
                ++lit;
                EXPECT_TRUE(x >= 598 && x < 602 && y >= 298 && y < 302) << x << "," << y;
            }
        }
        EXPECT_EQ(lit, c.lit);
    }
}

// ===== Vertex pair =========================================================

// Captures the vertices of one GL_LINES primitive through feedback mode.
std::vector<float> FeedbackOfLine(bool texture) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<float> buffer(64);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glTexCoord2f(7, 7);
    glBegin(GL_LINES);
    LINEFREE(0.25f, 0.5f, 0.75f, 1, 10, 20, 0, 30, 40, 0, texture);
    glEnd();
    buffer.resize(glRenderMode(GL_RENDER));
    return buffer;
}

TEST_F(GlState, LineFreeEmitsTwoVertices) {
    // One line token, then two vertices of x, y, z, r, g, b, a, s, t, r, q.
    for (bool texture : {false, true}) {
        SCOPED_TRACE(texture);
        const std::vector<float> fb = FeedbackOfLine(texture);
        ASSERT_EQ(fb.size(), 1u + 2 * 11);
        EXPECT_TRUE(fb[0] == GL_LINE_TOKEN || fb[0] == GL_LINE_RESET_TOKEN) << fb[0];
        EXPECT_NEAR(fb[1], 10, 1e-3);
        EXPECT_NEAR(fb[2], 20, 1e-3);
        EXPECT_NEAR(fb[12], 30, 1e-3);
        EXPECT_NEAR(fb[13], 40, 1e-3);
        const float s1 = texture ? 0.25f : 7, t1 = texture ? 0.5f : 7;
        const float s2 = texture ? 0.75f : 7, t2 = texture ? 1 : 7;
        EXPECT_EQ(fb[8], s1);
        EXPECT_EQ(fb[9], t1);
        EXPECT_EQ(fb[19], s2);
        EXPECT_EQ(fb[20], t2);
    }
}

}  // namespace
}  // namespace ziru::render
