// Kept out of line from the code it watches, so the compiler never sees a
// pointer from this operator new reach std::free.
#include "unit/alerts/counting_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> watching{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (watching.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace veltra::test {

long CountAllocations(void (*run)(void* context), void* context) {
    allocations = 0;
    watching = true;
    run(context);
    watching = false;
    return allocations;
}

}  // namespace veltra::test
