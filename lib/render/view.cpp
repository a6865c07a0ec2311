// Mouse-driven view and billboard lock.
#include "render/view.h"

#include <GL/gl.h>

#include "window/window.h"

namespace ziru::render {

bool LOCKVIEWMODELSCALE = true;

void SETGLMOUSEMOVE(std::int32_t XYZ, std::int32_t SPEED) {
    window::MSPEED = SPEED;
    // Each call multiplies on the right: what is drawn afterwards turns by
    // YROT first, then by XROT, then moves by the translation.
    switch (XYZ) {
        case 0:
            glTranslatef(0.0f, 0.0f, -window::DEPTH);
            glRotatef(window::XROT, 1.0f, 0.0f, 0.0f);
            glRotatef(window::YROT, 0.0f, 1.0f, 0.0f);
            break;
        case 1:
            glTranslatef(0.0f, -window::DEPTH, 0.0f);
            glRotatef(window::XROT, 1.0f, 0.0f, 0.0f);
            glRotatef(window::YROT, 0.0f, 0.0f, 1.0f);
            break;
        case 2:
            glTranslatef(-window::DEPTH, 0.0f, 0.0f);
            glRotatef(window::XROT, 0.0f, 0.0f, -1.0f);
            glRotatef(window::YROT, 0.0f, 1.0f, 0.0f);
            break;
        case 3:
            glTranslatef(0.0f, 0.0f, -window::DEPTH);
            glRotatef(window::XROT, 0.0f, 1.0f, 0.0f);
            glRotatef(window::YROT, 1.0f, 0.0f, 0.0f);
            break;
        default:
            break;
    }
}

void LOCKVIEWMODELBEGIN(float X, float Y, float Z) {
    glPushMatrix();
    glTranslatef(X, Y, Z);
    glPushMatrix();
    // Column-major: element column * 4 + row. Replacing the upper-left 3 x 3
    // block by the identity drops every rotation and scale while the anchor's
    // eye-space position (column 3) stays.
    GLfloat M[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, M);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) M[column * 4 + row] = column == row ? 1.0f : 0.0f;
    }
    glLoadMatrixf(M);
    if (LOCKVIEWMODELSCALE) glScalef(0.1f, 0.1f, 0.1f);
}

void LOCKVIEWMODELEND() {
    glPopMatrix();
    glPopMatrix();
}

}  // namespace ziru::render
