#include "AllocationProbe.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t g_largest = 0;

void* Allocate(std::size_t size) noexcept {
    g_largest = size > g_largest ? size : g_largest;
    return size > (std::size_t{1} << 30) ? nullptr : std::malloc(size == 0 ? 1 : size);
}

}  // namespace

std::size_t tabrel::test::LargestAllocation() {
    return g_largest;
}
void tabrel::test::ResetLargestAllocation() {
    g_largest = 0;
}

// The scalar forms pair with free(); the array forms go through them.
void* operator new(std::size_t size) {
    void* memory = Allocate(size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
