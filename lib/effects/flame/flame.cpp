// The flame generator.
#include "effects/flame/flame.h"

#include <GL/gl.h>

#include <cmath>

namespace ziru::effects {

void ZIRUZODO(TFX_EMISSION& EMI, render::TGLVECTOR POS, render::TGLVECTOR DIR, float LENGTH,
              float OSCILLATION, float TIME) {
    glPushMatrix();
    glTranslatef(POS.X, POS.Y, POS.Z);
    // The sway vector (-sin TIME, cos TIME) turns in the x-z plane whatever
    // DIR is; every particle keeps the sway of each frame it lives through,
    // which is what bends the column.
    const long double t = TIME;
    const float PX =
        static_cast<float>(static_cast<long double>(LENGTH) * DIR.X - OSCILLATION * std::sin(t));
    const float PY = static_cast<float>(static_cast<long double>(LENGTH) * DIR.Y);
    const float PZ =
        static_cast<float>(static_cast<long double>(LENGTH) * DIR.Z + OSCILLATION * std::cos(t));
    FX_EMISSION(EMI, 0.0f, 0.0f, 0.0f, PX, PY, PZ, 0.0005f, 0.05f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f,
                0.0f, 10, 3, true, true);
    glPopMatrix();
}

}  // namespace ziru::effects
