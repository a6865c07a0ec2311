// GDI: bitmaps and DIB sections, the bitmap loader, palettes, memory device
// contexts, BitBlt, regions and movable global blocks. Every GDI object
// (bitmap, palette, region, brush) lives in one handle table, so
// DeleteObject, GetObjectA and SelectObject take any of them. Regions are
// pixman regions behind the handle; no pixman type shows here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdi/bmp.h"
#include "platform/types.h"

namespace ziru::platform {

// ===== Objects =============================================================

// Deletes a bitmap, palette, region or brush, or a memory device context
// (the library deletes its memory contexts this way too). FALSE for an
// unknown handle, for a bitmap still selected into a context and for a
// region the window manager owns; stock objects are kept and give TRUE.
BOOL DeleteObject(HGDIOBJ object);
// Bitmaps: fills a BITMAP when SIZE is at least sizeof(BITMAP) and returns
// sizeof(BITMAP); with OUT null returns the size needed. Palettes: the entry
// count as a WORD. 0 for anything else.
int GetObjectA(HGDIOBJ object, int size, void* out);

// ===== Bitmaps =============================================================

// The bitmap loader: TYPE must be IMAGE_BITMAP and FLAGS must hold
// LR_LOADFROMFILE (LR_CREATEDIBSECTION and LR_LOADTRANSPARENT are accepted;
// the result is always a DIB section and colour tables are kept as the file
// gives them). CX and CY must be 0 or the file's own size: no scaling.
// Decodes the file with DecodeBmp (bmp.h); 0 for a missing, malformed or
// unsupported file.
HBITMAP LoadImageA(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags);

// A DIB section of INFO's format (BI_RGB 1/4/8/16/24/32 bits, BI_BITFIELDS
// 16/32 bits with the three masks after the header; a negative height is
// top-down), pixels zeroed, colour table from INFO (DIB_RGB_COLORS only).
// BITS receives the pixel address. SECTION must be 0.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);

// Copies entries START.. of the colour table of the bitmap selected into DC;
// the number copied (0 for a bitmap without colour table).
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);

// ===== Device contexts =====================================================

// A memory context with the default 1 x 1 bitmap and the default palette.
// DC is ignored (every memory context is compatible with the 32-bit screen).
HDC CreateCompatibleDC(HDC dc);
// Memory contexts only; what was selected into it is deselected, not deleted.
BOOL DeleteDC(HDC dc);
// Bitmaps into memory contexts only (one context at a time); returns the
// bitmap selected before (the stock default bitmap at first), 0 on failure.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

// Copies CX x CY pixels from SRC at (X1, Y1) to DST at (X, Y), converting
// the source's format (colour-table indexes, 16, 24 or 32 bits) to the
// destination's. Only SRCCOPY. The destination is a memory context's
// bitmap, or a window's surface from the provider the window manager sets.
// Clipped to both pictures; negative sizes are refused.
BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop);

// ===== Palettes ============================================================

// PALVERSION must be 0x300 and the entry count 1..65535.
HPALETTE CreatePalette(const LOGPALETTE* palette);
// 256 entries: a 6 x 6 x 6 colour cube and a 40-step grey ramp.
HPALETTE CreateHalftonePalette(HDC dc);
// Returns the palette selected before (the stock default palette at first).
// BACKGROUND is accepted; there is one logical palette per context.
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL background);
// The number of entries of the selected palette; GDI_ERROR for a bad DC.
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);

// ===== Regions =============================================================

HRGN CreateRectRgn(int left, int top, int right, int bottom);
// The union of DATA's rectangles (RDH_RECTANGLES; dwSize 32; nCount
// rectangles within COUNT bytes). XFORM must be null.
HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data);
// RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY into DST (which may be one of
// the sources); the result's kind (NULLREGION, SIMPLEREGION, COMPLEXREGION)
// or ERROR.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
BOOL PtInRegion(HRGN region, int x, int y);
int GetRgnBox(HRGN region, RECT* box);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL EqualRgn(HRGN a, HRGN b);
// With DATA null, the bytes needed; else fills DATA (when COUNT suffices)
// and returns the bytes written; 0 on failure.
DWORD GetRegionData(HRGN region, DWORD count, RGNDATA* data);

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);

// ===== Movable global blocks ===============================================

// Plain heap blocks with a lock count; GMEM_ZEROINIT zeroes new bytes.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
void* GlobalLock(HGLOBAL block);
// TRUE while the block is still locked.
BOOL GlobalUnlock(HGLOBAL block);
// Keeps the contents (up to the smaller size); the same handle, or 0 with
// the block unchanged when the memory cannot be had.
HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, UINT flags);
// 0 on success (also while locked), the handle when it is unknown.
HGLOBAL GlobalFree(HGLOBAL block);
std::size_t GlobalSize(HGLOBAL block);

namespace detail {

// ===== Hooks for the window manager ========================================

// GetDC(0) and ReleaseDC(0, dc): a fresh screen context each time.
HDC GetScreenDC();
int ReleaseScreenDC(HDC dc);

// A window's client-area pixels, 32 bits (blue, green, red, unused), rows
// top-down, for BitBlt onto window and paint contexts.
struct WindowSurface {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};
using WindowSurfaceProvider = std::function<bool(HWND window, WindowSurface* surface)>;
void SetWindowSurfaceProvider(WindowSurfaceProvider provider);

// Brushes for the window manager's GetStockObject and GetSysColorBrush: a
// stock brush is never deleted and is not counted as a live object.
HBRUSH CreateBrushObject(COLORREF color, bool hollow, bool stock);
// False for an unknown handle.
bool BrushInfo(HBRUSH brush, COLORREF* color, bool* hollow);

// SetWindowRgn: the window manager takes the region over. DeleteObject then
// refuses it; ReleaseAdoptedRegion deletes it.
bool AdoptRegion(HRGN region);
bool ReleaseAdoptedRegion(HRGN region);
bool RegionContains(HRGN region, int x, int y);
// The region's rectangles, banded top to bottom, left to right.
std::vector<RECT> RegionRects(HRGN region);

// ===== Counts and test hooks ===============================================

// Live bitmaps, palettes, regions and brushes (stock objects excluded) plus
// memory and screen device contexts.
std::size_t GdiObjectCount();
std::size_t GlobalBlockCount();

// Makes the calls of one kind fail after AFTER more successful calls
// (-1: never). Tests use it to drive the failure paths of their callers.
enum class GdiFault {
    GlobalAlloc,
    GlobalReAlloc,
    GlobalLock,
    ExtCreateRegion,
    CombineRgn,
    CreateDIBSection,
    CreateCompatibleDC,
    Count
};
void FailAfter(GdiFault fault, int after);
void ClearFaults();

// True when the region's pixman form passes pixman's own consistency check.
bool RegionIsValid(HRGN region);

// Sees every ExtCreateRegion call's buffer size and data before it is used.
using RegionDataObserver = std::function<void(DWORD count, const RGNDATA* data)>;
void SetRegionDataObserver(RegionDataObserver observer);

// The loader's second half, for the fuzzer and tests: a DIB section from BMP
// bytes in memory.
HBITMAP LoadBitmapFromMemory(const std::uint8_t* data, std::size_t size);

}  // namespace detail

}  // namespace ziru::platform
