// The particle emitter: a caller-owned, fixed-size record of up to 100
// viewer-facing particles and its one operation, ADDEMISSION, which advances
// the start-up ramp, moves, ages and recycles every live particle and draws
// it, all in one pass and without allocating. Draws through the rendering
// helpers' switches and billboard lock; needs the modelview matrix current.
#pragma once

#include <cstdint>

#include "runtime/runtime.h"

namespace ziru::effects {

// One particle; the field order is part of the record's layout.
struct GLPARTICLE {
    // A 32-bit boolean the emitter never touches (0 false, else true).
    std::int32_t ACTIVE;
    // Lifetime of this incarnation in FADE units; 0 marks a never-spawned slot.
    float LIFE;
    // Age: 0 at spawn, +0.1 per call; recycled once FADE >= LIFE.
    float FADE;
    // Not used by the emitter.
    float R, G, B;
    // Position relative to the emitter origin, in emitter units.
    float X, Y, Z;
    // Not used by the emitter.
    float XI, YI, ZI;
    // The particle's own drift, added to its position on every call.
    float XG, YG, ZG;
};

// One emitter. An all-zero record is a fresh emitter; nothing else
// initialises it, and zeroing it again is the way to reset it.
struct TFX_EMISSION {
    // ADDEMISSION calls so far.
    double EMISSIONTIMER;
    // The call count from which slots are enabled (the last MAXCOUNT).
    float EMISSIONCOUNT;
    // Enabled slots: 1..EMISSIONGEN are live. Never above 100, never falls.
    std::uint8_t EMISSIONGEN;
    runtime::BoundedArray<GLPARTICLE, 1, 100> EMISSION;

    // One frame of the emitter at origin (X, Y, Z) with common drift
    // (PX, PY, PZ), everything scaled by DENSITY (billboard size excepted).
    // R1, G1, B1 is the core colour, R2, G2, B2 the rim colour of untextured
    // discs; slots are enabled from the MAXCOUNT-th call on; a new particle
    // lives MAXLIFE to 2 * MAXLIFE - 1 units. TEXTURE draws squares with the
    // bound texture instead of discs; MESH blends additively.
    void ADDEMISSION(float X, float Y, float Z, float PX, float PY, float PZ, float SIZE,
                     float DENSITY, float R1, float G1, float B1, float R2, float G2, float B2,
                     std::int32_t MAXCOUNT, std::int32_t MAXLIFE, bool TEXTURE, bool MESH);
};

// The free-standing form of EMI.ADDEMISSION, with the same arguments.
void FX_EMISSION(TFX_EMISSION& EMI, float X, float Y, float Z, float PX, float PY, float PZ,
                 float SIZE, float DENSITY, float R1, float G1, float B1, float R2, float G2,
                 float B2, std::int32_t MAXCOUNT, std::int32_t MAXLIFE, bool TEXTURE, bool MESH);

}  // namespace ziru::effects
