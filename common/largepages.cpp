#include "largepages.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace ts {

void* allocateInLargePages(std::size_t size) {
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    const std::size_t rounded = (size + kLargePage - 1) / kLargePage * kLargePage;
    void* memory = std::aligned_alloc(kLargePage, rounded);
    if (!memory) throw std::bad_alloc();
    madvise(memory, rounded, MADV_HUGEPAGE);
    return memory;
}

} // namespace ts
