// libFuzzer target for the BMP depth probe: each input is written to one
// temp file and probed; the answer must be 0 or the file's bit count.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "texture/bmp_texture.h"

namespace {

std::string TempPath() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir != nullptr ? dir : "/tmp") + "/bmp_depth_fuzz_XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0) std::abort();
    close(fd);
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = TempPath();
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
    std::fclose(out);

    std::int32_t depth = ziru::texture::GETBMPDEPTH(path.c_str());
    std::int32_t expected = 0;
    if (size >= 54 && data[0] == 'B' && data[1] == 'M') {
        std::uint32_t infoSize;
        std::memcpy(&infoSize, data + 14, 4);
        if (infoSize != 12) expected = data[28] | data[29] << 8;
    }
    if (depth != expected) std::abort();
    return 0;
}
