// Every frame of an animation is a copy of the 254 by 254 canvas, and
// AddressSanitizer maps each block that large afresh and unmaps it when it is
// freed, so page faults took a third of the engine target's time. Large
// blocks are kept for reuse instead: a freed one waits poisoned, so that a use
// after release is still reported, and goes out again to the next request of
// the same size. Linked into the engine target of AddressSanitizer builds.
#include <sanitizer/allocator_interface.h>
#include <sanitizer/asan_interface.h>

#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

constexpr std::size_t kLargeBlock = 64 * 1024;
// A run holds the canvas, the frame on show and the one being published.
constexpr std::size_t kMaxKept = 8;

std::mutex kept_mutex;
void* kept[kMaxKept];
std::size_t kept_count = 0;

void* TakeKept(std::size_t size) {
    const std::lock_guard lock(kept_mutex);
    for (std::size_t i = 0; i < kept_count; ++i) {
        if (__sanitizer_get_allocated_size(kept[i]) != size) continue;
        void* block = kept[i];
        kept[i] = kept[--kept_count];
        ASAN_UNPOISON_MEMORY_REGION(block, size);
        return block;
    }
    return nullptr;
}

bool Keep(void* block) {
    const std::size_t size = __sanitizer_get_allocated_size(block);
    if (size < kLargeBlock) return false;
    const std::lock_guard lock(kept_mutex);
    if (kept_count == kMaxKept) return false;
    ASAN_POISON_MEMORY_REGION(block, size);
    kept[kept_count++] = block;
    return true;
}

void* Allocate(std::size_t size) noexcept {
    if (size >= kLargeBlock) {
        if (void* block = TakeKept(size)) return block;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void Release(void* block) noexcept {
    if (block != nullptr && !Keep(block)) std::free(block);
}

}  // namespace

// The plain and nothrow forms share one allocator, as the standard library
// may free with one what it took with the other; the array and aligned forms
// stay the sanitizer's own.
void* operator new(std::size_t size) {
    void* block = Allocate(size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
