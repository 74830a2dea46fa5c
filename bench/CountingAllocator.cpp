#include "CountingAllocator.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

// Each block carries its size in front of it; operator delete is not always told the size. The
// operators stand in a file of their own: where GCC may inline them into their callers, it takes
// the header in front of a block for an access out of bounds and warns.
namespace {

std::atomic<std::int64_t> g_nLiveBytes{0};
std::atomic<std::int64_t> g_nLiveBlocks{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) noexcept {
    void* block = std::malloc(size + kHeader);
    if (!block)
        return nullptr;
    *static_cast<std::size_t*>(block) = size;
    g_nLiveBytes.fetch_add(static_cast<std::int64_t>(size), std::memory_order_relaxed);
    g_nLiveBlocks.fetch_add(1, std::memory_order_relaxed);
    return static_cast<char*>(block) + kHeader;
}

void Release(void* p) noexcept {
    if (!p)
        return;
    char* block = static_cast<char*>(p) - kHeader;
    g_nLiveBytes.fetch_sub(static_cast<std::int64_t>(*reinterpret_cast<std::size_t*>(block)),
                           std::memory_order_relaxed);
    g_nLiveBlocks.fetch_sub(1, std::memory_order_relaxed);
    std::free(block);
}

} // namespace

std::int64_t LiveHeapBytes() {
    return g_nLiveBytes;
}
std::int64_t LiveHeapBlocks() {
    return g_nLiveBlocks;
}

void* operator new(std::size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
