// Vectors and face normals: pure arithmetic, no context needed.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <ostream>
#include <string>

#include "render/vector.h"

namespace ziru::render {
namespace {

static_assert(offsetof(TGLVECTOR, X) == 0 && offsetof(TGLVECTOR, Y) == 4 &&
              offsetof(TGLVECTOR, Z) == 8);

TEST(GlVector, RoundsEachComponentToFloat) {
    const TGLVECTOR v = GLVECTOR(0.1, 1, -5);
    EXPECT_EQ(v.X, 0.1f);
    EXPECT_EQ(v.Y, 1.0f);
    EXPECT_EQ(v.Z, -5.0f);
}

struct NormalCase {
    const char* name;
    double v[9];
    double expected[3];
};

// The expected tiny value: the cross product's z, left undivided because
// its length is below the smallest 32-bit float.
constexpr double TINY = 1e-24;

const NormalCase NORMAL_CASES[] = {
    {"counter-clockwise", {0, 0, 0, 1, 0, 0, 1, 1, 0}, {0, 0, 1}},
    {"clockwise", {0, 0, 0, 1, 1, 0, 1, 0, 0}, {0, 0, -1}},
    {"collinear", {0, 0, 0, 1, 1, 1, 2, 2, 2}, {0, 0, 0}},
    {"first two equal", {1, 2, 3, 1, 2, 3, 4, 5, 6}, {0, 0, 0}},
    {"last two equal", {1, 2, 3, 4, 5, 6, 4, 5, 6}, {0, 0, 0}},
    {"floor quad", {10, 0, -10, -10, 0, -10, -10, 0, 10}, {0, 1, 0}},
    {"length below float", {0, 0, 0, TINY, 0, 0, TINY, TINY, 0}, {0, 0, TINY* TINY}},
};

void PrintTo(const NormalCase& c, std::ostream* os) {
    *os << c.name;
}

class FindNormal : public testing::TestWithParam<NormalCase> {};

TEST_P(FindNormal, GivesTheUnitNormal) {
    const NormalCase& c = GetParam();
    FINDNORMAL(c.v[0], c.v[1], c.v[2], c.v[3], c.v[4], c.v[5], c.v[6], c.v[7], c.v[8]);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(FNORMAL[i + 1], c.expected[i]) << "index " << i;
    EXPECT_EQ(&FNORMAL[X], &FNORMAL[1]);
    EXPECT_EQ(&FNORMAL[Z], &FNORMAL[3]);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindNormal, testing::ValuesIn(NORMAL_CASES), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

TEST(FindNormalScale, SimilarTrianglesShareTheirNormal) {
    // A slanted triangle, then the same shape a million times larger and a
    // million times smaller: the length is held in a float, so agreement is
    // to float precision.
    const double base[9] = {1, 2, 3, 4, 6, 5, 2, 7, 1};
    double reference[3] = {};
    for (double scale : {1.0, 1e6, 1e-6}) {
        double v[9];
        for (int i = 0; i < 9; ++i) v[i] = base[i] * scale;
        FINDNORMAL(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
        const double length =
            FNORMAL[1] * FNORMAL[1] + FNORMAL[2] * FNORMAL[2] + FNORMAL[3] * FNORMAL[3];
        EXPECT_NEAR(length, 1.0, 1e-6) << "scale " << scale;
        if (scale == 1.0) {
            for (int i = 0; i < 3; ++i) reference[i] = FNORMAL[i + 1];
        }
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(FNORMAL[i + 1], reference[i], 1e-6);
    }
}

}  // namespace
}  // namespace ziru::render
