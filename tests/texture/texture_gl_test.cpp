// BMP and TGA textures on a real GL context (SDL's offscreen driver): the
// depth probe, the pixel exchange, uploads read back with glGetTexImage,
// mipmaps, slot tables and their bounds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <GL/gl.h>

#include <cstring>

#include "support/gl_context.h"
#include "texture/bmp_texture.h"
#include "texture/texture_files.h"
#include "texture/tga_texture.h"

namespace tex = ziru::texture;
using ziru::test::Bytes;

namespace {

const testing::ExitedWithCode kRuntimeExit(217);

// ===== Images ==============================================================

// Blue, green, red, alpha of test pixel (x, y), y from the bottom: every
// pixel of a small image differs.
std::uint32_t Pattern(int x, int y) {
    const std::uint32_t r = (x * 37 + 11) & 0xFF;
    const std::uint32_t g = (y * 53 + 7) & 0xFF;
    const std::uint32_t b = (x * 5 + y * 9 + 100) & 0xFF;
    const std::uint32_t a = (x * 3 + y * 17 + 1) & 0xFF;
    return b | g << 8 | r << 16 | a << 24;
}
std::uint32_t Index(int x, int y) {
    return (x + y) & 0xFF;
}

// An uncompressed TGA of PATTERN, bottom row first.
Bytes Tga(int width, int height, int bits) {
    Bytes file = ziru::test::TgaHeader(2, width, height, bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < bits / 8; ++c) file.push_back((Pattern(x, y) >> (8 * c)) & 0xFF);
    return file;
}

// Red, green, blue, alpha of every texel of LEVEL of the bound texture.
std::vector<std::uint8_t> Texels(int level, int* width, int* height) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, height);
    std::vector<std::uint8_t> texels(std::size_t(*width) * *height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!texels.empty())
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// Checks the bound texture against PATTERN; ALPHA tells whether the
// pattern's alpha is to be kept (else 255).
void ExpectPattern(int width, int height, bool alpha) {
    int w = 0, h = 0;
    std::vector<std::uint8_t> texels = Texels(0, &w, &h);
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = Pattern(x, y);
            const std::uint8_t* t = &texels[(std::size_t(y) * width + x) * 4];
            const std::uint8_t want[4] = {std::uint8_t(p >> 16), std::uint8_t(p >> 8),
                                          std::uint8_t(p), std::uint8_t(alpha ? p >> 24 : 255)};
            if (std::memcmp(t, want, 4) != 0 && wrong++ < 3)
                ADD_FAILURE() << "texel " << x << "," << y << " of " << width << "x" << height;
        }
    }
    EXPECT_EQ(wrong, 0);
}

GLint Bound() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint TexParameter(GLenum which) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

class Textures : public testing::Test {
  protected:
    ziru::test::GlContext gl{16, 16};
    void TearDown() override {
        tex::GL_MIN_FILTER = GL_LINEAR;
        tex::GL_MAG_FILTER = GL_LINEAR;
    }
};

// ===== BMP: probe and exchange =============================================

