// BMP textures: probe, pixel exchange, mipmaps, slot table.
#include "texture/bmp_texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "platform/win.h"
#include "texture/byte_file.h"

namespace ziru::texture {

runtime::BoundedArray<std::uint32_t, 0, 500> TEXTUREID2;
std::int32_t GL_MIN_FILTER = GL_LINEAR;
std::int32_t GL_MAG_FILTER = GL_LINEAR;

bool IsMipmapFilter(std::int32_t filter) {
    return filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_LINEAR_MIPMAP_NEAREST ||
           filter == GL_NEAREST_MIPMAP_LINEAR || filter == GL_LINEAR_MIPMAP_LINEAR;
}

std::int32_t GETBMPDEPTH(const char* BMPFILE) {
    if (!FileExists(BMPFILE)) return 0;
    ByteFile LOADFILE;
    if (!OpenByteFile(LOADFILE, BMPFILE)) return 0;
    platform::BITMAPFILEHEADER FHEADER{};
    platform::BITMAPINFOHEADER IHEADER{};
    std::int32_t depth = 0;
    // A file too short for its headers is simply not a BMP we can use.
    if (ReadBytes(LOADFILE, &FHEADER, sizeof FHEADER) == sizeof FHEADER &&
        FHEADER.bfType == 0x4D42 &&
        ReadBytes(LOADFILE, &IHEADER, sizeof IHEADER) == sizeof IHEADER && IHEADER.biSize != 12) {
        depth = IHEADER.biBitCount;
    }
    CloseByteFile(LOADFILE);
    return depth;
}

void SWAPRGB(void* DATA, std::int32_t SIZE) {
    auto* pixel = static_cast<std::uint8_t*>(DATA);
    for (std::int32_t i = 0; i < SIZE; ++i, pixel += 3) {
        std::uint8_t blue = pixel[0];
        pixel[0] = pixel[2];
        pixel[2] = blue;
    }
}

void ADDMIPMAPSTEXTURE(std::int32_t FORMAT, std::int32_t WIDTH, std::int32_t HEIGHT,
                       const void* BITS) {
    if (FORMAT == 24) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, BITS);
    } else if (FORMAT == 32) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, WIDTH, HEIGHT, GL_BGRA_EXT, GL_UNSIGNED_BYTE, BITS);
    }
}

void TEXTURELOADID(const char* BMPFILE, std::int32_t NUM) {
    std::int32_t FORMAT = GETBMPDEPTH(BMPFILE);
    const platform::HBITMAP BMP = platform::LoadImageA(
        platform::GetModuleHandleA(nullptr), BMPFILE, platform::IMAGE_BITMAP, 0, 0,
        platform::LR_LOADFROMFILE | platform::LR_LOADTRANSPARENT | platform::LR_CREATEDIBSECTION);
    platform::BITMAP SBITMAP{};
    // A bitmap the loader refused (or one that does not match the depth the
    // headers claim) has no pixels to upload: it is handled like an
    // unsupported depth, a texture name without an image.
    if (platform::GetObjectA(platform::AsObject(BMP), sizeof SBITMAP, &SBITMAP) !=
            static_cast<int>(sizeof SBITMAP) ||
        SBITMAP.bmBits == nullptr || SBITMAP.bmWidth <= 0 || SBITMAP.bmHeight == 0 ||
        SBITMAP.bmBitsPixel != FORMAT) {
        FORMAT = 0;
    }
    const std::int32_t width = SBITMAP.bmWidth;
    const std::int32_t height = SBITMAP.bmHeight < 0 ? -SBITMAP.bmHeight : SBITMAP.bmHeight;
    auto* BITS = static_cast<std::uint8_t*>(SBITMAP.bmBits);
    if (FORMAT == 24) {
        // Row by row: each row is padded to 4 bytes, and the padding is not
        // a pixel.
        for (std::int32_t row = 0; row < height; ++row)
            SWAPRGB(BITS + std::size_t(row) * SBITMAP.bmWidthBytes, width);
    }
    glEnable(GL_TEXTURE_2D);
    std::uint32_t& slot = TEXTUREID2[NUM];
    GLuint name = 0;
    glGenTextures(1, &name);
    slot = name;
    glBindTexture(GL_TEXTURE_2D, slot);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_MIN_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_MAG_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (FORMAT == 24) {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, BITS);
    } else if (FORMAT == 32) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                     BITS);
    }
    if (IsMipmapFilter(GL_MIN_FILTER)) ADDMIPMAPSTEXTURE(FORMAT, width, height, BITS);
    // Nothing reads the bitmap again.
    if (BMP) platform::DeleteObject(platform::AsObject(BMP));
}

void TEXTURESELECTID(std::int32_t NUM) {
    glBindTexture(GL_TEXTURE_2D, TEXTUREID2[NUM]);
}

}  // namespace ziru::texture
