// The GDI object table and what works on any object: DeleteObject,
// GetObjectA, memory and screen device contexts, SelectObject, stock
// objects, brushes, counts and the test hooks.
#include "platform/gdi/objects.h"

#include <array>
#include <cstring>

#include "platform/core/core.h"
#include "platform/core/handles.h"

namespace ziru::platform {

namespace detail {

namespace {

HandleTable<GdiEntry>& Objects() {
    static HandleTable<GdiEntry> table;
    return table;
}

std::size_t& StockCount() {
    static std::size_t count = 0;
    return count;
}

std::array<int, static_cast<std::size_t>(GdiFault::Count)>& Faults() {
    static std::array<int, static_cast<std::size_t>(GdiFault::Count)> faults = [] {
        std::array<int, static_cast<std::size_t>(GdiFault::Count)> all{};
        all.fill(-1);
        return all;
    }();
    return faults;
}

// The twenty colours every context's palette starts with.
constexpr std::array<PALETTEENTRY, 20> kDefaultPalette = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

}  // namespace

std::uint32_t AddObject(GdiObject object, bool stock) {
    if (stock) ++StockCount();
    return Objects().Add(GdiEntry{std::move(object), stock});
}

GdiEntry* FindEntry(std::uint32_t handle) {
    return Objects().Find(handle);
}

bool RemoveObject(std::uint32_t handle) {
    return Objects().Remove(handle);
}

HBITMAP StockBitmap() {
    static const HBITMAP stock = [] {
        BitmapObject bitmap;
        bitmap.width = 1;
        bitmap.height = 1;
        bitmap.bitCount = 1;
        bitmap.stride = 4;
        bitmap.colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        bitmap.bits.reset(static_cast<std::uint8_t*>(std::calloc(1, 4)));
        return HBITMAP(AddObject(std::move(bitmap), true));
    }();
    return stock;
}

HPALETTE StockPalette() {
    static const HPALETTE stock = [] {
        PaletteObject palette;
        palette.entries.assign(kDefaultPalette.begin(), kDefaultPalette.end());
        return HPALETTE(AddObject(std::move(palette), true));
    }();
    return stock;
}

BitmapObject* SelectedBitmap(HDC dc) {
    DeviceContext* context = FindDC(dc);
    if (!context) return nullptr;
    if (BitmapObject* bitmap = FindBitmap(context->bitmap)) return bitmap;
    return FindBitmap(StockBitmap());
}

PaletteObject* SelectedPalette(HDC dc) {
    DeviceContext* context = FindDC(dc);
    if (!context) return nullptr;
    if (PaletteObject* palette = FindPalette(context->palette)) return palette;
    return FindPalette(StockPalette());
}

bool ShouldFail(GdiFault fault) {
    int& left = Faults()[static_cast<std::size_t>(fault)];
    if (left < 0) return false;
    if (left == 0) return true;
    --left;
    return false;
}

void FailAfter(GdiFault fault, int after) {
    Faults()[static_cast<std::size_t>(fault)] = after;
}

void ClearFaults() {
    Faults().fill(-1);
}

std::size_t GdiObjectCount() {
    return Objects().size() - StockCount() + CountDCs(DcKind::Memory) + CountDCs(DcKind::Screen);
}

HBRUSH CreateBrushObject(COLORREF color, bool hollow, bool stock) {
    return HBRUSH(AddObject(BrushObject{color, hollow}, stock));
}

bool BrushInfo(HBRUSH brush, COLORREF* color, bool* hollow) {
    const BrushObject* found = FindObject<BrushObject>(brush.value);
    if (!found) return false;
    if (color) *color = found->color;
    if (hollow) *hollow = found->hollow;
    return true;
}

HDC GetScreenDC() {
    return NewDC(DcKind::Screen, HWND());
}

int ReleaseScreenDC(HDC dc) {
    const DeviceContext* context = FindDC(dc);
    if (!context || context->kind != DcKind::Screen) return 0;
    FreeDC(dc);
    return 1;
}

}  // namespace detail

using namespace detail;

BOOL DeleteObject(HGDIOBJ object) {
    if (const DeviceContext* context = FindDC(FromObject<HDC>(object))) {
        return context->kind == DcKind::Memory ? DeleteDC(FromObject<HDC>(object)) : FALSE;
    }
    GdiEntry* entry = FindEntry(object.value);
    if (!entry) return FALSE;
    if (entry->stock) return TRUE;
    if (const BitmapObject* bitmap = std::get_if<BitmapObject>(&entry->object)) {
        if (FindDC(bitmap->selectedInto)) return FALSE;
    }
    if (const auto* region = std::get_if<std::unique_ptr<RegionObject>>(&entry->object)) {
        if ((*region)->adopted) return FALSE;
    }
    RemoveObject(object.value);
    return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, void* out) {
    GdiEntry* entry = FindEntry(object.value);
    if (!entry) return 0;
    if (const BitmapObject* bitmap = std::get_if<BitmapObject>(&entry->object)) {
        constexpr int kSize = static_cast<int>(sizeof(BITMAP));
        if (!out) return kSize;
        if (size < kSize) return 0;
        BITMAP description;
        description.bmType = 0;
        description.bmWidth = bitmap->width;
        description.bmHeight = bitmap->height;
        description.bmWidthBytes = static_cast<LONG>(bitmap->stride);
        description.bmPlanes = 1;
        description.bmBitsPixel = bitmap->bitCount;
        description.bmBits = bitmap->bits.get();
        std::memcpy(out, &description, sizeof description);
        return kSize;
    }
    if (const PaletteObject* palette = std::get_if<PaletteObject>(&entry->object)) {
        if (!out) return static_cast<int>(sizeof(WORD));
        if (size < static_cast<int>(sizeof(WORD))) return 0;
        const WORD count = static_cast<WORD>(palette->entries.size());
        std::memcpy(out, &count, sizeof count);
        return static_cast<int>(sizeof(WORD));
    }
    return 0;
}

HDC CreateCompatibleDC(HDC) {
    if (ShouldFail(GdiFault::CreateCompatibleDC)) return HDC();
    return NewDC(DcKind::Memory, HWND());
}

BOOL DeleteDC(HDC dc) {
    DeviceContext* context = FindDC(dc);
    if (!context || context->kind != DcKind::Memory) return FALSE;
    if (BitmapObject* bitmap = FindBitmap(context->bitmap)) bitmap->selectedInto = HDC();
    FreeDC(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* context = FindDC(dc);
    if (!context || context->kind != DcKind::Memory) return HGDIOBJ();
    const HBITMAP wanted = FromObject<HBITMAP>(object);
    BitmapObject* bitmap = FindBitmap(wanted);
    if (!bitmap) return HGDIOBJ();
    const HBITMAP previous = context->bitmap ? context->bitmap : StockBitmap();
    if (wanted == previous) return AsObject(previous);
    const bool isStock = wanted == StockBitmap();
    // A bitmap is drawn on through one context at a time.
    if (!isStock && FindDC(bitmap->selectedInto)) return HGDIOBJ();
    if (BitmapObject* old = FindBitmap(context->bitmap)) old->selectedInto = HDC();
    if (isStock) {
        context->bitmap = HBITMAP();
    } else {
        context->bitmap = wanted;
        bitmap->selectedInto = dc;
    }
    return AsObject(previous);
}

}  // namespace ziru::platform
