// Run-time errors, bounded arrays, checked arithmetic and the random source.
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <set>

namespace rt = ziru::runtime;

namespace {

const testing::ExitedWithCode kRuntimeExit(rt::RUNTIME_ERROR_EXIT_CODE);

using KeyTable = rt::BoundedArray<int, 0, 500>;

TEST(RunError, ReportsOneLineOnStdoutAndExits217) {
    // Death tests match standard error, so the child points standard output
    // there first; the report must be the one named line.
    EXPECT_EXIT(
        {
            dup2(2, 1);
            rt::RunError("something broke");
        },
        kRuntimeExit, "^Runtime error: something broke\n$");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            KeyTable keys;
            keys[501] = 1;
        },
        kRuntimeExit, "Runtime error: range check error \\(index 501 outside 0\\.\\.500\\)");
}

TEST(BoundedArray, IndexesWithinBoundsAndStopsOutside) {
    rt::BoundedArray<int, 1, 3> normal;
    normal[1] = 10;
    normal[3] = 30;
    EXPECT_EQ(normal.items[0], 10);
    EXPECT_EQ(normal.items[2], 30);
    EXPECT_EQ(normal.size(), 3u);

    rt::BoundedArray<int, 0, 500> keys;
    EXPECT_EQ(keys[500], 0);
    EXPECT_EXIT(keys[501] = 1, kRuntimeExit, "");
    EXPECT_EXIT(keys[-1] = 1, kRuntimeExit, "");
    EXPECT_EXIT(normal[0] = 1, kRuntimeExit, "");
}

TEST(CheckedArithmetic, ResultsAndOverflows) {
    EXPECT_EQ(rt::CheckedMul(2, 600), 1200);
    EXPECT_EQ(rt::CheckedMul(-2, 600), -1200);
    EXPECT_EQ(rt::CheckedAdd(INT_MAX - 1, 1), INT_MAX);
    EXPECT_EQ(rt::CheckedMulU(65535u, 65535u), 4294836225u);
    EXPECT_EXIT(rt::CheckedMul(2, 1 << 30), kRuntimeExit, "");
    EXPECT_EXIT(rt::CheckedAdd(INT_MAX, 1), kRuntimeExit, "");
    EXPECT_EXIT(rt::CheckedSub(INT_MIN, 1), kRuntimeExit, "");
    EXPECT_EXIT(rt::CheckedMulU(65536u, 65536u), kRuntimeExit, "");
    EXPECT_EXIT(rt::CheckedNarrow<unsigned char>(256, 0, 255), kRuntimeExit, "");
    EXPECT_EQ(rt::CheckedNarrow<unsigned char>(255, 0, 255), 255);
}

TEST(Random, RangesAndReproducibleSequence) {
    rt::RandSeed(1);
    std::set<int> seen;
    for (int i = 0; i < 1000; ++i) {
        const int r = rt::Random(4);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 4);
        seen.insert(r);
        const double d = rt::RandomReal();
        ASSERT_GE(d, 0.0);
        ASSERT_LT(d, 1.0);
    }
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(rt::Random(0), 0);

    rt::RandSeed(7);
    const int a = rt::Random(1000000);
    const double b = rt::RandomReal();
    rt::RandSeed(7);
    EXPECT_EQ(rt::Random(1000000), a);
    EXPECT_EQ(rt::RandomReal(), b);
}

}  // namespace
