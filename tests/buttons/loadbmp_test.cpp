// LOADBMPFROMFILE: colour tables become palettes for 8 bits or fewer, deeper
// pictures get the half-tone palette, a failed load leaves PAL alone, and
// nothing is left behind once the caller deletes what it got.
#include "buttons/loadbmp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/gdi_bmp_builder.h"

namespace p = ziru::platform;
using ziru::buttons::LOADBMPFROMFILE;

namespace {

std::vector<p::PALETTEENTRY> EntriesOf(p::HPALETTE palette) {
    std::vector<p::PALETTEENTRY> entries(p::GetPaletteEntries(palette, 0, 0, nullptr));
    p::GetPaletteEntries(palette, 0, static_cast<p::UINT>(entries.size()), entries.data());
    return entries;
}

bool Same(const p::PALETTEENTRY& a, const p::PALETTEENTRY& b) {
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue &&
           a.peFlags == b.peFlags;
}

TEST(LOADBMPFROMFILE, TablesBecomePalettesAndDeeperPicturesGetTheHalftonePalette) {
    const std::size_t objectsBefore = p::detail::GdiObjectCount();
    const p::HDC screen = p::GetDC(p::HWND());
    const p::HPALETTE halftone = p::CreateHalftonePalette(screen);
    p::ReleaseDC(p::HWND(), screen);
    const std::vector<p::PALETTEENTRY> halftoneEntries = EntriesOf(halftone);
    p::DeleteObject(p::AsObject(halftone));
    ASSERT_EQ(halftoneEntries.size(), 256u);

    struct Case {
        std::uint16_t bits;
        int tableSize;  // 0: no colour table
    };
    for (const Case c : {Case{1, 2}, Case{4, 16}, Case{4, 5}, Case{8, 256}, Case{8, 3}, Case{16, 0},
                         Case{24, 0}, Case{32, 0}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, table of " + std::to_string(c.tableSize));
        ziru::test::BmpLayout layout;
        layout.width = 3;
        layout.height = 2;
        layout.bits = c.bits;
        layout.colorsUsed = c.bits <= 8 && c.tableSize < (1 << c.bits) ? c.tableSize : 0;
        for (int i = 0; i < c.tableSize; ++i) {
            layout.colors.push_back(p::RGBQUAD{static_cast<p::BYTE>(i),
                                               static_cast<p::BYTE>(255 - i),
                                               static_cast<p::BYTE>(i * 7), 0x55});
        }
        layout.rows.assign(ziru::test::Stride(3, c.bits) * 2, 0);
        const std::string path = testing::TempDir() + "loadbmp_case.bmp";
        ASSERT_TRUE(ziru::test::WriteFile(path, ziru::test::MakeBmp(layout)));

        p::HPALETTE PAL(0xABCDEF);
        const p::HBITMAP bitmap = LOADBMPFROMFILE(path, PAL);
        ASSERT_TRUE(bitmap);
        ASSERT_TRUE(PAL);
        ASSERT_NE(PAL, p::HPALETTE(0xABCDEF));
        const std::vector<p::PALETTEENTRY> entries = EntriesOf(PAL);
        ASSERT_EQ(entries.size(), 256u);
        for (int i = 0; i < 256; ++i) {
            p::PALETTEENTRY want{0, 0, 0, 0};
            if (c.tableSize == 0) {
                want = halftoneEntries[i];
            } else if (i < c.tableSize) {
                // Blue-green-red in the table, red-green-blue in the palette.
                want = p::PALETTEENTRY{layout.colors[i].rgbRed, layout.colors[i].rgbGreen,
                                       layout.colors[i].rgbBlue, 0};
            }
            EXPECT_TRUE(Same(entries[i], want)) << "entry " << i;
        }

        // Two loads of one file are two independent pairs.
        p::HPALETTE second;
        const p::HBITMAP again = LOADBMPFROMFILE(path, second);
        EXPECT_NE(again, bitmap);
        EXPECT_NE(second, PAL);
        for (p::HGDIOBJ object :
             {p::AsObject(bitmap), p::AsObject(PAL), p::AsObject(again), p::AsObject(second)}) {
            EXPECT_TRUE(p::DeleteObject(object));
        }
        std::remove(path.c_str());
        EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore);
    }
}

TEST(LOADBMPFROMFILE, AFailedLoadGivesZeroAndLeavesThePaletteAlone) {
    const std::size_t objectsBefore = p::detail::GdiObjectCount();
    const std::string notBmp = testing::TempDir() + "loadbmp_not_a_bitmap.bmp";
    ASSERT_TRUE(ziru::test::WriteFile(notBmp, {'G', 'I', 'F', '8', '9', 'a'}));
    for (const std::string& name :
         {std::string(), testing::TempDir() + "loadbmp_missing.bmp", notBmp}) {
        SCOPED_TRACE(name);
        p::HPALETTE PAL(0x1234);
        EXPECT_FALSE(LOADBMPFROMFILE(name, PAL));
        EXPECT_EQ(PAL, p::HPALETTE(0x1234));
    }
    std::remove(notBmp.c_str());
    EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore);
}

}  // namespace
