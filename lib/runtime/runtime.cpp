// Run-time errors, checked arithmetic and the random source.
#include "runtime/runtime.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ziru::runtime {

// ===== Run-time errors =====================================================

void RunError(std::string_view what) {
    std::fflush(stdout);
    std::string line = "Runtime error: ";
    line.append(what);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    std::_Exit(RUNTIME_ERROR_EXIT_CODE);
}

void RangeError(std::int64_t index, std::int64_t lo, std::int64_t hi) {
    char text[128];
    std::snprintf(text, sizeof text, "range check error (index %lld outside %lld..%lld)",
                  static_cast<long long>(index), static_cast<long long>(lo),
                  static_cast<long long>(hi));
    RunError(text);
}

// ===== Checked arithmetic ==================================================

namespace {

[[noreturn]] void Overflow(const char* op, long long a, long long b) {
    char text[128];
    std::snprintf(text, sizeof text, "arithmetic overflow (%lld %s %lld)", a, op, b);
    RunError(text);
}

}  // namespace

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r)) Overflow("+", a, b);
    return r;
}

std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) Overflow("-", a, b);
    return r;
}

std::int32_t CheckedMul(std::int32_t a, std::int32_t b) {
    std::int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) Overflow("*", a, b);
    return r;
}

std::uint32_t CheckedAddU(std::uint32_t a, std::uint32_t b) {
    std::uint32_t r;
    if (__builtin_add_overflow(a, b, &r)) Overflow("+", a, b);
    return r;
}

std::uint32_t CheckedMulU(std::uint32_t a, std::uint32_t b) {
    std::uint32_t r;
    if (__builtin_mul_overflow(a, b, &r)) Overflow("*", a, b);
    return r;
}

// ===== Random source =======================================================

namespace {

// xorshift128+ seeded through splitmix64: fast, uniform enough for particle
// jitter, and the same sequence on every run for the same seed.
struct Source {
    std::uint64_t s0, s1;
};

std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

Source Seeded(std::uint32_t seed) {
    std::uint64_t x = seed;
    Source s{SplitMix(x), SplitMix(x)};
    if ((s.s0 | s.s1) == 0) s.s1 = 1;
    return s;
}

Source source = Seeded(0);

std::uint64_t Next() {
    std::uint64_t x = source.s0;
    const std::uint64_t y = source.s1;
    source.s0 = y;
    x ^= x << 23;
    source.s1 = x ^ y ^ (x >> 17) ^ (y >> 26);
    return source.s1 + y;
}

}  // namespace

std::int32_t Random(std::int32_t n) {
    if (n <= 0) return 0;
    // The high 32 bits times n, shifted: uniform without a division.
    return static_cast<std::int32_t>(((Next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
}

double RandomReal() {
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

void RandSeed(std::uint32_t seed) { source = Seeded(seed); }

}  // namespace ziru::runtime
