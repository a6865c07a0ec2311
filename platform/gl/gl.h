// Pixel formats, rendering contexts and the buffer swap (the WGL part).
// A pixel format is the best match the driver can make of a descriptor:
// the request is relaxed step by step until a window can be made with it.
#pragma once

#include <vector>

#include "platform/sdl/backend.h"
#include "platform/types.h"

namespace ziru::platform {

// A format index (from 1) for the descriptor; 0 when no OpenGL format at
// all can be made.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd);
// Once per window: its native window is remade for that format.
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd);
int GetPixelFormat(HDC dc);
// Fills PFD with what format FORMAT asks of the driver; the number of
// formats (0 for an unknown index).
int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* pfd);

HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
BOOL wglDeleteContext(HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
// Composites the shown child windows over the picture, then swaps; FALSE
// for a DC whose window is gone.
BOOL SwapBuffers(HDC dc);

namespace detail {

// The descriptor as SDL attributes, then each weaker rung of the ladder:
// colour clamped to 8 bits a channel, alpha and stencil to 8, accumulation
// to 16, depth to 24 with stencil; then no stereo, no accumulation, no
// stencil, depth 16; finally SDL's defaults.
std::vector<backend::GlAttributes> FormatLadder(const PIXELFORMATDESCRIPTOR& pfd);

}  // namespace detail

}  // namespace ziru::platform
