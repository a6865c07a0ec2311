// The TGA file reader.
//
// Reads are buffered and run-length data is decoded packet by packet (a raw
// packet as one copy with the blue/red exchange, a run packet as one fill),
// while every message, and the condition that raises it, stays what a pixel
// by pixel reader would report. Memory follows the file: an image that the
// remaining bytes cannot fill is never allocated, so a header claiming a huge
// image over a few bytes costs nothing.
#include "texture/tga_reader.h"

#include <GL/gl.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/win.h"

namespace ziru::texture {

ByteFile FTGA;
TTGAHEADER TGAHEADER;
TTGA TGA;
const runtime::BoundedArray<std::uint8_t, 0, 11> UTGACOMPARE{{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
const runtime::BoundedArray<std::uint8_t, 0, 11> CTGACOMPARE{{0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0}};

namespace {

void Show(const char* text, const char* caption = "ERROR") {
    platform::MessageBoxA(platform::HWND(), text, caption, 0);
}

// ===== Pixel conversion ====================================================

// Blue, green, red (alpha) to red, green, blue (alpha), COUNT pixels from SRC
// to DEST (which may be SRC itself).
void SwapToRgb(std::uint8_t* dest, const std::uint8_t* src, std::size_t count,
               std::uint32_t bytesPerPixel) {
    if (bytesPerPixel == 4) {
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t v;
            std::memcpy(&v, src + i * 4, 4);
            v = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
            std::memcpy(dest + i * 4, &v, 4);
        }
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t b = src[i * 3];
        std::uint8_t g = src[i * 3 + 1];
        std::uint8_t r = src[i * 3 + 2];
        dest[i * 3] = r;
        dest[i * 3 + 1] = g;
        dest[i * 3 + 2] = b;
    }
}

// COUNT copies of the red, green, blue (alpha) pixel at PIXEL.
void FillPixels(std::uint8_t* dest, const std::uint8_t* pixel, std::size_t count,
                std::uint32_t bytesPerPixel) {
    if (bytesPerPixel == 4) {
        std::uint32_t v;
        std::memcpy(&v, pixel, 4);
        for (std::size_t i = 0; i < count; ++i) std::memcpy(dest + i * 4, &v, 4);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        dest[i * 3] = pixel[0];
        dest[i * 3 + 1] = pixel[1];
        dest[i * 3 + 2] = pixel[2];
    }
}

// ===== Shared start of both readers ========================================

// Reads bytes 12..17, checks them and sets the record and IMAGESIZE. False
// after a message.
bool ReadInfoHeader(TGATEXTURE& TEXTURE) {
    if (ReadBytes(FTGA, TGA.HEADER.data(), 6) < 6) {
        Show("Could not read info header");
        return false;
    }
    TEXTURE.WIDTH = TGA.HEADER[1] * 256u + TGA.HEADER[0];
    TEXTURE.HEIGHT = TGA.HEADER[3] * 256u + TGA.HEADER[2];
    TEXTURE.BPP = TGA.HEADER[4];
    TGA.WIDTH = TEXTURE.WIDTH;
    TGA.HEIGH = TEXTURE.HEIGHT;
    TGA.BPP = TEXTURE.BPP;
    if (TEXTURE.WIDTH == 0 || TEXTURE.HEIGHT == 0 || (TEXTURE.BPP != 24 && TEXTURE.BPP != 32)) {
        Show("Invalid texture information");
        return false;
    }
    TEXTURE.TYP = TEXTURE.BPP == 24 ? GL_RGB : GL_RGBA;
    TGA.BYTESPERPIXEL = TGA.BPP / 8;
    // At most 65535 x 4 x 65535: past 32 bits this is a run-time error.
    TGA.IMAGESIZE =
        runtime::CheckedMulU(runtime::CheckedMulU(TGA.WIDTH, TGA.BYTESPERPIXEL), TGA.HEIGH);
    return true;
}

std::uint8_t* AllocateImage(TGATEXTURE& TEXTURE) {
    TEXTURE.IMAGEDATA = static_cast<std::uint8_t*>(std::malloc(TGA.IMAGESIZE));
    if (TEXTURE.IMAGEDATA == nullptr) {
        Show("Could not allocate memory for image");
        return nullptr;
    }
    // A large image is written once from end to end: huge pages spare most
    // of its page faults, which otherwise cost as much as the decoding.
    constexpr std::uintptr_t kHuge = 2u << 20;
    if (TGA.IMAGESIZE >= 2 * kHuge) {
        const auto start = reinterpret_cast<std::uintptr_t>(TEXTURE.IMAGEDATA);
        const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1);
        const std::uintptr_t last = (start + TGA.IMAGESIZE) & ~(kHuge - 1);
        if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
    return TEXTURE.IMAGEDATA;
}

void ReleaseImage(TGATEXTURE& TEXTURE) {
    std::free(TEXTURE.IMAGEDATA);
    TEXTURE.IMAGEDATA = nullptr;
}

// ===== Run-length packets ==================================================

enum class RleEnd { COMPLETE, NO_HEADER, RAW_SHORT, RUN_SHORT, TOO_MANY };

// Decodes packets until PIXELCOUNT pixels have been produced or the data
// fails. IMAGE may be null: the packets are then only checked, for a file
// that cannot fill its image and will fail anyway.
RleEnd DecodePackets(std::uint8_t* IMAGE, std::uint8_t* COLORBUFFER) {
    const std::uint32_t bpp = TGA.BYTESPERPIXEL;
    const std::uint32_t PIXELCOUNT = TGA.HEIGH * TGA.WIDTH;
    const std::size_t largestPacket = 1 + 128 * bpp;
    std::uint32_t CURRENTPIXEL = 0;
    for (;;) {
        std::size_t avail = Peek(FTGA, largestPacket);
        if (avail == 0) return RleEnd::NO_HEADER;
        const std::uint8_t* packet = BufferedData(FTGA);
        const std::uint32_t CHUNKHEADER = packet[0];
        const std::uint32_t remaining = PIXELCOUNT - CURRENTPIXEL;
        if (CHUNKHEADER < 128) {
            const std::uint32_t count = CHUNKHEADER + 1;
            std::size_t whole = (avail - 1) / bpp;
            if (whole > count) whole = count;
            // Pixel by pixel, the read of pixel number REMAINING (the first
            // one too many) decides between the two messages.
            if (count > remaining && whole > remaining) return RleEnd::TOO_MANY;
            if (whole < count) return RleEnd::RAW_SHORT;
            if (IMAGE != nullptr)
                SwapToRgb(IMAGE + std::size_t{CURRENTPIXEL} * bpp, packet + 1, count, bpp);
            Consume(FTGA, 1 + std::size_t{count} * bpp);
            CURRENTPIXEL += count;
        } else {
            const std::uint32_t count = CHUNKHEADER - 127;
            if (avail < 1 + bpp) return RleEnd::RUN_SHORT;
            SwapToRgb(COLORBUFFER, packet + 1, 1, bpp);
            Consume(FTGA, 1 + bpp);
            if (count > remaining) return RleEnd::TOO_MANY;
            if (IMAGE != nullptr)
                FillPixels(IMAGE + std::size_t{CURRENTPIXEL} * bpp, COLORBUFFER, count, bpp);
            CURRENTPIXEL += count;
        }
        if (CURRENTPIXEL == PIXELCOUNT) return RleEnd::COMPLETE;
    }
}

// Whether the bytes left in the file can hold packets for the whole image:
// a packet of 1 + BPP bytes yields at most 128 pixels, and no packet yields
// more per byte. Unknown sizes (pipes) count as enough.
bool CanFillImage(std::uint32_t pixelCount) {
    std::int64_t left = RemainingBytes(FTGA);
    if (left < 0) return true;
    std::int64_t packets = left / (1 + TGA.BYTESPERPIXEL);
    return std::int64_t{pixelCount} <= packets * 128;
}

}  // namespace

// ===== The readers =========================================================

bool LOADUNCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& /*FILENAME*/) {
    if (!ReadInfoHeader(TEXTURE)) return false;
    // The pixel read takes a signed 32-bit byte count: a larger uncompressed
    // image is a run-time error.
    if (TGA.IMAGESIZE > 0x7FFFFFFFu)
        runtime::RunError("range check error (read count " + std::to_string(TGA.IMAGESIZE) +
                          " outside 0..2147483647)");
    // A file shorter than the image fails its read; find that out before the
    // image is allocated.
    std::int64_t left = RemainingBytes(FTGA);
    if (left >= 0 && left < std::int64_t{TGA.IMAGESIZE}) {
        Show("Could not read image data");
        return false;
    }
    if (AllocateImage(TEXTURE) == nullptr) return false;
    // Read and convert a slice at a time, so that each slice is converted
    // while it is still in the cache.
    const std::size_t slice = std::size_t{TGA.BYTESPERPIXEL} * 65536;
    for (std::size_t done = 0; done < TGA.IMAGESIZE;) {
        const std::size_t want = std::min<std::size_t>(slice, TGA.IMAGESIZE - done);
        if (ReadBytes(FTGA, TEXTURE.IMAGEDATA + done, want) < want) {
            Show("Could not read image data");
            ReleaseImage(TEXTURE);
            return false;
        }
        SwapToRgb(TEXTURE.IMAGEDATA + done, TEXTURE.IMAGEDATA + done, want / TGA.BYTESPERPIXEL,
                  TGA.BYTESPERPIXEL);
        done += want;
    }
    CloseByteFile(FTGA);
    return true;
}

bool LOADCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& /*FILENAME*/) {
    if (!ReadInfoHeader(TEXTURE)) return false;
    const bool fillable = CanFillImage(TGA.HEIGH * TGA.WIDTH);
    if (fillable && AllocateImage(TEXTURE) == nullptr) return false;
    auto* COLORBUFFER = static_cast<std::uint8_t*>(std::calloc(TGA.BYTESPERPIXEL, 1));
    if (COLORBUFFER == nullptr) {
        Show("Could not allocate memory for color buffer");
        ReleaseImage(TEXTURE);
        return false;
    }
    RleEnd end = DecodePackets(fillable ? TEXTURE.IMAGEDATA : nullptr, COLORBUFFER);
    std::free(COLORBUFFER);
    if (end == RleEnd::COMPLETE && !fillable) {
        // Only a file that grew while it was read gets here: its pixels were
        // not kept, so it fails as a cut-short file would.
        end = RleEnd::RAW_SHORT;
    }
    switch (end) {
        case RleEnd::COMPLETE:
            CloseByteFile(FTGA);
            return true;
        case RleEnd::NO_HEADER:
            Show("Could not read RLE header");
            break;
        case RleEnd::RAW_SHORT:
            Show("Could not read image data");
            break;
        case RleEnd::RUN_SHORT:
            Show("Could not read from file");
            break;
        case RleEnd::TOO_MANY:
            Show("Too many pixels read");
            break;
    }
    ReleaseImage(TEXTURE);
    return false;
}

bool LOADTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME) {
    const std::string name = FILENAME.substr(0, 255);
    if (!OpenByteFile(FTGA, name.c_str())) {
        Show("Could not open texture file");
        return false;
    }
    if (ReadBytes(FTGA, TGAHEADER.HEADER.data(), 12) < 12) {
        Show("Could not read file header");
        CloseByteFile(FTGA);
        return false;
    }
    bool loaded;
    if (std::memcmp(TGAHEADER.HEADER.data(), UTGACOMPARE.data(), 12) == 0) {
        loaded = LOADUNCOMPRESSEDTGA(TEXTURE, FILENAME);
    } else if (std::memcmp(TGAHEADER.HEADER.data(), CTGACOMPARE.data(), 12) == 0) {
        loaded = LOADCOMPRESSEDTGA(TEXTURE, FILENAME);
    } else {
        Show("TGA file be type 2 or type 10", "Invalid Image");
        CloseByteFile(FTGA);
        return false;
    }
    if (!loaded) CloseByteFile(FTGA);
    return loaded;
}

}  // namespace ziru::texture
