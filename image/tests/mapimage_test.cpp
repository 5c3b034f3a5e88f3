#include "fakeuserinterface.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "tempfolder.h"
#include "testimages.h"

#include <gtest/gtest.h>
#include <memory>

using namespace ts;
using namespace ts::testing;

TEST(MapImageLoad, LocatesBesideTheMapAndAFailureKeepsThePreviousPicture) {
    auto doc = std::make_unique<MapDocument>();
    FakeUserInterface ui;
    TempFolder folder;
    MapImage image;
    doc->MapFilePath = folder.write(QStringLiteral("w/w.map"), "").toStdString();
    doc->MapFileTitle = "w.map";
    QImage picture = filledPicture(40, 30);
    picture.setPixel(3, 29, qRgb(255, 255, 255));
    picture.setPixel(10, 0, qRgba(255, 255, 255, 0));
    ASSERT_TRUE(saveTarga(picture, folder.file(QStringLiteral("w/w.tga")), true, true));

    ASSERT_TRUE(image.load(*doc, QStringLiteral("w.tga"), ui));
    EXPECT_EQ(doc->ProvinceCount, 2);
    EXPECT_EQ(doc->Provinces[2].ProvinceY, 1);
    EXPECT_EQ(image.source().pixel(10, 0), qRgb(255, 255, 255)); // shown opaque
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.captions,
              (std::vector<QString>{QStringLiteral("Tessary: LOADING AND CONVERTING MAP IMAGE...w.tga"),
                                    QStringLiteral("Tessary: LOCATING PROVINCES...w.tga"),
                                    QStringLiteral("Tessary: w.tga")}));

    const QString cut = folder.write(QStringLiteral("w/cut.tga"), std::string(30, '\0'));
    const QString cutReason = decodeMapImage(cut, false).error;
    ASSERT_FALSE(cutReason.isEmpty());
    for (const auto& [name, reason] :
         {std::pair{QStringLiteral("missing.tga"), QStringLiteral("File not found")},
          std::pair{QStringLiteral("cut.tga"), cutReason}}) {
        SCOPED_TRACE(name.toStdString());
        ui = FakeUserInterface();
        EXPECT_FALSE(image.load(*doc, name, ui));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Map Image Not Found"));
        EXPECT_EQ(ui.messages[0].text, "Unable to load map image: " + folder.file(QStringLiteral("w/")) +
                                           name + " Error: " + reason);
        EXPECT_EQ(ui.busy.back().caption, "Tessary: ERROR!-> " + name);
    }
    EXPECT_EQ(doc->ProvinceCount, 2);
    EXPECT_EQ(image.ImagePath(), folder.file(QStringLiteral("w/w.tga")));
    EXPECT_EQ(image.source().size(), QSize(40, 30));
}
