// Cursors, icons, brushes and the tick count: the small resources a window
// class is given. Standard cursors are shared per identifier, as the
// original platform shares them; a cursor whose driver has none (offscreen)
// is still a valid handle that shows nothing.
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/core/core.h"
#include "platform/core/cursorfile.h"
#include "platform/core/handles.h"
#include "platform/core/internal.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"

namespace ziru::platform {

namespace {

struct Cursor {
    backend::NativeCursor* native = nullptr;
};

detail::HandleTable<Cursor>& Cursors() {
    static detail::HandleTable<Cursor> table;
    return table;
}

// Handles of the shared standard cursors, icons and brushes by identifier.
std::map<std::uint32_t, std::uint32_t>& SharedCursors() {
    static std::map<std::uint32_t, std::uint32_t> shared;
    return shared;
}

struct Shared {
    int kind = 0;
    int id = 0;
};

detail::HandleTable<Shared>& SharedObjects() {
    static detail::HandleTable<Shared> table;
    return table;
}

// One handle per (kind, id): icons, system-colour brushes, stock objects.
std::uint32_t SharedHandle(int kind, int id) {
    static std::map<std::pair<int, int>, std::uint32_t> handles;
    auto it = handles.find({kind, id});
    if (it != handles.end()) return it->second;
    const std::uint32_t handle = SharedObjects().Add(Shared{kind, id});
    handles[{kind, id}] = handle;
    return handle;
}

bool IsStandardCursor(std::uint32_t id) {
    return (id >= IDC_ARROW && id <= IDC_UPARROW) || (id >= IDC_SIZE && id <= IDC_HELP);
}

HCURSOR& Shown() {
    static HCURSOR shown;
    return shown;
}

}  // namespace

HCURSOR LoadCursorA(HINSTANCE instance, std::uint32_t id) {
    if (instance || !IsStandardCursor(id)) return HCURSOR();
    auto it = SharedCursors().find(id);
    if (it != SharedCursors().end()) return HCURSOR(it->second);
    Cursor cursor;
    if (backend::EnsureVideo()) cursor.native = backend::CreateSystemCursor(id);
    const std::uint32_t handle = Cursors().Add(cursor);
    SharedCursors()[id] = handle;
    return HCURSOR(handle);
}

HICON LoadIconA(HINSTANCE instance, std::uint32_t id) {
    if (instance || id < IDI_APPLICATION || id > IDI_APPLICATION + 7) return HICON();
    return HICON(SharedHandle(1, static_cast<int>(id)));
}

HCURSOR LoadCursorFromFileA(const char* fileName) {
    if (fileName == nullptr || fileName[0] == '\0') return HCURSOR();
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return HCURSOR();
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    const auto image = detail::DecodeCursorFile(bytes);
    if (!image) return HCURSOR();
    Cursor cursor;
    if (backend::EnsureVideo()) {
        cursor.native = backend::CreateColorCursor(image->pixels.data(), image->width,
                                                   image->height, image->hotX, image->hotY);
    }
    return HCURSOR(Cursors().Add(cursor));
}

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = Shown();
    Cursor* found = Cursors().Find(cursor.value);
    if (found == nullptr) return previous;
    Shown() = cursor;
    if (found->native != nullptr) backend::ShowCursorShape(found->native);
    return previous;
}

namespace detail {

void ShowClassCursor(const Window& window) {
    const WindowClass* wc = FindClassOf(window);
    if (wc != nullptr && wc->info.hCursor && wc->info.hCursor != Shown()) {
        SetCursor(wc->info.hCursor);
    }
}

}  // namespace detail

namespace {

// A stock brush per (system colour or stock index), made once in GDI.
HBRUSH StockBrush(int key, COLORREF color, bool hollow) {
    static std::map<int, HBRUSH> brushes;
    auto it = brushes.find(key);
    if (it != brushes.end()) return it->second;
    const HBRUSH brush = detail::CreateBrushObject(color, hollow, true);
    brushes[key] = brush;
    return brush;
}

}  // namespace

HBRUSH GetSysColorBrush(int index) {
    // The classic scheme: button faces grey, windows white, text black.
    static constexpr COLORREF kColors[31] = {
        0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
        0x808080, 0x808080, 0x000000, 0x000000, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
        0xE1FFFF, 0x000000, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xC56A31, 0xC8D0D4};
    if (index < 0 || index > 30) return HBRUSH();
    return StockBrush(100 + index, kColors[index], false);
}

HGDIOBJ GetStockObject(int index) {
    static constexpr COLORREF kBrushes[5] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
    if (index >= WHITE_BRUSH && index <= BLACK_BRUSH) {
        return AsObject(StockBrush(index, kBrushes[index], false));
    }
    if (index == NULL_BRUSH) return AsObject(StockBrush(index, 0, true));
    if (index == DEFAULT_PALETTE) return AsObject(detail::StockPalette());
    return HGDIOBJ();
}

namespace {
using Clock = std::chrono::steady_clock;
// Taken when the program starts, before main.
const Clock::time_point kProcessStart = Clock::now();
}  // namespace

DWORD GetTickCount() {
    const Clock::time_point start = kProcessStart;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    return static_cast<DWORD>(elapsed.count());
}

}  // namespace ziru::platform