TEST(BmpDepth, ReadsTheBitCountOrZero) {
    Bytes core = {'B', 'M', 26, 0, 0, 0, 0, 0, 0, 0, 26, 0,  0,
                  0,   12,  0,  0, 0, 1, 0, 1, 0, 1, 0,  24, 0};
    core.resize(64, 0);
    Bytes shortInfo = ziru::test::Bmp(2, 2, 24, Pattern);
    shortInfo.resize(20);
    Bytes notBm = ziru::test::Bmp(2, 2, 24, Pattern);
    notBm[0] = 'P';
    struct Case {
        const char* name;
        std::string path;
        std::int32_t depth;
    } cases[] = {
        {"24-bit", ziru::test::WriteTemp(ziru::test::Bmp(3, 2, 24, Pattern), ".bmp"), 24},
        {"32-bit", ziru::test::WriteTemp(ziru::test::Bmp(3, 2, 32, Pattern), ".bmp"), 32},
        {"8-bit", ziru::test::WriteTemp(ziru::test::Bmp(3, 2, 8, Index), ".bmp"), 8},
        {"missing", testing::TempDir() + "no_such.bmp", 0},
        {"folder", testing::TempDir(), 0},
        {"not BM", ziru::test::WriteTemp(notBm, ".bmp"), 0},
        {"core header", ziru::test::WriteTemp(core, ".bmp"), 0},
        {"20 bytes", ziru::test::WriteTemp(shortInfo, ".bmp"), 0},
        {"5 bytes", ziru::test::WriteTemp({'B', 'M', 0, 0, 0}, ".bmp"), 0},
        {"empty", ziru::test::WriteTemp({}, ".bmp"), 0},
    };
    for (const Case& c : cases) {
        const int files = ziru::test::OpenFileCount();
        EXPECT_EQ(tex::GETBMPDEPTH(c.path.c_str()), c.depth) << c.name;
        EXPECT_EQ(ziru::test::OpenFileCount(), files) << c.name << ": file left open";
    }
}

TEST(SwapRgb, ExchangesFirstAndThirdBytes) {
    std::uint8_t data[7] = {1, 2, 3, 4, 5, 6, 99};
    tex::SWAPRGB(data, 2);
    EXPECT_EQ(Bytes(data, data + 7), (Bytes{3, 2, 1, 6, 5, 4, 99}));
    tex::SWAPRGB(data, 0);
    tex::SWAPRGB(data, -5);
    EXPECT_EQ(Bytes(data, data + 7), (Bytes{3, 2, 1, 6, 5, 4, 99}));
}

// ===== BMP textures ========================================================

TEST_F(Textures, BmpUploadsInTheFilesColours) {
    struct Case {
        int width, height, bits, slot;
    } cases[] = {{64, 64, 24, 500}, {3, 2, 24, 1},   {5, 5, 24, 2},
                 {1, 1, 24, 3},     {64, 64, 32, 4}, {3, 2, 32, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        std::string path =
            ziru::test::WriteTemp(ziru::test::Bmp(c.width, c.height, c.bits, Pattern), ".bmp");
        glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 7);
        glDisable(GL_TEXTURE_2D);
        tex::TEXTURELOADID(path.c_str(), c.slot);
        EXPECT_NE(tex::TEXTUREID2[c.slot], 0u);
        EXPECT_EQ(Bound(), static_cast<GLint>(tex::TEXTUREID2[c.slot]));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        // The unpack state the upload relied on stays set.
        GLint alignment = 0, rowLength = -1, skipRows = -1, skipPixels = -1;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
        glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skipRows);
        glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skipPixels);
        EXPECT_EQ(alignment, 4);
        EXPECT_EQ(rowLength, 0);
        EXPECT_EQ(skipRows, 0);
        EXPECT_EQ(skipPixels, 0);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        ExpectPattern(c.width, c.height, c.bits == 32);
    }
}

TEST_F(Textures, BmpWithoutUsableImageGetsANameOnly) {
    Bytes truncated = ziru::test::Bmp(16, 16, 24, Pattern);
    truncated.resize(60);  // headers fine, pixels missing: the loader refuses it
    Bytes notBm = ziru::test::Bmp(4, 4, 24, Pattern);
    notBm[1] = 'X';
    const std::string cases[] = {
        ziru::test::WriteTemp(ziru::test::Bmp(4, 4, 8, Index), ".bmp"),
        ziru::test::WriteTemp(truncated, ".bmp"),
        ziru::test::WriteTemp(notBm, ".bmp"),
        testing::TempDir() + "missing.bmp",
    };
    int slot = 10;
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        tex::TEXTURELOADID(path.c_str(), slot);
        EXPECT_NE(tex::TEXTUREID2[slot], 0u);
        EXPECT_EQ(Bound(), static_cast<GLint>(tex::TEXTUREID2[slot]));
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        int w = -1, h = -1;
        Texels(0, &w, &h);
        EXPECT_EQ(w, 0);
        ++slot;
    }
}

