// Decoding of cursor files: uncompressed DIB images of 1, 4, 8, 24 or 32
// bits with their AND mask; PNG images inside and anything malformed are
// refused.
#include "platform/core/cursorfile.h"

#include <cstddef>

namespace ziru::platform::detail {

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 256;

class Reader {
  public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint32_t U16(std::size_t at) const { return bytes_[at] | (bytes_[at + 1] << 8); }
    std::uint32_t U32(std::size_t at) const {
        return U16(at) | (static_cast<std::uint32_t>(U16(at + 2)) << 16);
    }
    std::uint8_t U8(std::size_t at) const { return bytes_[at]; }

  private:
    const std::vector<std::uint8_t>& bytes_;
};

std::size_t Stride(int width, int bits) {
    return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
}

// The colour of pixel X of the row at ROW (no alpha).
std::uint32_t ColourAt(const Reader& r, std::size_t row, int x, int bits, std::size_t palette,
                       std::size_t colours) {
    if (bits == 32) {
        const std::size_t at = row + static_cast<std::size_t>(x) * 4;
        return r.U32(at);
    }
    if (bits == 24) {
        const std::size_t at = row + static_cast<std::size_t>(x) * 3;
        return r.U8(at) | (r.U8(at + 1) << 8) | (r.U8(at + 2) << 16);
    }
    const std::size_t bit = static_cast<std::size_t>(x) * bits;
    const std::uint8_t byte = r.U8(row + bit / 8);
    const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
    const std::size_t index = (byte >> shift) & ((1u << bits) - 1);
    if (index >= colours) return 0;
    return r.U32(palette + index * 4) & 0xFFFFFFu;
}

}  // namespace

std::optional<CursorImage> DecodeCursorFile(const std::vector<std::uint8_t>& bytes) {
    const Reader r(bytes);
    if (!r.Has(0, kDirectorySize + kEntrySize)) return std::nullopt;
    const std::uint32_t type = r.U16(2);
    if (r.U16(0) != 0 || (type != 1 && type != 2) || r.U16(4) == 0) return std::nullopt;

    const std::size_t entry = kDirectorySize;
    CursorImage image;
    image.hotX = type == 2 ? static_cast<int>(r.U16(entry + 4)) : 0;
    image.hotY = type == 2 ? static_cast<int>(r.U16(entry + 6)) : 0;
    const std::size_t offset = r.U32(entry + 12);
    if (!r.Has(offset, kInfoHeaderSize)) return std::nullopt;

    const std::size_t headerSize = r.U32(offset);
    const auto width = static_cast<std::int32_t>(r.U32(offset + 4));
    const auto doubledHeight = static_cast<std::int32_t>(r.U32(offset + 8));
    const int bits = static_cast<int>(r.U16(offset + 14));
    const std::uint32_t compression = r.U32(offset + 16);
    std::size_t colours = r.U32(offset + 32);
    if (headerSize < kInfoHeaderSize || compression != 0) return std::nullopt;
    if (width <= 0 || width > kMaxSide || doubledHeight <= 0 || doubledHeight > 2 * kMaxSide ||
        doubledHeight % 2 != 0) {
        return std::nullopt;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = std::size_t{1} << bits;
    if (bits > 8) colours = 0;

    const int height = doubledHeight / 2;
    if (image.hotX >= width || image.hotY >= height) return std::nullopt;
    const std::size_t palette = offset + headerSize;
    const std::size_t colourRows = palette + colours * 4;
    const std::size_t colourStride = Stride(width, bits);
    const std::size_t maskRows = colourRows + colourStride * static_cast<std::size_t>(height);
    const std::size_t maskStride = Stride(width, 1);
    if (!r.Has(palette, colours * 4) || !r.Has(colourRows, colourStride * height) ||
        !r.Has(maskRows, maskStride * height)) {
        return std::nullopt;
    }

    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        const std::size_t row =
            colourRows + colourStride * static_cast<std::size_t>(height - 1 - y);
        const std::size_t mask = maskRows + maskStride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour = ColourAt(r, row, x, bits, palette, colours);
            const bool transparent = (r.U8(mask + x / 8) >> (7 - x % 8)) & 1;
            if (bits == 32) {
                anyAlpha = anyAlpha || (colour >> 24) != 0;
            } else {
                colour = (colour & 0xFFFFFFu) | (transparent ? 0u : 0xFF000000u);
            }
            if (bits == 32 && transparent && (colour >> 24) == 0) colour = 0;
            image.pixels[static_cast<std::size_t>(y) * width + x] = colour;
        }
    }
    // A 32-bit image without alpha values relies on its mask alone.
    if (bits == 32 && !anyAlpha) {
        for (int y = 0; y < height; ++y) {
            const std::size_t mask =
                maskRows + maskStride * static_cast<std::size_t>(height - 1 - y);
            for (int x = 0; x < width; ++x) {
                const bool transparent = (r.U8(mask + x / 8) >> (7 - x % 8)) & 1;
                std::uint32_t& p = image.pixels[static_cast<std::size_t>(y) * width + x];
                p = (p & 0xFFFFFFu) | (transparent ? 0u : 0xFF000000u);
            }
        }
    }
    return image;
}

}  // namespace ziru::platform::detail
