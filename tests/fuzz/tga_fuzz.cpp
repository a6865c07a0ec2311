// libFuzzer target for the TGA reader: each input is written to one temp
// file and loaded. Message boxes are answered silently. Inputs whose header
// asks for an image of 4 GB or more (or an uncompressed one of 2 GB or more)
// end the process with a run-time error by design, so they are skipped.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win.h"
#include "texture/tga_reader.h"

namespace tex = ziru::texture;

namespace {

std::string TempPath() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir != nullptr ? dir : "/tmp") + "/tga_fuzz_XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0) std::abort();
    close(fd);
    return path;
}

// True when the reader would stop the program on purpose for this header.
bool EndsWithRunError(const std::uint8_t* data, std::size_t size) {
    if (size < 18) return false;
    static const std::uint8_t kUncompressed[12] = {0, 0, 2};
    static const std::uint8_t kCompressed[12] = {0, 0, 10};
    bool raw = std::memcmp(data, kUncompressed, 12) == 0;
    if (!raw && std::memcmp(data, kCompressed, 12) != 0) return false;
    std::uint64_t width = data[12] | data[13] << 8;
    std::uint64_t height = data[14] | data[15] << 8;
    std::uint64_t bpp = data[16];
    if (width == 0 || height == 0 || (bpp != 24 && bpp != 32)) return false;
    std::uint64_t bytes = width * height * (bpp / 8);
    return bytes > 0xFFFFFFFFu || (raw && bytes > 0x7FFFFFFFu);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = TempPath();
    static bool silenced = [] {
        ziru::platform::SetMessageBoxResponder(
            [](const ziru::platform::MessageBoxCall&) { return 1; });
        return true;
    }();
    (void)silenced;
    if (EndsWithRunError(data, size)) return -1;

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
    std::fclose(out);

    tex::TGATEXTURE texture;
    if (tex::LOADTGA(texture, path)) {
        // Touch every byte of the image so that a short buffer shows.
        std::size_t bytes = std::size_t{texture.WIDTH} * texture.HEIGHT * (texture.BPP / 8);
        unsigned sum = 0;
        for (std::size_t i = 0; i < bytes; ++i) sum += texture.IMAGEDATA[i];
        std::free(texture.IMAGEDATA);
        if (sum == 0xFFFFFFFFu) std::abort();
    }
    // The file is closed exactly once on every path.
    if (tex::FTGA.HANDLE != -1) std::abort();
    return 0;
}
