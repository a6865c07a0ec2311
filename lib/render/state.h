// Fixed-function OpenGL set-up: the perspective and orthographic
// projections with the library's default render state, a light with the
// library's colours, the light-position update with its optional marker, the
// one-purpose render-state switches and the quad vertex-pair helper.
// Everything acts on the calling thread's current context; only the two
// projection set-ups change the matrix mode, and they leave GL_MODELVIEW
// current and reset. Reads the window size from the window layer.
#pragma once

#include <GL/gl.h>

#include "runtime/runtime.h"

namespace ziru::render {

// ===== Light settings ======================================================

// Light colours (red, green, blue, alpha) that SETGLLIGHT sends as they
// stand; a host program may change them before the call.
extern runtime::BoundedArray<GLfloat, 0, 3> AMBIENTLIGHT;
extern runtime::BoundedArray<GLfloat, 0, 3> DIFFUSELIGHT;
extern runtime::BoundedArray<GLfloat, 0, 3> SPECULARLIGHT;
// The light position (x, y, z, w) last sent; w = 0 is a directional light.
extern runtime::BoundedArray<GLfloat, 0, 3> LIGHTPOSITION;

// ===== Projection set-up ===================================================

// Perspective projection (45 degrees, WIDTH / HEIGHT, near 0.1, far DEPTH)
// and the library's default render state. Note the parameter order: alpha
// first, while the clear colour is (R, G, B, A).
void OPENGL_INIT(double DEPTH, double A, double R, double G, double B);
// Orthographic projection: x from -2 to 2, y keeping the window's aspect.
void OPENGL_I2D(double A, double R, double G, double B);

// ===== Lights ==============================================================

void SETGLLIGHT(GLenum NLIGHT, GLfloat L0, GLfloat L1, GLfloat L2, GLfloat L3);
// Moves the light; with SIZE not 0 also marks it with a point of SIZE pixels.
void PUTGLPOINTLIGHT(GLenum NLIGHT, GLfloat SIZE, GLfloat LX, GLfloat LY, GLfloat LZ, GLfloat LVAL);

// ===== Render-state switches ===============================================
// Each sets its state unconditionally and saves nothing; callers pair them.

// Back-face culling of clockwise faces, smooth shading.
void SETGLREFRACTIVE();
void TWOSIDEON();
void TWOSIDEOFF();
void TRANSPARENTON();
void TRANSPARENTOFF();
// Blending on and depth writes off; with LIGHT also additive (one, one).
void SETGLSPRITE(bool LIGHT);
void SETGLSPRITEOFF();
void TEXTUREON();
void TEXTUREOFF();

// ===== Vertex pair =========================================================

// Two vertices (with texture coordinates when TEXTURE) into a primitive the
// caller has opened; two calls make a quad's four corners.
void LINEFREE(GLfloat TX1, GLfloat TY1, GLfloat TX2, GLfloat TY2, GLfloat X1, GLfloat Y1,
              GLfloat Z1, GLfloat X2, GLfloat Y2, GLfloat Z2, bool TEXTURE);

}  // namespace ziru::render
