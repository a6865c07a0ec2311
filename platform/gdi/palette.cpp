// Palettes: logical palettes, the half-tone palette and their selection into
// contexts. Every context draws in 32 bits, so realizing a palette maps
// nothing; a context's palette matters only for colour indexes its bitmap's
// own table does not cover.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/gdi/objects.h"

namespace ziru::platform {

using namespace detail;

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0) return HPALETTE();
    PaletteObject object;
    // The entries run on past the declared one-entry array.
    object.entries.resize(palette->palNumEntries);
    std::memcpy(object.entries.data(),
                reinterpret_cast<const std::uint8_t*>(palette) + offsetof(LOGPALETTE, palPalEntry),
                object.entries.size() * sizeof(PALETTEENTRY));
    return HPALETTE(AddObject(std::move(object)));
}

HPALETTE CreateHalftonePalette(HDC dc) {
    if (!FindDC(dc)) return HPALETTE();
    PaletteObject object;
    object.entries.reserve(256);
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                object.entries.push_back(PALETTEENTRY{static_cast<BYTE>(r * 51),
                                                      static_cast<BYTE>(g * 51),
                                                      static_cast<BYTE>(b * 51), 0});
            }
        }
    }
    // Greys between the cube's six: 40 evenly spread steps that miss them.
    for (int i = 0; object.entries.size() < 256; ++i) {
        const int grey = 3 + i * 252 / 39;
        const BYTE level = static_cast<BYTE>(grey % 51 == 0 ? grey - 1 : grey);
        object.entries.push_back(PALETTEENTRY{level, level, level, 0});
    }
    return HPALETTE(AddObject(std::move(object)));
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
    DeviceContext* context = FindDC(dc);
    if (!context || !FindPalette(palette)) return HPALETTE();
    const HPALETTE previous = context->palette ? context->palette : StockPalette();
    context->palette = palette == StockPalette() ? HPALETTE() : palette;
    return previous;
}

UINT RealizePalette(HDC dc) {
    const PaletteObject* palette = SelectedPalette(dc);
    return palette ? static_cast<UINT>(palette->entries.size()) : GDI_ERROR;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    const PaletteObject* object = FindPalette(palette);
    if (!object) return 0;
    const auto size = static_cast<UINT>(object->entries.size());
    if (!entries) return size;
    if (start >= size) return 0;
    const UINT copied = std::min(count, size - start);
    std::copy_n(object->entries.begin() + start, copied, entries);
    return copied;
}

}  // namespace ziru::platform
