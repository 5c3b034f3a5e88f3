#pragma once

#include <cstddef>

namespace ts {

// Room for a large block that is written from end to end as soon as it is made (the map document,
// a map picture): in 2 MB pages, where the system gives them, it is cleared and mapped in a few
// dozen steps instead of one per 4 KB. Free it with std::free. Throws std::bad_alloc when there is
// no room.
void* allocateInLargePages(std::size_t size);

} // namespace ts
