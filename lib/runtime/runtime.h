// Run-time errors, bounded arrays, checked integer arithmetic and the
// process-wide random source: the checks every module of the library leans
// on. Depends on nothing but the C++ standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ziru::runtime {

// ===== Run-time errors =====================================================

// The exit code of every run-time error.
inline constexpr int RUNTIME_ERROR_EXIT_CODE = 217;

// Writes "Runtime error: <what>" as one line on standard output and ends the
// process at once with exit code 217. Nothing else runs: no destructors, no
// atexit handlers, no buffered output but this line.
[[noreturn]] void RunError(std::string_view what);

// The index check of every bounded array: ends the program with
// "range check error (index I outside LO..HI)" unless LO <= index <= HI.
[[noreturn]] void RangeError(std::int64_t index, std::int64_t lo, std::int64_t hi);

inline void CheckRange(std::int64_t index, std::int64_t lo, std::int64_t hi) {
    if (index < lo || index > hi) RangeError(index, lo, hi);
}

// ===== Bounded arrays ======================================================

// A fixed-size array indexed LO..HI (both inclusive), as the library declares
// its tables (SETKEY 0..500, FNORMAL 1..3, TEXTUREID2 0..500). Every index is
// checked; a bad one is a run-time error.
template <typename T, std::int64_t LO, std::int64_t HI>
struct BoundedArray {
    static_assert(HI >= LO);
    static constexpr std::int64_t LOW = LO;
    static constexpr std::int64_t HIGH = HI;
    static constexpr std::size_t COUNT = static_cast<std::size_t>(HI - LO + 1);

    T items[COUNT]{};

    T& operator[](std::int64_t index) {
        CheckRange(index, LO, HI);
        return items[index - LO];
    }
    const T& operator[](std::int64_t index) const {
        CheckRange(index, LO, HI);
        return items[index - LO];
    }
    T* data() { return items; }
    const T* data() const { return items; }
    static constexpr std::size_t size() { return COUNT; }
    T* begin() { return items; }
    T* end() { return items + COUNT; }
    const T* begin() const { return items; }
    const T* end() const { return items + COUNT; }
};

// ===== Checked arithmetic ==================================================

// 32-bit integer operations that end the program with
// "arithmetic overflow (...)" instead of wrapping.
std::int32_t CheckedAdd(std::int32_t a, std::int32_t b);
std::int32_t CheckedSub(std::int32_t a, std::int32_t b);
std::int32_t CheckedMul(std::int32_t a, std::int32_t b);
std::uint32_t CheckedAddU(std::uint32_t a, std::uint32_t b);
std::uint32_t CheckedMulU(std::uint32_t a, std::uint32_t b);

// Narrowing conversion that ends the program with "range check error" when
// the value does not fit (BITS into a byte field, a flag word that must not
// be negative).
template <typename To, typename From>
To CheckedNarrow(From value, std::int64_t lo, std::int64_t hi) {
    CheckRange(static_cast<std::int64_t>(value), lo, hi);
    return static_cast<To>(value);
}

// ===== Random source =======================================================

// One process-wide uniform source. The library never seeds it, so a run is
// reproducible; tests may seed it.

// A random integer in [0, n); 0 when n <= 0.
std::int32_t Random(std::int32_t n);
// A random real in [0, 1).
double RandomReal();
// Restarts the sequence from SEED (the process starts as if seeded with 0).
void RandSeed(std::uint32_t seed);

}  // namespace ziru::runtime
