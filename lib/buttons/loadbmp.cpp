// Bitmap loading with palette. The colour table is copied entry by entry,
// blue-green-red becoming red-green-blue, into a 256-entry logical palette;
// entries past the end of a shorter table come out black.
#include "buttons/loadbmp.h"

#include <cstddef>
#include <cstring>
#include <memory>

namespace ziru::buttons {

using namespace ziru::platform;

namespace {

// The record as declared (header and its first entry) plus 256 entries: a
// little more than the palette needs.
constexpr std::size_t kLogPaletteBytes = sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY);
static_assert(kLogPaletteBytes == 1032);

}  // namespace

HBITMAP LOADBMPFROMFILE(const std::string& FILENAME, HPALETTE& PAL) {
    // c_str() is the name with its one terminating NUL.
    const std::string SZFILENAME = FILENAME;
    // The loader reads from the file named; no module resources are involved.
    const HBITMAP RESULT = LoadImageA(HINSTANCE(), SZFILENAME.c_str(), IMAGE_BITMAP, 0, 0,
                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!RESULT) return HBITMAP();

    BITMAP BM;
    GetObjectA(AsObject(RESULT), sizeof(BITMAP), &BM);
    if (BM.bmPlanes * BM.bmBitsPixel <= 8) {
        const HDC MEMDC = CreateCompatibleDC(HDC());
        const HGDIOBJ OLDBMP = SelectObject(MEMDC, AsObject(RESULT));
        RGBQUAD RGB[256] = {};
        GetDIBColorTable(MEMDC, 0, 256, RGB);

        const std::unique_ptr<std::uint8_t[]> LOGPAL(new std::uint8_t[kLogPaletteBytes]);
        LOGPALETTE header;
        header.palVersion = 0x300;
        header.palNumEntries = 256;
        std::memcpy(LOGPAL.get(), &header, offsetof(LOGPALETTE, palPalEntry));
        for (int I = 0; I < 256; ++I) {
            const PALETTEENTRY entry{RGB[I].rgbRed, RGB[I].rgbGreen, RGB[I].rgbBlue, 0};
            std::memcpy(LOGPAL.get() + offsetof(LOGPALETTE, palPalEntry) + I * sizeof entry, &entry,
                        sizeof entry);
        }
        PAL = CreatePalette(reinterpret_cast<const LOGPALETTE*>(LOGPAL.get()));

        SelectObject(MEMDC, OLDBMP);
        DeleteObject(AsObject(MEMDC));
    } else {
        const HDC SCREEN = GetDC(HWND());
        PAL = CreateHalftonePalette(SCREEN);
        ReleaseDC(HWND(), SCREEN);
    }
    return RESULT;
}

}  // namespace ziru::buttons
