// Device contexts: the one table shared by window DCs (GetDC, BeginPaint),
// the screen DC (GetDC(0)) and memory DCs (CreateCompatibleDC). A DC records
// what is selected into it.
#pragma once

#include <cstddef>

#include "platform/types.h"

namespace ziru::platform::detail {

enum class DcKind { Window, Screen, Memory };

struct DeviceContext {
    DcKind kind = DcKind::Memory;
    HWND window;        // Window DCs: the window drawn on
    HBITMAP bitmap;     // Memory DCs: the selected bitmap (0: the default 1 x 1 one)
    HPALETTE palette;   // the selected palette (0: the default palette)
};

HDC NewDC(DcKind kind, HWND window);
DeviceContext* FindDC(HDC dc);
bool FreeDC(HDC dc);
// The number of live contexts of one kind (leak checks count memory and
// screen contexts among the GDI objects).
std::size_t CountDCs(DcKind kind);

}  // namespace ziru::platform::detail
