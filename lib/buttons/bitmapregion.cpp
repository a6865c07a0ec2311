// Bitmap to region. The picture is blitted into a bottom-up 32-bit working
// copy and scanned from its last stored row (the picture's top) upward in
// memory; rectangles collect in a movable global block that grows by
// ALLOC_UNIT and is flushed into a region every 2000 rectangles.
#include "buttons/bitmapregion.h"

#include <algorithm>
#include <cstddef>

#include "buttons/loadbmp.h"
#include "runtime/runtime.h"

namespace ziru::buttons {

using namespace ziru::platform;

namespace {

constexpr DWORD kBatchLimit = 2000;
constexpr DWORD kHeaderBytes = sizeof(RGNDATAHEADER);

DWORD BufferBytes(DWORD maxRects) {
    return kHeaderBytes + sizeof(RECT) * maxRects;
}

void RestartBounds(RGNDATAHEADER& header) {
    SetRect(&header.rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);
}

// The rectangle buffer and the region built from it so far. Every step
// reports failure (memory, or a region the platform cannot make or join) so
// the caller can give back all it made instead of scanning on.
struct RegionBuilder {
    HGLOBAL HDATA;
    std::uint8_t* PDATA = nullptr;
    DWORD MAXRECTS = ALLOC_UNIT;
    HRGN RSLT;

    RGNDATAHEADER& Header() { return *reinterpret_cast<RGNDATAHEADER*>(PDATA); }
    RECT* Rects() { return reinterpret_cast<RECT*>(PDATA + kHeaderBytes); }

    bool Start() {
        HDATA = GlobalAlloc(GMEM_MOVEABLE, BufferBytes(MAXRECTS));
        if (!HDATA) return false;
        PDATA = static_cast<std::uint8_t*>(GlobalLock(HDATA));
        if (!PDATA) return false;
        RGNDATAHEADER& header = Header();
        header.dwSize = kHeaderBytes;
        header.iType = RDH_RECTANGLES;
        header.nCount = 0;
        header.nRgnSize = 0;
        RestartBounds(header);
        return true;
    }

    bool Add(std::int32_t X0, std::int32_t Y, std::int32_t X) {
        if (Header().nCount >= MAXRECTS) {
            GlobalUnlock(HDATA);
            MAXRECTS += ALLOC_UNIT;
            const HGLOBAL grown = GlobalReAlloc(HDATA, BufferBytes(MAXRECTS), GMEM_MOVEABLE);
            PDATA = nullptr;
            if (!grown) return false;
            HDATA = grown;
            PDATA = static_cast<std::uint8_t*>(GlobalLock(HDATA));
            if (!PDATA) return false;
        }
        RGNDATAHEADER& header = Header();
        SetRect(&Rects()[header.nCount], X0, Y, X, Y + 1);
        header.rcBound.left = std::min(header.rcBound.left, X0);
        header.rcBound.top = std::min(header.rcBound.top, Y);
        header.rcBound.right = std::max(header.rcBound.right, X);
        header.rcBound.bottom = std::max(header.rcBound.bottom, Y + 1);
        ++header.nCount;
        return header.nCount != kBatchLimit || Flush();
    }

    bool Flush() {
        const HRGN H = ExtCreateRegion(nullptr, BufferBytes(MAXRECTS),
                                       reinterpret_cast<const RGNDATA*>(PDATA));
        if (!H) return false;
        if (RSLT) {
            const int joined = CombineRgn(RSLT, RSLT, H, RGN_OR);
            DeleteObject(AsObject(H));
            if (joined == ERROR) return false;
        } else {
            RSLT = H;
        }
        Header().nCount = 0;
        RestartBounds(Header());
        return true;
    }

