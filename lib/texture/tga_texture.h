// TGA textures: the TGA slot table, its loader (the TGA reader, then an
// OpenGL texture with the library's filters and optional mipmaps) and its
// selector.
//
// Depends on the TGA reader, the filter settings and mipmap builder of the
// BMP textures, OpenGL and GLU.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/runtime.h"
#include "texture/tga_reader.h"

namespace ziru::texture {

// The TGA slot table, slots 0 to 200, all zero at start.
extern runtime::BoundedArray<TGATEXTURE, 0, 200> TEXTURETGA2;

// Reads TGAFILE into a new texture in slot NUM (0 to 200) and leaves it
// bound. A missing file changes nothing; a file the reader refuses shows the
// reader's message and creates nothing.
void TEXTURELOADTGAID(const std::string& TGAFILE, std::int32_t NUM);

// Binds the texture of slot NUM (0 to 200); a slot never loaded binds 0.
void TEXTURETGASELECTID(std::int32_t NUM);

}  // namespace ziru::texture
