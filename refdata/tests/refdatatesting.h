#pragma once

#include "fakeuserinterface.h"
#include "referencedata.h"
#include "referencelists.h"
#include "referenceloader.h"
#include "tempfolder.h"

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable failure output for QString comparisons.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace ts::testing {

// Columns joined by tabs, as one row of a table file.
inline std::string row(const std::vector<std::string>& columns) {
    std::string out;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) out += '\t';
        out += columns[i];
    }
    return out;
}

// A row of count columns, each "0" unless given.
inline std::string paddedRow(int count, const std::map<int, std::string>& given) {
    std::vector<std::string> columns(static_cast<std::size_t>(count), "0");
    for (const auto& [column, text] : given)
        columns[static_cast<std::size_t>(column)] = text;
    return row(columns);
}

// Six small, valid table files in a throw-away program folder; a case replaces or removes the
// files it is about and loads.
class RefdataFixture {
  public:
    std::map<std::string, std::string> files = {
        {"NationData.txt", "EA\t5\tx\tArcoscephale\n"},
        {"PopData.txt", "1\tHumans\t1\t2\t3\t4\t5\t6\t7\t8\n"},
        {"SiteData.txt", "1\tFountain\t0\t0\t1\t0\tFire\n"},
        {"FortData.txt", "1\tPalisade\n"},
        {"ItemData.txt", "1\tSword\t1-h wpn\t1\tF\t1\t\t0\n"},
        {"UnitData.txt", "1\tMilitia\n"},
    };
    TempFolder folder;
    FakeUserInterface ui;
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    ReferenceLists lists;

    bool load() {
        for (const auto& [name, content] : files)
            folder.write(QStringLiteral("TSdata/") + QString::fromStdString(name), content);
        return LoadReferenceData(*ref, lists, folder.path(), ui);
    }
};

} // namespace ts::testing
