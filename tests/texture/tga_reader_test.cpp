// The TGA reader: every failure with its message and caption, the decoded
// bytes of both file types, and resource use on bad input. No GL context.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <random>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include "support/tga_rle.h"
#include "texture/texture_files.h"
#include "texture/tga_reader.h"

namespace tex = ziru::texture;
using ziru::test::Bytes;
using ziru::test::TgaHeader;

namespace {

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Loaded {
    bool ok = false;
    tex::TGATEXTURE texture;
    std::vector<ziru::platform::MessageBoxCall> boxes;
    Bytes pixels;
};

// Loads PATH, keeps a copy of the pixels and releases them, and checks that
// the file was closed whatever happened.
Loaded Load(const std::string& path) {
    Loaded out;
    int files = ziru::test::OpenFileCount();
    ziru::test::BoxRecorder boxes;
    out.ok = tex::LOADTGA(out.texture, path);
    out.boxes = boxes.calls;
    EXPECT_EQ(tex::FTGA.HANDLE, -1);
    EXPECT_EQ(ziru::test::OpenFileCount(), files);
    if (out.ok) {
        std::size_t size =
            std::size_t{out.texture.WIDTH} * out.texture.HEIGHT * out.texture.BPP / 8;
        out.pixels.assign(out.texture.IMAGEDATA, out.texture.IMAGEDATA + size);
        std::free(out.texture.IMAGEDATA);
    }
    return out;
}

Loaded LoadBytes(const Bytes& bytes) {
    return Load(ziru::test::WriteTemp(bytes));
}

// ===== Failures ============================================================

struct FailureCase {
    const char* name;
    Bytes file;
    const char* text;
    const char* caption;
};

Bytes Type(std::uint8_t at, std::uint8_t value) {
    Bytes h = TgaHeader(2, 1, 1, 24);
    h[at] = value;
    return Cat(h, {1, 2, 3});
}

std::vector<FailureCase> FailureCases() {
    const char* E = "ERROR";
    const char* kType = "TGA file be type 2 or type 10";
    Bytes head2 = TgaHeader(2, 1, 1, 24);
    Bytes head10 = TgaHeader(10, 2, 2, 32);
    return {
        {"ElevenBytes", Bytes(11, 0), "Could not read file header", E},
        {"Empty", {}, "Could not read file header", E},
        {"IdLength", Type(0, 1), kType, "Invalid Image"},
        {"ColourMapType", Type(1, 1), kType, "Invalid Image"},
        {"ColourMapped", Type(2, 1), kType, "Invalid Image"},
        {"Grey", Type(2, 3), kType, "Invalid Image"},
        {"GreyRle", Type(2, 11), kType, "Invalid Image"},
        {"ColourMapLength", Type(5, 1), kType, "Invalid Image"},
        {"XOrigin", Type(8, 1), kType, "Invalid Image"},
        {"YOrigin", Type(11, 1), kType, "Invalid Image"},
        {"NoInfoHeader2", Bytes(head2.begin(), head2.end() - 1), "Could not read info header", E},
        {"NoInfoHeader10", Bytes(head10.begin(), head10.begin() + 12), "Could not read info header",
         E},
        {"Width0", Cat(TgaHeader(2, 0, 1, 24), {1, 2, 3}), "Invalid texture information", E},
        {"Height0", Cat(TgaHeader(10, 1, 0, 32), {0x80, 1, 2, 3, 4}), "Invalid texture information",
         E},
        {"Bits16", Cat(TgaHeader(2, 1, 1, 16), {1, 2}), "Invalid texture information", E},
        {"Bits8Rle", Cat(TgaHeader(10, 1, 1, 8), {0x80, 1}), "Invalid texture information", E},
        {"RawShort", Cat(TgaHeader(2, 2, 1, 24), {1, 2, 3, 4, 5}), "Could not read image data", E},
        {"RawNoData", TgaHeader(2, 2, 2, 32), "Could not read image data", E},
        {"RleNoPacket", head10, "Could not read RLE header", E},
        {"RleEndsAtPacket", Cat(head10, {0x81, 1, 2, 3, 4}), "Could not read RLE header", E},
        {"RleRawPixelShort", Cat(head10, {0x01, 1, 2, 3, 4, 5, 6}), "Could not read image data", E},
        {"RleRawHeaderOnly", Cat(head10, {0x00}), "Could not read image data", E},
        {"RleRunPixelShort", Cat(head10, {0x81, 1, 2, 3}), "Could not read from file", E},
        {"RleRunTooLong", Cat(head10, {0x84, 1, 2, 3, 4}), "Too many pixels read", E},
        {"RleSecondRunTooLong", Cat(head10, {0x82, 1, 2, 3, 4, 0x81, 5, 6, 7, 8}),
         "Too many pixels read", E},
        // A raw packet of 5 over 4 pixels: its fifth pixel is complete...
        {"RleRawTooLong", Cat(Cat(head10, {0x04}), Bytes(20, 7)), "Too many pixels read", E},
        // ... or cut short, when the read fails first...
        {"RleRawTooLongCutAtFifth", Cat(Cat(head10, {0x04}), Bytes(18, 7)),
         "Could not read image data", E},
        // ... or cut within the image.
        {"RleRawTooLongCutEarly", Cat(Cat(head10, {0x04}), Bytes(9, 7)),
         "Could not read image data", E},
        // Huge images over a few bytes fail as their reads do.
        {"HugeRaw", Cat(TgaHeader(2, 16384, 16384, 32), {1, 2, 3, 4}), "Could not read image data",
         E},
        {"HugeRleRuns", Cat(TgaHeader(10, 30000, 30000, 32), {0xFF, 1, 2, 3, 4, 0xFF, 1, 2, 3, 4}),
         "Could not read RLE header", E},
        {"HugeRleCutRun", Cat(TgaHeader(10, 30000, 30000, 32), {0xFF, 1, 2, 3, 4, 0xFF, 1}),
         "Could not read from file", E},
        {"HugeRleCutRaw", Cat(TgaHeader(10, 40000, 35000, 24), {0x7F, 1, 2, 3, 4}),
         "Could not read image data", E},
    };
}

class TgaFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(TgaFailure, ShowsItsMessageOnceAndFails) {
    const FailureCase& c = GetParam();
    struct rusage before;
    getrusage(RUSAGE_SELF, &before);
    Loaded r = LoadBytes(c.file);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].text, c.text);
    EXPECT_EQ(r.boxes[0].caption, c.caption);
    EXPECT_EQ(r.boxes[0].type, 0u);
    EXPECT_EQ(r.boxes[0].owner, ziru::platform::HWND());
    struct rusage after;
    getrusage(RUSAGE_SELF, &after);
    // No bad file makes the process resident in hundreds of megabytes.
    EXPECT_LT(after.ru_maxrss, std::max(before.ru_maxrss, 64L * 1024) + 64 * 1024);
}

