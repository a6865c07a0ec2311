// Window classes and windows: creation with the original frame geometry,
// destruction children first, showing, moving, properties and the
// module-level facts (module handle, start-up show command, screen size).
#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/core/core.h"
#include "platform/core/handles.h"
#include "platform/core/input.h"
#include "platform/core/internal.h"
#include "platform/gdi/dc.h"

namespace ziru::platform {

namespace detail {

namespace {

constexpr std::uint32_t kModuleHandle = 0x00400000;
constexpr int kCaptionFrame = 3;
constexpr int kCaptionTop = 19;

HandleTable<Window>& Windows() {
    static HandleTable<Window> table;
    return table;
}

// A deque: class names handed out by GetClassInfoExA stay where they are.
std::deque<WindowClass>& Classes() {
    static std::deque<WindowClass> classes;
    return classes;
}

// Creation order of all windows, so that iteration is deterministic.
std::vector<HWND>& Order() {
    static std::vector<HWND> order;
    return order;
}

bool SameName(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

// The class's index in the table, -1 when there is none of that name.
int FindClassIndex(const char* name) {
    if (name == nullptr) return -1;
    for (std::size_t i = 0; i < Classes().size(); ++i) {
        if (SameName(Classes()[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

WindowClass* FindClass(const char* name) {
    const int index = FindClassIndex(name);
    return index < 0 ? nullptr : &Classes()[static_cast<std::size_t>(index)];
}

constexpr ATOM kFirstAtom = 0xC000;

HitTestHook& HitTest() {
    static HitTestHook hook;
    return hook;
}
NativeDestroyHook& NativeDestroy() {
    static NativeDestroyHook hook;
    return hook;
}
CompositeHook& Composite() {
    static CompositeHook hook;
    return hook;
}

}  // namespace

Window* FindWindow(HWND handle) {
    Window* w = Windows().Find(handle.value);
    return w;
}

const WindowClass* FindClassOf(const Window& window) {
    const std::size_t index = static_cast<std::size_t>(window.atom) - kFirstAtom;
    return window.atom >= kFirstAtom && index < Classes().size() ? &Classes()[index] : nullptr;
}

const std::vector<HWND>& WindowOrder() {
    return Order();
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> tops;
    for (HWND h : Order()) {
        Window* w = FindWindow(h);
        if (w != nullptr && !w->parent) tops.push_back(h);
    }
    return tops;
}

RECT FrameOf(DWORD style) {
    if ((style & WS_CAPTION) == WS_CAPTION) {
        return RECT{kCaptionFrame, kCaptionTop, kCaptionFrame, kCaptionFrame};
    }
    if (style & (WS_BORDER | WS_DLGFRAME)) return RECT{1, 1, 1, 1};
    return RECT{};
}

RECT ClientScreenRect(const Window& window) {
    const RECT frame = FrameOf(window.style);
    RECT r{window.rect.left + frame.left, window.rect.top + frame.top,
           window.rect.right - frame.right, window.rect.bottom - frame.bottom};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    if (Window* parent = FindWindow(window.parent)) {
        const RECT origin = ClientScreenRect(*parent);
        r.left += origin.left;
        r.right += origin.left;
        r.top += origin.top;
        r.bottom += origin.top;
    }
    return r;
}

Window* TopLevelOf(HWND handle) {
    Window* w = FindWindow(handle);
    while (w != nullptr && w->parent) w = FindWindow(w->parent);
    return w;
}

bool IsShown(const Window& window) {
    if (!window.visible) return false;
    Window* parent = FindWindow(window.parent);
    return parent == nullptr || IsShown(*parent);
}

void SetHitTestHook(HitTestHook hook) {
    HitTest() = std::move(hook);
}
bool HitsShape(HWND window, int x, int y) {
    return HitTest() ? HitTest()(window, x, y) : ShapeContains(window, x, y);
}
void SetNativeDestroyHook(NativeDestroyHook hook) {
    NativeDestroy() = std::move(hook);
}
void SetCompositeHook(CompositeHook hook) {
    Composite() = std::move(hook);
}
void CompositeChildren(HWND top) {
    CompositeChildLayers(top);
    if (Composite()) Composite()(top);
}

namespace {

backend::WindowSpec SpecOf(const Window& w) {
    const RECT client = ClientScreenRect(w);
    backend::WindowSpec spec;
    spec.owner = w.handle;
    spec.title = Cp1252ToUtf8(w.title.c_str());
    spec.x = client.left;
    spec.y = client.top;
    // SDL refuses empty windows; a frame-only window keeps one pixel.
    spec.width = std::max<int>(1, client.right - client.left);
    spec.height = std::max<int>(1, client.bottom - client.top);
    spec.decorated = (w.style & WS_CAPTION) == WS_CAPTION;
    spec.visible = w.visible;
    return spec;
}

void DestroyNative(Window& w) {
    if (w.native == nullptr) return;
    if (NativeDestroy()) NativeDestroy()(w);
    backend::DestroyNativeWindow(w.native);
    w.native = nullptr;
}

}  // namespace

bool RecreateNativeForGl(Window& w, const backend::GlAttributes& attributes) {
    if (w.parent) return false;
    backend::WindowSpec spec = SpecOf(w);
    spec.gl = &attributes;
    backend::NativeWindow* native = backend::CreateNativeWindow(spec);
    if (native == nullptr) return false;
    DestroyNative(w);
    w.native = native;
    return true;
}

void ForgetDCs(Window& window) {
    for (HDC dc : window.dcs) FreeDC(dc);
    window.dcs.clear();
}

}  // namespace detail

using namespace detail;

// ===== Module and process ==================================================

HINSTANCE GetModuleHandleA(const char* name) {
    return name == nullptr ? HINSTANCE(kModuleHandle) : HINSTANCE();
}

int StartupShowCommand() {
    return SW_SHOWDEFAULT;
}

int GetSystemMetrics(int index) {
    int width = 0;
    int height = 0;
    if (!backend::EnsureVideo() || !backend::ScreenSize(&width, &height)) return 0;
    if (index == SM_CXSCREEN) return width;
    if (index == SM_CYSCREEN) return height;
    return 0;
}

// ===== Window classes ======================================================

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpszClassName[0] == '\0') return 0;
    if (wc->lpfnWndProc == nullptr || FindClass(wc->lpszClassName) != nullptr) return 0;
    WindowClass entry;
    entry.info = *wc;
    entry.name = wc->lpszClassName;
    if (wc->lpszMenuName != nullptr) entry.menuName = wc->lpszMenuName;
    Classes().push_back(entry);
    WindowClass& stored = Classes().back();
    stored.info.lpszClassName = nullptr;
    stored.info.lpszMenuName = nullptr;
    return static_cast<ATOM>(kFirstAtom + Classes().size() - 1);
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr) return 0;
    WNDCLASSEXA ex;
    ex.cbSize = sizeof(WNDCLASSEXA);
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassExA(&ex);
}

BOOL GetClassInfoExA(HINSTANCE /*instance*/, const char* name, WNDCLASSEXA* wc) {
    const WindowClass* found = FindClass(name);
    if (found == nullptr || wc == nullptr) return FALSE;
    *wc = found->info;
    wc->cbSize = sizeof(WNDCLASSEXA);
    wc->lpszClassName = found->name.c_str();
    wc->lpszMenuName = found->menuName.empty() ? nullptr : found->menuName.c_str();
    return TRUE;
}

// ===== Windows =============================================================

namespace {

// CW_USEDEFAULT places a pop-up (and, here, any window) at the origin; a
// default size leaves the window empty.
int OrDefault(int value) {
    return value == CW_USEDEFAULT ? 0 : value;
}

}  // namespace

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE /*instance*/,
                     void* /*param*/) {
    const int classIndex = FindClassIndex(className);
    if (classIndex < 0) return HWND();
    const WindowClass& wc = Classes()[static_cast<std::size_t>(classIndex)];
    const bool child = (style & WS_CHILD) != 0;
    if (child && FindWindow(parent) == nullptr) return HWND();
    if (child) InstallChildLayer();
    if (!child && !backend::EnsureVideo()) return HWND();

    Window w;
    w.atom = static_cast<ATOM>(kFirstAtom + classIndex);
    w.proc = wc.info.lpfnWndProc;
    w.style = style;
    w.exStyle = exStyle;
    w.parent = child ? parent : HWND();
    w.id = child ? static_cast<int>(menu.value) : 0;
    w.title = title != nullptr ? title : "";
    const int left = OrDefault(x);
    const int top = OrDefault(y);
    w.rect =
        RECT{left, top, left + std::max(0, OrDefault(width)), top + std::max(0, OrDefault(height))};
    HWND handle(Windows().Add(w));
    Window* stored = FindWindow(handle);
    stored->handle = handle;
    Order().push_back(handle);
    if (Window* p = FindWindow(stored->parent)) p->children.push_back(handle);

    if (!child) {
        stored->native = backend::CreateNativeWindow(SpecOf(*stored));
        if (stored->native == nullptr) {
            DestroyWindow(handle);
            return HWND();
        }
    }
    // WM_CREATE answering -1 refuses the window.
    if (SendMessageA(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return HWND();
    }
    if ((style & WS_VISIBLE) && IsWindow(handle)) ShowWindow(handle, SW_SHOW);
    return IsWindow(handle) ? handle : HWND();
}

BOOL DestroyWindow(HWND handle) {
    Window* w = FindWindow(handle);
    if (w == nullptr || w->destroying) return FALSE;
    w->destroying = true;
    if (w->visible && w->parent) InvalidateRect(w->parent, nullptr, FALSE);
    // Children go first, so a window's WM_DESTROY finds them gone.
    const std::vector<HWND> children = w->children;
    for (HWND c : children) DestroyWindow(c);
    SendMessageA(handle, WM_DESTROY, 0, 0);
    SendMessageA(handle, WM_NCDESTROY, 0, 0);

    ForgetChildLayer(handle);
    w = FindWindow(handle);
    DestroyNative(*w);
    ForgetDCs(*w);
    if (Window* p = FindWindow(w->parent)) std::erase(p->children, handle);
    DropMessagesFor(handle);
    ForgetInputWindow(handle);
    std::erase(Order(), handle);
    Windows().Remove(handle.value);
    return TRUE;
}

BOOL IsWindow(HWND handle) {
    return FindWindow(handle) != nullptr;
}

BOOL ShowWindow(HWND handle, int command) {
    Window* w = FindWindow(handle);
    if (w == nullptr) return FALSE;
    const bool was = w->visible;
    const bool show = command != SW_HIDE;
    if (was == show) return was ? TRUE : FALSE;
    w->visible = show;
    if (w->native != nullptr) backend::ShowNativeWindow(w->native, show);
    if (show) {
        InvalidateRect(handle, nullptr, TRUE);
        // A shown top-level window becomes the foreground window.
        if (!w->parent) input::FocusChanged(handle, true);
    } else if (w->parent) {
        InvalidateRect(w->parent, nullptr, TRUE);
    }
    return was ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND handle) {
    Window* w = FindWindow(handle);
    return w != nullptr && IsShown(*w) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    Window* w = FindWindow(handle);
    if (w == nullptr) return FALSE;
    w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
    if (w->native != nullptr) {
        const backend::WindowSpec spec = SpecOf(*w);
        backend::PlaceNativeWindow(w->native, spec.x, spec.y, spec.width, spec.height);
    }
    if (repaint) InvalidateRect(handle, nullptr, TRUE);
    if (w->parent && repaint) InvalidateRect(w->parent, nullptr, TRUE);
    return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
    Window* w = FindWindow(handle);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = w->rect;
    if (Window* parent = FindWindow(w->parent)) {
        const RECT origin = ClientScreenRect(*parent);
        rect->left += origin.left;
        rect->right += origin.left;
        rect->top += origin.top;
        rect->bottom += origin.top;
    }
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    Window* w = FindWindow(handle);
    if (w == nullptr || rect == nullptr) return FALSE;
    const RECT client = ClientScreenRect(*w);
    *rect = RECT{0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT* point) {
    Window* w = FindWindow(handle);
    if (w == nullptr || point == nullptr) return FALSE;
    const RECT client = ClientScreenRect(*w);
    point->x += client.left;
    point->y += client.top;
    return TRUE;
}

BOOL ScreenToClient(HWND handle, POINT* point) {
    Window* w = FindWindow(handle);
    if (w == nullptr || point == nullptr) return FALSE;
    const RECT client = ClientScreenRect(*w);
    point->x -= client.left;
    point->y -= client.top;
    return TRUE;
}

HWND GetParent(HWND handle) {
    Window* w = FindWindow(handle);
    return w != nullptr ? w->parent : HWND();
}

int GetDlgCtrlID(HWND handle) {
    Window* w = FindWindow(handle);
    return w != nullptr ? w->id : 0;
}

BOOL SetWindowTextA(HWND handle, const char* text) {
    Window* w = FindWindow(handle);
    if (w == nullptr) return FALSE;
    w->title = text != nullptr ? text : "";
    if (w->native != nullptr) backend::SetNativeTitle(w->native, Cp1252ToUtf8(w->title.c_str()));
    return TRUE;
}

int GetWindowTextA(HWND handle, char* text, int size) {
    Window* w = FindWindow(handle);
    if (w == nullptr || text == nullptr || size <= 0) return 0;
    const int n = std::min<int>(size - 1, static_cast<int>(w->title.size()));
    std::memcpy(text, w->title.data(), static_cast<std::size_t>(n));
    text[n] = '\0';
    return n;
}

// ===== Properties ==========================================================

BOOL SetPropA(HWND handle, const char* name, HANDLE value) {
    Window* w = FindWindow(handle);
    if (w == nullptr || name == nullptr) return FALSE;
    auto it = w->properties.find(std::string_view(name));
    if (it != w->properties.end()) {
        it->second = value;
    } else {
        w->properties.emplace(name, value);
    }
    return TRUE;
}

HANDLE GetPropA(HWND handle, const char* name) {
    Window* w = FindWindow(handle);
    if (w == nullptr || name == nullptr) return 0;
    auto it = w->properties.find(std::string_view(name));
    return it == w->properties.end() ? 0 : it->second;
}

HANDLE RemovePropA(HWND handle, const char* name) {
    Window* w = FindWindow(handle);
    if (w == nullptr || name == nullptr) return 0;
    auto it = w->properties.find(std::string_view(name));
    if (it == w->properties.end()) return 0;
    const HANDLE value = it->second;
    w->properties.erase(it);
    return value;
}

}  // namespace ziru::platform
