// BITMAPTOREGION on a 2000 x 2000 picture of about a million opaque runs in
// random places, against one pixman_region32_init_rects over the same
// rectangles: the whole call (file read, blit, scan, batches and joins) is
// to stay within a small multiple of building the region in one go.
#include <pixman.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "buttons/bitmapregion.h"

namespace p = ziru::platform;

namespace {

constexpr int kSize = 2000;
constexpr int kRepeats = 5;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

}  // namespace

int main() {
    // Each pixel opaque (black) or magenta with even odds: ~W/4 runs a row.
    std::mt19937 random(12345);
    std::vector<bool> opaque(static_cast<std::size_t>(kSize) * kSize);
    for (std::size_t i = 0; i < opaque.size(); ++i) opaque[i] = (random() & 1) != 0;

    const std::uint32_t stride = (kSize * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * kSize;
    std::vector<std::uint8_t> file(54 + pixelBytes, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, kSize);
    put32(22, kSize);
    file[26] = 1;
    file[28] = 24;
    std::vector<pixman_box32_t> boxes;
    for (int y = 0; y < kSize; ++y) {
        std::uint8_t* row = file.data() + 54 + static_cast<std::size_t>(kSize - 1 - y) * stride;
        for (int x = 0; x < kSize; ++x) {
            if (!opaque[static_cast<std::size_t>(y) * kSize + x]) {
                row[3 * x] = 0xFF;
                row[3 * x + 2] = 0xFF;
            }
        }
        for (int x = 0; x < kSize;) {
            if (!opaque[static_cast<std::size_t>(y) * kSize + x]) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < kSize && opaque[static_cast<std::size_t>(y) * kSize + x]) ++x;
            boxes.push_back({x0, y, x, y + 1});
        }
    }
    const char* dir = std::getenv("TMPDIR");
    std::string name = std::string(dir ? dir : "/tmp") + "/region_bench_XXXXXX";
    char* path = name.data();
    const int fd = mkstemp(path);
    if (fd < 0 || write(fd, file.data(), file.size()) != static_cast<ssize_t>(file.size())) {
        std::perror("region_bench: temp file");
        return 1;
    }
    close(fd);

    double best = 1e9;
    double bestPixman = 1e9;
    int rects = 0;
    for (int i = 0; i < kRepeats; ++i) {
        auto start = std::chrono::steady_clock::now();
        const p::HRGN region = ziru::buttons::BITMAPTOREGION(path, 0xFF00FF, 1);
        best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
        if (!region) {
            std::fprintf(stderr, "region_bench: BITMAPTOREGION failed\n");
            return 1;
        }
        rects = static_cast<int>(p::detail::RegionRects(region).size());
        p::DeleteObject(p::AsObject(region));

        start = std::chrono::steady_clock::now();
        pixman_region32_t once;
        pixman_region32_init_rects(&once, boxes.data(), static_cast<int>(boxes.size()));
        bestPixman = std::min(bestPixman, Seconds(std::chrono::steady_clock::now() - start));
        pixman_region32_fini(&once);
    }
    unlink(path);
    std::printf("picture %d x %d, %zu runs, region of %d rectangles\n", kSize, kSize, boxes.size(),
                rects);
    std::printf("BITMAPTOREGION (file to region): %.4f s\n", best);
    std::printf("pixman_region32_init_rects once: %.4f s\n", bestPixman);
    std::printf("ratio: %.2f\n", best / bestPixman);
    return 0;
}
