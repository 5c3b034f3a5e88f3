#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace ts {

// A fixed array of N record slots held in place, each slot built the first time it is reached for
// writing. The map document holds 40 commander slots for each of 2600 provinces, 40 MB, of which a
// map uses a few per province: a slot never reached is never written, so the system never has to
// give (and clear) the memory under it. Read through a const array, a slot never reached is an
// empty record; reached for writing it becomes one in place.
template <typename T, int N> class SlotArray {
    static_assert(N <= 64, "one bit a slot");

public:
    // Writes nothing but which slots are built, even when the owner is value-initialised.
    SlotArray() noexcept {}
    SlotArray(const SlotArray& other) { assign(other); }
    SlotArray& operator=(const SlotArray& other) {
        if (this != &other) assign(other);
        return *this;
    }
    ~SlotArray() {
        for (int i = 0; i < N; ++i)
            if (made(i)) std::destroy_at(at(i));
    }

    static constexpr int size() { return N; }
    bool built(int i) const { return made(i); }

    T& operator[](int i) {
        if (!made(i)) {
            std::construct_at(reinterpret_cast<T*>(place(i)));
            mMade |= bit(i);
        }
        return *at(i);
    }
    const T& operator[](int i) const { return made(i) ? *at(i) : empty(); }

    // Every slot as a plain array: all are built first. Read-only loops go by index, which builds none.
    T* data() {
        for (int i = 0; i < N; ++i)
            (*this)[i];
        return at(0);
    }
    T* begin() { return data(); }
    T* end() { return data() + N; }

    // Every slot empty again. A built slot stays built (emptied in place), so a reference to it holds.
    void clear() {
        for (int i = 0; i < N; ++i)
            if (made(i)) *at(i) = empty();
    }

    friend bool operator==(const SlotArray& a, const SlotArray& b) {
        for (int i = 0; i < N; ++i)
            if ((a.made(i) || b.made(i)) && !(a[i] == b[i])) return false;
        return true;
    }

private:
    static std::uint64_t bit(int i) { return std::uint64_t{1} << i; }
    bool made(int i) const { return (mMade & bit(i)) != 0; }
    std::byte* place(int i) { return mBytes + static_cast<std::size_t>(i) * sizeof(T); }
    const std::byte* place(int i) const { return mBytes + static_cast<std::size_t>(i) * sizeof(T); }
    // Only for a slot already built.
    T* at(int i) { return std::launder(reinterpret_cast<T*>(place(i))); }
    const T* at(int i) const { return std::launder(reinterpret_cast<const T*>(place(i))); }
    static const T& empty() {
        static const T record;
        return record;
    }

    void assign(const SlotArray& other) {
        for (int i = 0; i < N; ++i) {
            if (other.made(i))
                (*this)[i] = *other.at(i);
            else if (made(i))
                *at(i) = empty();
        }
    }

    std::uint64_t mMade = 0;
    alignas(T) std::byte mBytes[N * sizeof(T)];
};

} // namespace ts
