// Builds small BMP files byte by byte for the loader's and the buttons'
// tests: any header size, depth, compression, orientation and colour table,
// with fields that tests then break on purpose.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace ziru::test {

struct BmpLayout {
    std::int32_t width = 1;
    std::int32_t height = 1;  // negative: top-down
    std::uint16_t bits = 24;
    std::uint32_t compression = platform::BI_RGB;
    std::uint32_t headerSize = 40;
    std::uint32_t colorsUsed = 0;
    std::vector<platform::RGBQUAD> colors;  // written as given
    std::uint32_t masks[3] = {0, 0, 0};     // written for BI_BITFIELDS
    // Stored rows, each padded to 4 bytes, in file order.
    std::vector<std::uint8_t> rows;
};

inline std::uint32_t Stride(std::int32_t width, unsigned bits) {
    return (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
}

inline void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The whole file. Colour-table entries are 3 bytes under the 12-byte header.
inline std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout) {
    const bool core = layout.headerSize == 12;
    const std::size_t maskBytes =
        (layout.compression == platform::BI_BITFIELDS && layout.headerSize == 40) ? 12 : 0;
    const std::size_t entry = core ? 3 : 4;
    const std::size_t offBits = 14 + layout.headerSize + maskBytes + entry * layout.colors.size();
    std::vector<std::uint8_t> out(offBits + layout.rows.size(), 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(out.size()));
    Put32(out, 10, static_cast<std::uint32_t>(offBits));
    Put32(out, 14, layout.headerSize);
    if (core) {
        Put16(out, 18, static_cast<std::uint32_t>(layout.width));
        Put16(out, 20, static_cast<std::uint32_t>(layout.height));
        Put16(out, 22, 1);
        Put16(out, 24, layout.bits);
    } else {
        Put32(out, 18, static_cast<std::uint32_t>(layout.width));
        Put32(out, 22, static_cast<std::uint32_t>(layout.height));
        Put16(out, 26, 1);
        Put16(out, 28, layout.bits);
        Put32(out, 30, layout.compression);
        Put32(out, 34, static_cast<std::uint32_t>(layout.rows.size()));
        Put32(out, 46, layout.colorsUsed);
        if (layout.compression == platform::BI_BITFIELDS) {
            for (int i = 0; i < 3; ++i) Put32(out, 54 + 4 * i, layout.masks[i]);
        }
    }
    std::size_t at = 14 + layout.headerSize + maskBytes;
    for (const platform::RGBQUAD& q : layout.colors) {
        out[at] = q.rgbBlue;
        out[at + 1] = q.rgbGreen;
        out[at + 2] = q.rgbRed;
        if (!core) out[at + 3] = q.rgbReserved;
        at += entry;
    }
    std::memcpy(out.data() + offBits, layout.rows.data(), layout.rows.size());
    return out;
}

// A 24-bit bottom-up picture whose pixel (x, y), y = 0 the top row, has the
// colour RGB(x, y) given as 0xRRGGBB.
inline std::vector<std::uint8_t> MakeBmp24(std::int32_t width, std::int32_t height,
                                           const std::function<std::uint32_t(int, int)>& rgb) {
    BmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bits = 24;
    const std::uint32_t stride = Stride(width, 24);
    layout.rows.assign(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = layout.rows.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgb(x, y);
            row[3 * x] = static_cast<std::uint8_t>(c);
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    return MakeBmp(layout);
}

inline bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace ziru::test
