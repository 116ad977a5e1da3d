// Counts the heap allocations of the benchmark program (every operator new), so that a
// benchmark can report the memory one widget or attribute takes.
#pragma once

#include <cstddef>

struct KesHeapCounter {
    static std::size_t AllocatedBytes(); // requested bytes since the program started
    static std::size_t Allocations();
};
