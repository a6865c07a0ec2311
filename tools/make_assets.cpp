// Writes the demo's two textures into a folder:
//   Floor04.bmp       512 x 512 24-bit bottom-up BMP of stone flagstones
//   ParticleFire.tga  64 x 64 32-bit run-length TGA of a soft flame particle
// Usage: make_assets <outdir>
//
// Everything is computed from integer hashes and plain float arithmetic
// (no transcendental library calls), so the bytes are the same on every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// ===== Deterministic noise =================================================

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float Unit(std::uint32_t h) {
    return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

float Smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

// Value noise on a lattice of PERIOD pixels that wraps at SIZE, so the
// texture tiles without a seam.
float ValueNoise(int x, int y, int period, int size, std::uint32_t seed) {
    const int cells = size / period;
    const int cx = x / period, cy = y / period;
    const float fx = Smooth(static_cast<float>(x % period) / period);
    const float fy = Smooth(static_cast<float>(y % period) / period);
    auto at = [&](int i, int j) {
        return Unit(Hash(static_cast<std::uint32_t>((cx + i) % cells),
                         static_cast<std::uint32_t>((cy + j) % cells), seed));
    };
    const float top = at(0, 0) + (at(1, 0) - at(0, 0)) * fx;
    const float bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * fx;
    return top + (bottom - top) * fy;
}

// Four octaves, 0..1.
float Fractal(int x, int y, int size, std::uint32_t seed) {
    float sum = 0, weight = 0, amplitude = 1;
    for (int period = 64; period >= 8; period /= 2) {
        sum += amplitude * ValueNoise(x, y, period, size, seed + period);
        weight += amplitude;
        amplitude *= 0.55f;
    }
    return sum / weight;
}

std::uint8_t Byte(float v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

// ===== Floor: staggered flagstones =========================================

constexpr int kFloorSize = 512;
constexpr int kRows = 6;  // stone rows; 512 / 6 is not whole, so rows vary
constexpr int kStonesPerRow = 4;
constexpr int kGrout = 3;  // half the width of a grout line

struct Rgb {
    float r, g, b;
};

// The colour of floor pixel (x, y), y counted from the bottom.
Rgb FloorPixel(int x, int y) {
    // Row boundaries, slightly irregular but fixed.
    int rowStart[kRows + 1];
    for (int i = 0; i <= kRows; ++i) {
        rowStart[i] = i * kFloorSize / kRows;
        if (i > 0 && i < kRows) rowStart[i] += static_cast<int>(Hash(i, 0, 11) % 13) - 6;
    }
    int row = 0;
    while (row + 1 < kRows && y >= rowStart[row + 1]) ++row;
    // Every other row shifted by half a stone, and each joint a little off.
    const int stoneWidth = kFloorSize / kStonesPerRow;
    const int shift = (row % 2) * stoneWidth / 2 + static_cast<int>(Hash(row, 1, 12) % 21) - 10;
    const int sx = (x + kFloorSize - shift) % kFloorSize;
    int col = sx / stoneWidth;
    int jointOffset = static_cast<int>(Hash(row, col, 13) % 17) - 8;
    int left = col * stoneWidth + (col == 0 ? 0 : jointOffset);
    if (sx < left) {
        --col;
        left = col * stoneWidth + (col == 0 ? 0 : static_cast<int>(Hash(row, col, 13) % 17) - 8);
    }
    int right = (col + 1) * stoneWidth +
                (col + 1 == kStonesPerRow ? 0 : static_cast<int>(Hash(row, col + 1, 13) % 17) - 8);
    // Distance to the nearest edge of the stone.
    const int dx = std::min(sx - left, right - 1 - sx);
    const int dy = std::min(y - rowStart[row], rowStart[row + 1] - 1 - y);
    const int edge = std::min(dx, dy);

    const float grain = Fractal(x, y, kFloorSize, 100);
    const float fine = Unit(Hash(x, y, 7));
    if (edge < kGrout) {
        // Grout: dark, gritty.
        const float g = 38 + 22 * grain + 14 * fine;
        return {g * 1.05f, g, g * 0.9f};
    }
    // A stone: its own warm or cool grey, mottled, worn darker towards
    // the edges (a small bevel catches the light).
    const std::uint32_t id = Hash(row, (col + kStonesPerRow) % kStonesPerRow, 21);
    const float tone = 0.75f + 0.35f * Unit(id);
    const float warm = Unit(id >> 8) * 0.16f - 0.04f;
    const float mottled = Fractal(x + 37 * row, y + 91 * col + 512, kFloorSize, 200 + id % 7);
    float v = (95 + 95 * grain + 40 * mottled + 18 * fine) * tone;
    if (edge < kGrout + 5) v *= 0.78f + 0.044f * (edge - kGrout);
    // A few darker pits and lighter flecks.
    const std::uint32_t speck = Hash(x, y, 31) % 1000;
    if (speck < 6) v *= 0.65f;
    if (speck > 995) v *= 1.25f;
    return {v * (1 + warm), v * (1 + warm * 0.4f), v * (1 - warm * 0.8f)};
}

Bytes MakeFloorBmp() {
    const int size = kFloorSize;
    const std::uint32_t stride = size * 3;  // 1536: already a multiple of 4
    const std::uint32_t pixelBytes = stride * size;
    Bytes b(54 + pixelBytes, 0);
    auto put16 = [&](int at, std::uint32_t v) {
        b[at] = v & 0xFF;
        b[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](int at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, size);
    put32(22, size);  // positive: bottom-up rows
    put16(26, 1);
    put16(28, 24);
    put32(34, pixelBytes);
    put32(38, 2835);  // 72 dpi
    put32(42, 2835);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgb c = FloorPixel(x, y);
            std::uint8_t* p = &b[54 + y * stride + x * 3];
            p[0] = Byte(c.b);
            p[1] = Byte(c.g);
            p[2] = Byte(c.r);
        }
    }
    return b;
}

// ===== Flame particle ======================================================

constexpr int kParticleSize = 64;

// Blue, green, red, alpha of particle pixel (x, y).
std::uint32_t ParticlePixel(int x, int y) {
    const float c = (kParticleSize - 1) / 2.0f;
    const float dx = (x - c) / (c - 1.5f);
    // A little taller than wide, and the hot core a little low, like a flame.
    const float dy = (y - c) / (c - 1.5f);
    const float d = std::sqrt(dx * dx * 1.15f + dy * dy * 0.9f);
    if (d >= 1.0f) return 0;
    const float fall = 1.0f - d;
    const float soft = Smooth(std::min(1.0f, fall * 1.25f));
    const float alpha = 255.0f * soft * (0.55f + 0.45f * soft);
    if (alpha < 0.5f) return 0;
    const float core = std::sqrt(dx * dx * 1.15f + (dy + 0.12f) * (dy + 0.12f) * 0.9f);
    // Colour by distance: white-yellow core, yellow, orange, red rim.
    struct Stop {
        float at, r, g, b;
    } stops[] = {{0.0f, 255, 255, 235}, {0.18f, 255, 240, 150}, {0.4f, 255, 185, 50},
                 {0.65f, 245, 105, 15}, {0.85f, 200, 40, 5},    {1.0f, 150, 15, 0}};
    Stop lo = stops[0], hi = stops[5];
    for (int i = 0; i + 1 < 6; ++i) {
        if (core >= stops[i].at && core <= stops[i + 1].at) {
            lo = stops[i];
            hi = stops[i + 1];
            break;
        }
    }
    const float t = hi.at > lo.at ? std::clamp((core - lo.at) / (hi.at - lo.at), 0.0f, 1.0f) : 1;
    const float r = lo.r + (hi.r - lo.r) * t;
    const float g = lo.g + (hi.g - lo.g) * t;
    const float b = lo.b + (hi.b - lo.b) * t;
    return Byte(b) | Byte(g) << 8 | Byte(r) << 16 | static_cast<std::uint32_t>(Byte(alpha)) << 24;
}

// Run-length packets: a run wherever two or more neighbours are equal, raw
// packets of up to 128 pixels in between.
void EncodeRle(const std::vector<std::uint32_t>& pixels, Bytes& out) {
    const std::size_t n = pixels.size();
    auto put = [&](std::uint32_t p) {
        for (int c = 0; c < 4; ++c) out.push_back((p >> (8 * c)) & 0xFF);
    };
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && pixels[i + run] == pixels[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 + run - 1));
            put(pixels[i]);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < n && raw < 128 &&
               !(i + raw + 1 < n && pixels[i + raw] == pixels[i + raw + 1]))
            ++raw;
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        for (std::size_t k = 0; k < raw; ++k) put(pixels[i + k]);
        i += raw;
    }
}

Bytes MakeParticleTga() {
    Bytes b = {0, 0,  10,  0, 0, 0, 0, 0, 0, 0, 0, 0, kParticleSize, 0, kParticleSize,
               0, 32, 0x08};  // 8 alpha bits, origin at the lower left
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < kParticleSize; ++y)
        for (int x = 0; x < kParticleSize; ++x) pixels.push_back(ParticlePixel(x, y));
    EncodeRle(pixels, b);
    return b;
}

bool Write(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets <outdir>\n");
        return 2;
    }
    const std::string dir = argv[1];
    if (!Write(dir + "/Floor04.bmp", MakeFloorBmp()) ||
        !Write(dir + "/ParticleFire.tga", MakeParticleTga())) {
        std::perror("make_assets");
        return 1;
    }
    return 0;
}