TEST_F(Textures, BmpMipmapsOnlyWithAMipmapFilter) {
    std::string path24 = ziru::test::WriteTemp(ziru::test::Bmp(64, 64, 24, Pattern), ".bmp");
    std::string path32 = ziru::test::WriteTemp(ziru::test::Bmp(8, 8, 32, Pattern), ".bmp");
    int w = -1, h = -1;
    tex::TEXTURELOADID(path24.c_str(), 20);
    Texels(1, &w, &h);
    EXPECT_EQ(w, 0);

    tex::GL_MIN_FILTER = GL_LINEAR_MIPMAP_LINEAR;
    tex::TEXTURELOADID(path24.c_str(), 21);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    Texels(6, &w, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    tex::TEXTURELOADID(path32.c_str(), 22);
    Texels(3, &w, &h);
    EXPECT_EQ(w, 1);
}

TEST_F(Textures, BmpSlotsNeverLoadedBindZero) {
    tex::TEXTURESELECTID(499);
    EXPECT_EQ(Bound(), 0);
}

// ===== TGA textures ========================================================

TEST_F(Textures, TgaUploadsInTheFilesColours) {
    struct Case {
        int width, height, bits, slot;
    } cases[] = {{3, 2, 24, 1}, {5, 5, 24, 2}, {4, 3, 24, 3}, {3, 2, 32, 4}, {64, 64, 32, 200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        std::string path = ziru::test::WriteTemp(Tga(c.width, c.height, c.bits));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glDisable(GL_TEXTURE_2D);
        ziru::test::BoxRecorder boxes;
        tex::TEXTURELOADTGAID(path, c.slot);
        EXPECT_TRUE(boxes.calls.empty());
        const tex::TGATEXTURE& slot = tex::TEXTURETGA2[c.slot];
        EXPECT_NE(slot.TEXID, 0u);
        EXPECT_EQ(slot.IMAGEDATA, nullptr);
        EXPECT_EQ(slot.WIDTH, static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(Bound(), static_cast<GLint>(slot.TEXID));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        ExpectPattern(c.width, c.height, c.bits == 32);
    }
}

TEST_F(Textures, TgaMipmapsOnlyWithAMipmapFilter) {
    // A flat 32-bit image: every level keeps the file's colour.
    Bytes file = ziru::test::TgaHeader(10, 16, 8, 32);
    // One run packet of 128 pixels.
    file.insert(file.end(), {0xFF, 0x10, 0x20, 0x30, 0x40});
    std::string flat = ziru::test::WriteTemp(file);
    // A flat 5 x 3 24-bit image: rows of 15 bytes, read with the wrong
    // alignment its later rows would come out with channels rotated.
    Bytes oddFile = ziru::test::TgaHeader(2, 5, 3, 24);
    for (int i = 0; i < 15; ++i) oddFile.insert(oddFile.end(), {0x10, 0x20, 0x30});
    std::string odd = ziru::test::WriteTemp(oddFile);
    int w = -1, h = -1;
    tex::TEXTURELOADTGAID(flat, 30);
    Texels(1, &w, &h);
    EXPECT_EQ(w, 0);

    tex::GL_MIN_FILTER = GL_LINEAR_MIPMAP_NEAREST;
    tex::TEXTURELOADTGAID(flat, 31);
    for (int level = 0; level <= 4; ++level) {
        std::vector<std::uint8_t> texels = Texels(level, &w, &h);
        ASSERT_EQ(w, std::max(1, 16 >> level)) << level;
        EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 4), (Bytes{0x30, 0x20, 0x10, 0x40}));
    }
    // An odd-width 24-bit image builds its chain from the same rows.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    tex::TEXTURELOADTGAID(odd, 32);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2);
    // The builder scales to powers of two: 4 x 2, 2 x 1, 1 x 1.
    for (int level = 0; level <= 2; ++level) {
        std::vector<std::uint8_t> texels = Texels(level, &w, &h);
        ASSERT_EQ(w, 4 >> level) << level;
        for (std::size_t i = 0; i < texels.size(); i += 4)
            ASSERT_EQ(Bytes(texels.begin() + i, texels.begin() + i + 4),
                      (Bytes{0x30, 0x20, 0x10, 0xFF}))
                << "level " << level << " texel " << i / 4;
    }
}

TEST_F(Textures, TgaMissingFileChangesNothingAndShowsNothing) {
    ziru::test::BoxRecorder boxes;
    glBindTexture(GL_TEXTURE_2D, 0);
    tex::TEXTURELOADTGAID(testing::TempDir() + "missing.tga", 7);
    tex::TEXTURELOADTGAID(testing::TempDir() + "missing.tga", 9999);
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(tex::TEXTURETGA2[7].TEXID, 0u);
    EXPECT_EQ(Bound(), 0);
}

TEST_F(Textures, TgaRefusedShowsOneMessageAndKeepsTheName) {
    std::string good = ziru::test::WriteTemp(Tga(2, 2, 32));
    Bytes grey = ziru::test::TgaHeader(3, 1, 1, 8);
    grey.push_back(0);
    std::string bad = ziru::test::WriteTemp(grey);
    tex::TEXTURELOADTGAID(good, 40);
    const std::uint32_t name = tex::TEXTURETGA2[40].TEXID;
    ziru::test::BoxRecorder boxes;
    tex::TEXTURELOADTGAID(bad, 40);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "TGA file be type 2 or type 10");
    EXPECT_EQ(tex::TEXTURETGA2[40].TEXID, name);
}

