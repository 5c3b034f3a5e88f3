#include "generated.h"

#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "referenceloader.h"

#include <memory>

using ts::datagen::testing::generatedData;

namespace {

TEST(SampleDataLoads, TablesLoadWithoutAnyMessage) {
    auto ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    ts::FakeUserInterface ui;
    EXPECT_TRUE(ts::LoadReferenceData(*ref, lists, generatedData().path(), ui));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().title.toStdString() << ": "
                                     << ui.messages.front().text.toStdString();
    EXPECT_EQ(ref->NationData[5].name, "\xC6lfheim");
    EXPECT_EQ(ref->NationData[23].name, "Special Monsters");
}

TEST(SampleDataLoads, BothSampleMapsReadWithoutErrors) {
    auto ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    ts::FakeUserInterface ui;
    ASSERT_TRUE(ts::LoadReferenceData(*ref, lists, generatedData().path(), ui));
    for (const char* name : {"maps/aelfheim.map", "maps/aelfheim_sgi.map"}) {
        auto doc = std::make_unique<ts::MapDocument>();
        ts::ResetMapDocument(*doc, *ref, ui);
        ts::z_ReadMapFile(*doc, *ref, ui, generatedData().file(QString::fromLatin1(name)));
        EXPECT_FALSE(doc->MapErrorsFound) << name << "\n" << doc->ErrorLog;
        EXPECT_TRUE(ui.messages.empty()) << name;
    }
}

TEST(SampleDataLoads, StressMapReadsWithoutErrorsAndFillsEveryProvince) {
    auto ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    ts::FakeUserInterface ui;
    ASSERT_TRUE(ts::LoadReferenceData(*ref, lists, generatedData().path(), ui));
    auto doc = std::make_unique<ts::MapDocument>();
    ts::ResetMapDocument(*doc, *ref, ui);
    ts::z_ReadMapFile(*doc, *ref, ui,
                      ts::datagen::testing::generatedStress().file(QStringLiteral("stress.map")));
    EXPECT_FALSE(doc->MapErrorsFound) << doc->ErrorLog.substr(0, 2000);
    for (int p = 1; p <= 2599; ++p) {
        EXPECT_FALSE(doc->Provinces[p].LandName.empty()) << p;
        EXPECT_GE(doc->Provinces[p].CommanderCount, 3) << p;
    }
}

} // namespace
