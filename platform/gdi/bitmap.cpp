// Bitmaps: the bitmap loader, DIB sections, colour tables and BitBlt with
// its format conversion. A blit goes row by row through one intermediate
// form, 0x00RRGGBB per pixel, so every source format meets every
// destination format; identical formats are copied as bytes.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/gdi/objects.h"

namespace ziru::platform {

namespace detail {

namespace {

WindowSurfaceProvider& SurfaceProvider() {
    static WindowSurfaceProvider provider;
    return provider;
}

void DefaultMasks(BitmapObject& bitmap) {
    if (bitmap.bitCount == 16) {
        bitmap.redMask = 0x7C00;
        bitmap.greenMask = 0x03E0;
        bitmap.blueMask = 0x001F;
    } else if (bitmap.bitCount == 32) {
        bitmap.redMask = 0x00FF0000;
        bitmap.greenMask = 0x0000FF00;
        bitmap.blueMask = 0x000000FF;
    }
}

// Pixel memory of BYTES bytes, zeroed; null when it cannot be had.
std::uint8_t* AllocatePixels(std::uint64_t bytes) {
    if (bytes == 0 || bytes > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return nullptr;
    return static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(bytes), 1));
}

// ===== Pixel views =========================================================

struct Channel {
    unsigned shift = 0;
    unsigned width = 0;
};

Channel ChannelOf(DWORD mask) {
    if (mask == 0) return {};
    const unsigned shift = static_cast<unsigned>(__builtin_ctz(mask));
    return {shift, static_cast<unsigned>(__builtin_popcount(mask))};
}

std::uint32_t Expand(std::uint32_t value, Channel c) {
    if (c.width == 0) return 0;
    value = (value >> c.shift) & ((c.width >= 32) ? 0xFFFFFFFFu : ((1u << c.width) - 1));
    if (c.width >= 8) return value >> (c.width - 8);
    const std::uint32_t max = (1u << c.width) - 1;
    return (value * 255 + max / 2) / max;
}

std::uint32_t Compress(std::uint32_t value8, Channel c) {
    if (c.width == 0) return 0;
    if (c.width >= 8) return value8 << (c.width - 8) << c.shift;
    const std::uint32_t max = (1u << c.width) - 1;
    return ((value8 * max + 127) / 255) << c.shift;
}

// One picture as a blit sees it: a bitmap's pixels or a window's surface.
struct PixelView {
    std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t stride = 0;
    bool topDown = true;
    unsigned bitCount = 32;
    Channel red{16, 8}, green{8, 8}, blue{0, 8};
    DWORD masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    const std::vector<RGBQUAD>* colors = nullptr;
    const PaletteObject* palette = nullptr;

