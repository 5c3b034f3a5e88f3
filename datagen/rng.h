#pragma once

#include <cstdint>
#include <vector>

namespace ts {

// The generator's only source of chance. The standard library's distributions differ between
// implementations, so the same seed would not give the same files everywhere; this one does.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : mState(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {}

    std::uint64_t next() {
        std::uint64_t z = (mState += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Inclusive range.
    int range(int low, int high) {
        const auto span = static_cast<std::uint64_t>(high - low + 1);
        return low + static_cast<int>(next() % span);
    }
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double probability) { return unit() < probability; }
    template <typename T> const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(range(0, static_cast<int>(items.size()) - 1))];
    }
    // A child stream, so that adding draws to one part of the data leaves the others unchanged.
    Rng fork(std::uint64_t salt) { return Rng(next() ^ (salt * 0xD1B54A32D192ED03ULL)); }

  private:
    std::uint64_t mState;
};

} // namespace ts
