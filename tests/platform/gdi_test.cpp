// GDI beyond the loader: device contexts and selection, DIB sections and
// BitBlt conversions, palettes, regions (with the append fast path checked
// against pixman's own union) and movable global blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win.h"

namespace p = ziru::platform;

namespace {

struct Dib {
    p::HBITMAP bitmap;
    void* bits = nullptr;
};

// A DIB of BITS bits; COLOURS (as 0xRRGGBB) fill its colour table.
Dib MakeDib(int width, int height, std::uint16_t bits, std::vector<std::uint32_t> colours = {},
            p::DWORD compression = p::BI_RGB, std::vector<p::DWORD> masks = {}) {
    std::vector<std::uint8_t> info(sizeof(p::BITMAPINFOHEADER) + 4 * 256, 0);
    p::BITMAPINFOHEADER header;
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = compression;
    header.biClrUsed = static_cast<p::DWORD>(colours.size());
    std::memcpy(info.data(), &header, sizeof header);
    std::uint8_t* after = info.data() + sizeof header;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const p::RGBQUAD q{static_cast<p::BYTE>(colours[i]), static_cast<p::BYTE>(colours[i] >> 8),
                           static_cast<p::BYTE>(colours[i] >> 16), 0};
        std::memcpy(after + 4 * i, &q, 4);
    }
    if (!masks.empty()) std::memcpy(after, masks.data(), 4 * masks.size());
    Dib dib;
    dib.bitmap = p::CreateDIBSection(p::HDC(), reinterpret_cast<const p::BITMAPINFO*>(info.data()),
                                     p::DIB_RGB_COLORS, &dib.bits, 0, 0);
    return dib;
}

// Runs BODY with memory contexts holding TO and FROM, then cleans up.
void WithContexts(p::HBITMAP to, p::HBITMAP from, const std::function<void(p::HDC, p::HDC)>& body) {
    const p::HDC dst = p::CreateCompatibleDC(p::HDC());
    const p::HDC src = p::CreateCompatibleDC(p::HDC());
    const p::HGDIOBJ oldDst = p::SelectObject(dst, p::AsObject(to));
    const p::HGDIOBJ oldSrc = p::SelectObject(src, p::AsObject(from));
    body(dst, src);
    p::SelectObject(dst, oldDst);
    p::SelectObject(src, oldSrc);
    p::DeleteDC(dst);
    p::DeleteDC(src);
}

class Gdi : public testing::Test {
  protected:
    void SetUp() override { objectsBefore_ = p::detail::GdiObjectCount(); }
    void TearDown() override {
        p::detail::ClearFaults();
        EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore_) << "GDI objects leaked";
    }
    std::size_t objectsBefore_ = 0;
};

// ===== Contexts and selection ==============================================

TEST_F(Gdi, SelectObjectReturnsThePreviousBitmapAndGuardsSelectedOnes) {
    const Dib a = MakeDib(2, 2, 32);
    const Dib b = MakeDib(2, 2, 32);
    const p::HDC dc = p::CreateCompatibleDC(p::HDC());
    const p::HDC other = p::CreateCompatibleDC(p::HDC());
    ASSERT_TRUE(dc && other);

    const p::HGDIOBJ stock = p::SelectObject(dc, p::AsObject(a.bitmap));
    ASSERT_TRUE(stock);
    EXPECT_EQ(p::SelectObject(dc, p::AsObject(b.bitmap)), p::AsObject(a.bitmap));
    // B is in DC: another context cannot take it, nor can it be deleted.
    EXPECT_FALSE(p::SelectObject(other, p::AsObject(b.bitmap)));
    EXPECT_FALSE(p::DeleteObject(p::AsObject(b.bitmap)));
    EXPECT_TRUE(p::SelectObject(other, p::AsObject(a.bitmap)));
    EXPECT_EQ(p::SelectObject(dc, stock), p::AsObject(b.bitmap));
    EXPECT_TRUE(p::DeleteObject(p::AsObject(b.bitmap)));
    // Deleting a context deselects what it held; DeleteObject deletes memory
    // contexts as DeleteDC does; the stock bitmap survives DeleteObject.
    EXPECT_TRUE(p::DeleteObject(p::AsObject(other)));
    EXPECT_FALSE(p::DeleteDC(other));
    EXPECT_TRUE(p::DeleteObject(p::AsObject(a.bitmap)));
    EXPECT_TRUE(p::DeleteObject(stock));
    EXPECT_FALSE(p::SelectObject(dc, p::AsObject(a.bitmap)));
    EXPECT_TRUE(p::DeleteDC(dc));
    EXPECT_FALSE(p::SelectObject(dc, stock));
}

