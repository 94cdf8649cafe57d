// The unit-test program's global operator new and delete, which replace the library's for every
// test: while allocationsFail is set, every allocation on this thread fails, as when memory has run
// out in the middle of an error report.
#include <cstdlib>
#include <new>

thread_local bool allocationsFail = false;

void* operator new(std::size_t size) {
    if (allocationsFail) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// Kept out of line: seen inlined, the compiler takes the free of memory that operator new gave
// for a mismatch.
[[gnu::noinline]] void operator delete(void* memory) noexcept {
    std::free(memory);
}

[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