    // Frees the buffer (locked or not) and, after a failure, the region.
    void Finish(bool failed) {
        if (HDATA) GlobalFree(HDATA);
        HDATA = HGLOBAL();
        PDATA = nullptr;
        if (failed && RSLT) {
            DeleteObject(AsObject(RSLT));
            RSLT = HRGN();
        }
    }
};

}  // namespace

HRGN BITMAPTOREGION(const std::string& BMPNAME, std::uint32_t TRANSCOLOR, std::uint8_t TOLERANCE) {
    RegionBuilder builder;
    HPALETTE PAL;
    const HBITMAP BMP = LOADBMPFROMFILE(BMPNAME, PAL);
    if (!BMP) return HRGN();

    const HDC MEMDC = CreateCompatibleDC(HDC());
    if (MEMDC) {
        BITMAP BM;
        GetObjectA(AsObject(BMP), sizeof(BITMAP), &BM);
        BITMAPINFO RGB32BITSBITMAPINFO = {};
        BITMAPINFOHEADER& info = RGB32BITSBITMAPINFO.bmiHeader;
        info.biSize = sizeof(BITMAPINFOHEADER);
        info.biWidth = BM.bmWidth;
        info.biHeight = BM.bmHeight;
        info.biPlanes = 1;
        info.biBitCount = 32;
        info.biCompression = BI_RGB;
        void* PBITS32 = nullptr;
        const HBITMAP HBM32 =
            CreateDIBSection(MEMDC, &RGB32BITSBITMAPINFO, DIB_RGB_COLORS, &PBITS32, 0, 0);
        if (HBM32) {
            const HGDIOBJ HOLDBMP = SelectObject(MEMDC, AsObject(HBM32));
            const HDC TEMPDC = CreateCompatibleDC(HDC());
            const HGDIOBJ HOLDTMP = SelectObject(TEMPDC, AsObject(BMP));
            const HPALETTE OLDPAL = SelectPalette(TEMPDC, PAL, TRUE);
            RealizePalette(TEMPDC);
            BitBlt(MEMDC, 0, 0, BM.bmWidth, BM.bmHeight, TEMPDC, 0, 0, SRCCOPY);
            SelectPalette(TEMPDC, OLDPAL, FALSE);
            SelectObject(TEMPDC, HOLDTMP);
            DeleteObject(AsObject(TEMPDC));

            BITMAP BM32;
            GetObjectA(AsObject(HBM32), sizeof(BITMAP), &BM32);
            std::int32_t STRIDE = BM32.bmWidthBytes;
            while (STRIDE % 4 != 0) ++STRIDE;
            const std::int32_t W = BM.bmWidth;
            const std::int32_t H = BM.bmHeight;

            bool failed = !builder.Start();
            if (!failed) {
                // Each channel read checks the colour's range: the value must
                // be a non-negative 32-bit integer.
                runtime::CheckRange(TRANSCOLOR, 0, 0x7FFFFFFF);
                const std::uint32_t LR = TRANSCOLOR & 0xFF;
                runtime::CheckRange(TRANSCOLOR, 0, 0x7FFFFFFF);
                const std::uint32_t LG = (TRANSCOLOR >> 8) & 0xFF;
                runtime::CheckRange(TRANSCOLOR, 0, 0x7FFFFFFF);
                const std::uint32_t LB = (TRANSCOLOR >> 16) & 0xFF;
                const std::uint32_t HR = std::min<std::uint32_t>(LR + TOLERANCE, 255);
                const std::uint32_t HG = std::min<std::uint32_t>(LG + TOLERANCE, 255);
                const std::uint32_t HB = std::min<std::uint32_t>(LB + TOLERANCE, 255);

                // The top row is the last one stored in the bottom-up copy.
                const std::uint8_t* row = static_cast<const std::uint8_t*>(BM32.bmBits) +
                                          static_cast<std::ptrdiff_t>(H - 1) * STRIDE;
                for (std::int32_t Y = 0; Y < H && !failed; ++Y, row -= STRIDE) {
                    const auto* pixels = reinterpret_cast<const std::uint32_t*>(row);
                    std::int32_t X = 0;
                    while (X < W && !failed) {
                        const std::int32_t X0 = X;
                        while (X < W) {
                            const std::uint32_t p = pixels[X];
                            const std::uint32_t r = (p >> 16) & 0xFF;
                            if (r < LR || r > HR) {
                                ++X;
                                continue;
                            }
                            const std::uint32_t g = (p >> 8) & 0xFF;
                            if (g < LG || g > HG) {
                                ++X;
                                continue;
                            }
                            const std::uint32_t b = p & 0xFF;
                            if (b < LB || b > HB) {
                                ++X;
                                continue;
                            }
                            break;
                        }
                        if (X > X0) failed = !builder.Add(X0, Y, X);
                        ++X;
                    }
                }
                if (!failed) failed = !builder.Flush();
            }
            builder.Finish(failed);

            SelectObject(MEMDC, HOLDBMP);
            DeleteObject(AsObject(HBM32));
        }
        DeleteDC(MEMDC);
    }
    DeleteObject(AsObject(PAL));
    DeleteObject(AsObject(BMP));
    return builder.RSLT;
}

}  // namespace ziru::buttons
