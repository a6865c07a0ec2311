// Handle tables: every object the platform hands out (window, device
// context, GL context, bitmap, palette, region, global block, cursor) is
// named by a 32-bit value drawn from one process-wide counter, so no two live
// objects of any kind share a value and a stale or foreign handle is simply
// not found. Never hands out a native (SDL) pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace ziru::platform::detail {

// The next unused handle value (never 0, never reused).
std::uint32_t NextHandleValue();

// The number of live objects over every table, for leak checks.
std::size_t LiveHandleCount();
void AdjustLiveHandles(std::ptrdiff_t delta);

template <typename T>
class HandleTable {
public:
    std::uint32_t Add(T value) {
        const std::uint32_t handle = NextHandleValue();
        items_.emplace(handle, std::move(value));
        AdjustLiveHandles(1);
        return handle;
    }
    T* Find(std::uint32_t handle) {
        if (handle == 0) return nullptr;
        auto it = items_.find(handle);
        return it == items_.end() ? nullptr : &it->second;
    }
    bool Remove(std::uint32_t handle) {
        if (items_.erase(handle) == 0) return false;
        AdjustLiveHandles(-1);
        return true;
    }
    std::size_t size() const { return items_.size(); }
    template <typename F>
    void ForEach(F&& f) {
        for (auto& [handle, value] : items_) f(handle, value);
    }

private:
    std::unordered_map<std::uint32_t, T> items_;
};

}  // namespace ziru::platform::detail
