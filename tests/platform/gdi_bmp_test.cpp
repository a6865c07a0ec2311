// The bitmap loader: every depth, header and orientation it accepts keeps
// the file's rows and colour table and converts to the right colours; every
// malformed file is refused without leaving an object behind.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/gdi_bmp_builder.h"
#include "platform/win.h"

namespace p = ziru::platform;
using ziru::test::BmpLayout;
using ziru::test::MakeBmp;

namespace {

constexpr int kWidth = 5;
constexpr int kHeight = 3;

struct Format {
    std::uint32_t headerSize;
    std::uint16_t bits;
    std::uint32_t compression;
    std::uint32_t masks[3];
    bool topDown;
};

// Channel levels 0, 1, 2 of pixel (x, y): distinct in every channel.
int Level(int x, int y, int channel) {
    return (x + (channel + 1) * y + channel) % 3;
}

unsigned MaskWidth(std::uint32_t mask) {
    return static_cast<unsigned>(__builtin_popcount(mask));
}
unsigned MaskShift(std::uint32_t mask) {
    return static_cast<unsigned>(__builtin_ctz(mask));
}

// Level to stored channel value, and to the 8-bit value it must read as:
// 0 and full scale are exact; the middle level is the half step, which
// widens by repeating its top bits (5 bits: 16 -> 132, 6 bits: 32 -> 130).
std::uint32_t Stored(int level, unsigned width) {
    const std::uint32_t max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
    return level == 0 ? 0 : level == 2 ? max : (max + 1) / 2;
}
std::uint32_t Expected8(int level, unsigned width) {
    if (level == 0) return 0;
    if (level == 2) return 255;
    if (width >= 8) return 0x80;
    const std::uint32_t half = 1u << (width - 1);
    return (half << (8 - width)) | (half >> (2 * width - 8));
}

p::RGBQUAD TableColour(int i) {
    return p::RGBQUAD{static_cast<std::uint8_t>(3 * i), static_cast<std::uint8_t>(255 - 7 * i),
                      static_cast<std::uint8_t>(10 * i + 5), 0};
}

// A picture of FORMAT and, per pixel (y = 0 the top row), the colour the
// loader must give it as 0x00RRGGBB.
BmpLayout Picture(const Format& f, std::vector<std::uint32_t>* expected) {
    BmpLayout layout;
    layout.width = kWidth;
    layout.height = f.topDown ? -kHeight : kHeight;
    layout.bits = f.bits;
    layout.compression = f.compression;
    layout.headerSize = f.headerSize;
    std::uint32_t masks[3] = {f.masks[0], f.masks[1], f.masks[2]};
    if (f.bits == 16 && f.compression == p::BI_RGB) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (f.bits == 32 && f.compression == p::BI_RGB) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    std::copy(masks, masks + 3, layout.masks);
    const int colours = f.bits == 1 ? 2 : f.bits == 4 ? 16 : 200;
    if (f.bits <= 8) {
        for (int i = 0; i < colours; ++i) layout.colors.push_back(TableColour(i));
        if (f.bits == 8 && f.headerSize != 12) layout.colorsUsed = colours;
        // The core header has no count: its table is always the full one.
        if (f.headerSize == 12) layout.colors.resize(std::size_t{1} << f.bits);
    }
    const std::uint32_t stride = ziru::test::Stride(kWidth, f.bits);
    layout.rows.assign(static_cast<std::size_t>(stride) * kHeight, 0);
    expected->assign(kWidth * kHeight, 0);
    for (int stored = 0; stored < kHeight; ++stored) {
        const int y = f.topDown ? stored : kHeight - 1 - stored;
        std::uint8_t* row = layout.rows.data() + static_cast<std::size_t>(stored) * stride;
        for (int x = 0; x < kWidth; ++x) {
            std::uint32_t& want = (*expected)[y * kWidth + x];
            if (f.bits <= 8) {
                const int index = (x + 3 * y) % colours;
                const int perByte = 8 / f.bits;
                row[x / perByte] |=
                    static_cast<std::uint8_t>(index << (8 - f.bits * (x % perByte + 1)));
                const p::RGBQUAD q = layout.colors[index];
                want = (q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue;
            } else if (f.bits == 24) {
                for (int c = 0; c < 3; ++c) {
                    row[3 * x + (2 - c)] = static_cast<std::uint8_t>(Stored(Level(x, y, c), 8));
                    want |= Expected8(Level(x, y, c), 8) << (16 - 8 * c);
                }
            } else {
                std::uint32_t value = 0;
                for (int c = 0; c < 3; ++c) {
                    value |= Stored(Level(x, y, c), MaskWidth(masks[c])) << MaskShift(masks[c]);
                    want |= Expected8(Level(x, y, c), MaskWidth(masks[c])) << (16 - 8 * c);
                }
                for (unsigned b = 0; b < f.bits / 8u; ++b) {
                    row[x * f.bits / 8 + b] = static_cast<std::uint8_t>(value >> (8 * b));
                }
            }
        }
    }
    return layout;
}

std::vector<Format> AcceptedFormats() {
    std::vector<Format> formats;
    for (std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        for (bool topDown : {false, true}) {
            formats.push_back({40, bits, p::BI_RGB, {0, 0, 0}, topDown});
        }
    }
    for (std::uint32_t header : {40u, 52u, 56u, 108u, 124u}) {
        formats.push_back({header, 16, p::BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, false});
        formats.push_back({header, 32, p::BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, true});
        formats.push_back({header, 24, p::BI_RGB, {0, 0, 0}, false});
        formats.push_back({header, 8, p::BI_RGB, {0, 0, 0}, true});
    }
    formats.push_back({40, 32, p::BI_BITFIELDS, {0x3FF00000, 0x000FFC00, 0x000003FF}, false});
    for (std::uint16_t bits : {1, 4, 8, 24}) formats.push_back({12, bits, p::BI_RGB, {}, false});
    return formats;
}

// The colours of BITMAP's pixels after a blit into a top-down 32-bit DIB.
std::vector<std::uint32_t> ColoursOf(p::HBITMAP bitmap, int width, int height) {
    p::BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(p::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const p::HBITMAP target = p::CreateDIBSection(p::HDC(), &info, p::DIB_RGB_COLORS, &bits, 0, 0);
    const p::HDC to = p::CreateCompatibleDC(p::HDC());
    const p::HDC from = p::CreateCompatibleDC(p::HDC());
    const p::HGDIOBJ oldTo = p::SelectObject(to, p::AsObject(target));
    const p::HGDIOBJ oldFrom = p::SelectObject(from, p::AsObject(bitmap));
    EXPECT_TRUE(p::BitBlt(to, 0, 0, width, height, from, 0, 0, p::SRCCOPY));
    std::vector<std::uint32_t> colours(static_cast<const std::uint32_t*>(bits),
                                       static_cast<const std::uint32_t*>(bits) + width * height);
    p::SelectObject(to, oldTo);
    p::SelectObject(from, oldFrom);
    p::DeleteDC(to);
    p::DeleteDC(from);
    p::DeleteObject(p::AsObject(target));
    return colours;
}

TEST(BmpLoader, KeepsRowsAndTablesAndGivesTheFileColoursForEveryAcceptedFormat) {
    const std::size_t objectsBefore = p::detail::GdiObjectCount();
    for (const Format& f : AcceptedFormats()) {
        SCOPED_TRACE("header " + std::to_string(f.headerSize) + ", " + std::to_string(f.bits) +
                     " bits, compression " + std::to_string(f.compression) +
                     (f.topDown ? ", top-down" : ", bottom-up"));
        std::vector<std::uint32_t> expected;
        const BmpLayout layout = Picture(f, &expected);
        const std::vector<std::uint8_t> file = MakeBmp(layout);

        const auto image = p::DecodeBmp(file);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->topDown, f.topDown);

        const p::HBITMAP bitmap = p::detail::LoadBitmapFromMemory(file.data(), file.size());
        ASSERT_TRUE(bitmap);
        p::BITMAP bm;
        ASSERT_EQ(p::GetObjectA(p::AsObject(bitmap), sizeof bm, &bm),
                  static_cast<int>(sizeof(p::BITMAP)));
        EXPECT_EQ(bm.bmType, 0);
        EXPECT_EQ(bm.bmWidth, kWidth);
        EXPECT_EQ(bm.bmHeight, kHeight);
        EXPECT_EQ(bm.bmWidthBytes, static_cast<int>(ziru::test::Stride(kWidth, f.bits)));
        EXPECT_EQ(bm.bmPlanes, 1);
        EXPECT_EQ(bm.bmBitsPixel, f.bits);
        ASSERT_NE(bm.bmBits, nullptr);
        EXPECT_EQ(
            std::vector<std::uint8_t>(static_cast<std::uint8_t*>(bm.bmBits),
                                      static_cast<std::uint8_t*>(bm.bmBits) + layout.rows.size()),
            layout.rows);

        const p::HDC dc = p::CreateCompatibleDC(p::HDC());
        const p::HGDIOBJ old = p::SelectObject(dc, p::AsObject(bitmap));
        p::RGBQUAD table[256];
        const p::UINT copied = p::GetDIBColorTable(dc, 0, 256, table);
        EXPECT_EQ(copied, layout.colors.size());
        for (p::UINT i = 0; i < copied; ++i) {
            EXPECT_EQ(table[i].rgbRed, layout.colors[i].rgbRed);
            EXPECT_EQ(table[i].rgbGreen, layout.colors[i].rgbGreen);
            EXPECT_EQ(table[i].rgbBlue, layout.colors[i].rgbBlue);
        }
        p::SelectObject(dc, old);
        p::DeleteDC(dc);

        EXPECT_EQ(ColoursOf(bitmap, kWidth, kHeight), expected);
        EXPECT_TRUE(p::DeleteObject(p::AsObject(bitmap)));
    }
    EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore);
}

// A valid 8-bit file with a full table, and a 32-bit bit-field file, to
// break one field at a time.
std::vector<std::uint8_t> Valid8() {
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bits = 8;
    layout.colors.assign(256, p::RGBQUAD{1, 2, 3, 0});
    layout.rows.assign(8, 7);
    return MakeBmp(layout);
}
std::vector<std::uint8_t> Valid32() {
    BmpLayout layout;
    layout.width = 2;
    layout.height = 2;
    layout.bits = 32;
    layout.compression = p::BI_BITFIELDS;
    layout.headerSize = 40;
    layout.masks[0] = 0xFF0000, layout.masks[1] = 0xFF00, layout.masks[2] = 0xFF;
    layout.rows.assign(16, 9);
    return MakeBmp(layout);
}

using ziru::test::Put16;
using ziru::test::Put32;

struct Malformed {
    const char* what;
    std::vector<std::uint8_t> (*base)();
    void (*mutate)(std::vector<std::uint8_t>&);
};

const Malformed kMalformed[] = {
    {"empty", Valid8, [](auto& f) { f.clear(); }},
    {"shorter than the file header", Valid8, [](auto& f) { f.resize(10); }},
    {"shorter than the header size field", Valid8, [](auto& f) { f.resize(16); }},
    {"bad magic", Valid8, [](auto& f) { f[0] = 'M', f[1] = 'B'; }},
    {"truncated info header", Valid8, [](auto& f) { f.resize(14 + 30); }},
    {"header size 64", Valid8, [](auto& f) { Put32(f, 14, 64); }},
    {"header size 0", Valid8, [](auto& f) { Put32(f, 14, 0); }},
    {"header size past the end", Valid8, [](auto& f) { Put32(f, 14, 0xFFFFFFF0u); }},
    {"width 0", Valid8, [](auto& f) { Put32(f, 18, 0); }},
    {"negative width", Valid8, [](auto& f) { Put32(f, 18, static_cast<std::uint32_t>(-3)); }},
    {"height 0", Valid8, [](auto& f) { Put32(f, 22, 0); }},
    {"height INT_MIN", Valid8, [](auto& f) { Put32(f, 22, 0x80000000u); }},
    {"planes 2", Valid8, [](auto& f) { Put16(f, 26, 2); }},
    {"0 bits", Valid8, [](auto& f) { Put16(f, 28, 0); }},
    {"2 bits", Valid8, [](auto& f) { Put16(f, 28, 2); }},
    {"64 bits", Valid8, [](auto& f) { Put16(f, 28, 64); }},
    {"RLE8", Valid8, [](auto& f) { Put32(f, 30, p::BI_RLE8); }},
    {"RLE4", Valid8, [](auto& f) { Put16(f, 28, 4), Put32(f, 30, p::BI_RLE4); }},
    {"bit fields on 8 bits", Valid8, [](auto& f) { Put32(f, 30, p::BI_BITFIELDS); }},
    {"JPEG", Valid8, [](auto& f) { Put32(f, 30, 4); }},
    {"colours used beyond 256", Valid8, [](auto& f) { Put32(f, 46, 257); }},
    {"colours used huge", Valid8, [](auto& f) { Put32(f, 46, 0xFFFFFFFFu); }},
    {"colour table past the end", Valid8, [](auto& f) { f.resize(54 + 100); }},
    {"pixels inside the headers", Valid8, [](auto& f) { Put32(f, 10, 20); }},
    {"pixels inside the colour table", Valid8, [](auto& f) { Put32(f, 10, 54 + 512); }},
    {"pixel offset past the end", Valid8, [](auto& f) { Put32(f, 10, 0xFFFFFFFFu); }},
    {"pixel offset 0", Valid8, [](auto& f) { Put32(f, 10, 0); }},
    {"pixels truncated", Valid8, [](auto& f) { f.pop_back(); }},
    {"row size beyond 32 bits", Valid8, [](auto& f) { Put32(f, 18, 0x7FFFFFFF); }},
    {"byte count overflow", Valid32, [](auto& f) { Put32(f, 18, 0x10000), Put32(f, 22, 0x10000); }},
    {"masks all zero", Valid32, [](auto& f) { Put32(f, 54, 0), Put32(f, 58, 0), Put32(f, 62, 0); }},
    {"masks overlapping", Valid32, [](auto& f) { Put32(f, 58, 0xFFFF00); }},
    {"mask not contiguous", Valid32, [](auto& f) { Put32(f, 54, 0xF0F000); }},
    {"mask beyond 16 bits", Valid32, [](auto& f) { Put16(f, 28, 16), Put32(f, 54, 0x1F0000); }},
    {"masks past the end", Valid32, [](auto& f) { f.resize(60); }},
    {"bit fields on 24 bits", Valid32, [](auto& f) { Put16(f, 28, 24); }},
    {"core header, 16 bits", Valid8,
     [](auto& f) {
         Put32(f, 14, 12), Put16(f, 18, 3), Put16(f, 20, 2), Put16(f, 22, 1), Put16(f, 24, 16);
     }},
    {"core header, width 0", Valid8,
     [](auto& f) {
         Put32(f, 14, 12), Put16(f, 18, 0), Put16(f, 20, 2), Put16(f, 22, 1), Put16(f, 24, 8);
     }},
};

TEST(BmpLoader, RefusesEveryMalformedOrUnsupportedFile) {
    ASSERT_TRUE(p::DecodeBmp(Valid8()).has_value());
    ASSERT_TRUE(p::DecodeBmp(Valid32()).has_value());
    const std::size_t objectsBefore = p::detail::GdiObjectCount();
    for (const Malformed& m : kMalformed) {
        SCOPED_TRACE(m.what);
        std::vector<std::uint8_t> file = m.base();
        m.mutate(file);
        EXPECT_FALSE(p::DecodeBmp(file).has_value());
        EXPECT_FALSE(p::detail::LoadBitmapFromMemory(file.data(), file.size()));
    }
    EXPECT_EQ(p::detail::GdiObjectCount(), objectsBefore);
}

TEST(BmpLoader, LoadImageReadsFilesAndRefusesWhatItCannotLoad) {
    const std::string dir = testing::TempDir();
    const std::string good = dir + "gdi_loader_good.bmp";
    const std::string bad = dir + "gdi_loader_bad.bmp";
    ASSERT_TRUE(ziru::test::WriteFile(good, Valid8()));
    std::vector<std::uint8_t> broken = Valid8();
    broken.resize(60);
    ASSERT_TRUE(ziru::test::WriteFile(bad, broken));

    const p::HBITMAP bitmap =
        p::LoadImageA(p::HINSTANCE(), good.c_str(), p::IMAGE_BITMAP, 0, 0, 0x2030);
    ASSERT_TRUE(bitmap);
    p::BITMAP bm;
    EXPECT_EQ(p::GetObjectA(p::AsObject(bitmap), 0, nullptr), static_cast<int>(sizeof bm));
    EXPECT_EQ(p::GetObjectA(p::AsObject(bitmap), sizeof bm - 1, &bm), 0);
    EXPECT_TRUE(p::DeleteObject(p::AsObject(bitmap)));
    EXPECT_FALSE(p::DeleteObject(p::AsObject(bitmap)));
    EXPECT_EQ(p::GetObjectA(p::AsObject(bitmap), sizeof bm, &bm), 0);

    const p::UINT flags = p::LR_LOADFROMFILE | p::LR_CREATEDIBSECTION;
    struct Refused {
        const char* what;
        const char* name;
        p::UINT type;
        int cx;
        p::UINT flags;
    };
    const std::string missing = dir + "gdi_loader_missing.bmp";
    const Refused refused[] = {
        {"missing file", missing.c_str(), p::IMAGE_BITMAP, 0, flags},
        {"null name", nullptr, p::IMAGE_BITMAP, 0, flags},
        {"empty name", "", p::IMAGE_BITMAP, 0, flags},
        {"a directory", dir.c_str(), p::IMAGE_BITMAP, 0, flags},
        {"malformed file", bad.c_str(), p::IMAGE_BITMAP, 0, flags},
        {"icon type", good.c_str(), p::IMAGE_ICON, 0, flags},
        {"not from a file", good.c_str(), p::IMAGE_BITMAP, 0, p::LR_CREATEDIBSECTION},
        {"another size", good.c_str(), p::IMAGE_BITMAP, 7, flags},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.what);
        EXPECT_FALSE(p::LoadImageA(p::HINSTANCE(), r.name, r.type, r.cx, 0, r.flags));
    }
    std::remove(good.c_str());
    std::remove(bad.c_str());
}

}  // namespace
