// Bitmap to region: the non-transparent pixels of a picture file as a GDI
// region, one rectangle per run of opaque pixels in a row, handed to the
// platform in batches of at most 2000 and joined into one region. Used by
// the hover image button for its window shape and hit tests. Depends on
// LOADBMPFROMFILE, the platform's GDI and global memory.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win.h"

namespace ziru::buttons {

using platform::HRGN;

// The rectangle buffer's starting capacity and the step it grows by.
inline constexpr std::int32_t ALLOC_UNIT = 100;

// TRANSCOLOR is 0x00BBGGRR; a pixel is transparent when each of its red,
// green and blue lies between TRANSCOLOR's and that value plus TOLERANCE
// (capped at 255). A TRANSCOLOR above 0x7FFFFFFF ends the program with a
// run-time error. The caller owns the region; 0 when the picture cannot be
// loaded or the region cannot be built (all that was made is freed then).
HRGN BITMAPTOREGION(const std::string& BMPNAME, std::uint32_t TRANSCOLOR, std::uint8_t TOLERANCE);

}  // namespace ziru::buttons
