#pragma once

#include <cstddef>

namespace ts {

// Room for a large block that is written from end to end as soon as it is made (the command-line
// tool's records): in 2 MB pages, where the system gives them, it is cleared and mapped in a few
// dozen steps instead of one per 4 KB. Where the system must first fetch such pages back from its
// host they cost several times as much, which is why the editor's document and picture do without.
// Free it with std::free. Throws std::bad_alloc when there is no room.
void* allocateInLargePages(std::size_t size);

} // namespace ts