TEST_F(Gdi, ScreenContextComesAndGoesThroughGetDcOfNoWindow) {
    const p::HDC screen = p::GetDC(p::HWND());
    ASSERT_TRUE(screen);
    EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore_ + 1);
    EXPECT_FALSE(p::DeleteDC(screen));
    EXPECT_EQ(p::ReleaseDC(p::HWND(), screen), 1);
    EXPECT_EQ(p::ReleaseDC(p::HWND(), screen), 0);
}

// ===== DIB sections ========================================================

TEST_F(Gdi, DibSectionsGiveTheirPixelsAndRefuseBadFormats) {
    for (int height : {3, -3}) {
        const Dib dib = MakeDib(5, height, 32);
        ASSERT_TRUE(dib.bitmap);
        p::BITMAP bm;
        ASSERT_EQ(p::GetObjectA(p::AsObject(dib.bitmap), sizeof bm, &bm), int(sizeof bm));
        EXPECT_EQ(bm.bmBits, dib.bits);
        EXPECT_EQ(bm.bmWidth, 5);
        EXPECT_EQ(bm.bmHeight, 3);
        EXPECT_EQ(bm.bmWidthBytes, 20);
        EXPECT_EQ(bm.bmBitsPixel, 32);
        EXPECT_EQ(static_cast<std::uint8_t*>(dib.bits)[59], 0);
        p::DeleteObject(p::AsObject(dib.bitmap));
    }
    struct Bad {
        const char* what;
        int width, height;
        std::uint16_t bits;
        p::DWORD compression;
    };
    for (const Bad& bad :
         {Bad{"width 0", 0, 2, 32, p::BI_RGB}, Bad{"height 0", 2, 0, 32, p::BI_RGB},
          Bad{"negative width", -2, 2, 32, p::BI_RGB}, Bad{"2 bits", 2, 2, 2, p::BI_RGB},
          Bad{"RLE8", 2, 2, 8, p::BI_RLE8}, Bad{"bit fields on 24", 2, 2, 24, p::BI_BITFIELDS},
          Bad{"too large", 0x7FFFFFFF, 0x7FFFFFFF, 32, p::BI_RGB}}) {
        SCOPED_TRACE(bad.what);
        const Dib dib = MakeDib(bad.width, bad.height, bad.bits, {}, bad.compression, {1, 2, 4});
        EXPECT_FALSE(dib.bitmap);
        EXPECT_EQ(dib.bits, nullptr);
    }
}

// ===== BitBlt ==============================================================

