// Vectors and face normals.
#include "render/vector.h"

#include <cmath>

namespace ziru::render {

runtime::BoundedArray<double, 1, 3> FNORMAL{};

namespace {

// Scales (X, Y, Z) to unit length in place. The length is taken in extended
// precision (so huge components do not overflow when squared) but then held
// as a 32-bit float: a length too small for a float counts as zero, and a
// zero length is replaced by 1 so degenerate input passes through unchanged.
void REDUCETOUNIT(double& X, double& Y, double& Z) {
    const long double x = X, y = Y, z = Z;
    float LENGTH = static_cast<float>(std::sqrt(x * x + y * y + z * z));
    if (LENGTH == 0.0f) LENGTH = 1.0f;
    X = X / LENGTH;
    Y = Y / LENGTH;
    Z = Z / LENGTH;
}

}  // namespace

TGLVECTOR GLVECTOR(double X, double Y, double Z) {
    return TGLVECTOR{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z)};
}

void FINDNORMAL(double V1X, double V1Y, double V1Z, double V2X, double V2Y, double V2Z, double V3X,
                double V3Y, double V3Z) {
    const double A1 = V1X - V2X, A2 = V1Y - V2Y, A3 = V1Z - V2Z;
    const double B1 = V2X - V3X, B2 = V2Y - V3Y, B3 = V2Z - V3Z;
    FNORMAL[X] = A2 * B3 - A3 * B2;
    FNORMAL[Y] = A3 * B1 - A1 * B3;
    FNORMAL[Z] = A1 * B2 - A2 * B1;
    REDUCETOUNIT(FNORMAL[X], FNORMAL[Y], FNORMAL[Z]);
}

}  // namespace ziru::render