    std::uint8_t* Row(std::int32_t y) const {
        const std::int32_t stored = topDown ? y : height - 1 - y;
        return bits + static_cast<std::size_t>(stored) * stride;
    }
    bool SameFormat(const PixelView& other) const {
        return bitCount == other.bitCount && bitCount > 8 && masks[0] == other.masks[0] &&
               masks[1] == other.masks[1] && masks[2] == other.masks[2];
    }
};

PixelView ViewOf(BitmapObject& bitmap, const PaletteObject* palette) {
    PixelView view;
    view.bits = bitmap.bits.get();
    view.width = bitmap.width;
    view.height = bitmap.height;
    view.stride = bitmap.stride;
    view.topDown = bitmap.topDown;
    view.bitCount = bitmap.bitCount;
    view.masks[0] = bitmap.redMask;
    view.masks[1] = bitmap.greenMask;
    view.masks[2] = bitmap.blueMask;
    view.red = ChannelOf(bitmap.redMask);
    view.green = ChannelOf(bitmap.greenMask);
    view.blue = ChannelOf(bitmap.blueMask);
    view.colors = &bitmap.colors;
    view.palette = palette;
    return view;
}

// The colour of every index: the colour table first, then the context's
// palette for indexes past its end, black beyond both.
std::vector<std::uint32_t> IndexColours(const PixelView& view) {
    std::vector<std::uint32_t> lut(std::size_t{1} << view.bitCount, 0);
    for (std::size_t i = 0; i < lut.size(); ++i) {
        if (view.colors && i < view.colors->size()) {
            const RGBQUAD& q = (*view.colors)[i];
            lut[i] = (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
        } else if (view.palette && i < view.palette->entries.size()) {
            const PALETTEENTRY& e = view.palette->entries[i];
            lut[i] = (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
        }
    }
    return lut;
}

void DecodeRow(const PixelView& v, std::int32_t y, std::int32_t x0, std::int32_t count,
               const std::vector<std::uint32_t>& lut, std::uint32_t* out) {
    const std::uint8_t* row = v.Row(y);
    switch (v.bitCount) {
        case 1:
        case 4:
        case 8: {
            const unsigned bits = v.bitCount;
            const unsigned perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (std::int32_t i = 0; i < count; ++i) {
                const std::uint32_t x = static_cast<std::uint32_t>(x0 + i);
                const unsigned shift = 8 - bits * (x % perByte + 1);
                out[i] = lut[(row[x / perByte] >> shift) & mask];
            }
            break;
        }
        case 16:
            for (std::int32_t i = 0; i < count; ++i) {
                const std::uint8_t* p = row + 2 * static_cast<std::size_t>(x0 + i);
                const std::uint32_t value = p[0] | (p[1] << 8);
                out[i] = (Expand(value, v.red) << 16) | (Expand(value, v.green) << 8) |
                         Expand(value, v.blue);
            }
            break;
        case 24:
            for (std::int32_t i = 0; i < count; ++i) {
                const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x0 + i);
                out[i] = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            }
            break;
        case 32: {
            const bool plain =
                v.masks[0] == 0x00FF0000 && v.masks[1] == 0x0000FF00 && v.masks[2] == 0x000000FF;
            for (std::int32_t i = 0; i < count; ++i) {
                std::uint32_t value;
                std::memcpy(&value, row + 4 * static_cast<std::size_t>(x0 + i), 4);
                out[i] = plain ? (value & 0x00FFFFFF)
                               : (Expand(value, v.red) << 16) | (Expand(value, v.green) << 8) |
                                     Expand(value, v.blue);
            }
            break;
        }
    }
}

// The index of the table colour nearest to RGB (squared distance).
unsigned NearestIndex(const std::vector<std::uint32_t>& lut, std::size_t used, std::uint32_t rgb) {
    unsigned best = 0;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < used; ++i) {
        const std::int64_t dr =
            static_cast<std::int64_t>((lut[i] >> 16) & 0xFF) - ((rgb >> 16) & 0xFF);
        const std::int64_t dg =
            static_cast<std::int64_t>((lut[i] >> 8) & 0xFF) - ((rgb >> 8) & 0xFF);
        const std::int64_t db = static_cast<std::int64_t>(lut[i] & 0xFF) - (rgb & 0xFF);
        const std::int64_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<unsigned>(i);
            if (distance == 0) break;
        }
    }
    return best;
}

void EncodeRow(const PixelView& v, std::int32_t y, std::int32_t x0, std::int32_t count,
               const std::vector<std::uint32_t>& lut, const std::uint32_t* in) {
    std::uint8_t* row = v.Row(y);
    switch (v.bitCount) {
        case 1:
        case 4:
        case 8: {
            const unsigned bits = v.bitCount;
            const unsigned perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            // Only the entries the table has are candidates.
            const std::size_t used = v.colors && !v.colors->empty()
                                         ? std::min(lut.size(), v.colors->size())
                                         : lut.size();
            std::uint32_t lastColour = 0xFFFFFFFF;
            unsigned lastIndex = 0;
            for (std::int32_t i = 0; i < count; ++i) {
                if (in[i] != lastColour) {
                    lastColour = in[i];
                    lastIndex = NearestIndex(lut, used, in[i]);
                }
                const std::uint32_t x = static_cast<std::uint32_t>(x0 + i);
                const unsigned shift = 8 - bits * (x % perByte + 1);
                std::uint8_t& byte = row[x / perByte];
                byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | (lastIndex << shift));
            }
            break;
        }
        case 16:
            for (std::int32_t i = 0; i < count; ++i) {
                const std::uint32_t c = in[i];
                const std::uint32_t value = Compress((c >> 16) & 0xFF, v.red) |
                                            Compress((c >> 8) & 0xFF, v.green) |
                                            Compress(c & 0xFF, v.blue);
                std::uint8_t* p = row + 2 * static_cast<std::size_t>(x0 + i);
                p[0] = static_cast<std::uint8_t>(value);
                p[1] = static_cast<std::uint8_t>(value >> 8);
            }
            break;
        case 24:
            for (std::int32_t i = 0; i < count; ++i) {
                std::uint8_t* p = row + 3 * static_cast<std::size_t>(x0 + i);
                p[0] = static_cast<std::uint8_t>(in[i]);
                p[1] = static_cast<std::uint8_t>(in[i] >> 8);
                p[2] = static_cast<std::uint8_t>(in[i] >> 16);
            }
            break;
        case 32: {
            const bool plain =
                v.masks[0] == 0x00FF0000 && v.masks[1] == 0x0000FF00 && v.masks[2] == 0x000000FF;
            for (std::int32_t i = 0; i < count; ++i) {
                const std::uint32_t c = in[i];
                const std::uint32_t value = plain ? c
                                                  : Compress((c >> 16) & 0xFF, v.red) |
                                                        Compress((c >> 8) & 0xFF, v.green) |
                                                        Compress(c & 0xFF, v.blue);
                std::memcpy(row + 4 * static_cast<std::size_t>(x0 + i), &value, 4);
            }
            break;
        }
    }
}

