#include "finderstesting.h"

#include "fakeuserinterface.h"
#include "paths.h"
#include "referenceloader.h"
#include "tempfolder.h"

#include <QFile>
#include <memory>
#include <stdexcept>

namespace ts::testing {

namespace {
struct Shipped {
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    ReferenceLists lists;
    Shipped() {
        FakeUserInterface ui;
        if (!LoadReferenceData(*ref, lists, shippedProgramFolder(), ui))
            throw std::runtime_error("the sample tables in data/TSdata did not load");
    }
};
const Shipped& shipped() {
    static const Shipped s;
    return s;
}
} // namespace

QString shippedProgramFolder() { return joinPath(QStringLiteral(TESSARY_SOURCE_DIR), QStringLiteral("data")); }
const ReferenceData& shippedTables() { return *shipped().ref; }
const ReferenceLists& shippedLists() { return shipped().lists; }

std::string golden(const char* name) {
    QFile file(QStringLiteral(TESSARY_SOURCE_DIR "/finders/tests/golden/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(std::string("no golden file ") + name);
    return file.readAll().toStdString();
}

std::unique_ptr<ReferenceData> tablesWith(const std::map<std::string, std::string>& files) {
    std::map<std::string, std::string> all = {{"NationData.txt", "EA\t5\tx\tUlm\r\n"},
                                              {"PopData.txt", "1\tHumans\t1\t2\t3\t4\t5\t6\t7\t8\r\n"},
                                              {"SiteData.txt", "1\tFountain\t0\t0\t1\t0\tFire\r\n"},
                                              {"FortData.txt", "1\tPalisade\r\n3\tCastle\r\n"},
                                              {"ItemData.txt", "1\tSword\t1-h wpn\t1\tF\t1\t\t0\r\n"},
                                              {"UnitData.txt", "1\tMilitia\r\n"}};
    for (const auto& [name, content] : files) all[name] = content;
    TempFolder folder;
    for (const auto& [name, content] : all)
        folder.write(QStringLiteral("TSdata/") + QString::fromStdString(name), content);
    auto ref = std::make_unique<ReferenceData>();
    ReferenceLists lists;
    FakeUserInterface ui;
    if (!LoadReferenceData(*ref, lists, folder.path(), ui)) throw std::runtime_error("test tables did not load");
    return ref;
}

namespace {
std::string row(int columns, int number, const std::map<int, std::string>& given) {
    std::string out = std::to_string(number);
    for (int i = 1; i < columns; ++i) {
        const auto it = given.find(i);
        out += '\t';
        if (it != given.end()) out += it->second;
    }
    return out + "\r\n";
}
} // namespace

std::string unitRow(int number, const std::map<int, std::string>& given) { return row(133, number, given); }
std::string siteRow(int number, const std::map<int, std::string>& given) {
    // An empty terrain mask would be reported as invalid; 0 is no terrain.
    std::map<int, std::string> all = {{4, "0"}};
    for (const auto& [column, text] : given) all[column] = text;
    return row(59, number, all);
}

} // namespace ts::testing