TEST_F(Gdi, BitBltConvertsBetweenFormatsThroughColourTablesAndMasks) {
    // A 4 x 2 bottom-up 8-bit picture of four colours, blitted to every
    // depth and back to 32 bits: exact where the depth holds the colour.
    const std::vector<std::uint32_t> colours = {0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF};
    const Dib indexed = MakeDib(4, 2, 8, colours);
    // Stored rows bottom-up: the top row (stored last) is 0 1 2 3.
    const std::uint8_t rows[8] = {3, 2, 1, 0, 0, 1, 2, 3};
    std::memcpy(indexed.bits, rows, 8);
    const std::uint32_t top[4] = {0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF};

    struct Case {
        const char* what;
        std::uint16_t bits;
        p::DWORD compression;
        std::vector<p::DWORD> masks;
        std::vector<std::uint32_t> table;
    };
    const Case cases[] = {
        {"32 bits", 32, p::BI_RGB, {}, {}},
        {"24 bits", 24, p::BI_RGB, {}, {}},
        {"16 bits 5-5-5", 16, p::BI_RGB, {}, {}},
        {"16 bits 5-6-5", 16, p::BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, {}},
        {"32 bits red low", 32, p::BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, {}},
        {"8 bits, table reordered", 8, p::BI_RGB, {}, {0xFFFFFF, 0x00FF00, 0xFF0000, 0x000000}},
        {"4 bits", 4, p::BI_RGB, {}, {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00}},
        {"1 bit, nearest of black and white", 1, p::BI_RGB, {}, {0x000000, 0xFFFFFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Dib middle = MakeDib(4, -2, c.bits, c.table, c.compression, c.masks);
        const Dib back = MakeDib(4, -2, 32);
        ASSERT_TRUE(middle.bitmap && back.bitmap);
        WithContexts(middle.bitmap, indexed.bitmap, [](p::HDC dst, p::HDC src) {
            EXPECT_TRUE(p::BitBlt(dst, 0, 0, 4, 2, src, 0, 0, p::SRCCOPY));
        });
        WithContexts(back.bitmap, middle.bitmap, [](p::HDC dst, p::HDC src) {
            EXPECT_TRUE(p::BitBlt(dst, 0, 0, 4, 2, src, 0, 0, p::SRCCOPY));
        });
        const auto* pixels = static_cast<const std::uint32_t*>(back.bits);
        for (int x = 0; x < 4; ++x) {
            std::uint32_t want = top[x];
            // One bit keeps black and white; red and green go to the nearer.
            if (c.bits == 1 && (want == 0xFF0000 || want == 0x00FF00)) want = 0x000000;
            EXPECT_EQ(pixels[x] & 0xFFFFFF, want) << "top row, x " << x;
            EXPECT_EQ(pixels[4 + x] & 0xFFFFFF, c.bits == 1 && x != 0 && x != 3 ? 0 : top[3 - x])
                << "bottom row, x " << x;
        }
        p::DeleteObject(p::AsObject(middle.bitmap));
        p::DeleteObject(p::AsObject(back.bitmap));
    }
    p::DeleteObject(p::AsObject(indexed.bitmap));
}

TEST_F(Gdi, BitBltClipsToBothPicturesAndRefusesWhatItCannotDo) {
    const Dib from = MakeDib(4, -4, 32);
    const Dib to = MakeDib(4, -4, 32);
    auto* source = static_cast<std::uint32_t*>(from.bits);
    for (int i = 0; i < 16; ++i) source[i] = 0x010101u * static_cast<std::uint32_t>(i + 1);
    WithContexts(to.bitmap, from.bitmap, [&](p::HDC dst, p::HDC src) {
        // Offsets that push the copy past every edge.
        EXPECT_TRUE(p::BitBlt(dst, -1, 2, 10, 10, src, 2, -1, p::SRCCOPY));
        EXPECT_TRUE(p::BitBlt(dst, 0, 0, 0, 0, src, 0, 0, p::SRCCOPY));
        EXPECT_TRUE(p::BitBlt(dst, 100, 100, 4, 4, src, 0, 0, p::SRCCOPY));
        EXPECT_TRUE(p::BitBlt(dst, 0, 0, 4, 4, src, INT32_MIN, INT32_MAX, p::SRCCOPY));
        EXPECT_FALSE(p::BitBlt(dst, 0, 0, -1, 4, src, 0, 0, p::SRCCOPY));
        EXPECT_FALSE(p::BitBlt(dst, 0, 0, 4, 4, src, 0, 0, 0x00EE0086));
        EXPECT_FALSE(p::BitBlt(dst, 0, 0, 4, 4, p::HDC(), 0, 0, p::SRCCOPY));
    });
    const auto* target = static_cast<const std::uint32_t*>(to.bits);
    // Only destination (0, 3) lies inside both pictures: it is source (3, 0).
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool copied = y >= 3 && x <= 0;
            const std::uint32_t want = copied ? source[(y - 3) * 4 + (x + 3)] : 0;
            EXPECT_EQ(target[y * 4 + x], want) << x << "," << y;
        }
    }
    p::DeleteObject(p::AsObject(from.bitmap));
    p::DeleteObject(p::AsObject(to.bitmap));
}

