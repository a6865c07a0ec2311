// BMP decoding: file bytes to a description, the pixel rows exactly as the
// file stores them and the colour table. No GDI state, so the fuzzer and the
// tests call it directly; LoadImageA builds its DIB section from the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/types.h"

namespace ziru::platform {

struct BmpImage {
    std::int32_t width = 0;   // > 0
    std::int32_t height = 0;  // > 0: the number of rows
    bool topDown = false;     // the first stored row is the top row
    std::uint16_t bitCount = 0;
    // BI_RGB or BI_BITFIELDS; for 16 and 32 bits the masks in effect either
    // way (BI_RGB: 5-5-5 and 8-8-8).
    DWORD compression = BI_RGB;
    DWORD redMask = 0, greenMask = 0, blueMask = 0;
    // Bytes per stored row: width x bits rounded up to 4 bytes.
    std::uint32_t stride = 0;
    // 1, 4 and 8 bits: the file's colour table (the 3-byte entries of the
    // core header widened, reserved 0).
    std::vector<RGBQUAD> colors;
    // stride x height bytes inside the decoded buffer, in file order.
    std::span<const std::uint8_t> rows;
};

// Headers of 12 (core), 40, 52, 56, 108 and 124 bytes; 1, 4, 8, 16, 24 and
// 32 bits; BI_RGB, and BI_BITFIELDS for 16 and 32 bits; bottom-up and
// top-down rows. Empty for anything malformed or unsupported (RLE among
// them): bad magic, truncated headers, table or pixels, a pixel offset
// inside the headers or past the end, zero or negative width, zero height or
// INT_MIN, planes other than 1, overlapping or broken masks, row sizes that
// overflow. Never reads outside DATA.
std::optional<BmpImage> DecodeBmp(std::span<const std::uint8_t> data);

}  // namespace ziru::platform
