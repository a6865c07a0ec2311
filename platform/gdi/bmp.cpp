// BMP decoding: every offset and size read from the file is checked against
// the buffer before use, in 64-bit arithmetic, so no header value can make it
// read outside the bytes it was given.
#include "platform/gdi/bmp.h"

#include <bit>
#include <climits>

namespace ziru::platform {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(U32(p));
}

bool KnownInfoHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// A mask is usable when its bits are one contiguous run inside the pixel.
bool MaskUsable(std::uint32_t mask, unsigned bits) {
    if (mask == 0) return true;
    if (bits < 32 && (mask >> bits) != 0) return false;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

bool MasksUsable(std::uint32_t r, std::uint32_t g, std::uint32_t b, unsigned bits) {
    if ((r | g | b) == 0) return false;
    if ((r & g) != 0 || (r & b) != 0 || (g & b) != 0) return false;
    return MaskUsable(r, bits) && MaskUsable(g, bits) && MaskUsable(b, bits);
}

}  // namespace

std::optional<BmpImage> DecodeBmp(std::span<const std::uint8_t> data) {
    const std::uint8_t* bytes = data.data();
    const std::uint64_t size = data.size();
    if (size < kFileHeaderSize + 4) return std::nullopt;
    if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const std::uint64_t offBits = U32(bytes + 10);
    const std::uint32_t headerSize = U32(bytes + 14);
    if (headerSize != kCoreHeaderSize && !KnownInfoHeaderSize(headerSize)) return std::nullopt;
    if (kFileHeaderSize + headerSize > size) return std::nullopt;
    const std::uint8_t* h = bytes + kFileHeaderSize;

    BmpImage image;
    std::int64_t height = 0;
    std::uint16_t planes = 0;
    DWORD compression = BI_RGB;
    std::uint32_t colorsUsed = 0;
    // Where the colour table (or, for deeper pictures, nothing) begins.
    std::uint64_t tableStart = kFileHeaderSize + headerSize;
    if (headerSize == kCoreHeaderSize) {
        image.width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        image.bitCount = U16(h + 10);
        if (image.bitCount != 1 && image.bitCount != 4 && image.bitCount != 8 &&
            image.bitCount != 24)
            return std::nullopt;
    } else {
        image.width = I32(h + 4);
        height = I32(h + 8);
        planes = U16(h + 12);
        image.bitCount = U16(h + 14);
        compression = U32(h + 16);
        colorsUsed = U32(h + 32);
    }
    if (planes != 1 || image.width <= 0) return std::nullopt;
    if (height == 0 || height == INT_MIN) return std::nullopt;
    image.topDown = height < 0;
    image.height = static_cast<std::int32_t>(height < 0 ? -height : height);

    const unsigned bits = image.bitCount;
    switch (bits) {
        case 1:
        case 4:
        case 8:
        case 24:
            if (compression != BI_RGB) return std::nullopt;
            break;
        case 16:
        case 32:
            if (compression != BI_RGB && compression != BI_BITFIELDS) return std::nullopt;
            break;
        default:
            return std::nullopt;
    }
    image.compression = compression;

    if (bits == 16 || bits == 32) {
        if (compression == BI_BITFIELDS) {
            // The 40-byte header keeps its masks just after it; the larger
            // headers carry them inside.
            const std::uint64_t maskAt = kFileHeaderSize + 40;
            if (maskAt + 12 > size) return std::nullopt;
            image.redMask = U32(bytes + maskAt);
            image.greenMask = U32(bytes + maskAt + 4);
            image.blueMask = U32(bytes + maskAt + 8);
            if (headerSize == 40) tableStart += 12;
            if (!MasksUsable(image.redMask, image.greenMask, image.blueMask, bits))
                return std::nullopt;
        } else if (bits == 16) {
            image.redMask = 0x7C00;
            image.greenMask = 0x03E0;
            image.blueMask = 0x001F;
        } else {
            image.redMask = 0x00FF0000;
            image.greenMask = 0x0000FF00;
            image.blueMask = 0x000000FF;
        }
    }

    std::uint64_t tableEnd = tableStart;
    if (bits <= 8) {
        const std::uint32_t full = 1u << bits;
        if (headerSize == kCoreHeaderSize) {
            // The core header has no count: the table runs up to the pixels,
            // at most a full table of 3-byte entries.
            std::uint64_t count = full;
            if (offBits >= tableStart && (offBits - tableStart) / 3 < count)
                count = (offBits - tableStart) / 3;
            tableEnd = tableStart + 3 * count;
            if (tableEnd > size) return std::nullopt;
            image.colors.resize(count);
            for (std::uint64_t i = 0; i < count; ++i) {
                const std::uint8_t* e = bytes + tableStart + 3 * i;
                image.colors[i] = RGBQUAD{e[0], e[1], e[2], 0};
            }
        } else {
            if (colorsUsed > full) return std::nullopt;
            const std::uint32_t count = colorsUsed == 0 ? full : colorsUsed;
            tableEnd = tableStart + 4ull * count;
            if (tableEnd > size) return std::nullopt;
            image.colors.resize(count);
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint8_t* e = bytes + tableStart + 4ull * i;
                image.colors[i] = RGBQUAD{e[0], e[1], e[2], e[3]};
            }
        }
    }
    // The pixels may follow gaps, never overlap the headers, masks or table.
    if (offBits < tableEnd || offBits > size) return std::nullopt;

    const std::uint64_t stride = (static_cast<std::uint64_t>(image.width) * bits + 31) / 32 * 4;
    const std::uint64_t total = stride * static_cast<std::uint64_t>(image.height);
    if (stride > INT32_MAX || total > INT32_MAX) return std::nullopt;
    if (total > size - offBits) return std::nullopt;
    image.stride = static_cast<std::uint32_t>(stride);
    image.rows = data.subspan(static_cast<std::size_t>(offBits), static_cast<std::size_t>(total));
    return image;
}

}  // namespace ziru::platform