INSTANTIATE_TEST_SUITE_P(Table, TgaFailure, testing::ValuesIn(FailureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TgaReader, MissingFileCannotBeOpened) {
    Loaded r = Load(testing::TempDir() + "no_such_file.tga");
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].text, "Could not open texture file");
    EXPECT_EQ(r.boxes[0].caption, "ERROR");
    Loaded dir = Load(testing::TempDir());
    ASSERT_EQ(dir.boxes.size(), 1u);
    EXPECT_EQ(dir.boxes[0].text, "Could not open texture file");
}

TEST(TgaReader, TooManyPixelsWritesNothingPastTheImage) {
    // The run of 4 over a 2 x 1 image must stop at the image's end; under the
    // address sanitizer a write past the 8-byte buffer would be reported.
    Loaded r = LoadBytes(Cat(TgaHeader(10, 2, 1, 32), {0x83, 1, 2, 3, 4}));
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].text, "Too many pixels read");
}

TEST(TgaReaderDeath, ImageThatCannotBeAllocatedIsRefused) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
    // 512 KB of run packets can fill a 5120 x 5120 image of 100 MB; with the
    // address space capped 64 MB above what the process has, it cannot be
    // allocated.
    Bytes file = TgaHeader(10, 5120, 5120, 32);
    for (int i = 0; i < 5120 * 5120 / 128; ++i) file.insert(file.end(), {0xFF, 1, 2, 3, 4});
    std::string path = ziru::test::WriteTemp(file);
    EXPECT_EXIT(
        {
            long pages = 0;
            FILE* statm = std::fopen("/proc/self/statm", "r");
            if (statm == nullptr || std::fscanf(statm, "%ld", &pages) != 1) std::_Exit(3);
            std::fclose(statm);
            struct rlimit limit;
            limit.rlim_cur = limit.rlim_max = pages * sysconf(_SC_PAGESIZE) + (64 << 20);
            setrlimit(RLIMIT_AS, &limit);
            ziru::test::BoxRecorder boxes;
            tex::TGATEXTURE t;
            bool ok = tex::LOADTGA(t, path);
            for (const auto& box : boxes.calls) std::fprintf(stderr, "[%s]\n", box.text.c_str());
            std::_Exit(!ok && boxes.calls.size() == 1 && tex::FTGA.HANDLE == -1 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "^\\[Could not allocate memory for image\\]\n$");
#endif
}

// ===== Run-time errors =====================================================

TEST(TgaReaderDeath, ImageOf4GBOrMoreEndsTheProgram) {
    std::string path =
        ziru::test::WriteTemp(Cat(TgaHeader(10, 65535, 65535, 32), {0x80, 1, 2, 3, 4}));
    EXPECT_EXIT(
        {
            dup2(2, 1);
            tex::TGATEXTURE t;
            tex::LOADTGA(t, path);
        },
        testing::ExitedWithCode(217), "Runtime error: arithmetic overflow");
}

TEST(TgaReaderDeath, UncompressedReadOver2GBEndsTheProgram) {
    // 32768 x 16385 x 4 bytes: past the signed 32-bit count of the one read.
    std::string path = ziru::test::WriteTemp(Cat(TgaHeader(2, 32768, 16385, 32), {1, 2, 3, 4}));
    EXPECT_EXIT(
        {
            dup2(2, 1);
            tex::TGATEXTURE t;
            tex::LOADTGA(t, path);
        },
        testing::ExitedWithCode(217), "Runtime error: range check error");
}

// ===== Decoding ============================================================

TEST(TgaReader, RleRunPacketOfOnePixel) {
    Loaded r = LoadBytes(Cat(TgaHeader(10, 1, 1, 32), {0x80, 0x10, 0x20, 0x30, 0x40}));
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(r.pixels, (Bytes{0x30, 0x20, 0x10, 0x40}));
    EXPECT_EQ(r.texture.TYP, static_cast<std::uint32_t>(GL_RGBA));
    EXPECT_EQ(r.texture.BPP, 32u);
    EXPECT_EQ(r.texture.WIDTH, 1u);
    EXPECT_EQ(r.texture.HEIGHT, 1u);
    EXPECT_EQ(tex::TGA.IMAGESIZE, 4u);
    EXPECT_EQ(tex::TGA.BYTESPERPIXEL, 4u);
}

TEST(TgaReader, Uncompressed24Bit) {
    Loaded r = LoadBytes(Cat(TgaHeader(2, 2, 1, 24), {1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.pixels, (Bytes{3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(r.texture.TYP, static_cast<std::uint32_t>(GL_RGB));
    EXPECT_EQ(r.texture.BPP, 24u);
}

TEST(TgaReader, TrailingBytesAndDescriptorAreIgnored) {
    Bytes footer(26, 0x55);
    struct Case {
        Bytes file;
        Bytes pixels;
    } cases[] = {
        {Cat(Cat(TgaHeader(2, 1, 2, 32, 0x28), {1, 2, 3, 4, 5, 6, 7, 8}), footer),
         {3, 2, 1, 4, 7, 6, 5, 8}},
        {Cat(Cat(TgaHeader(10, 3, 1, 24, 0x20), {0x00, 1, 2, 3, 0x81, 4, 5, 6}), footer),
         {3, 2, 1, 6, 5, 4, 6, 5, 4}},
    };
    for (const Case& c : cases) {
        Loaded r = LoadBytes(c.file);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.pixels, c.pixels);
        EXPECT_TRUE(r.boxes.empty());
    }
}

TEST(TgaReader, PacketsRunAcrossRows) {
    // 3 x 2: a run of 4 crosses the first row end, a raw packet of 2 ends it.
    Loaded r = LoadBytes(Cat(TgaHeader(10, 3, 2, 24), {0x83, 9, 8, 7, 0x01, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.pixels, (Bytes{7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9, 3, 2, 1, 6, 5, 4}));
}

TEST(TgaReader, ReadOnlyFileLoads) {
    std::string path = ziru::test::WriteTemp(Cat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    Loaded r = Load(path);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.boxes.empty());
}

TEST(TgaReader, AgreesWithStbImageOnLargerImages) {
    // Sizes beyond the read buffer, odd widths, both depths and types; flat
    // and noisy spans so that both packet kinds cross buffer refills.
    std::mt19937 random(7);
    struct Case {
        int width, height, bpp;
        bool rle;
    } cases[] = {{641, 387, 32, true},  {513, 301, 24, true}, {333, 777, 24, false},
                 {700, 500, 32, false}, {1, 1, 24, true},     {5, 5, 24, true}};
    for (const Case& c : cases) {
        const int b = c.bpp / 8;
        Bytes pixels(std::size_t(c.width) * c.height * b);
        for (std::size_t i = 0; i < pixels.size() / b;) {
            std::size_t span = 1 + random() % 300;
            bool flat = random() % 2;
            std::uint32_t colour = random();
            for (std::size_t k = 0; k < span && i < pixels.size() / b; ++k, ++i) {
                std::uint32_t v = flat ? colour : static_cast<std::uint32_t>(random());
                for (int j = 0; j < b; ++j) pixels[i * b + j] = (v >> (8 * j)) & 0xFF;
            }
        }
        Bytes file = Cat(TgaHeader(c.rle ? 10 : 2, c.width, c.height, c.bpp, 0x20),
                         c.rle ? ziru::test::EncodeTgaRle(pixels, b) : pixels);
        Loaded r = LoadBytes(file);
        ASSERT_TRUE(r.ok) << c.width << "x" << c.height;
        int w, h, comp;
        stbi_uc* ref =
            stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &comp, b);
        ASSERT_NE(ref, nullptr);
        EXPECT_TRUE(std::equal(r.pixels.begin(), r.pixels.end(), ref))
            << c.width << "x" << c.height;
        stbi_image_free(ref);
    }
}

}  // namespace