TEST_F(Gdi, BitBltDrawsOnAWindowThroughTheSurfaceProvider) {
    std::vector<std::uint32_t> surface(3 * 2, 0xDEADBEEF);
    const p::HWND window(0x4242);
    p::detail::SetWindowSurfaceProvider([&](p::HWND hwnd, p::detail::WindowSurface* out) {
        if (hwnd != window) return false;
        out->pixels = reinterpret_cast<std::uint8_t*>(surface.data());
        out->width = 3;
        out->height = 2;
        out->stride = 12;
        return true;
    });
    const Dib picture = MakeDib(2, 2, 24);
    auto* bytes = static_cast<std::uint8_t*>(picture.bits);
    // Bottom-up, 8 bytes a row: the top row is stored second.
    const std::uint8_t rows[16] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    std::memcpy(bytes, rows, 16);
    const p::HDC paint = p::detail::NewDC(p::detail::DcKind::Window, window);
    const p::HDC stranger = p::detail::NewDC(p::detail::DcKind::Window, p::HWND(0x4343));
    const p::HDC src = p::CreateCompatibleDC(p::HDC());
    const p::HGDIOBJ old = p::SelectObject(src, p::AsObject(picture.bitmap));
    EXPECT_TRUE(p::BitBlt(paint, 1, 0, 2, 2, src, 0, 0, p::SRCCOPY));
    EXPECT_FALSE(p::BitBlt(stranger, 0, 0, 2, 2, src, 0, 0, p::SRCCOPY));
    p::SelectObject(src, old);
    p::DeleteDC(src);
    EXPECT_EQ(surface, (std::vector<std::uint32_t>{0xDEADBEEF, 0x090807, 0x0C0B0A, 0xDEADBEEF,
                                                   0x030201, 0x060504}));
    p::detail::SetWindowSurfaceProvider(nullptr);
    p::detail::FreeDC(paint);
    p::detail::FreeDC(stranger);
    p::DeleteObject(p::AsObject(picture.bitmap));
}

// ===== Palettes ============================================================

TEST_F(Gdi, PalettesKeepTheirEntriesAndSelectionReturnsThePreviousOne) {
    std::vector<std::uint8_t> record(sizeof(p::LOGPALETTE) + 3 * sizeof(p::PALETTEENTRY));
    p::LOGPALETTE header;
    header.palVersion = 0x300;
    header.palNumEntries = 3;
    std::memcpy(record.data(), &header, 4);
    const p::PALETTEENTRY entries[3] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
    std::memcpy(record.data() + 4, entries, sizeof entries);
    const auto* logical = reinterpret_cast<const p::LOGPALETTE*>(record.data());
    const p::HPALETTE palette = p::CreatePalette(logical);
    ASSERT_TRUE(palette);
    p::PALETTEENTRY read[3];
    EXPECT_EQ(p::GetPaletteEntries(palette, 0, 3, read), 3u);
    EXPECT_EQ(std::memcmp(read, entries, sizeof read), 0);
    p::WORD count = 0;
    EXPECT_EQ(p::GetObjectA(p::AsObject(palette), sizeof count, &count), 2);
    EXPECT_EQ(count, 3);

    std::memcpy(record.data(), "\x00\x02", 2);
    EXPECT_FALSE(p::CreatePalette(logical)) << "version other than 0x300";

    const p::HDC screen = p::GetDC(p::HWND());
    const p::HPALETTE halftone = p::CreateHalftonePalette(screen);
    ASSERT_TRUE(halftone);
    EXPECT_EQ(p::GetPaletteEntries(halftone, 0, 0, nullptr), 256u);
    p::ReleaseDC(p::HWND(), screen);
    EXPECT_FALSE(p::CreateHalftonePalette(screen));

    const p::HDC dc = p::CreateCompatibleDC(p::HDC());
    const p::HPALETTE initial = p::SelectPalette(dc, palette, p::TRUE);
    ASSERT_TRUE(initial);
    EXPECT_EQ(p::RealizePalette(dc), 3u);
    EXPECT_EQ(p::SelectPalette(dc, halftone, p::FALSE), palette);
    EXPECT_EQ(p::RealizePalette(dc), 256u);
    EXPECT_EQ(p::SelectPalette(dc, initial, p::FALSE), halftone);
    EXPECT_EQ(p::RealizePalette(dc), 20u);
    EXPECT_EQ(p::RealizePalette(p::HDC()), p::GDI_ERROR);
    p::DeleteDC(dc);
    EXPECT_TRUE(p::DeleteObject(p::AsObject(palette)));
    EXPECT_TRUE(p::DeleteObject(p::AsObject(halftone)));
}

