#include "generated.h"

#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "referenceloader.h"

#include <memory>

using ts::datagen::testing::generatedData;

TEST(SampleDataLoads, TablesLoadWithoutAnyMessageAndEverySampleMapReadsWithoutErrors) {
    auto ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    ts::FakeUserInterface ui;
    EXPECT_TRUE(ts::LoadReferenceData(*ref, lists, generatedData().path(), ui));
    EXPECT_EQ(ui.titles(), QStringList{});
    EXPECT_EQ(ref->NationData[5].name, "\xC6lfheim");
    for (const char* name : {"maps/aelfheim.map", "maps/aelfheim_sgi.map", "maps/aelfheim_painted.map",
                             "maps/style_painted.map", "maps/style_tiles.map", "maps/style_borders.map",
                             "maps/style_rivers.map"}) {
        auto doc = std::make_unique<ts::MapDocument>();
        ts::ResetMapDocument(*doc, *ref, ui);
        ts::z_ReadMapFile(*doc, *ref, ui, generatedData().file(QString::fromLatin1(name)));
        EXPECT_FALSE(doc->MapErrorsFound) << name << "\n" << doc->ErrorLog;
        EXPECT_EQ(ui.titles(), QStringList{}) << name;
    }
}
