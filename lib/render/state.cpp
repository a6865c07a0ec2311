// Projection set-up, lights and render-state switches.
#include "render/state.h"

#include <GL/glu.h>

#include "window/window.h"

namespace ziru::render {

runtime::BoundedArray<GLfloat, 0, 3> AMBIENTLIGHT{{0.5f, 0.5f, 0.5f, 1.0f}};
runtime::BoundedArray<GLfloat, 0, 3> DIFFUSELIGHT{{1.0f, 1.0f, 1.0f, 1.0f}};
runtime::BoundedArray<GLfloat, 0, 3> SPECULARLIGHT{{1.0f, 1.0f, 1.0f, 1.0f}};
runtime::BoundedArray<GLfloat, 0, 3> LIGHTPOSITION{{0.0f, 0.0f, 0.0f, 0.0f}};

// ===== Projection set-up ===================================================

void OPENGL_INIT(double DEPTH, double A, double R, double G, double B) {
    glClearColor(static_cast<GLfloat>(R), static_cast<GLfloat>(G), static_cast<GLfloat>(B),
                 static_cast<GLfloat>(A));
    glViewport(0, 0, window::WIDTH, window::HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Aspect in floating point: an integer quotient would make 800 x 600 square.
    gluPerspective(45.0, static_cast<double>(window::WIDTH) / window::HEIGHT, 0.1, DEPTH);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearDepth(DEPTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
}

void OPENGL_I2D(double A, double R, double G, double B) {
    glClearColor(static_cast<GLfloat>(R), static_cast<GLfloat>(G), static_cast<GLfloat>(B),
                 static_cast<GLfloat>(A));
    glViewport(0, 0, window::WIDTH, window::HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The doubled heights are 32-bit integer products: an absurd height is a
    // run-time error, not a silently wrapped box.
    const double width = window::WIDTH;
    glOrtho(-2.0, 2.0, runtime::CheckedMul(-2, window::HEIGHT) / width,
            runtime::CheckedMul(2, window::HEIGHT) / width, -2.0, 2.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
}

// ===== Lights ==============================================================

void SETGLLIGHT(GLenum NLIGHT, GLfloat L0, GLfloat L1, GLfloat L2, GLfloat L3) {
    glEnable(GL_LIGHTING);
    glLightfv(NLIGHT, GL_AMBIENT, AMBIENTLIGHT.data());
    glLightfv(NLIGHT, GL_DIFFUSE, DIFFUSELIGHT.data());
    glLightfv(NLIGHT, GL_SPECULAR, SPECULARLIGHT.data());
    glEnable(NLIGHT);
    LIGHTPOSITION[0] = L0;
    LIGHTPOSITION[1] = L1;
    LIGHTPOSITION[2] = L2;
    LIGHTPOSITION[3] = L3;
    glLightfv(NLIGHT, GL_POSITION, LIGHTPOSITION.data());
}

void PUTGLPOINTLIGHT(GLenum NLIGHT, GLfloat SIZE, GLfloat LX, GLfloat LY, GLfloat LZ,
                     GLfloat LVAL) {
    LIGHTPOSITION[0] = LX;
    LIGHTPOSITION[1] = LY;
    LIGHTPOSITION[2] = LZ;
    LIGHTPOSITION[3] = LVAL;
    glLightfv(NLIGHT, GL_POSITION, LIGHTPOSITION.data());
    if (SIZE != 0.0f) {
        glPointSize(SIZE);
        glBegin(GL_POINTS);
        glNormal3f(0.0f, 0.0f, 1.0f);
        glVertex3f(LX, LY, LZ);
        glEnd();
    }
}

// ===== Render-state switches ===============================================

void SETGLREFRACTIVE() {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    // Smooth shading is what every caller relies on; select it explicitly
    // rather than trusting whatever an earlier caller left.
    glShadeModel(GL_SMOOTH);
}

void TWOSIDEON() {
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
}
void TWOSIDEOFF() {
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
}
void TRANSPARENTON() {
    glEnable(GL_BLEND);
}
void TRANSPARENTOFF() {
    glDisable(GL_BLEND);
}

void SETGLSPRITE(bool LIGHT) {
    if (LIGHT) glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
}

void SETGLSPRITEOFF() {
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
}

void TEXTUREON() {
    glEnable(GL_TEXTURE_2D);
}
void TEXTUREOFF() {
    glDisable(GL_TEXTURE_2D);
}

// ===== Vertex pair =========================================================

void LINEFREE(GLfloat TX1, GLfloat TY1, GLfloat TX2, GLfloat TY2, GLfloat X1, GLfloat Y1,
              GLfloat Z1, GLfloat X2, GLfloat Y2, GLfloat Z2, bool TEXTURE) {
    if (TEXTURE) glTexCoord2f(TX1, TY1);
    glVertex3f(X1, Y1, Z1);
    if (TEXTURE) glTexCoord2f(TX2, TY2);
    glVertex3f(X2, Y2, Z2);
}

}  // namespace ziru::render
