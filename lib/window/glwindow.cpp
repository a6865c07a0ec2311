// Window set-up, GL context and tear-down: class registration, the framed
// or screen-covering window, the optional bars, pixel format and context,
// and the fatal-error exit.
#include <cstdlib>
#include <cstring>

#include "buttons/hoverbutton.h"
#include "window/window.h"

namespace ziru::window {

using namespace platform;

// ===== Variables ===========================================================

HWND HWINDOW;
HDC DCWINDOW;
HGLRC RCWINDOW;
std::int32_t WIDTH = 0;
std::int32_t HEIGHT = 0;
std::int32_t BITS = 0;
bool FULLSCREEN = false;
bool ACTIVE = false;
std::int32_t SETTYPECURSOR = 0;
std::int32_t SETTYPEICON = 0;
const char* CURSORFILE = nullptr;
const char* ICONFILE = nullptr;
std::int32_t PIXEL_FORMAT_FLAGS = 0;
bool SHOWMENUBAR = false;
bool SHOWSTATUSBAR = false;
void (*CREATEMENUBAR)() = nullptr;
void (*CREATEMOUSEMENU)() = nullptr;
WNDPROC GETINPUTCOMMAND = nullptr;
HWND HSTATUS;
HWND AWND;
runtime::BoundedArray<char, 0, 260> FILENAME;
runtime::BoundedArray<std::int32_t, 1, 20> EDGES;
runtime::BoundedArray<std::int32_t, 1, 20> STATUSITEM;
std::int32_t MAXSTATUSITEM = 0;
std::uint32_t START = 0;
GLuint OBJNULL = 0;
bool FOGONOFF = false;
WNDCLASSEXA WINDOWCLASSEX;

namespace {

constexpr char kClassName[] = "GLWindow";
constexpr UINT kStatusBarId = 30482;
constexpr DWORD kFormatFlags = PFD_DOUBLEBUFFER | PFD_STEREO | PFD_DRAW_TO_WINDOW |
                               PFD_SUPPORT_OPENGL | PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED;

// The class cursor of each cursor kind (FILECURSOR is loaded from a file).
HCURSOR ClassCursor(std::int32_t kind) {
    static constexpr std::uint32_t kIds[] = {
        0,           IDC_ARROW, IDC_IBEAM,    IDC_WAIT,        IDC_CROSS,  IDC_UPARROW,
        IDC_SIZE,    0,         IDC_SIZENWSE, IDC_SIZENESW,    IDC_SIZEWE, IDC_SIZENS,
        IDC_SIZEALL, IDC_NO,    IDC_HAND,     IDC_APPSTARTING, IDC_HELP};
    if (kind == FILECURSOR) return LoadCursorFromFileA(CURSORFILE);
    if (kind < ARROW || kind > HELP) return HCURSOR();
    return LoadCursorA(HINSTANCE(), kIds[kind]);
}

HICON ClassIcon(std::int32_t kind) {
    if (kind == GENERIC) return LoadIconA(HINSTANCE(), IDI_APPLICATION);
    if (kind == FILEICON) return HICON(LoadCursorFromFileA(ICONFILE).value);
    return HICON();
}

void RegisterHoverClass() {
    WINDOWCLASSEX = WNDCLASSEXA{};
    WINDOWCLASSEX.cbSize = sizeof(WNDCLASSEXA);
    WINDOWCLASSEX.style = 0;
    WINDOWCLASSEX.lpfnWndProc = buttons::HOVERBUTTONHANDLER;
    WINDOWCLASSEX.cbClsExtra = 0;
    WINDOWCLASSEX.cbWndExtra = 0;
    WINDOWCLASSEX.hInstance = GetModuleHandleA(nullptr);
    WINDOWCLASSEX.hIcon = LoadIconA(HINSTANCE(), IDI_APPLICATION);
    WINDOWCLASSEX.hCursor = LoadCursorA(HINSTANCE(), IDC_ARROW);
    WINDOWCLASSEX.hbrBackground = FromObject<HBRUSH>(GetStockObject(NULL_BRUSH));
    WINDOWCLASSEX.lpszMenuName = nullptr;
    WINDOWCLASSEX.lpszClassName = SZHOVERCLASS;
    WINDOWCLASSEX.hIconSm = LoadIconA(HINSTANCE(), IDI_APPLICATION);
    RegisterClassExA(&WINDOWCLASSEX);
}

}  // namespace

// ===== Set-up ==============================================================

void OGLWINDOWSETTING(std::int32_t TYPECURSOR, const char* CURFILE, std::int32_t TYPEICON,
                      const char* ICOFILE) {
    if (MOUSEFREE) {
        START = GetTickCount();
        SetCursorPos(WIDTH / 2, HEIGHT / 2);
    }
    FOGONOFF = true;
    SETTYPECURSOR = TYPECURSOR;
    CURSORFILE = CURFILE;
    SETTYPEICON = TYPEICON;
    ICONFILE = ICOFILE;
    // Without a current context these calls do nothing and the name is 0.
    OBJNULL = glGenLists(1);
    glNewList(OBJNULL, GL_COMPILE);
    glEndList();
}

bool WINDOWREGISTER() {
    WNDCLASSA wc;
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = GLWNDPROC;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = ClassIcon(SETTYPEICON);
    wc.hCursor = ClassCursor(SETTYPECURSOR);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kClassName;
    const bool registered = (RegisterClassA(&wc) & 0xFFFF) != 0;
    if (GetClassInfoExA(HINSTANCE(), SZHOVERCLASS, &WINDOWCLASSEX)) return registered;
    RegisterHoverClass();
    return registered;
}

HWND WINDOWCREATE(const char* PCAPPLICATIONNAME) {
    DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!FULLSCREEN) {
        style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    } else {
        WIDTH = GetSystemMetrics(SM_CXSCREEN);
        HEIGHT = GetSystemMetrics(SM_CYSCREEN);
        style |= WS_BORDER | WS_SYSMENU;
    }
    const HWND handle =
        CreateWindowExA(0, kClassName, PCAPPLICATIONNAME, style, CW_USEDEFAULT, CW_USEDEFAULT,
                        WIDTH, HEIGHT, HWND(), HMENU(), GetModuleHandleA(nullptr), nullptr);
    if (handle) {
        ShowWindow(handle, StartupShowCommand());
        UpdateWindow(handle);
    }
    return handle;
}

