#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "tempfolder.h"
#include "testimages.h"

#include <gtest/gtest.h>
#include <memory>

using namespace ts;
using namespace ts::testing;

namespace {

struct LoadTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    FakeUserInterface ui;
    TempFolder folder;
    MapImage image;

    // A map file in its own folder, the way the reader leaves the document.
    void openMap(const QString& folderName, const QString& mapName) {
        doc->MapFilePath = folder.write(folderName + QLatin1Char('/') + mapName, "").toStdString();
        doc->MapFileTitle = mapName.toStdString();
    }
    static QImage threeProvinces() {
        QImage picture = filledPicture(40, 30);
        picture.setPixel(3, 29, qRgb(255, 255, 255));
        picture.setPixel(10, 0, qRgba(255, 255, 255, 0));
        picture.setPixel(20, 15, qRgb(255, 255, 255));
        picture.setPixel(21, 15, qRgb(254, 255, 255));
        return picture;
    }
};

} // namespace

TEST(ImagePath, ReplacesTheMapNameEverywhereInItsPath) {
    auto doc = std::make_unique<MapDocument>();
    doc->MapFilePath = "/maps/big/big.map";
    doc->MapFileTitle = "big.map";
    EXPECT_EQ(MapImage::imagePathFor(*doc, QStringLiteral("big.tga")), QStringLiteral("/maps/big/big.tga"));
    // Kept on purpose: a folder named like the map file changes too.
    doc->MapFilePath = "/maps/big.map.d/big.map";
    EXPECT_EQ(MapImage::imagePathFor(*doc, QStringLiteral("other.rgb")),
              QStringLiteral("/maps/other.rgb.d/other.rgb"));
}

TEST_F(LoadTest, LoadsBesideTheMapLocatesAndTellsTheUserEachStep) {
    openMap(QStringLiteral("world"), QStringLiteral("world.map"));
    ASSERT_TRUE(saveTarga(threeProvinces(), folder.file(QStringLiteral("world/world.tga")), true, true));

    ASSERT_TRUE(image.load(*doc, QStringLiteral("world.tga"), ui));

    EXPECT_EQ(doc->ProvinceCount, 3);
    EXPECT_EQ(doc->Provinces[1].ProvinceX, 3);
    EXPECT_EQ(doc->Provinces[1].ProvinceY, 30);
    EXPECT_EQ(doc->Provinces[3].ProvinceX, 10);
    EXPECT_EQ(doc->Provinces[3].ProvinceY, 1);
    EXPECT_EQ(image.ImagePath(), folder.file(QStringLiteral("world/world.tga")));
    EXPECT_EQ(image.ImageWidth(), 40.0f);
    EXPECT_EQ(image.ImageHeight(), 30.0f);
    EXPECT_EQ(image.ZoomScale(), 1.0f);
    EXPECT_EQ(image.picture(), image.source());
    EXPECT_EQ(image.source().pixel(10, 0), qRgb(255, 255, 255)); // shown opaque
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.captions,
              (std::vector<QString>{QStringLiteral("Tessary: LOADING AND CONVERTING MAP IMAGE...world.tga"),
                                    QStringLiteral("Tessary: LOCATING PROVINCES...world.tga"),
                                    QStringLiteral("Tessary: world.tga")}));
    EXPECT_EQ(ui.busy.front().message, QStringLiteral("Loading and Converting Map Image..."));
    EXPECT_EQ(ui.busy.front().color, 255u);
    EXPECT_TRUE(ui.busy.back().message.isEmpty());
}

TEST_F(LoadTest, SgiGoesByTheCaseSensitiveNameRuleAndOtherNamesByExtension) {
    openMap(QStringLiteral("m"), QStringLiteral("m.map"));
    ASSERT_TRUE(saveSgi(threeProvinces(), folder.file(QStringLiteral("m/m.rgb")), true, false));
    ASSERT_TRUE(saveSgi(threeProvinces(), folder.file(QStringLiteral("m/m.RGB")), false, true));

    ASSERT_TRUE(image.load(*doc, QStringLiteral("m.rgb"), ui));
    EXPECT_EQ(doc->ProvinceCount, 3);
    doc->ProvinceCount = 0;
    ASSERT_TRUE(image.load(*doc, QStringLiteral("m.RGB"), ui));
    EXPECT_EQ(doc->ProvinceCount, 3);
}

TEST_F(LoadTest, AFailureIsReportedAndKeepsWhatWasThere) {
    openMap(QStringLiteral("w"), QStringLiteral("w.map"));
    ASSERT_TRUE(saveTarga(threeProvinces(), folder.file(QStringLiteral("w/w.tga")), false, false));
    ASSERT_TRUE(image.load(*doc, QStringLiteral("w.tga"), ui));
    folder.write(QStringLiteral("w/cut.tga"), std::string(30, '\0'));
    ui = FakeUserInterface();

    for (const QString& name : {QStringLiteral("missing.tga"), QStringLiteral("cut.tga")}) {
        EXPECT_FALSE(image.load(*doc, name, ui));
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().title, QStringLiteral("Map Image Not Found"));
        const QString expectedStart = QStringLiteral("Unable to load map image: ") +
                                      folder.file(QStringLiteral("w/")) + name + " Error: ";
        EXPECT_TRUE(ui.messages.back().text.startsWith(expectedStart))
            << ui.messages.back().text.toStdString();
        EXPECT_GT(ui.messages.back().text.size(), expectedStart.size()); // a reason is given
        EXPECT_TRUE(ui.busy.back().message.isEmpty());
        EXPECT_EQ(ui.busy.back().caption, QStringLiteral("Tessary: ERROR!-> ") + name);
    }
    EXPECT_EQ(doc->ProvinceCount, 3);
    EXPECT_EQ(image.ImagePath(), folder.file(QStringLiteral("w/w.tga")));
    EXPECT_EQ(image.source().size(), QSize(40, 30));
}