// ===== Regions =============================================================

std::vector<std::uint8_t> RegionData(const std::vector<p::RECT>& rects, std::size_t capacity) {
    std::vector<std::uint8_t> data(sizeof(p::RGNDATAHEADER) + sizeof(p::RECT) * capacity, 0);
    p::RGNDATAHEADER header;
    header.dwSize = sizeof header;
    header.iType = p::RDH_RECTANGLES;
    header.nCount = static_cast<p::DWORD>(rects.size());
    std::memcpy(data.data(), &header, sizeof header);
    if (!rects.empty()) std::memcpy(data.data() + sizeof header, rects.data(), 16 * rects.size());
    return data;
}

p::HRGN RegionOf(const std::vector<p::RECT>& rects) {
    const auto data = RegionData(rects, rects.size());
    return p::ExtCreateRegion(nullptr, static_cast<p::DWORD>(data.size()),
                              reinterpret_cast<const p::RGNDATA*>(data.data()));
}

TEST_F(Gdi, RegionsCombineInEveryModeAsTheirPointSetsDo) {
    // A: x 0..4, y 0..4; B: x 2..6, y 2..6, checked point by point.
    const auto inA = [](int x, int y) { return x >= 0 && x < 4 && y >= 0 && y < 4; };
    const auto inB = [](int x, int y) { return x >= 2 && x < 6 && y >= 2 && y < 6; };
    struct Mode {
        int mode;
        std::function<bool(bool, bool)> rule;
        int kind;
    };
    const Mode modes[] = {
        {p::RGN_AND, [](bool a, bool b) { return a && b; }, p::SIMPLEREGION},
        {p::RGN_OR, [](bool a, bool b) { return a || b; }, p::COMPLEXREGION},
        {p::RGN_XOR, [](bool a, bool b) { return a != b; }, p::COMPLEXREGION},
        {p::RGN_DIFF, [](bool a, bool b) { return a && !b; }, p::COMPLEXREGION},
        {p::RGN_COPY, [](bool a, bool) { return a; }, p::SIMPLEREGION},
    };
    for (const Mode& m : modes) {
        SCOPED_TRACE(m.mode);
        const p::HRGN a = p::CreateRectRgn(0, 0, 4, 4);
        const p::HRGN b = p::CreateRectRgn(6, 6, 2, 2);  // inverted corners
        const p::HRGN out = p::CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(p::CombineRgn(out, a, b, m.mode), m.kind);
        for (int y = -1; y < 8; ++y) {
            for (int x = -1; x < 8; ++x) {
                EXPECT_EQ(p::PtInRegion(out, x, y) != p::FALSE, m.rule(inA(x, y), inB(x, y)))
                    << x << "," << y;
            }
        }
        for (p::HRGN r : {a, b, out}) EXPECT_TRUE(p::DeleteObject(p::AsObject(r)));
    }
    const p::HRGN r = p::CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(p::CombineRgn(r, r, p::HRGN(), p::RGN_OR), p::ERROR);
    EXPECT_EQ(p::CombineRgn(r, r, r, 9), p::ERROR);
    p::DeleteObject(p::AsObject(r));
}

