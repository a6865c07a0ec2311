// GDI: bitmaps and DIB sections, the bitmap loader, palettes, memory device
// contexts, BitBlt, regions and movable global blocks.
#pragma once

#include "platform/types.h"
