// Small image files made by the texture tests: TGA and BMP bytes built in
// memory and written to a scratch folder, and a recorder of message boxes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win.h"

namespace ziru::test {

using Bytes = std::vector<std::uint8_t>;

// The 18-byte header of a type 2 or 10 TGA.
Bytes TgaHeader(std::uint8_t type, std::uint32_t width, std::uint32_t height, std::uint8_t bpp,
                std::uint8_t descriptor = 0);

// A bottom-up BMP: file header, 40-byte info header, colour table (for
// depths up to 8), rows padded to 4 bytes. PIXEL(x, y) gives blue, green,
// red, alpha of picture row y counted from the bottom.
Bytes Bmp(std::int32_t width, std::int32_t height, std::uint16_t bits,
          std::uint32_t (*pixel)(int x, int y));

// Writes BYTES to a new file in the test's scratch folder and returns its
// path. Every call gives a fresh name.
std::string WriteTemp(const Bytes& bytes, const std::string& suffix = ".tga");

// Records every message box while alive (and answers IDOK).
class BoxRecorder {
  public:
    BoxRecorder();
    ~BoxRecorder();
    std::vector<platform::MessageBoxCall> calls;
};

// Number of file descriptors the process holds open.
int OpenFileCount();

}  // namespace ziru::test
