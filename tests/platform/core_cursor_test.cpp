// Cursors, icons and brushes: the standard cursors shared per identifier and
// the cursor-file decoder, which refuses every malformed file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/core.h"
#include "platform/core/cursorfile.h"

namespace {

using namespace ziru::platform;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A 32 x 32, 1-bit cursor with hotspot (5, 7): black top half, white bottom
// half, the right half transparent through the AND mask.
Bytes OneBitCursor() {
    const std::size_t image = 6 + 16;
    const std::size_t rows = image + 40 + 8;
    Bytes b(rows + 32 * 4 * 2, 0);
    Put16(b, 2, 2);
    Put16(b, 4, 1);
    b[6] = 32;
    b[7] = 32;
    Put16(b, 6 + 4, 5);
    Put16(b, 6 + 6, 7);
    Put32(b, 6 + 8, static_cast<std::uint32_t>(b.size() - image));
    Put32(b, 6 + 12, image);
    Put32(b, image, 40);
    Put32(b, image + 4, 32);
    Put32(b, image + 8, 64);
    Put16(b, image + 12, 1);
    Put16(b, image + 14, 1);
    Put32(b, image + 40 + 4, 0x00FFFFFF);  // colour 1: white
    for (int y = 0; y < 32; ++y) {
        // Stored bottom-up: file row 0 is the image's last row.
        const bool bottomHalf = y < 16;
        const std::size_t colour = rows + static_cast<std::size_t>(y) * 4;
        const std::size_t mask = rows + 32 * 4 + static_cast<std::size_t>(y) * 4;
        for (int i = 0; i < 4; ++i) b[colour + i] = bottomHalf ? 0xFF : 0x00;
        b[mask + 2] = 0xFF;
        b[mask + 3] = 0xFF;
    }
    return b;
}

TEST(CursorFile, DecodesColoursMaskAndHotspot) {
    const auto image = detail::DecodeCursorFile(OneBitCursor());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->hotX, 5);
    EXPECT_EQ(image->hotY, 7);
    EXPECT_EQ(image->pixels[0], 0xFF000000u);        // top left: opaque black
    EXPECT_EQ(image->pixels[31 * 32], 0xFFFFFFFFu);  // bottom left: opaque white
    EXPECT_EQ(image->pixels[20] >> 24, 0u);          // right half: transparent
}

TEST(CursorFile, RefusesMalformedFiles) {
    struct Case {
        const char* name;
        void (*spoil)(Bytes&);
    };
    const Case cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }},
        {"truncated pixels", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"wrong type", [](Bytes& b) { Put16(b, 2, 3); }},
        {"no images", [](Bytes& b) { Put16(b, 4, 0); }},
        {"offset past the end", [](Bytes& b) { Put32(b, 6 + 12, 0xFFFFFFF0u); }},
        {"compressed", [](Bytes& b) { Put32(b, 22 + 16, 1); }},
        {"odd height", [](Bytes& b) { Put32(b, 22 + 8, 63); }},
        {"huge width", [](Bytes& b) { Put32(b, 22 + 4, 0x7FFFFFFF); }},
        {"negative height", [](Bytes& b) { Put32(b, 22 + 8, 0x80000000u); }},
        {"hotspot outside", [](Bytes& b) { Put16(b, 6 + 4, 40); }},
        {"bad depth", [](Bytes& b) { Put16(b, 22 + 14, 7); }},
    };
    for (const auto& c : cases) {
        Bytes b = OneBitCursor();
        c.spoil(b);
        EXPECT_FALSE(detail::DecodeCursorFile(b)) << c.name;
    }
}

TEST(CursorFile, LoadingFromDiskGivesAHandleOrZero) {
    const std::string path = ::testing::TempDir() + "core_cursor_test.cur";
    const Bytes good = OneBitCursor();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(good.data(), 1, good.size(), f);
    std::fclose(f);
    EXPECT_TRUE(LoadCursorFromFileA(path.c_str()));
    EXPECT_FALSE(LoadCursorFromFileA(""));
    EXPECT_FALSE(LoadCursorFromFileA((path + ".missing").c_str()));
    std::remove(path.c_str());
}

TEST(StandardResources, CursorsIconsAndBrushesAreSharedHandles) {
    const std::uint32_t ids[] = {IDC_ARROW,   IDC_IBEAM,       IDC_WAIT,     IDC_CROSS,
                                 IDC_UPARROW, IDC_SIZE,        IDC_SIZENWSE, IDC_SIZENESW,
                                 IDC_SIZEWE,  IDC_SIZENS,      IDC_SIZEALL,  IDC_NO,
                                 IDC_HAND,    IDC_APPSTARTING, IDC_HELP};
    for (std::uint32_t id : ids) {
        const HCURSOR c = LoadCursorA(HINSTANCE(), id);
        EXPECT_TRUE(c) << id;
        EXPECT_EQ(LoadCursorA(HINSTANCE(), id), c) << id;
    }
    EXPECT_FALSE(LoadCursorA(HINSTANCE(), 1));
    EXPECT_TRUE(LoadIconA(HINSTANCE(), IDI_APPLICATION));
    EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_NE(GetSysColorBrush(COLOR_BTNFACE).value, GetStockObject(NULL_BRUSH).value);
}

}  // namespace
