#include "generated.h"

#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "referenceloader.h"

#include <memory>

using ts::datagen::testing::generatedData;

// Keeping what the editor does not understand changes nothing on maps that hold nothing of the kind.
TEST(KeepingOnKnownMaps, TheShippedAndStressMapsAreWrittenToTheSameBytesInBothModes) {
    auto ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    ts::FakeUserInterface ui;
    ASSERT_TRUE(ts::LoadReferenceData(*ref, lists, generatedData().path(), ui));
    ts::TempFolder stress;
    QString error;
    ASSERT_TRUE(ts::datagen::generateStress(stress.path(), 3, &error)) << error.toStdString();
    const QString maps[] = {generatedData().file(QStringLiteral("maps/aelfheim.map")),
                            generatedData().file(QStringLiteral("maps/aelfheim_sgi.map")),
                            stress.file(QStringLiteral("stress.map"))};
    for (const QString& map : maps) {
        SCOPED_TRACE(map.toStdString());
        std::string written[2];
        for (const bool keep : {false, true}) {
            auto doc = std::make_unique<ts::MapDocument>();
            ts::ResetMapDocument(*doc, *ref, ui);
            doc->KeepUnknown = keep;
            ts::z_ReadMapFile(*doc, *ref, ui, map);
            EXPECT_FALSE(doc->MapErrorsFound) << doc->ErrorLog;
            for (int p = 1; p <= ts::kMaxProvince; ++p)
                ts::ComputeTerrainMask(*doc, p);
            written[keep] = ts::MapFileText(*doc, *ref);
        }
        EXPECT_GT(written[0].size(), 1000u);
        EXPECT_TRUE(written[0] == written[1]) << "the two writes differ";
    }
}
