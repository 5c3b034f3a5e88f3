#pragma once

#include <cstdint>
#include <ctime>

namespace ts {

// A millisecond stopwatch for throttles asked hundreds of thousands of times a second (a read asks
// for every line whether to show its progress): the kernel's coarse clock is read without a system
// call or a precise counter, and its few milliseconds of grain do not matter there.
class CoarseTimer {
public:
    void start() { mStart = now(); }
    void invalidate() { mStart = -1; }
    bool isValid() const { return mStart >= 0; }
    std::int64_t elapsed() const { return now() - mStart; }

private:
    static std::int64_t now() {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
        return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
    }

    std::int64_t mStart = -1;
};

} // namespace ts