// The destination of a blit: a memory context's bitmap, or a window's
// surface through the window manager's provider.
bool DestinationView(HDC dc, PixelView* view) {
    DeviceContext* context = FindDC(dc);
    if (!context) return false;
    if (context->kind == DcKind::Memory) {
        BitmapObject* bitmap = SelectedBitmap(dc);
        if (!bitmap || !bitmap->bits) return false;
        *view = ViewOf(*bitmap, SelectedPalette(dc));
        return true;
    }
    if (context->kind == DcKind::Window && SurfaceProvider()) {
        WindowSurface surface;
        if (!SurfaceProvider()(context->window, &surface) || !surface.pixels) return false;
        if (surface.width < 0 || surface.height < 0 || surface.stride < surface.width * 4)
            return false;
        view->bits = surface.pixels;
        view->width = surface.width;
        view->height = surface.height;
        view->stride = static_cast<std::size_t>(surface.stride);
        view->topDown = true;
        return true;
    }
    return false;
}

// A DIB section holding a copy of IMAGE's rows and colour table.
HBITMAP BitmapFromImage(const BmpImage& image) {
    BitmapObject bitmap;
    bitmap.width = image.width;
    bitmap.height = image.height;
    bitmap.topDown = image.topDown;
    bitmap.bitCount = image.bitCount;
    bitmap.stride = image.stride;
    bitmap.redMask = image.redMask;
    bitmap.greenMask = image.greenMask;
    bitmap.blueMask = image.blueMask;
    bitmap.colors = image.colors;
    bitmap.bits.reset(AllocatePixels(image.rows.size()));
    if (!bitmap.bits) return HBITMAP();
    std::memcpy(bitmap.bits.get(), image.rows.data(), image.rows.size());
    return HBITMAP(AddObject(std::move(bitmap)));
}

// The file's bytes, left uninitialised until read (a picture file can be
// tens of megabytes); false for anything but a readable regular file.
bool ReadWholeFile(const char* name, std::unique_ptr<std::uint8_t[], FreeDeleter>* bytes,
                   std::size_t* size) {
    std::FILE* file = std::fopen(name, "rb");
    if (!file) return false;
    // Only regular files: a directory opens too, but has no bytes to read.
    struct stat info;
    bool ok = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        *size = static_cast<std::size_t>(info.st_size);
        bytes->reset(static_cast<std::uint8_t*>(std::malloc(*size ? *size : 1)));
        ok = *bytes && std::fread(bytes->get(), 1, *size, file) == *size;
    }
    std::fclose(file);
    return ok;
}

}  // namespace

void SetWindowSurfaceProvider(WindowSurfaceProvider provider) {
    SurfaceProvider() = std::move(provider);
}

HBITMAP LoadBitmapFromMemory(const std::uint8_t* data, std::size_t size) {
    if (!data) return HBITMAP();
    const std::optional<BmpImage> image = DecodeBmp({data, size});
    return image ? BitmapFromImage(*image) : HBITMAP();
}

}  // namespace detail

using namespace detail;

