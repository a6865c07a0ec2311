// libFuzzer target for the bitmap loader: decode, build the DIB section,
// blit it into 32-, 16- and 8-bit pictures, and check that every object made
// is given back and that the decoded rows lie inside the input.
#include <cstdint>
#include <cstdlib>

#include "platform/win.h"

namespace p = ziru::platform;

namespace {

// A top-down DIB of BITS bits (8 bits: a 4-entry grey table).
p::HBITMAP Target(int width, int height, std::uint16_t bits) {
    struct {
        p::BITMAPINFOHEADER header;
        p::RGBQUAD colors[4];
    } info = {};
    info.header.biSize = sizeof(p::BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = bits;
    info.header.biClrUsed = bits == 8 ? 4 : 0;
    for (int i = 0; i < 4; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 85);
        info.colors[i] = p::RGBQUAD{level, level, level, 0};
    }
    void* pixels = nullptr;
    return p::CreateDIBSection(p::HDC(), reinterpret_cast<const p::BITMAPINFO*>(&info),
                               p::DIB_RGB_COLORS, &pixels, 0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t objectsBefore = p::detail::GdiObjectCount();
    const auto image = p::DecodeBmp({data, size});
    if (image) {
        if (image->rows.data() < data || image->rows.data() + image->rows.size() > data + size)
            std::abort();
        if (image->rows.size() != static_cast<std::size_t>(image->stride) * image->height)
            std::abort();
    }
    const p::HBITMAP bitmap = p::detail::LoadBitmapFromMemory(data, size);
    if (bool(bitmap) != image.has_value()) std::abort();
    if (bitmap) {
        p::BITMAP bm;
        if (p::GetObjectA(p::AsObject(bitmap), sizeof bm, &bm) != sizeof bm) std::abort();
        const p::HDC from = p::CreateCompatibleDC(p::HDC());
        const p::HDC to = p::CreateCompatibleDC(p::HDC());
        const p::HGDIOBJ oldFrom = p::SelectObject(from, p::AsObject(bitmap));
        for (std::uint16_t bits : {32, 16, 8}) {
            // Blit a window of the picture, offset so clipping is exercised.
            const p::HBITMAP target = Target(48, 40, bits);
            const p::HGDIOBJ oldTo = p::SelectObject(to, p::AsObject(target));
            p::BitBlt(to, -3, 2, 64, 64, from, bm.bmWidth > 8 ? 5 : 0, 0, p::SRCCOPY);
            p::SelectObject(to, oldTo);
            p::DeleteObject(p::AsObject(target));
        }
        p::SelectObject(from, oldFrom);
        p::DeleteDC(from);
        p::DeleteDC(to);
        if (!p::DeleteObject(p::AsObject(bitmap))) std::abort();
    }
    if (p::detail::GdiObjectCount() != objectsBefore) std::abort();
    return 0;
}
