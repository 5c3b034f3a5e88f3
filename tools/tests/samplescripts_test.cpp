// The example scripts shipped in TSscripts, each run on the sample map as the script menu runs it.

#include "datagen.h"
#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "mapreader.h"
#include "paths.h"
#include "referencedata.h"
#include "referencelists.h"
#include "referenceloader.h"
#include "scriptlist.h"
#include "scriptprocess.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace ts;

namespace {

const QString kProgramDir = QStringLiteral(TESSARY_PROGRAM_DIR);

int commanders(const ProvinceDataType& p) {
    int n = 0;
    for (int c = 1; c < kCommanderSlots; ++c)
        n += p.Commanders[c].UnitIndex != -1;
    return n;
}

bool sea(const ProvinceDataType& p) {
    return p.TerrainBit[2];
}

// What each script must have done to one province; before is the province as the map had it.
using Check = std::function<void(const ProvinceDataType& before, const ProvinceDataType& after)>;

const std::map<QString, Check>& checks() {
    static const std::map<QString, Check> table = {
        {"killindies.tss",
         [](auto& b, auto& a) {
             EXPECT_EQ(a.LandFlag, sea(b) ? b.LandFlag : true);
             if (!sea(b)) {
                 EXPECT_FALSE(a.SetLandFlag);
             }
         }},
        {"mountainlabs.tss",
         [](auto& b, auto& a) {
             EXPECT_EQ(a.Lab, b.Lab || b.TerrainBit[4]);
             EXPECT_EQ(a.Temple, b.Temple || b.TerrainBit[4]);
         }},
        {"seaguards.tss",
         [](auto& b, auto& a) {
             EXPECT_EQ(commanders(a), commanders(b) + (sea(b) && b.CommanderCount < 39 ? 1 : 0));
         }},
        {"markseas.tss", [](auto& b, auto& a) { EXPECT_EQ(a.Marked, b.Marked || sea(b)); }},
        {"farmtemples.tss", [](auto& b, auto& a) { EXPECT_EQ(a.Temple, b.Temple || b.TerrainBit[8]); }},
        {"emptyland.tss",
         [](auto& b, auto& a) {
             const bool empty = !sea(b) && b.CommanderCount == 0;
             EXPECT_EQ(commanders(a), commanders(b) + (empty ? 1 : 0));
             if (empty) {
                 EXPECT_EQ(a.Commanders[1].UnitsCount[0], 15);
                 EXPECT_EQ(a.Commanders[1].Xp, 20);
                 EXPECT_FALSE(a.Commanders[1].UnitsName[0].empty());
             }
         }},
    };
    return table;
}

struct SampleScripts : ::testing::Test {
    FakeUserInterface ui;
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    ReferenceLists lists;
    std::unique_ptr<MapDocument> before = std::make_unique<MapDocument>();
    MapImage image;

    SampleScripts() {
        EXPECT_TRUE(LoadReferenceData(*ref, lists, kProgramDir, ui));
        ResetMapDocument(*before, *ref, ui);
        const QString map = joinPath(kProgramDir, QStringLiteral("maps"), QStringLiteral("aelfheim.map"));
        before->MapFilePath = pathToText(map);
        before->MapFileTitle = pathToText(QFileInfo(map).fileName());
        MapReadOptions options;
        options.loadImage = [&](const QString& name, const QString&) { image.load(*before, name, ui); };
        z_ReadMapFile(*before, *ref, ui, map, options);
    }
};

TEST_F(SampleScripts, EveryShippedScriptHasATitleAndDoesWhatItSays) {
    ASSERT_EQ(before->ProvinceCount, 266);
    const datagen::FileSet shipped = datagen::makeScripts(datagen::makeReferenceTables(3));
    const std::vector<ScriptEntry> listed = z_ScriptBuildMenu(kProgramDir, ui);
    for (const auto& [relative, bytes] : shipped) {
        const QString name = QFileInfo(relative).fileName();
        SCOPED_TRACE(name.toStdString());
        const auto entry =
            std::find_if(listed.begin(), listed.end(), [&](auto& e) { return e.fileName == name; });
        ASSERT_NE(entry, listed.end());
        EXPECT_NE(entry->title, QLatin1String(kNoScriptTitle));
        const auto check = checks().find(name);
        ASSERT_NE(check, checks().end()) << "every example script needs a check here";

        auto after = std::make_unique<MapDocument>(*before);
        const ScriptRunResult r =
            z_ScriptProcess(*after, *ref, ui, joinPath(ScriptFolder(kProgramDir), name));
        EXPECT_TRUE(r.completed);
        EXPECT_TRUE(r.changed) << "the script selects nothing on the sample map";
        for (int p = 1; p <= before->ProvinceCount; ++p) {
            SCOPED_TRACE(p);
            check->second(before->Provinces[p], after->Provinces[p]);
        }
    }
    EXPECT_TRUE(ui.messages.empty()) << ui.titles().join(", ").toStdString();
}

} // namespace