TEST_F(Textures, TgaReadOnlyFileLoadsBeforeAndAfterABmpProbe) {
    std::string path = ziru::test::WriteTemp(Tga(2, 2, 24));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    tex::TEXTURELOADTGAID(path, 50);
    EXPECT_NE(tex::TEXTURETGA2[50].TEXID, 0u);
    std::string bmp = ziru::test::WriteTemp(ziru::test::Bmp(4, 4, 24, Pattern), ".bmp");
    tex::TEXTURELOADID(bmp.c_str(), 50);
    tex::TEXTURELOADTGAID(path, 51);
    EXPECT_NE(tex::TEXTURETGA2[51].TEXID, 0u);
}

TEST_F(Textures, TgaSlotsNeverLoadedBindZero) {
    tex::TEXTURETGASELECTID(199);
    EXPECT_EQ(Bound(), 0);
    std::string path = ziru::test::WriteTemp(Tga(1, 1, 24));
    tex::TEXTURELOADTGAID(path, 60);
    glBindTexture(GL_TEXTURE_2D, 0);
    tex::TEXTURETGASELECTID(60);
    EXPECT_EQ(Bound(), static_cast<GLint>(tex::TEXTURETGA2[60].TEXID));
}

// ===== Slots outside the tables ============================================

// Each death test runs in a fresh copy of the program, which makes its own
// GL context rather than inheriting one across a fork.
TEST_F(Textures, SlotsOutsideTheTablesEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string bmp = ziru::test::WriteTemp(ziru::test::Bmp(4, 4, 24, Pattern), ".bmp");
    std::string tga = ziru::test::WriteTemp(Tga(2, 2, 32));
    EXPECT_EXIT(tex::TEXTURELOADID(bmp.c_str(), 501), kRuntimeExit, "");
    EXPECT_EXIT(tex::TEXTURELOADID(bmp.c_str(), -1), kRuntimeExit, "");
    EXPECT_EXIT(tex::TEXTURESELECTID(501), kRuntimeExit, "");
    EXPECT_EXIT(tex::TEXTURELOADTGAID(tga, 201), kRuntimeExit, "");
    EXPECT_EXIT(tex::TEXTURETGASELECTID(201), kRuntimeExit, "");
    EXPECT_EXIT(tex::TEXTURETGASELECTID(-1), kRuntimeExit, "");
}

}  // namespace