bool WINDOWINIT(HWND HPARENT) {
    int FUNCTIONERROR = 0;
    DCWINDOW = GetDC(HPARENT);
    PIXELFORMATDESCRIPTOR PFD;
    std::memset(&PFD, 0, sizeof(PFD));
    PFD.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    PFD.nVersion = 1;
    PFD.dwFlags = runtime::CheckedNarrow<DWORD>(PIXEL_FORMAT_FLAGS, 0, INT32_MAX) | kFormatFlags;
    PFD.iPixelType = PFD_TYPE_RGBA;
    const BYTE bits = runtime::CheckedNarrow<BYTE>(BITS, 0, 255);
    PFD.cColorBits = bits;
    PFD.cAlphaBits = bits;
    PFD.cAccumBits = bits;
    PFD.cDepthBits = bits;
    PFD.cStencilBits = bits;
    PFD.cAuxBuffers = bits;
    PFD.iLayerType = PFD_OVERLAY_PLANE;
    const int IFORMAT = ChoosePixelFormat(DCWINDOW, &PFD);
    if (IFORMAT == 0) FUNCTIONERROR = 1;
    SetPixelFormat(DCWINDOW, IFORMAT, &PFD);
    RCWINDOW = wglCreateContext(DCWINDOW);
    if (!RCWINDOW) FUNCTIONERROR = 2;
    wglMakeCurrent(DCWINDOW, RCWINDOW);
    return FUNCTIONERROR == 0;
}

HWND CREATESTATUSBAR(HWND PARENT) {
    std::memset(FILENAME.data(), 0, FILENAME.size());
    std::strcpy(FILENAME.data(), "Percorso file");
    AWND = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, FILENAME.data(), PARENT, kStatusBarId);
    if (AWND) {
        for (std::int32_t I = 1; I <= MAXSTATUSITEM; ++I) EDGES[I] = STATUSITEM[I];
        SendMessageA(AWND, SB_SETPARTS, MAXSTATUSITEM, reinterpret_cast<LPARAM>(EDGES.data()));
    }
    return AWND;
}

bool CREATEOGLWINDOW(const char* APPNAME, std::int32_t APPWIDTH, std::int32_t APPHEIGHT,
                     std::int32_t APPBITS, bool APPFULLSCREEN) {
    WIDTH = APPWIDTH;
    HEIGHT = APPHEIGHT;
    BITS = APPBITS;
    FULLSCREEN = APPFULLSCREEN;
    if (!WINDOWREGISTER()) THROWERROR("Errore di registro per la rispettiva applicazione!");
    HWINDOW = WINDOWCREATE(APPNAME);
    if (SHOWMENUBAR && CREATEMENUBAR != nullptr) CREATEMENUBAR();
    if (SHOWSTATUSBAR) HSTATUS = CREATESTATUSBAR(HWINDOW);
    if (!HWINDOW) THROWERROR("Impossibile creare la finestra per la rispettiva applicazione!");
    if (!WINDOWINIT(HWINDOW)) THROWERROR("la rispettiva applicazione non \xE8 stata inizilizata!");
    return true;
}

// ===== Tear-down ===========================================================

void DELETEOGLWINDOW() {
    wglMakeCurrent(DCWINDOW, HGLRC());
    wglDeleteContext(RCWINDOW);
    ReleaseDC(HWINDOW, DCWINDOW);
    DestroyWindow(HWINDOW);
}

void THROWERROR(const char* PCERRORMESSAGE) {
    MessageBoxA(HWND(), PCERRORMESSAGE, "Error", MB_OK);
    std::exit(EXIT_FAILURE);
}

}  // namespace ziru::window
