// Any bytes as the configuration file Tessary.cfg.
#include "fuzzsupport.h"
#include "settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ts::fuzz::QuietUserInterface ui;
    const QString path = ts::fuzz::writeScratch(QStringLiteral("Tessary.cfg"), data, size);
    ts::Settings s = ts::Settings::defaults(ts::fuzz::scratchFolder());
    ts::ReadConfiguration(s, path, ui);
    return 0;
}
