// The particle emitter.
#include "effects/emitter.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <numbers>

#include "render/render.h"

namespace ziru::effects {

namespace {

// The disc's 33 rim points (sin, cos of k * 11.25 degrees, k = 1 to 33; the
// last meets the first), worked out once so that the per-particle path does
// no trigonometry.
struct RimPoint {
    GLfloat S, C;
};

std::array<RimPoint, 33> MakeRim() {
    std::array<RimPoint, 33> rim{};
    for (int k = 1; k <= 33; ++k) {
        const long double theta = k * 11.25L * std::numbers::pi_v<long double> / 180.0L;
        rim[k - 1] =
            RimPoint{static_cast<GLfloat>(std::sin(theta)), static_cast<GLfloat>(std::cos(theta))};
    }
    return rim;
}

const std::array<RimPoint, 33> RIM = MakeRim();

// Draws one particle at the current origin as a viewer-facing billboard of
// half-extent (1 + SIZE) eye-space units: a textured square in the core
// colour, or a disc shading from the core colour to the rim colour.
void CLOUD(GLfloat CR, GLfloat CG, GLfloat CB, GLfloat CA, GLfloat RR, GLfloat RG, GLfloat RB,
           GLfloat RA, GLfloat SIZE, bool TEXTURE, bool MESH) {
    if (MESH) glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // The lock scales by one tenth, so S lock units are 1 + SIZE eye units.
    const GLfloat S = (1.0f + SIZE) * 10.0f;
    glPushMatrix();
    render::LOCKVIEWMODELBEGIN(0.0f, 0.0f, 0.0f);
    if (TEXTURE) {
        glBegin(GL_TRIANGLE_STRIP);
        glColor4f(CR, CG, CB, CA);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(S, S, 0.0f);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(-S, S, 0.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(S, -S, 0.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(-S, -S, 0.0f);
        glEnd();
    } else {
        glScalef(S, S, S);
        glBegin(GL_TRIANGLE_FAN);
        glColor4f(CR, CG, CB, CA);
        glVertex2f(0.0f, 0.0f);
        glColor4f(RR, RG, RB, RA);
        for (const RimPoint& p : RIM) glVertex2f(p.S, p.C);
        glEnd();
    }
    render::LOCKVIEWMODELEND();
    glPopMatrix();
}

}  // namespace

void TFX_EMISSION::ADDEMISSION(float X, float Y, float Z, float PX, float PY, float PZ, float SIZE,
                               float DENSITY, float R1, float G1, float B1, float R2, float G2,
                               float B2, std::int32_t MAXCOUNT, std::int32_t MAXLIFE, bool TEXTURE,
                               bool MESH) {
    EMISSIONCOUNT = static_cast<float>(MAXCOUNT);
    EMISSIONTIMER = EMISSIONTIMER + 1;
    if (EMISSIONTIMER >= EMISSIONCOUNT && EMISSIONGEN < 100) ++EMISSIONGEN;

    if (!TEXTURE) render::TEXTUREOFF();
    render::SETGLSPRITE(false);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const std::int32_t n = EMISSIONGEN;
    for (std::int32_t N = 1; N <= n; ++N) {
        GLPARTICLE& P = EMISSION[N];
        P.X += PX;
        P.Y += PY;
        P.Z += PZ;
        if (P.LIFE == 0.0f || P.FADE >= P.LIFE) {
            // The draw order of the random numbers is fixed: offsets, drifts, life.
            P.X = static_cast<float>(runtime::Random(4) - 2);
            P.Y = static_cast<float>(runtime::Random(4) - 2);
            P.Z = static_cast<float>(runtime::Random(4) - 2);
            P.XG = static_cast<float>(runtime::RandomReal() * 0.5 - 0.25);
            P.YG = static_cast<float>(runtime::RandomReal() * 0.5 - 0.25);
            P.ZG = static_cast<float>(runtime::RandomReal() * 0.5 - 0.25);
            P.LIFE = static_cast<float>(runtime::CheckedAdd(MAXLIFE, runtime::Random(MAXLIFE)));
            P.FADE = 0.0f;
        }
        P.FADE = static_cast<float>(P.FADE + 0.1L);
        P.X += P.XG;
        P.Y += P.YG;
        P.Z += P.ZG;

        glPushMatrix();
        glScalef(DENSITY, DENSITY, DENSITY);
        glTranslatef(X, Y, Z);
        glTranslatef(P.X, P.Y, P.Z);
        // K runs from 10 * LIFE at birth down towards 1 at the end of life;
        // OpenGL clamps the colours, so only the tail of the life fades.
        const long double K = static_cast<long double>(P.LIFE) / P.FADE;
        CLOUD(static_cast<GLfloat>(K * R1), static_cast<GLfloat>(K * G1),
              static_cast<GLfloat>(K * B1), static_cast<GLfloat>(0.1L * K),
              static_cast<GLfloat>(K * R2), static_cast<GLfloat>(K * G2),
              static_cast<GLfloat>(K * B2), 0.0f,
              static_cast<GLfloat>(10.0L * SIZE * std::sqrt(static_cast<long double>(P.FADE))),
              TEXTURE, MESH);
        glPopMatrix();
    }

    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    render::SETGLSPRITEOFF();
    if (!TEXTURE) render::TEXTUREON();
}

void FX_EMISSION(TFX_EMISSION& EMI, float X, float Y, float Z, float PX, float PY, float PZ,
                 float SIZE, float DENSITY, float R1, float G1, float B1, float R2, float G2,
                 float B2, std::int32_t MAXCOUNT, std::int32_t MAXLIFE, bool TEXTURE, bool MESH) {
    EMI.ADDEMISSION(X, Y, Z, PX, PY, PZ, SIZE, DENSITY, R1, G1, B1, R2, G2, B2, MAXCOUNT, MAXLIFE,
                    TEXTURE, MESH);
}

}  // namespace ziru::effects
