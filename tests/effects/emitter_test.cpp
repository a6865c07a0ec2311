// The particle emitter as a state machine over many calls: the start-up
// ramp, lifetimes and respawns read from the record, what is drawn captured
// through feedback mode, and the render state it leaves behind.
#include "effects/emitter.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <set>
#include <vector>

#include "effects/feedback.h"
#include "runtime/runtime.h"
#include "support/gl_context.h"

namespace ziru::effects {
namespace {

using test::Billboards;
using test::CaptureTriangles;

struct Args {
    float X = 0, Y = 0, Z = 0;
    float PX = 0, PY = 0, PZ = 0;
    float SIZE = 0.0005f, DENSITY = 0.05f;
    float R1 = 1, G1 = 1, B1 = 1, R2 = 0, G2 = 0, B2 = 0;
    std::int32_t MAXCOUNT = 10, MAXLIFE = 3;
    bool TEXTURE = true, MESH = true;
};

void Add(TFX_EMISSION& e, const Args& a) {
    e.ADDEMISSION(a.X, a.Y, a.Z, a.PX, a.PY, a.PZ, a.SIZE, a.DENSITY, a.R1, a.G1, a.B1, a.R2, a.G2,
                  a.B2, a.MAXCOUNT, a.MAXLIFE, a.TEXTURE, a.MESH);
}

// FADE right after the call that spawned the particle.
const float FIRST_FADE = static_cast<float>(0.0f + 0.1L);

GLint GetInt(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

// 200 x 200 pixels over an orthographic box 20 units across: 10 pixels per
// eye-space unit, the eye-space origin at pixel (100, 100).
class Emitter : public testing::Test {
  protected:
    void SetUp() override {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-10, 10, -10, 10, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        runtime::RandSeed(1);
    }
    test::GlContext context{200, 200};
    TFX_EMISSION e{};
};

static_assert(offsetof(GLPARTICLE, ACTIVE) == 0 && offsetof(GLPARTICLE, LIFE) == 4 &&
              offsetof(GLPARTICLE, FADE) == 8 && offsetof(GLPARTICLE, X) == 24 &&
              offsetof(GLPARTICLE, XG) == 48 && sizeof(GLPARTICLE) == 60);
static_assert(offsetof(TFX_EMISSION, EMISSIONTIMER) == 0 &&
              offsetof(TFX_EMISSION, EMISSIONCOUNT) == 8 &&
              offsetof(TFX_EMISSION, EMISSIONGEN) == 12);

// ===== Start-up ramp =======================================================

TEST_F(Emitter, RampsUpOneSlotPerCallFromTheMaxCountthCall) {
    const struct {
        std::int32_t maxcount;
        int first;
    } cases[] = {{10, 10}, {1, 1}, {0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxcount);
        e = TFX_EMISSION{};
        Args args;
        args.MAXCOUNT = c.maxcount;
        for (int call = 1; call <= 120; ++call) {
            const auto triangles = CaptureTriangles([&] { Add(e, args); });
            const int expected = std::clamp(call - c.first + 1, 0, 100);
            ASSERT_EQ(triangles.size(), 2u * expected) << "call " << call;
            EXPECT_EQ(e.EMISSIONGEN, expected);
            EXPECT_EQ(e.EMISSIONTIMER, call);
            EXPECT_EQ(e.EMISSIONCOUNT, static_cast<float>(c.maxcount));
        }
    }
}

// ===== Lifetimes and respawns ==============================================

TEST_F(Emitter, ParticlesLiveTenTimesTheirLifePlusOneCalls) {
    // Every slot is followed over 600 calls: each completed incarnation lasts
    // 31, 41 or 51 calls for LIFE 3, 4 or 5, and the next call respawns it.
    Args args;
    args.MAXCOUNT = 1;
    std::vector<int> born(101, 0);
    std::set<float> lives;
    int incarnations = 0;
    for (int call = 1; call <= 600; ++call) {
        std::vector<float> life_before(101);
        for (int n = 1; n <= 100; ++n) life_before[n] = e.EMISSION[n].LIFE;
        Add(e, args);
        for (int n = 1; n <= e.EMISSIONGEN; ++n) {
            const GLPARTICLE& p = e.EMISSION[n];
            if (p.FADE != FIRST_FADE) continue;
            if (born[n] != 0) {
                EXPECT_EQ(call - born[n], 10 * life_before[n] + 1) << "slot " << n;
                ++incarnations;
            }
            born[n] = call;
            lives.insert(p.LIFE);
        }
    }
    EXPECT_EQ(lives, (std::set<float>{3, 4, 5}));
    EXPECT_GT(incarnations, 500);
}

TEST_F(Emitter, RespawnDropsTheCommonDrift) {
    Args args;
    args.MAXCOUNT = 1;
    args.PX = 100;
    args.PY = -50;
    args.PZ = 7;
    int respawns = 0;
    for (int call = 1; call <= 120; ++call) {
        const GLPARTICLE before = e.EMISSION[1];
        Add(e, args);
        const GLPARTICLE& p = e.EMISSION[1];
        const float drift[3] = {p.XG, p.YG, p.ZG};
        const float position[3] = {p.X, p.Y, p.Z};
        const float previous[3] = {before.X, before.Y, before.Z};
        const float common[3] = {args.PX, args.PY, args.PZ};
        for (int axis = 0; axis < 3; ++axis) {
            SCOPED_TRACE(testing::Message() << "call " << call << " axis " << axis);
            EXPECT_GE(drift[axis], -0.25f);
            EXPECT_LT(drift[axis], 0.25f);
            if (p.FADE == FIRST_FADE) {
                // An integer offset from -2 to 1 plus the particle's own drift.
                const float offset = position[axis] - drift[axis];
                EXPECT_NEAR(offset, std::round(offset), 1e-6);
                EXPECT_GE(std::round(offset), -2);
                EXPECT_LE(std::round(offset), 1);
            } else {
                float expected = previous[axis];
                expected += common[axis];
                expected += drift[axis];
                EXPECT_EQ(position[axis], expected);
            }
        }
        if (p.FADE == FIRST_FADE) ++respawns;
    }
    EXPECT_GE(respawns, 3);
}

TEST(EmitterDeath, AnOverflowingLifeIsARunTimeError) {
    TFX_EMISSION e{};
    EXPECT_EXIT(e.ADDEMISSION(0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 1, INT_MAX, true, true),
                testing::ExitedWithCode(217), "");
}

// ===== Render state ========================================================

TEST_F(Emitter, LeavesTheSameRenderStateWhateverCameBefore) {
    const struct {
        bool live, texture, mesh;
    } cases[] = {{true, true, true},   {true, true, false},  {true, false, true},
                 {true, false, false}, {false, true, true},  {false, true, false},
                 {false, false, true}, {false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "live " << c.live << " texture " << c.texture << " mesh " << c.mesh);
        e = TFX_EMISSION{};
        glEnable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
        glDepthMask(GL_FALSE);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_2D);
        glBlendFunc(GL_ZERO, GL_SRC_COLOR);
        glLoadIdentity();
        glRotatef(30, 0, 1, 0);
        const std::vector<float> matrix = test::GetMatrix(GL_MODELVIEW_MATRIX);
        const GLint depth = GetInt(GL_MODELVIEW_STACK_DEPTH);

        Args args;
        args.MAXCOUNT = c.live ? 1 : 1000;
        args.TEXTURE = c.texture;
        args.MESH = c.mesh;
        args.R1 = 0.001f, args.G1 = 0.002f, args.B1 = 0.003f;
        args.R2 = 0.004f, args.G2 = 0.005f, args.B2 = 0.006f;
        Add(e, args);

        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
        EXPECT_EQ(GetInt(GL_DEPTH_WRITEMASK), GL_TRUE);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        // Texturing is switched back on after discs; with squares it is the
        // caller's and stays as it was.
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), c.texture ? GL_FALSE : GL_TRUE);
        EXPECT_EQ(GetInt(GL_BLEND_SRC), GL_SRC_ALPHA);
        EXPECT_EQ(GetInt(GL_BLEND_DST), c.live && c.mesh ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
        EXPECT_EQ(test::GetMatrix(GL_MODELVIEW_MATRIX), matrix);
        EXPECT_EQ(GetInt(GL_MODELVIEW_STACK_DEPTH), depth);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        if (c.live) {
            // The last colour sent: the core of a square, the rim of a disc.
            const GLPARTICLE& p = e.EMISSION[1];
            const long double k = static_cast<long double>(p.LIFE) / p.FADE;
            float colour[4];
            glGetFloatv(GL_CURRENT_COLOR, colour);
            const float r = c.texture ? args.R1 : args.R2, b = c.texture ? args.B1 : args.B2;
            EXPECT_FLOAT_EQ(colour[0], static_cast<float>(k * r));
            EXPECT_FLOAT_EQ(colour[2], static_cast<float>(k * b));
            if (!c.texture) {
                EXPECT_EQ(colour[3], 0.0f);
            }
        }
    }
}

// ===== What one particle looks like ========================================

// One live slot in a chosen state: slot 1 only (the ramp stays shut because
// the timer is below MAXCOUNT), aged so that the coming call reaches FADE.
void PrepareOneParticle(TFX_EMISSION& e, float life, float fade_before) {
    e = TFX_EMISSION{};
    e.EMISSIONGEN = 1;
    e.EMISSION[1].LIFE = life;
    e.EMISSION[1].FADE = fade_before;
}

TEST_F(Emitter, BillboardMeasuresTwiceOnePlusTenSizeAtFadeOne) {
    // SIZE 0.05 at FADE 1: half-extent 1.5 eye units, 30 pixels across,
    // whatever the scene's rotation and scale and the density.
    Args args;
    args.MAXCOUNT = 1000;
    args.SIZE = 0.05f;
    for (bool texture : {true, false}) {
        for (float density : {0.05f, 2.0f}) {
            SCOPED_TRACE(testing::Message() << "texture " << texture << " density " << density);
            args.TEXTURE = texture;
            args.DENSITY = density;
            PrepareOneParticle(e, 5, 0.9f);
            glLoadIdentity();
            glRotatef(60, 1, 1, 0);
            glScalef(0.3f, 0.3f, 0.3f);
            const auto triangles = CaptureTriangles([&] { Add(e, args); });
            ASSERT_EQ(e.EMISSION[1].FADE, 1.0f);
            ASSERT_EQ(triangles.size(), texture ? 2u : 32u);
            const test::Box box = Billboards(triangles, triangles.size())[0];
            EXPECT_NEAR(box.Width(), 30, 1e-3);
            EXPECT_NEAR(box.Height(), 30, 1e-3);
        }
    }
}

TEST_F(Emitter, SquaresUseTheCoreColourDiscsFadeToTheRim) {
    Args args;
    args.MAXCOUNT = 1;
    args.R1 = 0.001f, args.G1 = 0.002f, args.B1 = 0.003f;
    args.R2 = 0.004f, args.G2 = 0.005f, args.B2 = 0.006f;
    for (bool texture : {true, false}) {
        SCOPED_TRACE(texture);
        args.TEXTURE = texture;
        e = TFX_EMISSION{};
        runtime::RandSeed(3);
        const auto triangles = CaptureTriangles([&] { Add(e, args); });
        // First frame: K = 10 LIFE, so the core alpha LIFE is clamped to 1.
        const GLPARTICLE& p = e.EMISSION[1];
        const long double k = static_cast<long double>(p.LIFE) / p.FADE;
        EXPECT_NEAR(k, 10 * p.LIFE, 1e-4);
        const float core[4] = {static_cast<float>(k * args.R1), static_cast<float>(k * args.G1),
                               static_cast<float>(k * args.B1), 1};
        const float rim[4] = {static_cast<float>(k * args.R2), static_cast<float>(k * args.G2),
                              static_cast<float>(k * args.B2), 0};
        ASSERT_EQ(triangles.size(), texture ? 2u : 32u);
        const test::Box box = Billboards(triangles, triangles.size())[0];
        for (const auto& tri : triangles) {
            for (const auto& v : tri.v) {
                const bool centre =
                    std::abs(v.x - box.CentreX()) < 1e-3 && std::abs(v.y - box.CentreY()) < 1e-3;
                const float* colour = texture || centre ? core : rim;
                EXPECT_NEAR(v.r, colour[0], 1e-5);
                EXPECT_NEAR(v.g, colour[1], 1e-5);
                EXPECT_NEAR(v.b, colour[2], 1e-5);
                EXPECT_NEAR(v.a, colour[3], 1e-5);
                if (texture) {
                    // The square's corners carry their own texture corner.
                    EXPECT_EQ(v.s, v.x > box.CentreX() ? 1 : 0);
                    EXPECT_EQ(v.t, v.y > box.CentreY() ? 1 : 0);
                }
            }
        }
    }
}

TEST_F(Emitter, RimColourDoesNotReachSquares) {
    Args args;
    args.MAXCOUNT = 1;
    std::vector<test::FeedbackTriangle> pictures[2];
    for (int i = 0; i < 2; ++i) {
        args.R2 = args.G2 = args.B2 = i == 0 ? 0.0f : 0.9f;
        e = TFX_EMISSION{};
        runtime::RandSeed(5);
        for (int call = 0; call < 20; ++call) Add(e, args);
        pictures[i] = CaptureTriangles([&] { Add(e, args); });
    }
    ASSERT_EQ(pictures[0].size(), 2u * 21);
    ASSERT_EQ(pictures[1].size(), pictures[0].size());
    EXPECT_EQ(std::memcmp(pictures[0].data(), pictures[1].data(),
                          pictures[0].size() * sizeof(test::FeedbackTriangle)),
              0);
}

// ===== Density =============================================================

TEST_F(Emitter, DensityScalesTheSpreadButNotTheBillboards) {
    Args args;
    args.MAXCOUNT = 1;
    args.X = 5;
    args.Y = -10;
    args.PX = 0.1f;
    args.SIZE = 0.01f;
    std::vector<test::Box> boxes[2];
    TFX_EMISSION emitters[2]{};
    for (int i = 0; i < 2; ++i) {
        args.DENSITY = i == 0 ? 0.1f : 0.2f;
        runtime::RandSeed(7);
        for (int call = 0; call < 40; ++call) Add(emitters[i], args);
        boxes[i] = Billboards(CaptureTriangles([&] { Add(emitters[i], args); }), 2);
    }
    ASSERT_EQ(boxes[0].size(), 41u);
    ASSERT_EQ(boxes[1].size(), 41u);
    for (std::size_t n = 0; n < boxes[0].size(); ++n) {
        SCOPED_TRACE(n);
        // Pixels from the eye-space origin: DENSITY * (origin + position).
        const GLPARTICLE& p = emitters[1].EMISSION[static_cast<std::int64_t>(n) + 1];
        EXPECT_NEAR(boxes[1][n].CentreX() - 100, 10 * 0.2 * (args.X + p.X), 1e-3);
        EXPECT_NEAR(boxes[1][n].CentreY() - 100, 10 * 0.2 * (args.Y + p.Y), 1e-3);
        EXPECT_NEAR(boxes[1][n].CentreX() - 100, 2 * (boxes[0][n].CentreX() - 100), 1e-3);
        EXPECT_NEAR(boxes[1][n].CentreY() - 100, 2 * (boxes[0][n].CentreY() - 100), 1e-3);
        EXPECT_NEAR(boxes[1][n].Width(), boxes[0][n].Width(), 1e-3);
        EXPECT_GT(boxes[1][n].Width(), 20);
    }
}

}  // namespace
}  // namespace ziru::effects
