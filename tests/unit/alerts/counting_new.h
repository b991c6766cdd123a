#pragma once
// Counts the allocations a piece of code asks operator new for. Link
// counting_new.cpp into the test binary: it replaces the
// global operator new of the whole binary, counting only while watched.

namespace veltra::test {

// Allocations made by `run`.
long CountAllocations(void (*run)(void* context), void* context);

template <class Run>
long AllocationsDuring(Run&& run) {
    return CountAllocations([](void* c) { (*static_cast<Run*>(c))(); }, &run);
}

}  // namespace veltra::test
