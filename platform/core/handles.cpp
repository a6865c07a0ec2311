#include "platform/core/handles.h"

namespace ziru::platform::detail {

namespace {
std::uint32_t nextHandle = 0x100;
std::ptrdiff_t liveHandles = 0;
}  // namespace

std::uint32_t NextHandleValue() { return nextHandle++; }

std::size_t LiveHandleCount() { return static_cast<std::size_t>(liveHandles); }

void AdjustLiveHandles(std::ptrdiff_t delta) { liveHandles += delta; }

}  // namespace ziru::platform::detail
