// Movable global memory: plain heap blocks with a lock count behind a
// handle. "Movable" only means the address may change on reallocation.
#include <cstring>

#include "platform/core/handles.h"
#include "platform/gdi/objects.h"

namespace ziru::platform {

namespace detail {

namespace {

struct GlobalBlock {
    std::unique_ptr<std::uint8_t[], FreeDeleter> bytes;
    std::size_t size = 0;
    unsigned locks = 0;
};

HandleTable<GlobalBlock>& Blocks() {
    static HandleTable<GlobalBlock> table;
    return table;
}

// Blocks beyond this size are refused, as the original platform refuses
// what it cannot commit, instead of ending the process.
constexpr std::size_t kLargestBlock = std::size_t{1} << 31;

}  // namespace

std::size_t GlobalBlockCount() {
    return Blocks().size();
}

}  // namespace detail

using namespace detail;

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
    if (bytes > kLargestBlock || ShouldFail(GdiFault::GlobalAlloc)) return HGLOBAL();
    // A zero-byte request still gets a block of its own.
    void* memory = (flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1)
                                           : std::malloc(bytes ? bytes : 1);
    if (!memory) return HGLOBAL();
    GlobalBlock block;
    block.bytes.reset(static_cast<std::uint8_t*>(memory));
    block.size = bytes;
    return HGLOBAL(Blocks().Add(std::move(block)));
}

void* GlobalLock(HGLOBAL handle) {
    GlobalBlock* block = Blocks().Find(handle.value);
    if (!block || ShouldFail(GdiFault::GlobalLock)) return nullptr;
    ++block->locks;
    return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    GlobalBlock* block = Blocks().Find(handle.value);
    if (!block || block->locks == 0) return FALSE;
    --block->locks;
    return block->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, std::size_t bytes, UINT flags) {
    GlobalBlock* block = Blocks().Find(handle.value);
    if (!block || bytes > kLargestBlock || ShouldFail(GdiFault::GlobalReAlloc)) return HGLOBAL();
    void* memory = std::realloc(block->bytes.get(), bytes ? bytes : 1);
    if (!memory) return HGLOBAL();
    block->bytes.release();
    block->bytes.reset(static_cast<std::uint8_t*>(memory));
    if ((flags & GMEM_ZEROINIT) && bytes > block->size) {
        std::memset(block->bytes.get() + block->size, 0, bytes - block->size);
    }
    block->size = bytes;
    return handle;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    return Blocks().Remove(handle.value) ? HGLOBAL() : handle;
}

std::size_t GlobalSize(HGLOBAL handle) {
    const GlobalBlock* block = Blocks().Find(handle.value);
    return block ? block->size : 0;
}

}  // namespace ziru::platform
