#include "platform/gdi/dc.h"

#include "platform/core/handles.h"

namespace ziru::platform::detail {

namespace {
HandleTable<DeviceContext>& Table() {
    static HandleTable<DeviceContext> table;
    return table;
}
}  // namespace

HDC NewDC(DcKind kind, HWND window) {
    DeviceContext dc;
    dc.kind = kind;
    dc.window = window;
    return HDC(Table().Add(dc));
}

DeviceContext* FindDC(HDC dc) { return Table().Find(dc.value); }

bool FreeDC(HDC dc) { return Table().Remove(dc.value); }

std::size_t CountDCs(DcKind kind) {
    std::size_t count = 0;
    Table().ForEach([&](std::uint32_t, const DeviceContext& dc) {
        if (dc.kind == kind) ++count;
    });
    return count;
}

}  // namespace ziru::platform::detail
