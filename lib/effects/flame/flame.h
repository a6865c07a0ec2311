// The flame generator, an add-on of game effects on top of the particle
// emitter: a column of additive, textured particles rising from a base point
// along a direction with a sideways sway that follows a time value.
#pragma once

#include "effects/emitter.h"
#include "render/vector.h"

namespace ziru::effects {

// Draws one frame of the flame kept in EMI at base POS, rising LENGTH
// emitter units per call along DIR (not normalised), swaying by OSCILLATION
// with phase TIME (radians) in the flame's x-z plane. Needs the modelview
// matrix current and the flame texture bound; restores the matrix.
void ZIRUZODO(TFX_EMISSION& EMI, render::TGLVECTOR POS, render::TGLVECTOR DIR, float LENGTH,
              float OSCILLATION, float TIME);

}  // namespace ziru::effects
