// Any bytes as one of the six reference tables; the first byte chooses which. The other five hold
// the first rows of the sample tables, so the load reaches the chosen file whichever it is.
#include "fuzzsupport.h"
#include "referenceloader.h"

#include <QFile>
#include <array>
#include <cstdlib>
#include <memory>

namespace {

constexpr std::array<const char*, 6> kTables = {"NationData.txt", "PopData.txt",  "SiteData.txt",
                                                "FortData.txt",   "ItemData.txt", "UnitData.txt"};

QByteArray firstRows(const char* table) {
    QFile file(QStringLiteral(TESSARY_DATA_DIR "/TSdata/") + QLatin1String(table));
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    QByteArray rows;
    for (int n = 0; n < 4 && !file.atEnd(); ++n)
        rows += file.readLine();
    return rows;
}

void writeTable(const char* table, const QByteArray& bytes) {
    ts::fuzz::writeScratch(QStringLiteral("TSdata/") + QLatin1String(table),
                           reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto samples = [] {
        std::array<QByteArray, kTables.size()> rows;
        for (std::size_t t = 0; t < kTables.size(); ++t) {
            rows[t] = firstRows(kTables[t]);
            writeTable(kTables[t], rows[t]);
        }
        return rows;
    }();
    if (size == 0) return 0;
    const std::size_t chosen = data[0] % kTables.size();
    ts::fuzz::writeScratch(QStringLiteral("TSdata/") + QLatin1String(kTables[chosen]), data + 1, size - 1);

    static ts::fuzz::QuietUserInterface ui;
    // Fresh tables for every input, built where the last ones were: a new allocation of this size
    // is fresh pages each time, and faulting them in took most of the time.
    static auto* ref = new ts::ReferenceData;
    std::destroy_at(ref);
    std::construct_at(ref);
    ts::ReferenceLists lists;
    ts::LoadReferenceData(*ref, lists, ts::fuzz::scratchFolder(), ui);

    writeTable(kTables[chosen], samples[chosen]); // the next input finds the other five as they were
    return 0;
}
