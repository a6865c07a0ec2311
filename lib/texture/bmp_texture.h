// BMP textures: the depth probe, the blue/red exchange, the mipmap builder,
// the BMP slot table with its loader and selector, and the two filter
// settings every texture of the library is made with (TGA textures too).
//
// Depends on the platform's bitmap loader (the pixels are decoded there),
// OpenGL and GLU.
#pragma once

#include <cstdint>

#include "runtime/runtime.h"

namespace ziru::texture {

// The BMP slot table: OpenGL texture names, slots 0 to 500, all 0 at start.
extern runtime::BoundedArray<std::uint32_t, 0, 500> TEXTUREID2;

// The minification and magnification filters given to every new texture;
// GL_LINEAR at start. A mipmap minification filter also builds mipmaps.
extern std::int32_t GL_MIN_FILTER;
extern std::int32_t GL_MAG_FILTER;

// The bits per pixel of the BMP file BMPFILE; 0 when the file does not
// exist, does not begin with "BM", has the 12-byte core header or is too
// short for its headers.
std::int32_t GETBMPDEPTH(const char* BMPFILE);

// Exchanges the first and third byte of each of SIZE 3-byte pixels at DATA
// (blue, green, red becomes red, green, blue). Nothing for SIZE below 1.
void SWAPRGB(void* DATA, std::int32_t SIZE);

// Builds the mipmap chain of the texture bound to GL_TEXTURE_2D: FORMAT 24
// from red, green, blue bytes, FORMAT 32 from blue, green, red, alpha bytes;
// any other FORMAT builds nothing.
void ADDMIPMAPSTEXTURE(std::int32_t FORMAT, std::int32_t WIDTH, std::int32_t HEIGHT,
                       const void* BITS);

// Loads the 24- or 32-bit BMP file BMPFILE into a new texture in slot NUM
// (0 to 500) and leaves it bound. A missing, unsupported or malformed file
// still gets a texture name, without an image.
void TEXTURELOADID(const char* BMPFILE, std::int32_t NUM);

// Binds the texture of slot NUM (0 to 500); a slot never loaded binds 0.
void TEXTURESELECTID(std::int32_t NUM);

// True for the four mipmap minification filters.
bool IsMipmapFilter(std::int32_t filter);

}  // namespace ziru::texture
