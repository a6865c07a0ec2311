// The platform layer's own declarations of the handles, records and
// constants that the library passes to the platform: a Win32-like vocabulary
// for a program written against the original platform, implemented on Linux
// by this layer. Values are those the library's code passes and tests.
#pragma once

#include <cstdint>

namespace ziru::platform {

// ===== Scalar types ========================================================

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = std::int32_t;
using ATOM = std::uint16_t;
// Message parameters are pointer-sized, so that a message can carry an
// address (SB_SETPARTS passes the address of its edge table) on a 64-bit
// machine; every value the library puts in them fits 32 bits as well.
using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

inline constexpr BOOL FALSE = 0;
inline constexpr BOOL TRUE = 1;

// ===== Handles =============================================================

// Every handle is a 32-bit value; 0 means none. Distinct types keep a window
// from being passed where a bitmap is expected.
#define ZIRU_HANDLE(Name)                                                  \
    struct Name {                                                          \
        std::uint32_t value = 0;                                           \
        constexpr Name() = default;                                        \
        constexpr explicit Name(std::uint32_t v) : value(v) {}             \
        constexpr explicit operator bool() const { return value != 0; }    \
        friend constexpr bool operator==(Name, Name) = default;            \
    }
ZIRU_HANDLE(HWND);
ZIRU_HANDLE(HDC);
ZIRU_HANDLE(HGLRC);
ZIRU_HANDLE(HINSTANCE);
ZIRU_HANDLE(HMENU);
ZIRU_HANDLE(HICON);
ZIRU_HANDLE(HCURSOR);
ZIRU_HANDLE(HBRUSH);
ZIRU_HANDLE(HBITMAP);
ZIRU_HANDLE(HPALETTE);
ZIRU_HANDLE(HRGN);
ZIRU_HANDLE(HGDIOBJ);
ZIRU_HANDLE(HGLOBAL);
#undef ZIRU_HANDLE

// Any GDI object handle converts to HGDIOBJ and back (SelectObject,
// DeleteObject, GetObjectA take any of them).
template <typename H>
constexpr HGDIOBJ AsObject(H h) {
    return HGDIOBJ(h.value);
}
template <typename H>
constexpr H FromObject(HGDIOBJ h) {
    return H(h.value);
}

// ===== Geometry ============================================================

struct POINT {
    LONG x = 0;
    LONG y = 0;
};

// Half-open: right and bottom lie just outside.
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

// ===== Messages ============================================================

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_USER = 0x0400;

inline constexpr UINT SC_CLOSE = 0xF060;
inline constexpr UINT SC_SCREENSAVE = 0xF140;
inline constexpr UINT SC_MONITORPOWER = 0xF170;

// wParam flags of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// PeekMessageA
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(lo) & 0xFFFFu) | (static_cast<std::uint32_t>(hi) << 16)));
}
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<std::int16_t>(lp & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<std::int16_t>((static_cast<std::uint32_t>(lp) >> 16) & 0xFFFF);
}
constexpr WORD LOWORD(std::uint32_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uint32_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }

// ===== Virtual-key codes ===================================================

inline constexpr WPARAM VK_BACK = 0x08;
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_SHIFT = 0x10;
inline constexpr WPARAM VK_CONTROL = 0x11;
inline constexpr WPARAM VK_MENU = 0x12;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_PRIOR = 0x21;
inline constexpr WPARAM VK_NEXT = 0x22;
inline constexpr WPARAM VK_END = 0x23;
inline constexpr WPARAM VK_HOME = 0x24;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;
inline constexpr WPARAM VK_INSERT = 0x2D;
inline constexpr WPARAM VK_DELETE = 0x2E;
inline constexpr WPARAM VK_NUMPAD0 = 0x60;
inline constexpr WPARAM VK_F1 = 0x70;
inline constexpr WPARAM VK_F4 = 0x73;
inline constexpr WPARAM VK_F24 = 0x87;

// ===== Window classes and windows ==========================================

struct WNDCLASSA {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName = nullptr;
    const char* lpszClassName = nullptr;
};

struct WNDCLASSEXA {
    UINT cbSize = 0;
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName = nullptr;
    const char* lpszClassName = nullptr;
    HICON hIconSm;
};

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;

inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// ShowWindow
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWDEFAULT = 10;

// GetSystemMetrics
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

// GetSysColorBrush, GetStockObject
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;

