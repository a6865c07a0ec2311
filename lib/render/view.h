// Modelview helpers: the mouse-driven camera transform, fed by the window
// layer's accumulators (XROT, YROT, DEPTH) and feeding back its mouse
// sensitivity (MSPEED), and the billboard lock that makes geometry drawn in
// its own x-y plane face the viewer. Both act on the current matrix, which
// must be the modelview matrix.
#pragma once

#include <cstdint>

namespace ziru::render {

// When true the billboard lock shrinks what is drawn inside it to one tenth.
extern bool LOCKVIEWMODELSCALE;

// Stores SPEED in the window layer's MSPEED, then multiplies the view
// transform of mode XYZ (0 to 3) onto the current matrix; any other mode only
// stores SPEED.
void SETGLMOUSEMOVE(std::int32_t XYZ, std::int32_t SPEED);

// Pushes two matrix-stack levels and leaves a matrix current whose origin is
// the anchor (X, Y, Z) and whose axes are the viewer's, free of every
// rotation and scale of the scene. Pair each with one LOCKVIEWMODELEND.
void LOCKVIEWMODELBEGIN(float X, float Y, float Z);
void LOCKVIEWMODELEND();

}  // namespace ziru::render
