// The status bar of the common controls: a child window along the bottom of
// its parent's client area that keeps its parts and their texts. It draws
// nothing yet; the compositor may paint it from the state kept here.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/core/core.h"
#include "platform/core/internal.h"

namespace ziru::platform {

namespace {

constexpr char kStatusClass[] = "msctls_statusbar32";
constexpr int kStatusHeight = 20;
constexpr int kMaxParts = 256;

struct StatusBar {
    std::vector<int> edges{-1};
    std::vector<std::string> texts{""};
};

std::map<std::uint32_t, StatusBar>& Bars() {
    static std::map<std::uint32_t, StatusBar> bars;
    return bars;
}

LRESULT SetParts(StatusBar& bar, WPARAM count, LPARAM edges) {
    if (count <= 0 || count > kMaxParts || edges == 0) return FALSE;
    const int* values = reinterpret_cast<const int*>(edges);
    bar.edges.assign(values, values + count);
    bar.texts.resize(static_cast<std::size_t>(count));
    return TRUE;
}

LRESULT GetParts(const StatusBar& bar, WPARAM count, LPARAM edges) {
    if (edges != 0) {
        int* out = reinterpret_cast<int*>(edges);
        const std::size_t n = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<WPARAM>(0, count)), bar.edges.size());
        std::copy_n(bar.edges.begin(), n, out);
    }
    return static_cast<LRESULT>(bar.edges.size());
}

LRESULT StatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        Bars().erase(window.value);
        return 0;
    }
    auto it = Bars().find(window.value);
    if (it == Bars().end()) return DefWindowProcA(window, message, wParam, lParam);
    StatusBar& bar = it->second;
    const std::size_t part = static_cast<std::size_t>(wParam & 0xFF);
    switch (message) {
        case SB_SETPARTS:
            return SetParts(bar, wParam, lParam);
        case SB_GETPARTS:
            return GetParts(bar, wParam, lParam);
        case SB_SETTEXTA:
            if (part >= bar.texts.size()) return FALSE;
            bar.texts[part] = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            InvalidateRect(window, nullptr, FALSE);
            return TRUE;
        case SB_GETTEXTA: {
            if (part >= bar.texts.size()) return 0;
            if (lParam != 0) std::strcpy(reinterpret_cast<char*>(lParam), bar.texts[part].c_str());
            return static_cast<LRESULT>(bar.texts[part].size());
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterStatusClass() {
    WNDCLASSEXA wc;
    if (GetClassInfoExA(HINSTANCE(), kStatusClass, &wc)) return;
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.lpfnWndProc = StatusProc;
    wc.hCursor = LoadCursorA(HINSTANCE(), IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kStatusClass;
    RegisterClassExA(&wc);
}

}  // namespace

HWND CreateStatusWindowA(LONG style, const char* text, HWND parent, UINT id) {
    RegisterStatusClass();
    RECT client;
    if (!GetClientRect(parent, &client)) return HWND();
    const int top = std::max<int>(0, client.bottom - kStatusHeight);
    // The window exists before its state: messages sent during creation
    // find no bar and take the default path.
    const HWND bar =
        CreateWindowExA(0, kStatusClass, text, static_cast<DWORD>(style), 0, top, client.right,
                        client.bottom - top, parent, HMENU(id), GetModuleHandleA(nullptr), nullptr);
    if (!bar) return HWND();
    StatusBar state;
    state.texts[0] = text != nullptr ? text : "";
    Bars()[bar.value] = state;
    return bar;
}

}  // namespace ziru::platform
