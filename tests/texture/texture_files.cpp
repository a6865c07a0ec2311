// Small image files for the texture tests.
#include "texture/texture_files.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>

namespace ziru::test {

Bytes TgaHeader(std::uint8_t type, std::uint32_t width, std::uint32_t height, std::uint8_t bpp,
                std::uint8_t descriptor) {
    Bytes h(18, 0);
    h[2] = type;
    h[12] = width & 0xFF;
    h[13] = (width >> 8) & 0xFF;
    h[14] = height & 0xFF;
    h[15] = (height >> 8) & 0xFF;
    h[16] = bpp;
    h[17] = descriptor;
    return h;
}

namespace {

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

}  // namespace

Bytes Bmp(std::int32_t width, std::int32_t height, std::uint16_t bits,
          std::uint32_t (*pixel)(int x, int y)) {
    const std::uint32_t stride = ((width * bits + 31) / 32) * 4;
    const std::uint32_t colours = bits <= 8 ? (1u << bits) : 0;
    const std::uint32_t offset = 54 + colours * 4;
    Bytes b(offset + stride * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, 40);
    Put32(b, 18, width);
    Put32(b, 22, height);
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    for (std::uint32_t i = 0; i < colours; ++i) Put32(b, 54 + i * 4, i * 0x010101u);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = pixel(x, y);
            std::size_t at = offset + y * stride;
            if (bits == 24 || bits == 32) {
                at += x * (bits / 8);
                for (int c = 0; c < bits / 8; ++c) b[at + c] = (p >> (8 * c)) & 0xFF;
            } else if (bits == 8) {
                b[at + x] = p & 0xFF;
            }
        }
    }
    return b;
}

std::string WriteTemp(const Bytes& bytes, const std::string& suffix) {
    static int counter = 0;
    std::string path = testing::TempDir() + "ziru_texture_" + std::to_string(getpid()) + "_" +
                       std::to_string(counter++) + suffix;
    FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (f == nullptr) return path;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

BoxRecorder::BoxRecorder() {
    platform::SetMessageBoxResponder([this](const platform::MessageBoxCall& call) {
        calls.push_back(call);
        return 1;
    });
}

BoxRecorder::~BoxRecorder() {
    platform::SetMessageBoxResponder({});
}

int OpenFileCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

}  // namespace ziru::test
