// The GDI object table, private to platform/gdi: bitmaps, palettes, regions
// and brushes behind one kind of handle, and the fault counters the test
// hooks set. Regions hold pixman regions, which is why this header stays out
// of the public ones.
#pragma once

#include <pixman.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <variant>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"

namespace ziru::platform::detail {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

struct BitmapObject {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t stride = 0;
    DWORD redMask = 0, greenMask = 0, blueMask = 0;  // 16 and 32 bits
    std::vector<RGBQUAD> colors;                     // 1, 4 and 8 bits
    std::unique_ptr<std::uint8_t[], FreeDeleter> bits;
    HDC selectedInto;
};

struct PaletteObject {
    std::vector<PALETTEENTRY> entries;
};

// A region is a pixman region, or, while rows of rectangles are being
// appended at its bottom (CombineRgn's fast path), a growing list of
// rectangles in pixman's banded form that becomes a pixman region again,
// without a copy, when anyone looks at it.
class RegionObject {
  public:
    RegionObject();
    ~RegionObject();
    RegionObject(const RegionObject&) = delete;
    RegionObject& operator=(const RegionObject&) = delete;

    // The pixman region, built from the appended rows first if need be;
    // null when memory runs out.
    pixman_region32_t* Region();
    // True when OTHER lies nowhere above the top of this region's last band,
    // so that Append can join it.
    bool CanAppend(RegionObject& other);
    // Joins OTHER; only when CanAppend(OTHER). False (and the contents
    // unchanged) when memory runs out.
    bool Append(RegionObject& other);
    // Takes REGION over (the caller no longer finishes it).
    void Replace(pixman_region32_t* region);
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind();
    // Takes BOXES when they are in banded order (bands top to bottom, each
    // of one height, rectangles left to right with gaps), merging bands as
    // pixman would; false, and nothing changed, otherwise.
    bool AssignBanded(const pixman_box32_t* boxes, std::size_t count);

    bool adopted = false;

  private:
    bool Materialize();
    // The rectangles in either form.
    const pixman_box32_t* Boxes(int* count);
    // Turns the pixman form into the list form with room for COUNT
    // rectangles; false when memory runs out.
    bool Reserve(std::size_t count);
    // Appends bands that lie below the list's last band, merging the seam;
    // the room must have been reserved.
    void AppendBanded(const pixman_box32_t* add, int count);

    pixman_region32_t region_;
    // The list form: a block laid out as pixman's own region data (room in
    // size, rectangles in use in numRects), null while in pixman form.
    pixman_region32_data_t* list_ = nullptr;
};

struct BrushObject {
    COLORREF color = 0;
    bool hollow = false;
};

using GdiObject =
    std::variant<BitmapObject, PaletteObject, std::unique_ptr<RegionObject>, BrushObject>;

struct GdiEntry {
    GdiObject object;
    bool stock = false;
};

std::uint32_t AddObject(GdiObject object, bool stock = false);
GdiEntry* FindEntry(std::uint32_t handle);
bool RemoveObject(std::uint32_t handle);

template <typename T>
T* FindObject(std::uint32_t handle) {
    GdiEntry* entry = FindEntry(handle);
    return entry ? std::get_if<T>(&entry->object) : nullptr;
}
inline BitmapObject* FindBitmap(HBITMAP bitmap) {
    return FindObject<BitmapObject>(bitmap.value);
}
inline PaletteObject* FindPalette(HPALETTE palette) {
    return FindObject<PaletteObject>(palette.value);
}
inline RegionObject* FindRegion(HRGN region) {
    auto* found = FindObject<std::unique_ptr<RegionObject>>(region.value);
    return found ? found->get() : nullptr;
}

// What a context selects before anything else: a 1 x 1 monochrome bitmap and
// the 20-colour default palette, made on first use and never deleted.
HBITMAP StockBitmap();
HPALETTE StockPalette();

// The bitmap and palette a context has selected, the stock ones standing for
// "none"; null for a handle that is not a context.
BitmapObject* SelectedBitmap(HDC dc);
PaletteObject* SelectedPalette(HDC dc);

// True when the fault counter of this kind says the call must fail now.
bool ShouldFail(GdiFault fault);

}  // namespace ziru::platform::detail