// Standard cursors and icons (resource identifiers).
inline constexpr std::uint32_t IDC_ARROW = 32512;
inline constexpr std::uint32_t IDC_IBEAM = 32513;
inline constexpr std::uint32_t IDC_WAIT = 32514;
inline constexpr std::uint32_t IDC_CROSS = 32515;
inline constexpr std::uint32_t IDC_UPARROW = 32516;
inline constexpr std::uint32_t IDC_SIZE = 32640;
inline constexpr std::uint32_t IDC_ICON = 32641;
inline constexpr std::uint32_t IDC_SIZENWSE = 32642;
inline constexpr std::uint32_t IDC_SIZENESW = 32643;
inline constexpr std::uint32_t IDC_SIZEWE = 32644;
inline constexpr std::uint32_t IDC_SIZENS = 32645;
inline constexpr std::uint32_t IDC_SIZEALL = 32646;
inline constexpr std::uint32_t IDC_NO = 32648;
inline constexpr std::uint32_t IDC_HAND = 32649;
inline constexpr std::uint32_t IDC_APPSTARTING = 32650;
inline constexpr std::uint32_t IDC_HELP = 32651;
inline constexpr std::uint32_t IDI_APPLICATION = 32512;

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase = 0;
    RECT rcPaint;
    BOOL fRestore = 0;
    BOOL fIncUpdate = 0;
    BYTE rgbReserved[32] = {};
};

// ===== Message boxes =======================================================

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// ===== Pixel formats =======================================================

// 40 bytes, as the original platform lays it out.
struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

inline constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
inline constexpr DWORD PFD_STEREO = 0x00000002;
inline constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
inline constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
inline constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
inline constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
inline constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
inline constexpr DWORD PFD_GENERIC_ACCELERATED = 0x00001000;
inline constexpr BYTE PFD_TYPE_RGBA = 0;
inline constexpr BYTE PFD_MAIN_PLANE = 0;
inline constexpr BYTE PFD_OVERLAY_PLANE = 1;

// ===== Bitmaps, palettes, regions ==========================================

// The bitmap description GetObjectA fills: 24 bytes on the original 32-bit
// platform; here the pixel address is a native pointer.
struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 0;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};

struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};

struct PALETTEENTRY {
    BYTE peRed = 0;
    BYTE peGreen = 0;
    BYTE peBlue = 0;
    BYTE peFlags = 0;
};

// A logical palette: version, entry count, then that many entries.
struct LOGPALETTE {
    WORD palVersion = 0;
    WORD palNumEntries = 0;
    PALETTEENTRY palPalEntry[1];
};

struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
} __attribute__((packed));
static_assert(sizeof(BITMAPFILEHEADER) == 14);

struct BITMAPINFOHEADER {
    DWORD biSize = 0;
    LONG biWidth = 0;
    LONG biHeight = 0;
    WORD biPlanes = 0;
    WORD biBitCount = 0;
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

inline constexpr DWORD BI_RGB = 0;
inline constexpr DWORD BI_RLE8 = 1;
inline constexpr DWORD BI_RLE4 = 2;
inline constexpr DWORD BI_BITFIELDS = 3;
inline constexpr UINT DIB_RGB_COLORS = 0;

// LoadImageA
inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_ICON = 1;
inline constexpr UINT IMAGE_CURSOR = 2;
inline constexpr UINT LR_DEFAULTCOLOR = 0x0000;
inline constexpr UINT LR_LOADFROMFILE = 0x0010;
inline constexpr UINT LR_LOADTRANSPARENT = 0x0020;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;

// BitBlt raster operations
inline constexpr DWORD SRCCOPY = 0x00CC0020;

// Region data: a header followed by nCount rectangles.
struct RGNDATAHEADER {
    DWORD dwSize = 0;
    DWORD iType = 0;
    DWORD nCount = 0;
    DWORD nRgnSize = 0;
    RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);

struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};

inline constexpr DWORD RDH_RECTANGLES = 1;

// CombineRgn modes and results
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;
inline constexpr int ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// Movable global memory
inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Status bar
inline constexpr UINT SB_SETTEXTA = WM_USER + 1;
inline constexpr UINT SB_GETTEXTA = WM_USER + 2;
inline constexpr UINT SB_SETPARTS = WM_USER + 4;
inline constexpr UINT SB_GETPARTS = WM_USER + 6;

// ===== Additions of the window manager =====================================

// Window-property values: a handle's value or a small number, 32 bits.
using HANDLE = std::uint32_t;

inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;

inline constexpr WPARAM VK_CAPITAL = 0x14;
inline constexpr WPARAM VK_F10 = 0x79;

// GetStockObject
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;

inline constexpr UINT SB_SETTEXT = SB_SETTEXTA;
inline constexpr UINT SBARS_SIZEGRIP = 0x0100;

// ===== GDI additions =======================================================

// RealizePalette and friends report failure with this value.
inline constexpr UINT GDI_ERROR = 0xFFFFFFFFu;
inline constexpr UINT DIB_PAL_COLORS = 1;
// GetStockObject: the palette every device context starts with.
inline constexpr int DEFAULT_PALETTE = 15;

// ExtCreateRegion's optional transformation (only "none" is supported).
struct XFORM {
    float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
};

}  // namespace ziru::platform
