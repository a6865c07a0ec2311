// The flame scene: a lit, textured 20 x 20 floor, three swaying particle
// flames standing on it and a glowing flare under each, seen from 30 degrees
// above and turned and zoomed by the mouse. Two plug points serve the demo's
// main program: the one-time set-up and OPENGL_DRAW, once per frame.
#pragma once

#include "effects/emitter.h"
#include "render/vector.h"
#include "runtime/runtime.h"

namespace ziru::app {

// The scene clock: +0.05 every frame, never reset.
extern float TIME;
// The flames' emitters; entries 0 to 2 are used.
extern runtime::BoundedArray<effects::TFX_EMISSION, 0, 6> FIRE;

// The one-time set-up after the window exists: projection, culling, light 0
// and the two textures.
void SceneSetup();
// Loads the floor and the particle textures from the working directory.
void OPENGL_CREATELIST();
// Draws one frame.
void OPENGL_DRAW();

// One textured, lit, two-sided quadrilateral with corners P1 to P4.
void QUAD(float X1, float Y1, float Z1, float X2, float Y2, float Z2, float X3, float Y3, float Z3,
          float X4, float Y4, float Z4);
// One additive glow square of side 2 x SIZE lying flat, centred on POS, drawn
// with the bound texture.
void FLARE(const render::TGLVECTOR& POS, float SIZE);

}  // namespace ziru::app
