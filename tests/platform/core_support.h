// Helpers of the window-manager tests: one recording window class whose
// procedure logs every message it gets, and queue draining.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win.h"

namespace ziru::test {

struct Logged {
    platform::HWND window;
    platform::UINT message;
    platform::WPARAM wParam;
    platform::LPARAM lParam;
};

inline std::vector<Logged>& Log() {
    static std::vector<Logged> log;
    return log;
}

inline platform::LRESULT RecordingProc(platform::HWND w, platform::UINT m, platform::WPARAM wp,
                                       platform::LPARAM lp) {
    Log().push_back({w, m, wp, lp});
    return platform::DefWindowProcA(w, m, wp, lp);
}

// Registers the class "Recorder" once per process.
inline const char* RecorderClass() {
    static const bool registered = [] {
        platform::WNDCLASSA wc;
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = "Recorder";
        return platform::RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    return "Recorder";
}

inline platform::HWND MakeTop(platform::DWORD style, int x, int y, int w, int h) {
    return platform::CreateWindowExA(0, RecorderClass(), "top", style, x, y, w, h, platform::HWND(),
                                     platform::HMENU(), platform::HINSTANCE(), nullptr);
}

inline platform::HWND MakeChild(platform::HWND parent, int id, int x, int y, int w, int h) {
    return platform::CreateWindowExA(
        0, RecorderClass(), "child", platform::WS_CHILD | platform::WS_VISIBLE, x, y, w, h, parent,
        platform::HMENU(static_cast<std::uint32_t>(id)), platform::HINSTANCE(), nullptr);
}

// Takes every waiting message (paints included) without dispatching.
inline std::vector<platform::MSG> Drain() {
    std::vector<platform::MSG> taken;
    platform::MSG msg;
    while (platform::PeekMessageA(&msg, platform::HWND(), 0, 0, platform::PM_REMOVE)) {
        if (msg.message == platform::WM_PAINT) {
            platform::ValidateRect(msg.hwnd, nullptr);
        }
        taken.push_back(msg);
    }
    return taken;
}

// The messages of the log, in order, that are one of WANTED.
inline std::vector<std::pair<platform::HWND, platform::UINT>> LoggedOf(
    std::initializer_list<platform::UINT> wanted) {
    std::vector<std::pair<platform::HWND, platform::UINT>> out;
    for (const Logged& l : Log()) {
        for (platform::UINT m : wanted) {
            if (l.message == m) out.emplace_back(l.window, l.message);
        }
    }
    return out;
}

}  // namespace ziru::test