HBITMAP LoadImageA(HINSTANCE, const char* name, UINT type, int cx, int cy, UINT flags) {
    if (type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || !name || !*name) return HBITMAP();
    std::unique_ptr<std::uint8_t[], FreeDeleter> bytes;
    std::size_t size = 0;
    if (!ReadWholeFile(name, &bytes, &size)) return HBITMAP();
    const std::optional<BmpImage> image = DecodeBmp({bytes.get(), size});
    if (!image) return HBITMAP();
    if ((cx != 0 && cx != image->width) || (cy != 0 && cy != image->height)) return HBITMAP();
    return BitmapFromImage(*image);
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || section != 0 || offset != 0) return HBITMAP();
    if (dc && !FindDC(dc)) return HBITMAP();
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1) return HBITMAP();
    if (header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == std::numeric_limits<LONG>::min())
        return HBITMAP();
    const unsigned bitCount = header.biBitCount;
    const bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    const bool deep = bitCount == 16 || bitCount == 24 || bitCount == 32;
    if (!indexed && !deep) return HBITMAP();
    if (header.biCompression == BI_BITFIELDS) {
        if (bitCount != 16 && bitCount != 32) return HBITMAP();
    } else if (header.biCompression != BI_RGB) {
        return HBITMAP();
    }
    if (ShouldFail(GdiFault::CreateDIBSection)) return HBITMAP();

    BitmapObject bitmap;
    bitmap.width = header.biWidth;
    bitmap.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    bitmap.topDown = header.biHeight < 0;
    bitmap.bitCount = static_cast<std::uint16_t>(bitCount);
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(bitmap.width) * bitCount + 31) / 32 * 4;
    if (stride > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return HBITMAP();
    bitmap.stride = static_cast<std::uint32_t>(stride);
    // The colour table and the masks follow the header in INFO's memory.
    const auto* after = reinterpret_cast<const std::uint8_t*>(info) + header.biSize;
    if (header.biCompression == BI_BITFIELDS) {
        DWORD masks[3];
        std::memcpy(masks, after, sizeof masks);
        bitmap.redMask = masks[0];
        bitmap.greenMask = masks[1];
        bitmap.blueMask = masks[2];
        if ((masks[0] | masks[1] | masks[2]) == 0) return HBITMAP();
    } else {
        DefaultMasks(bitmap);
    }
    if (indexed) {
        const std::uint32_t full = 1u << bitCount;
        if (header.biClrUsed > full) return HBITMAP();
        const std::uint32_t count = header.biClrUsed ? header.biClrUsed : full;
        bitmap.colors.resize(count);
        std::memcpy(bitmap.colors.data(), after, count * sizeof(RGBQUAD));
    }
    bitmap.bits.reset(AllocatePixels(stride * static_cast<std::uint64_t>(bitmap.height)));
    if (!bitmap.bits) return HBITMAP();
    void* pixels = bitmap.bits.get();
    const HBITMAP handle(AddObject(std::move(bitmap)));
    if (bits) *bits = pixels;
    return handle;
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
    const DeviceContext* context = FindDC(dc);
    if (!context || context->kind != DcKind::Memory || !colors) return 0;
    const BitmapObject* bitmap = FindBitmap(context->bitmap);
    if (!bitmap || start >= bitmap->colors.size()) return 0;
    const UINT copied = std::min<UINT>(count, static_cast<UINT>(bitmap->colors.size() - start));
    std::copy_n(bitmap->colors.begin() + start, copied, colors);
    return copied;
}

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
    if (rop != SRCCOPY || cx < 0 || cy < 0) return FALSE;
    PixelView to;
    if (!DestinationView(dst, &to)) return FALSE;
    const DeviceContext* source = FindDC(src);
    if (!source || source->kind != DcKind::Memory) return FALSE;
    BitmapObject* bitmap = SelectedBitmap(src);
    if (!bitmap || !bitmap->bits) return FALSE;
    const PixelView from = ViewOf(*bitmap, SelectedPalette(src));

    // Clip the copy to both pictures, in 64 bits so no offset can wrap.
    const std::int64_t left = std::max<std::int64_t>({0, -std::int64_t{x}, -std::int64_t{x1}});
    const std::int64_t top = std::max<std::int64_t>({0, -std::int64_t{y}, -std::int64_t{y1}});
    const std::int64_t right =
        std::min<std::int64_t>({cx, std::int64_t{to.width} - x, std::int64_t{from.width} - x1});
    const std::int64_t bottom =
        std::min<std::int64_t>({cy, std::int64_t{to.height} - y, std::int64_t{from.height} - y1});
    if (left >= right || top >= bottom) return TRUE;
    const auto count = static_cast<std::int32_t>(right - left);
    const auto sx = static_cast<std::int32_t>(x1 + left);
    const auto dx = static_cast<std::int32_t>(x + left);

    if (from.SameFormat(to)) {
        const std::size_t bytesPerPixel = from.bitCount / 8;
        for (std::int64_t row = top; row < bottom; ++row) {
            std::memmove(to.Row(static_cast<std::int32_t>(y + row)) + dx * bytesPerPixel,
                         from.Row(static_cast<std::int32_t>(y1 + row)) + sx * bytesPerPixel,
                         count * bytesPerPixel);
        }
        return TRUE;
    }
    const std::vector<std::uint32_t> fromLut =
        from.bitCount <= 8 ? IndexColours(from) : std::vector<std::uint32_t>();
    const std::vector<std::uint32_t> toLut =
        to.bitCount <= 8 ? IndexColours(to) : std::vector<std::uint32_t>();
    std::vector<std::uint32_t> line(static_cast<std::size_t>(count));
    for (std::int64_t row = top; row < bottom; ++row) {
        DecodeRow(from, static_cast<std::int32_t>(y1 + row), sx, count, fromLut, line.data());
        EncodeRow(to, static_cast<std::int32_t>(y + row), dx, count, toLut, line.data());
    }
    return TRUE;
}

}  // namespace ziru::platform
