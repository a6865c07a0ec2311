// The TGA file reader: uncompressed (type 2) and run-length (type 10)
// true-colour images of 24 or 32 bits into a tightly packed pixel buffer in
// red, green, blue (alpha) order. Makes no OpenGL call. Failures are shown in
// a message box and reported as a false result.
//
// Depends on the platform's message box and the run-time checks.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/runtime.h"
#include "texture/byte_file.h"

namespace ziru::texture {

// A decoded image, also the element of the TGA slot table.
struct TGATEXTURE {
    // WIDTH x HEIGHT pixels of BPP / 8 bytes, rows without gaps. Allocated
    // with std::malloc by the reader; after a successful load the caller owns
    // it and releases it with std::free.
    std::uint8_t* IMAGEDATA = nullptr;
    std::uint32_t BPP = 0;
    std::uint32_t WIDTH = 0;
    std::uint32_t HEIGHT = 0;
    // The OpenGL texture name; the reader never touches it.
    std::uint32_t TEXID = 0;
    // GL_RGB for 24 bits, GL_RGBA for 32 bits.
    std::uint32_t TYP = 0;
};
using PTEXTURE = TGATEXTURE*;

// The first 12 bytes of the file.
struct TTGAHEADER {
    runtime::BoundedArray<std::uint8_t, 0, 11> HEADER;
};

// The reader's scratch record.
struct TTGA {
    // File bytes 12 to 17: width, height, bits per pixel, descriptor.
    runtime::BoundedArray<std::uint8_t, 0, 5> HEADER;
    std::uint32_t BYTESPERPIXEL = 0;
    std::uint32_t IMAGESIZE = 0;
    std::uint32_t TYP = 0;
    std::uint32_t HEIGH = 0;
    std::uint32_t WIDTH = 0;
    std::uint32_t BPP = 0;
};

// Module state of the reader, one load at a time. FTGA is open from the
// start of LOADTGA until its single close.
extern ByteFile FTGA;
extern TTGAHEADER TGAHEADER;
extern TTGA TGA;
extern const runtime::BoundedArray<std::uint8_t, 0, 11> UTGACOMPARE;
extern const runtime::BoundedArray<std::uint8_t, 0, 11> CTGACOMPARE;

// Reads FILENAME (its first 255 characters) into TEXTURE. True when the
// whole image was read; false after a failure already shown to the user, and
// then IMAGEDATA must not be used.
bool LOADTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME);

// The two readers LOADTGA chooses between, called with FTGA open at offset
// 12. On success they close FTGA themselves; on failure they release what
// they allocated and leave FTGA open for LOADTGA to close. FILENAME is not
// used.
bool LOADUNCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME);
bool LOADCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME);

}  // namespace ziru::texture
