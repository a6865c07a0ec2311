// Window manager: classes, windows, geometry, the message queue, capture,
// cursor, properties, painting, message boxes and the tick count. Portable:
// the core keeps all state and message order itself and calls the backend
// (platform/sdl/backend.h) only to show things and to collect input.
#pragma once

#include "platform/core/messagebox.h"
#include "platform/types.h"

namespace ziru::platform {

// ===== Module and process ==================================================

// The program's module handle for a null name (a fixed non-zero value);
// 0 for any other name, as no other module is loaded.
HINSTANCE GetModuleHandleA(const char* name);
// The show command the process was started with (SW_SHOWDEFAULT).
int StartupShowCommand();
// Milliseconds since the process started.
DWORD GetTickCount();
int GetSystemMetrics(int index);

// ===== Window classes ======================================================

ATOM RegisterClassA(const WNDCLASSA* wc);
ATOM RegisterClassExA(const WNDCLASSEXA* wc);
// Fills WC from the class named NAME; FALSE when there is no such class.
BOOL GetClassInfoExA(HINSTANCE instance, const char* name, WNDCLASSEXA* wc);

// ===== Windows =============================================================

// WIDTH x HEIGHT is the outer size. A captioned window has a frame of 3
// pixels left, right and bottom and 19 on top; WS_BORDER alone 1 pixel each
// side. x, y of a top-level window are screen coordinates (CW_USEDEFAULT for
// a pop-up: 0, 0), of a child its parent's client coordinates. WM_CREATE is
// delivered before the call returns.
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param);
// WM_DESTROY to the children first, then to the window, inside the call.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
// Sends WM_PAINT at once when the window has an invalid area.
BOOL UpdateWindow(HWND window);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
HWND GetParent(HWND window);
int GetDlgCtrlID(HWND window);
BOOL SetWindowTextA(HWND window, const char* text);
int GetWindowTextA(HWND window, char* text, int size);

// The window takes REGION's shape (window coordinates): it is drawn and gets
// mouse messages only inside it. The window manager owns REGION from then on
// (deleting the shape it had) and deletes it with the window; 0 removes the
// shape. 0 for an unknown window or a region that cannot be taken over.
int SetWindowRgn(HWND window, HRGN region, BOOL redraw);

BOOL SetPropA(HWND window, const char* name, HANDLE value);
HANDLE GetPropA(HWND window, const char* name);
HANDLE RemovePropA(HWND window, const char* name);

// ===== Painting and device contexts ========================================

// GetDC(0) is the screen; a window's DC stays valid until ReleaseDC or until
// the window is destroyed.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// ===== Messages ============================================================

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Collects pending input first. Order: posted messages, then WM_QUIT, then
// WM_PAINT for a window with an invalid area.
BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
// Waits for a message; 0 for WM_QUIT.
BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
// WM_CLOSE destroys the window, Alt+F4 and SC_CLOSE close it, WM_PAINT
// validates; everything else gives 0.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ===== Mouse, keyboard focus and cursors ===================================

HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
HWND GetForegroundWindow();
BOOL SetCursorPos(int x, int y);
BOOL GetCursorPos(POINT* point);

HCURSOR LoadCursorA(HINSTANCE instance, std::uint32_t id);
HICON LoadIconA(HINSTANCE instance, std::uint32_t id);
// Reads a .cur file; 0 when it cannot be read or is malformed.
HCURSOR LoadCursorFromFileA(const char* fileName);
HCURSOR SetCursor(HCURSOR cursor);

HBRUSH GetSysColorBrush(int index);
HGDIOBJ GetStockObject(int index);

// ===== Common controls =====================================================

// A status bar: a child along the bottom of PARENT's client area, keeping
// its text and parts (SB_SETPARTS, SB_GETPARTS, SB_SETTEXTA, SB_GETTEXTA).
HWND CreateStatusWindowA(LONG style, const char* text, HWND parent, UINT id);

}  // namespace ziru::platform
