#include "text.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace ts {

namespace {
constexpr std::size_t kHeader = sizeof(std::uint32_t);
} // namespace

Text& Text::operator=(const Text& other) {
    if (this != &other) assign(other.view());
    return *this;
}

Text& Text::operator=(std::string_view s) {
    assign(s);
    return *this;
}

void Text::assign(std::string_view s) {
    if (s.empty()) {
        release();
        return;
    }
    char* block = static_cast<char*>(std::malloc(kHeader + s.size() + 1));
    if (!block) throw std::bad_alloc();
    const auto n = static_cast<std::uint32_t>(s.size());
    std::memcpy(block, &n, kHeader);
    std::memcpy(block + kHeader, s.data(), s.size());
    block[kHeader + s.size()] = 0;
    // Freed only now: s may point into our own block (t = t.view().substr(1)).
    std::free(mData);
    mData = block;
}

void Text::release() {
    std::free(mData);
    mData = nullptr;
}

} // namespace ts
