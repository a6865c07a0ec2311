// The flame scene: set-up and one frame, drawn through the library's
// projection, light, texture, view and flame procedures.
#include "scene.h"

#include <GL/gl.h>

#include "effects/flame/flame.h"
#include "render/render.h"
#include "texture/bmp_texture.h"
#include "texture/tga_texture.h"

namespace ziru::app {

float TIME = 0.0f;
runtime::BoundedArray<effects::TFX_EMISSION, 0, 6> FIRE{};

namespace {

// ===== Frame steps =========================================================

// Starts every frame from a fresh projection for the current window size:
// the orthographic set-up is replaced at once by the perspective one.
void OPENGL_DRAW2D() {
    render::OPENGL_I2D(0, 0, 0, 0);
    render::OPENGL_INIT(100, 0, 0, 0, 0);
}

// Mouse and keyboard hooks of the scene; the mouse view works through the
// window layer's accumulators instead.
void OPENGL_MOUSE2D() {}
void OPENGL_KEYBOARD() {}

void OPENGL_TEXTURE() {
    texture::TEXTURELOADID("Floor04.bmp", 0);
    texture::TEXTURELOADTGAID("ParticleFire.tga", 0);
}

// One flame: rising along y, 2.5 emitter units per frame, swaying by 0.25.
void Flame(std::int64_t slot, double x, float time) {
    effects::ZIRUZODO(FIRE[slot], render::GLVECTOR(x, 1, 0), render::GLVECTOR(0, 1, 0), 2.5f, 0.25f,
                      time);
}

}  // namespace

// ===== Set-up ==============================================================

void SceneSetup() {
    render::OPENGL_INIT(100, 0, 0, 0, 0);
    render::SETGLREFRACTIVE();
    render::SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
    OPENGL_CREATELIST();
}

void OPENGL_CREATELIST() {
    OPENGL_TEXTURE();
}

// ===== Drawing =============================================================

void QUAD(float X1, float Y1, float Z1, float X2, float Y2, float Z2, float X3, float Y3, float Z3,
          float X4, float Y4, float Z4) {
    render::TWOSIDEON();
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    // One normal for the whole quad, from the corners P2, P1, P3.
    render::FINDNORMAL(X2, Y2, Z2, X1, Y1, Z1, X3, Y3, Z3);
    glNormal3f(static_cast<GLfloat>(render::FNORMAL[1]), static_cast<GLfloat>(render::FNORMAL[2]),
               static_cast<GLfloat>(render::FNORMAL[3]));
    // Vertices P2, P1, P3, P4: the bound texture covers the quad exactly once.
    render::LINEFREE(1, 1, 0, 1, X2, Y2, Z2, X1, Y1, Z1, true);
    render::LINEFREE(0, 0, 1, 0, X3, Y3, Z3, X4, Y4, Z4, true);
    glEnd();
    glEnable(GL_CULL_FACE);
    render::TWOSIDEOFF();
}

void FLARE(const render::TGLVECTOR& POS, float SIZE) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // Texture colour plus fragment colour minus one half where the GL has the
    // combine mode; where it has not, the last two settings are refused and
    // the texture replaces the colour.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_ADD_SIGNED);
    render::TRANSPARENTON();
    glPushMatrix();
    glTranslatef(POS.X, POS.Y, POS.Z);
    QUAD(-SIZE, 0, -SIZE, SIZE, 0, -SIZE, -SIZE, 0, SIZE, SIZE, 0, SIZE);
    glPopMatrix();
    render::TRANSPARENTOFF();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void OPENGL_DRAW() {
    glClear(GL_COLOR_BUFFER_BIT + GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    OPENGL_DRAW2D();
    OPENGL_MOUSE2D();
    OPENGL_KEYBOARD();

    // The camera: 30 units back, looking down at 30 degrees, then the mouse.
    glTranslatef(0, -1, -30);
    glRotatef(30, 1, 0, 0);
    render::SETGLMOUSEMOVE(0, 2);
    // Placed after the mouse transform, the light turns with the scene.
    render::PUTGLPOINTLIGHT(GL_LIGHT0, 0, 0, 10, 0, 0.1f);

    texture::TEXTURESELECTID(0);
    QUAD(-10, 0, -10, 10, 0, -10, -10, 0, 10, 10, 0, 10);

    TIME = static_cast<float>(static_cast<double>(TIME) + 0.05);

    texture::TEXTURETGASELECTID(0);
    Flame(0, -5, TIME);
    Flame(1, 0, static_cast<float>(static_cast<double>(TIME) + 5));
    Flame(2, 5, static_cast<float>(static_cast<double>(TIME) + 15));

    FLARE(render::GLVECTOR(-5, 0.02, 0), 2);
    FLARE(render::GLVECTOR(0, 0.02, 0), 2);
    FLARE(render::GLVECTOR(5, 0.02, 0), 2);
}

}  // namespace ziru::app
