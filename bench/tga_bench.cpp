// Decoding speed of the TGA reader against stb_image: 4096 x 4096 images,
// 24 and 32 bits, uncompressed and run-length (flat and noisy spans mixed),
// written to a temp folder, each decoded by both readers in turn. Prints the
// median output MB/s of each and the ratio ours / stb.
//
// Usage: tga_bench [runs]   (default 7)
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include "platform/win.h"
#include "support/tga_rle.h"
#include "texture/tga_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kSize = 4096;

// Pixels in spans of 1 to 400: half flat colour, half noise.
Bytes MakePixels(int bpp, std::uint32_t seed) {
    std::mt19937 random(seed);
    const std::size_t count = std::size_t{kSize} * kSize;
    Bytes pixels(count * bpp);
    for (std::size_t i = 0; i < count;) {
        const std::size_t span = 1 + random() % 400;
        const bool flat = random() % 2 == 0;
        const std::uint32_t colour = random();
        for (std::size_t k = 0; k < span && i < count; ++k, ++i) {
            const std::uint32_t v = flat ? colour : static_cast<std::uint32_t>(random());
            std::memcpy(&pixels[i * bpp], &v, bpp);
        }
    }
    return pixels;
}

std::string WriteTga(const std::string& dir, const char* name, bool rle, int bits) {
    const int bpp = bits / 8;
    Bytes pixels = MakePixels(bpp, 1234 + bits);
    // Origin at the upper left, so that stb_image does not flip the rows
    // (our reader never does): both do the same work.
    Bytes file = {0,
                  0,
                  static_cast<std::uint8_t>(rle ? 10 : 2),
                  0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  kSize & 255,
                  kSize >> 8,
                  kSize & 255,
                  kSize >> 8,
                  static_cast<std::uint8_t>(bits),
                  0x20};
    const Bytes body = rle ? ziru::test::EncodeTgaRle(pixels, bpp) : pixels;
    file.insert(file.end(), body.begin(), body.end());
    const std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(file.data(), 1, file.size(), f) != file.size()) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fclose(f);
    return path;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    ziru::platform::SetMessageBoxResponder([](const ziru::platform::MessageBoxCall& call) {
        std::fprintf(stderr, "%s: %s\n", call.caption.c_str(), call.text.c_str());
        return 1;
    });
    const char* tmp = std::getenv("TMPDIR");
    std::string dirPattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/tga_bench_XXXXXX";
    std::vector<char> dirBuffer(dirPattern.begin(), dirPattern.end());
    dirBuffer.push_back('\0');
    if (mkdtemp(dirBuffer.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = dirBuffer.data();

    struct Case {
        const char* name;
        bool rle;
        int bits;
    } cases[] = {{"raw24.tga", false, 24},
                 {"raw32.tga", false, 32},
                 {"rle24.tga", true, 24},
                 {"rle32.tga", true, 32}};
    std::printf("%-10s %12s %12s %8s   (median of %d, output MB/s)\n", "file", "ours", "stb",
                "ratio", runs);
    for (const Case& c : cases) {
        const std::string path = WriteTga(dir, c.name, c.rle, c.bits);
        const double megabytes = double(kSize) * kSize * (c.bits / 8) / 1e6;
        std::vector<double> ours, stb;
        for (int run = 0; run < runs; ++run) {
            auto start = std::chrono::steady_clock::now();
            ziru::texture::TGATEXTURE texture;
            if (!ziru::texture::LOADTGA(texture, path)) return 1;
            std::free(texture.IMAGEDATA);
            ours.push_back(megabytes / Seconds(start));

            start = std::chrono::steady_clock::now();
            int w, h, n;
            stbi_uc* pixels = stbi_load(path.c_str(), &w, &h, &n, 0);
            if (pixels == nullptr) return 1;
            stbi_image_free(pixels);
            stb.push_back(megabytes / Seconds(start));
        }
        const double a = Median(ours), b = Median(stb);
        std::printf("%-10s %12.0f %12.0f %7.2fx\n", c.name, a, b, a / b);
        std::remove(path.c_str());
    }
    rmdir(dir.c_str());
    return 0;
}
