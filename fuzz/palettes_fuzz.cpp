// Any bytes as a unit palette file: read from a folder as the unit finder reads it, and when it
// reads, written again and read back to the same units.
#include "fuzzsupport.h"
#include "palettes.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ts::fuzz::QuietUserInterface ui;
    static const ts::UnitPalettes palettes(ts::fuzz::scratchFolder(), ui);
    ts::fuzz::writeScratch(QStringLiteral("Fuzz.upa"), data, size);
    const auto units = palettes.read(QStringLiteral("Fuzz.upa"));
    if (!units) return 0;
    for (const int n : *units)
        if (n < 0 || n > 2999) std::abort(); // a read palette holds unit numbers only
    if (!palettes.write(QStringLiteral("Again.upa"), *units) || palettes.read(QStringLiteral("Again.upa")) != units)
        std::abort();
    return 0;
}
