// A memory limit for a program under test, loaded into it with LD_PRELOAD: every request
// of operator new that would take the bytes it holds past TABREL_TEST_MEMORY_CAP is refused
// (std::bad_alloc, or nullptr for the nothrow forms), as a system short of memory refuses
// it. It stands in for setrlimit where a limit on the address space cannot be set (an
// AddressSanitizer build reserves terabytes of it at start). Without the variable it only
// counts.

#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::size_t CapFromEnvironment() {
    const char* text = std::getenv("TABREL_TEST_MEMORY_CAP");
    return text != nullptr ? std::strtoull(text, nullptr, 10) : 0;
}

std::atomic<std::size_t> g_held{0};

void* Take(std::size_t size, std::size_t alignment) noexcept {
    static const std::size_t cap = CapFromEnvironment();
    if (cap != 0 && g_held.load(std::memory_order_relaxed) + size > cap) {
        return nullptr;
    }
    void* memory =
        alignment <= alignof(std::max_align_t)
            ? std::malloc(size == 0 ? 1 : size)
            : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    if (memory != nullptr) {
        g_held.fetch_add(::malloc_usable_size(memory), std::memory_order_relaxed);
    }
    return memory;
}

void Give(void* memory) noexcept {
    if (memory != nullptr) {
        g_held.fetch_sub(::malloc_usable_size(memory), std::memory_order_relaxed);
        std::free(memory);
    }
}

void* TakeOrThrow(std::size_t size, std::size_t alignment) {
    void* memory = Take(size, alignment);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

void* operator new(std::size_t size) {
    return TakeOrThrow(size, 0);
}
void* operator new[](std::size_t size) {
    return TakeOrThrow(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return TakeOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return TakeOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Take(size, 0);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Take(size, 0);
}
void operator delete(void* memory) noexcept {
    Give(memory);
}
void operator delete[](void* memory) noexcept {
    Give(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    Give(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    Give(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    Give(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    Give(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    Give(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    Give(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    Give(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    Give(memory);
}
