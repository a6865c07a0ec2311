// Bitmap loading with palette: a BMP file as a DIB section plus a logical
// palette to draw it with (its own colour table for 8 bits or fewer, the
// half-tone palette otherwise). Used by the region builder and the hover
// image button. Depends on the platform's GDI.
#pragma once

#include <string>

#include "platform/win.h"

namespace ziru::buttons {

using platform::HBITMAP;
using platform::HPALETTE;

// The bitmap, or 0 when FILENAME cannot be loaded; then PAL is untouched.
// The caller owns the bitmap and the palette written to PAL.
HBITMAP LOADBMPFROMFILE(const std::string& FILENAME, HPALETTE& PAL);

}  // namespace ziru::buttons