TEST_F(Gdi, RegionQueriesAndDataRoundTrip) {
    const p::HRGN region = RegionOf({{0, 0, 3, 1}, {5, 0, 7, 1}, {1, 4, 2, 6}, {9, 9, 9, 12}});
    ASSERT_TRUE(region);
    p::RECT box;
    EXPECT_EQ(p::GetRgnBox(region, &box), p::COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 7);
    EXPECT_EQ(box.bottom, 6);
    EXPECT_TRUE(p::PtInRegion(region, 6, 0));
    EXPECT_FALSE(p::PtInRegion(region, 7, 0));
    EXPECT_FALSE(p::PtInRegion(region, 3, 0));
    EXPECT_EQ(p::OffsetRgn(region, 10, -1), p::COMPLEXREGION);
    EXPECT_TRUE(p::PtInRegion(region, 11, 3));
    EXPECT_TRUE(p::detail::RegionContains(region, 16, -1));

    const p::DWORD needed = p::GetRegionData(region, 0, nullptr);
    EXPECT_EQ(needed, 32u + 16u * 3u);
    std::vector<std::uint8_t> data(needed);
    auto* rgn = reinterpret_cast<p::RGNDATA*>(data.data());
    EXPECT_EQ(p::GetRegionData(region, needed - 1, rgn), 0u);
    EXPECT_EQ(p::GetRegionData(region, needed, rgn), needed);
    const p::HRGN copy = p::ExtCreateRegion(nullptr, needed, rgn);
    EXPECT_TRUE(p::EqualRgn(copy, region));
    EXPECT_EQ(p::detail::RegionRects(copy).size(), 3u);

    const p::HRGN empty = RegionOf({});
    ASSERT_TRUE(empty) << "zero rectangles make an empty region, not a failure";
    EXPECT_EQ(p::GetRgnBox(empty, &box), p::NULLREGION);

    // Malformed region data is refused.
    std::vector<std::uint8_t> bad = RegionData({{0, 0, 1, 1}}, 1);
    const auto* badData = reinterpret_cast<const p::RGNDATA*>(bad.data());
    EXPECT_FALSE(p::ExtCreateRegion(nullptr, 47, badData)) << "count short of nCount";
    EXPECT_FALSE(p::ExtCreateRegion(nullptr, 16, badData)) << "count short of the header";
    const p::XFORM xform;
    EXPECT_FALSE(p::ExtCreateRegion(&xform, 48, badData));
    bad[4] = 2;
    EXPECT_FALSE(p::ExtCreateRegion(nullptr, 48, badData)) << "not RDH_RECTANGLES";

    // A region the window manager adopted is not the program's to delete.
    EXPECT_TRUE(p::detail::AdoptRegion(copy));
    EXPECT_FALSE(p::DeleteObject(p::AsObject(copy)));
    EXPECT_TRUE(p::detail::ReleaseAdoptedRegion(copy));
    for (p::HRGN r : {region, empty}) EXPECT_TRUE(p::DeleteObject(p::AsObject(r)));
}

TEST_F(Gdi, JoiningBatchesRowByRowGivesWhatPixmanBuildsFromAllAtOnce) {
    // One-pixel-high runs in row order, joined in batches the way the bitmap
    // scan joins them (a batch often ends inside a row): random rows; rows
    // from a few patterns sharing a prefix, so bands merge and a batch can
    // start inside a merged band; full-width rows, which become one band.
    std::mt19937 random(7);
    const std::vector<std::vector<std::pair<int, int>>> patterns = {
        {{0, 3}}, {{0, 3}, {5, 9}}, {{0, 3}, {5, 9}, {12, 20}}, {{5, 9}}};
    for (int trial = 0; trial < 30; ++trial) {
        SCOPED_TRACE(trial);
        const int kind = trial % 3;
        std::vector<p::RECT> all;
        for (int y = 0; y < 60; ++y) {
            if (kind == 0) {
                for (int x = 0; x < 40;) {
                    const int gap = static_cast<int>(random() % 4) + 1;
                    const int run = static_cast<int>(random() % 5) + 1;
                    if (x + gap >= 40) break;
                    all.push_back({x + gap, y, std::min(40, x + gap + run), y + 1});
                    x += gap + run;
                }
            } else if (kind == 1) {
                for (const auto& [x1, x2] : patterns[random() % patterns.size()]) {
                    all.push_back({x1, y, x2, y + 1});
                }
            } else {
                all.push_back({0, y, 40, y + 1});
            }
        }
        const std::size_t batch = 1 + random() % 50;
        p::HRGN joined;
        for (std::size_t start = 0; start < all.size(); start += batch) {
            const std::vector<p::RECT> part(all.begin() + start,
                                            all.begin() + std::min(all.size(), start + batch));
            const p::HRGN piece = RegionOf(part);
            if (!joined) {
                joined = piece;
                continue;
            }
            EXPECT_NE(p::CombineRgn(joined, joined, piece, p::RGN_OR), p::ERROR);
            p::DeleteObject(p::AsObject(piece));
        }
        // Given in reverse, the rectangles go through pixman's own sorting.
        const p::HRGN once = RegionOf(std::vector<p::RECT>(all.rbegin(), all.rend()));
        EXPECT_TRUE(p::detail::RegionIsValid(joined));
        EXPECT_TRUE(p::EqualRgn(joined, once));
        const auto a = p::detail::RegionRects(joined);
        const auto b = p::detail::RegionRects(once);
        ASSERT_EQ(a.size(), b.size());
        EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(p::RECT)), 0);
        if (kind == 2) {
            EXPECT_EQ(a.size(), 1u);
        }
        for (p::HRGN r : {joined, once}) p::DeleteObject(p::AsObject(r));
    }
}

