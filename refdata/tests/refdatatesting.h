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

// Readable failure output for QString comparisons.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace ts::testing {

// One row of a table file: count tab-separated columns, each "0" unless given.
inline std::string row(int count, const std::map<int, std::string>& given) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        const auto it = given.find(i);
        out += (i > 0 ? "\t" : "") + (it == given.end() ? std::string("0") : it->second);
    }
    return out + '\n';
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
