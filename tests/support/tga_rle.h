// Run-length packets of the TGA format, for tests and benchmarks that make
// their own files: runs where neighbouring pixels repeat (2 to 128), raw
// packets elsewhere. Header-only, no dependencies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace ziru::test {

// Encodes PIXELS (file order, BPP bytes each) as type-10 packets.
inline std::vector<std::uint8_t> EncodeTgaRle(const std::vector<std::uint8_t>& pixels, int bpp) {
    std::vector<std::uint8_t> out;
    const std::size_t n = pixels.size() / bpp;
    auto same = [&](std::size_t a, std::size_t b) {
        return std::memcmp(&pixels[a * bpp], &pixels[b * bpp], bpp) == 0;
    };
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && same(i, i + run)) ++run;
        if (run > 1) {
            out.push_back(static_cast<std::uint8_t>(0x80 + run - 1));
            out.insert(out.end(), &pixels[i * bpp], &pixels[i * bpp] + bpp);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < n && raw < 128 && !(i + raw + 1 < n && same(i + raw, i + raw + 1))) ++raw;
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        out.insert(out.end(), &pixels[i * bpp], &pixels[(i + raw) * bpp]);
        i += raw;
    }
    return out;
}

}  // namespace ziru::test
