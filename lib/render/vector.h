// The library's vector vocabulary: the position-and-direction record, its
// constructor, and the face-normal calculator whose result callers read from
// FNORMAL right after the call. Pure arithmetic, no OpenGL.
#pragma once

#include "runtime/runtime.h"

namespace ziru::render {

// A position or direction: three 32-bit floats, exactly these fields in this
// order, so that arrays of it can be handed to OpenGL as packed xyz triples.
struct TGLVECTOR {
    float X;
    float Y;
    float Z;
};
static_assert(sizeof(TGLVECTOR) == 3 * sizeof(float));

// Index names of FNORMAL's components.
inline constexpr std::int64_t X = 1;
inline constexpr std::int64_t Y = 2;
inline constexpr std::int64_t Z = 3;

// The unit normal left by the last FINDNORMAL; (0, 0, 0) before the first.
extern runtime::BoundedArray<double, 1, 3> FNORMAL;

// Each component rounded to the nearest 32-bit float.
TGLVECTOR GLVECTOR(double X, double Y, double Z);

// Overwrites FNORMAL with the unit normal of the plane through V1, V2, V3,
// pointing to the side from which V1 -> V2 -> V3 runs counter-clockwise.
// Degenerate triangles give (0, 0, 0) rather than NaN.
void FINDNORMAL(double V1X, double V1Y, double V1Z, double V2X, double V2Y, double V2Z, double V3X,
                double V3Y, double V3Z);

}  // namespace ziru::render
