#include "fakeuserinterface.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "tempfolder.h"
#include "testimages.h"

#include <algorithm>
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

    // A decoding started while the map was read serves the load of its own file only; one that
    // failed is reported as the load's own failure would be.
    ASSERT_TRUE(saveTarga(filledPicture(20, 10), folder.file(QStringLiteral("w/v.tga")), true, true));
    for (const auto& [started, loaded, size] :
         {std::tuple{QStringLiteral("w.tga"), QStringLiteral("v.tga"), QSize(20, 10)},
          {QStringLiteral("v.tga"), QStringLiteral("v.tga"), QSize(20, 10)},
          {QStringLiteral("v.tga"), QStringLiteral("w.tga"), QSize(40, 30)}}) {
        image.prefetch(*doc, started);
        ASSERT_TRUE(image.load(*doc, loaded, ui));
        EXPECT_EQ(image.source().size(), size);
    }
    image.prefetch(*doc, QStringLiteral("missing.tga"));
    ui = FakeUserInterface();
    EXPECT_FALSE(image.load(*doc, QStringLiteral("missing.tga"), ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral("Error: File not found")));
}

// At 100% the shown picture is the source itself; whatever is drawn into it, in small announced
// areas (overlapping, and edge tiles of a picture not a multiple of the tile size) or anywhere, the
// source reads as decoded and every redraw shows it clean again.
TEST(MapImageOneCopy, DrawingAt100PercentNeverReachesTheSource) {
    QImage source(21, 13, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(x * 11, y * 19, 7));
    MapImage image;
    image.setSource(source);
    EXPECT_EQ(image.picture().constBits(), image.source().constBits()); // held once
    for (const QRect area : {QRect(-3, -3, 6, 6), QRect(18, 10, 9, 9), QRect(5, 4, 3, 3), QRect(4, 4, 5, 5)}) {
        image.keepSourceUnder(area);
        image.canvas().setPixel(std::clamp(area.center().x(), 0, 20), std::clamp(area.center().y(), 0, 12),
                                qRgb(255, 0, 0));
        QImage& canvas = image.canvas();
        for (int y = std::max(0, area.top()); y <= std::min(12, area.bottom()); ++y)
            for (int x = std::max(0, area.left()); x <= std::min(20, area.right()); ++x)
                canvas.setPixel(x, y, qRgb(255, 0, x));
        EXPECT_EQ(image.source(), source);
    }
    EXPECT_GT(image.keptBytes(), 0);
    image.setZoom(0);
    EXPECT_EQ(image.picture(), source);
    EXPECT_EQ(image.keptBytes(), 0);

    image.wholePictureToDrawIn().fill(qRgb(0, 0, 255));
    EXPECT_EQ(image.source(), source);
    image.setZoom(2);
    EXPECT_EQ(image.source(), source);

    const qint64 key = image.sourceKey();
    QImage expected = source;
    expected.setPixel(20, 12, qRgb(255, 255, 255));
    image.changeSource({{QPoint(20, 12), qRgb(255, 255, 255)}, {QPoint(21, 0), qRgb(255, 255, 255)}});
    EXPECT_NE(image.sourceKey(), key);
    EXPECT_EQ(image.picture().size(), QSize(10, 6)); // still at 50%
    image.setZoom(0);
    EXPECT_EQ(image.picture(), expected);
}
