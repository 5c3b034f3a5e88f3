#include "fakeuserinterface.h"
#include "mapgeometry.h"
#include "mapimage.h"
#include "mapview.h"
#include "markers.h"
#include "tempfolder.h"

#include <QImage>
#include <QMouseEvent>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {
// Three provinces on a green field. Numbering starts at the bottom row, and a province's y is one
// more than its row from the top: 1 sits at (100, 151), 2 at (100, 51) and 3 at (200, 51), with a
// red border between 2 and 3.
QString writeMapPicture(const TempFolder& folder) {
    QImage img(300, 200, QImage::Format_RGB32);
    // A field with a different colour in every pixel of a small tile, so a picture shifted or
    // scaled by a single pixel differs; none of them is white, red or blue.
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            img.setPixelColor(x, y, QColor(20 + x % 7 * 30, 60 + y % 5 * 30, 40 + (x + y) % 3 * 20));
    for (int y = 0; y < 200; ++y)
        for (int x = 148; x < 151; ++x)
            img.setPixelColor(x, y, Qt::red);
    img.setPixelColor(100, 50, Qt::white);
    img.setPixelColor(200, 50, Qt::white);
    img.setPixelColor(100, 150, Qt::white);
    const QString path = folder.file("world.png");
    img.save(path);
    return path;
}
} // namespace

class MapViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> mFolder;
    std::unique_ptr<MapDocument> mDoc;
    Settings mSettings = Settings::defaults("/p");
    FakeUserInterface mUi;
    std::unique_ptr<MapImage> mImage;
    std::unique_ptr<QWidget> mArea;
    MapView* mView = nullptr;

    void click(Qt::MouseButton button, QPointF at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, mView->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(mView, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, mView->mapToGlobal(at), button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(mView, &release);
    }
    QColor pixel(int x, int y) const { return mImage->picture().pixelColor(x, y); }

  private slots:
    void init() {
        mFolder = std::make_unique<TempFolder>();
        writeMapPicture(*mFolder);
        mDoc = std::make_unique<MapDocument>();
        mDoc->MapFilePath = mFolder->file("world.map").toStdString();
        mDoc->MapFileTitle = "world.map";
        mImage = std::make_unique<MapImage>();
        QVERIFY(mImage->load(*mDoc, "world.png", mUi));
        QCOMPARE(mDoc->ProvinceCount, 3);
        mArea = std::make_unique<QWidget>();
        mArea->resize(800, 600);
        mView = new MapView(mArea.get(), *mDoc, mSettings, *mImage, mUi);
        mArea->show();
        mView->zoom(0);
    }

    void zoomSelectsTheFirstProvinceAndARightClickSelectsWithinTheBlock() {
        QCOMPARE(mView->size(), QSize(300, 200));
        QCOMPARE(mView->lastActiveProv(), 1);
        QCOMPARE(mDoc->CurProvince, 1);
        click(Qt::RightButton, QPointF(221, 51)); // 21 px right of province 3: nothing
        QCOMPARE(mView->lastActiveProv(), 1);
        click(Qt::RightButton, QPointF(220, 51)); // 20 px
        QCOMPARE(mView->lastActiveProv(), 3);
        QCOMPARE(pixel(200, 51), toQColor(mSettings.ColorSelectedCenter));
        click(Qt::RightButton, QPointF(100, 51));
        QCOMPARE(mDoc->CurProvince, 2);
        QCOMPARE(pixel(200, 51), toQColor(mSettings.ColorBaseCenter)); // back to its normal look
    }

    void leftClickLinksAndUnlinksAndTheLinesFollowWithoutTouchingPixels() {
        const QColor before = pixel(125, 126); // on the line from province 1 to 3
        for (const char* tag : {"3", ""}) {
            click(Qt::LeftButton, QPointF(200, 51));
            QCOMPARE(mDoc->Provinces[1].Neighbours[0], *tag ? 3 : -1);
            QCOMPARE(mDoc->Provinces[3].Neighbours[0], *tag ? 1 : -1);
            const auto& line = mView->neighbourLines()[0];
            QCOMPARE(line.visible, bool(*tag));
            QCOMPARE(line.tag, QString(tag));
            QCOMPARE(pixel(125, 126), before);
        }
        QCOMPARE(mView->neighbourLines()[0].to, QPointF(200, 51));
        // The current province itself and empty map change nothing.
        click(Qt::LeftButton, QPointF(100, 151));
        click(Qt::LeftButton, QPointF(10, 190));
        for (int n = 1; n <= 3; ++n)
            for (auto k : mDoc->Provinces[n].Neighbours)
                QCOMPARE(k, std::int16_t{-1});
        // Hidden lines still keep the data.
        mSettings.ShowNeighbors = 0;
        click(Qt::LeftButton, QPointF(100, 51));
        QCOMPARE(mDoc->Provinces[1].Neighbours[0], 2);
        QVERIFY(!mView->neighbourLines()[0].visible);
        QCOMPARE(mView->neighbourLines()[0].tag, QStringLiteral("2"));
    }

    void zoomingKeepsTheSelectionAndHitBoxesScale() {
        click(Qt::RightButton, QPointF(200, 51));
        mView->zoom(2);
        QCOMPARE(mView->size(), QSize(150, 100));
        QCOMPARE(mView->lastActiveProv(), 3);
        click(Qt::RightButton, QPointF(60, 25.5)); // 10 shown px from province 2 at 50%
        QCOMPARE(mView->lastActiveProv(), 2);
    }

    void arrowsMoveTheMapTheOtherWayAndWrapCopiesMoveWithIt() {
        mDoc->WrapAround = true;
        mView->zoom(0);
        auto* right = mArea->findChild<QWidget*>("pbMapWrap4");
        auto* aboveLeft = mArea->findChild<QWidget*>("pbMapWrap0");
        QVERIFY(right && right->isVisible());
        QCOMPARE(aboveLeft->pos(), mView->pos() - QPoint(300, 200));
        const QPoint start = mView->pos();
        QTest::keyClick(mView, Qt::Key_Left);
        QTest::keyClick(mView, Qt::Key_Down);
        QCOMPARE(mView->pos(), start + QPoint(20, -20));
        QCOMPARE(right->pos(), mView->pos() + QPoint(300, 0));
        mDoc->WrapAround = false;
        mView->zoom(0);
        QVERIFY(!right->isVisible());
    }

    void flashingAlternatesOnlyWhenSwitchedOn() {
        click(Qt::RightButton, QPointF(200, 51));
        mView->flashTick();
        QCOMPARE(pixel(200, 51), toQColor(mSettings.ColorBaseCenter));
        mView->flashTick();
        QCOMPARE(pixel(200, 51), toQColor(mSettings.ColorSelectedCenter));
        mSettings.FlashSelection = 0;
        mView->flashTick();
        mView->flashTick();
        QCOMPARE(pixel(200, 51), toQColor(mSettings.ColorBaseCenter));
    }

    // What a user sees must not depend on how the picture is held: at every zoom, on the map and on
    // each wrap-around copy, and on a screen of twice the pixel density, the view shows the decoded
    // picture scaled without smoothing with every marker drawn over it; the zoom source stays as
    // decoded whatever was drawn.
    void eachZoomShowsTheScaledPictureWithItsMarkersOnTheMapAndItsCopies() {
        const QImage decoded = QImage(mFolder->file("world.png")).convertToFormat(QImage::Format_RGB32);
        auto shown = [](QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); };
        click(Qt::RightButton, QPointF(200, 51));
        for (bool wrap : {false, true}) {
            mDoc->WrapAround = wrap;
            for (int index : {0, 2, 3, 1, 0, 0}) {
                mView->zoom(index);
                const float zoom = kZoomScales[static_cast<std::size_t>(index)];
                QImage expected = redrawAtZoom(decoded, zoom).copy();
                z_MarkSpecial2(*mDoc, mSettings, expected, zoom, mDoc->ProvinceCount);
                QCOMPARE(shown(mView), expected);
                for (int k = 0; k < kWrapCopies; ++k) {
                    auto* copy = mArea->findChild<QWidget*>(QStringLiteral("pbMapWrap%1").arg(k));
                    QCOMPARE(copy->isVisible(), wrap);
                    if (wrap) QCOMPARE(shown(copy), expected);
                }
                QImage dense(expected.size() * 2, QImage::Format_RGB32);
                dense.setDevicePixelRatio(2);
                mView->render(&dense);
                dense.setDevicePixelRatio(1);
                QCOMPARE(dense, expected.scaled(expected.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
            }
        }
        QCOMPARE(mView->lastActiveProv(), 3);
        QCOMPARE(mImage->source(), decoded);
    }

    void cleanup() {
        mArea.reset();
        mImage.reset();
    }
};

QTEST_MAIN(MapViewTest)
#include "mapview_test.moc"
