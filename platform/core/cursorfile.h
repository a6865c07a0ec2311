// Cursor files (.cur, also .ico): an icon directory whose first image is a
// DIB of doubled height, colour rows then the AND mask. Decoded here into
// ARGB pixels and a hotspot, with every offset and size checked.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ziru::platform::detail {

struct CursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<std::uint32_t> pixels;  // ARGB, top row first
};

// Nothing when the bytes are not a readable cursor or icon file.
std::optional<CursorImage> DecodeCursorFile(const std::vector<std::uint8_t>& bytes);

}  // namespace ziru::platform::detail
