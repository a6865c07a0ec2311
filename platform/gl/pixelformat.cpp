// The pixel-format ladder: a descriptor turned into SDL GL attributes and
// relaxed one step at a time, so that even an unsatisfiable request ends in
// a working double-buffered RGBA format.
#include <algorithm>

#include "platform/gl/gl.h"

namespace ziru::platform::detail {

namespace {

backend::GlAttributes Translate(const PIXELFORMATDESCRIPTOR& pfd) {
    backend::GlAttributes a;
    // Colour bits count red, green and blue (alpha is separate).
    const int colour = pfd.cColorBits;
    if (pfd.cRedBits || pfd.cGreenBits || pfd.cBlueBits) {
        a.red = pfd.cRedBits;
        a.green = pfd.cGreenBits;
        a.blue = pfd.cBlueBits;
    } else if (colour >= 24) {
        a.red = a.green = a.blue = 8;
    } else if (colour >= 15) {
        a.red = 5;
        a.green = colour == 15 ? 5 : 6;
        a.blue = 5;
    } else if (colour > 0) {
        a.red = a.green = 3;
        a.blue = 2;
    }
    a.red = std::min(a.red, 8);
    a.green = std::min(a.green, 8);
    a.blue = std::min(a.blue, 8);
    a.alpha = std::min<int>(pfd.cAlphaBits, 8);
    a.stencil = std::min<int>(pfd.cStencilBits, 8);
    const int depthLimit = a.stencil > 0 ? 24 : 32;
    a.depth = std::min<int>(pfd.cDepthBits, depthLimit);
    if (pfd.cAccumRedBits || pfd.cAccumGreenBits || pfd.cAccumBlueBits || pfd.cAccumAlphaBits) {
        a.accumRed = pfd.cAccumRedBits;
        a.accumGreen = pfd.cAccumGreenBits;
        a.accumBlue = pfd.cAccumBlueBits;
        a.accumAlpha = pfd.cAccumAlphaBits;
    } else {
        a.accumRed = a.accumGreen = a.accumBlue = a.accumAlpha = pfd.cAccumBits / 4;
    }
    a.accumRed = std::min(a.accumRed, 16);
    a.accumGreen = std::min(a.accumGreen, 16);
    a.accumBlue = std::min(a.accumBlue, 16);
    a.accumAlpha = std::min(a.accumAlpha, 16);
    a.doubleBuffer = (pfd.dwFlags & PFD_DOUBLEBUFFER) != 0;
    a.stereo = (pfd.dwFlags & PFD_STEREO) != 0;
    return a;
}

void AddIfNew(std::vector<backend::GlAttributes>& ladder, const backend::GlAttributes& a) {
    if (std::find(ladder.begin(), ladder.end(), a) == ladder.end()) ladder.push_back(a);
}

}  // namespace

std::vector<backend::GlAttributes> FormatLadder(const PIXELFORMATDESCRIPTOR& pfd) {
    std::vector<backend::GlAttributes> ladder;
    backend::GlAttributes a = Translate(pfd);
    AddIfNew(ladder, a);
    a.stereo = false;
    AddIfNew(ladder, a);
    a.accumRed = a.accumGreen = a.accumBlue = a.accumAlpha = 0;
    AddIfNew(ladder, a);
    a.stencil = 0;
    AddIfNew(ladder, a);
    a.depth = std::min(a.depth, 16);
    AddIfNew(ladder, a);
    backend::GlAttributes defaults;
    defaults.defaults = true;
    AddIfNew(ladder, defaults);
    return ladder;
}

}  // namespace ziru::platform::detail