TEST_F(Gdi, SetRectFillsItsRectangle) {
    p::RECT r;
    EXPECT_TRUE(p::SetRect(&r, 1, 2, 3, 4));
    EXPECT_EQ(r.left + r.top * 10 + r.right * 100 + r.bottom * 1000, 4321);
    EXPECT_FALSE(p::SetRect(nullptr, 1, 2, 3, 4));
}

// ===== Global blocks =======================================================

TEST_F(Gdi, GlobalBlocksLockReallocateKeepingContentsAndFree) {
    const std::size_t blocksBefore = p::detail::GlobalBlockCount();
    const p::HGLOBAL block = p::GlobalAlloc(p::GMEM_MOVEABLE | p::GMEM_ZEROINIT, 32);
    ASSERT_TRUE(block);
    EXPECT_EQ(p::GlobalSize(block), 32u);
    auto* bytes = static_cast<std::uint8_t*>(p::GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[31], 0);
    EXPECT_EQ(p::GlobalLock(block), bytes);
    for (int i = 0; i < 32; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    EXPECT_TRUE(p::GlobalUnlock(block)) << "still locked once";
    EXPECT_FALSE(p::GlobalUnlock(block));
    EXPECT_FALSE(p::GlobalUnlock(block)) << "not locked at all";

    EXPECT_EQ(p::GlobalReAlloc(block, 100000, p::GMEM_MOVEABLE), block);
    EXPECT_EQ(p::GlobalSize(block), 100000u);
    bytes = static_cast<std::uint8_t*>(p::GlobalLock(block));
    for (int i = 0; i < 32; ++i) ASSERT_EQ(bytes[i], i);

    p::detail::FailAfter(p::detail::GdiFault::GlobalReAlloc, 0);
    EXPECT_FALSE(p::GlobalReAlloc(block, 200000, p::GMEM_MOVEABLE));
    EXPECT_EQ(p::GlobalSize(block), 100000u) << "a failed reallocation keeps the block";
    p::detail::FailAfter(p::detail::GdiFault::GlobalAlloc, 1);
    const p::HGLOBAL second = p::GlobalAlloc(p::GMEM_MOVEABLE, 0);
    EXPECT_TRUE(second);
    EXPECT_FALSE(p::GlobalAlloc(p::GMEM_MOVEABLE, 4));
    EXPECT_FALSE(p::GlobalAlloc(p::GMEM_MOVEABLE, std::size_t{1} << 40));

    EXPECT_FALSE(p::GlobalFree(block)) << "freed while locked";
    EXPECT_EQ(p::GlobalFree(block), block) << "unknown by now";
    EXPECT_EQ(p::GlobalLock(block), nullptr);
    EXPECT_FALSE(p::GlobalFree(second));
    EXPECT_EQ(p::detail::GlobalBlockCount(), blocksBefore);
}

}  // namespace
