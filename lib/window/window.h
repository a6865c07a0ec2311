// The OpenGL window layer: one top-level OpenGL window with its rendering
// context, the optional status and menu bars, the window procedure that
// turns messages into input state, the non-blocking message pump, and
// tear-down. Module-level state, one instance per process.
// Depends on the platform layer, the run-time checks and the image-button
// window procedure (registered beside the main window class).
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "platform/win.h"
#include "runtime/runtime.h"

namespace ziru::window {

using platform::HDC;
using platform::HGLRC;
using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

// ===== Cursor and icon kinds ===============================================

inline constexpr std::int32_t ARROW = 1;
inline constexpr std::int32_t IBEAM = 2;
inline constexpr std::int32_t WAIT = 3;
inline constexpr std::int32_t CROSS = 4;
inline constexpr std::int32_t UPARROW = 5;
inline constexpr std::int32_t SIZE = 6;
inline constexpr std::int32_t FILECURSOR = 7;
inline constexpr std::int32_t SIZENWSE = 8;
inline constexpr std::int32_t SIZENESW = 9;
inline constexpr std::int32_t SIZEWE = 10;
inline constexpr std::int32_t SIZENS = 11;
inline constexpr std::int32_t SIZEALL = 12;
inline constexpr std::int32_t NOCURSOR = 13;
inline constexpr std::int32_t HAND = 14;
inline constexpr std::int32_t APPSTARTING = 15;
inline constexpr std::int32_t HELP = 16;

inline constexpr std::int32_t GENERIC = 1;
inline constexpr std::int32_t FILEICON = 2;

// The image buttons' window class.
inline constexpr char SZHOVERCLASS[] = "IMAGEBUTTON";

// ===== Window-layer variables ==============================================

extern HWND HWINDOW;
extern HDC DCWINDOW;
extern HGLRC RCWINDOW;
// The outer size as created; the screen size in full screen.
extern std::int32_t WIDTH;
extern std::int32_t HEIGHT;
extern std::int32_t BITS;
extern bool FULLSCREEN;
// True while the window exists (from WM_CREATE to WM_DESTROY).
extern bool ACTIVE;
extern std::int32_t SETTYPECURSOR;
extern std::int32_t SETTYPEICON;
// Held by reference: the caller's texts are not copied.
extern const char* CURSORFILE;
extern const char* ICONFILE;
extern std::int32_t PIXEL_FORMAT_FLAGS;
extern bool SHOWMENUBAR;
extern bool SHOWSTATUSBAR;
// Hooks of the host program; null when unset.
extern void (*CREATEMENUBAR)();
extern void (*CREATEMOUSEMENU)();
extern platform::WNDPROC GETINPUTCOMMAND;
extern HWND HSTATUS;
extern HWND AWND;
extern runtime::BoundedArray<char, 0, 260> FILENAME;
extern runtime::BoundedArray<std::int32_t, 1, 20> EDGES;
extern runtime::BoundedArray<std::int32_t, 1, 20> STATUSITEM;
extern std::int32_t MAXSTATUSITEM;
extern std::uint32_t START;
extern GLuint OBJNULL;
extern bool FOGONOFF;
extern platform::WNDCLASSEXA WINDOWCLASSEX;

// ===== Input state =========================================================

// True (-1) while the key with that virtual-key code is held; Escape is
// never recorded.
extern runtime::BoundedArray<std::int32_t, 0, 500> SETKEY;
extern bool LEFTMOUSEDOWN;
extern bool LEFTMOUSEDOWN2;
extern bool RIGHTMOUSEDOWN;
extern bool RIGHTMOUSEDOWN2;
extern bool MOUSEFREE;
extern std::int32_t XCOORD;
extern std::int32_t YCOORD;
extern std::int32_t ZCOORD;
extern std::int32_t SETMX;
extern std::int32_t SETMY;
extern std::int32_t SETOMX;
extern std::int32_t SETOMY;
extern float XROT;
extern float YROT;
extern float XROT2;
extern float YROT2;
extern float DEPTH;
extern float DEPTH2;
extern platform::POINT MPOS;
extern std::int32_t MSPEED;
extern platform::MSG MSG_;

// ===== Set-up and tear-down ================================================

void OGLWINDOWSETTING(std::int32_t TYPECURSOR, const char* CURFILE, std::int32_t TYPEICON,
                      const char* ICOFILE);
// Never returns false: every failure ends the program inside the call.
bool CREATEOGLWINDOW(const char* APPNAME, std::int32_t APPWIDTH, std::int32_t APPHEIGHT,
                     std::int32_t APPBITS, bool APPFULLSCREEN);
void DELETEOGLWINDOW();
bool WINDOWREGISTER();
HWND WINDOWCREATE(const char* PCAPPLICATIONNAME);
bool WINDOWINIT(HWND HPARENT);
HWND CREATESTATUSBAR(HWND PARENT);
// Shows the message in a box captioned "Error", then ends the program with
// exit code 1: a failure must not be reported as success.
[[noreturn]] void THROWERROR(const char* PCERRORMESSAGE);

// ===== Window procedure and message pump ===================================

LRESULT GLWNDPROC(HWND WINDOW, UINT AMESSAGE, WPARAM WPARAM_, LPARAM LPARAM_);
// Handles at most one waiting message; never waits.
void SETGLMSG();

}  // namespace ziru::window
