// The province tools as a map maker uses them on the sample map: a province added between two
// linked provinces, another removed, the map saved and opened again. Every untouched province keeps
// its name, terrain and links on the picture, and the picture changes in the two pixels only.
#include "commanderpanels.h"
#include "edithistory.h"
#include "editorfixture.h"
#include "imagedecoder.h"
#include "mapimage.h"
#include "modalwatcher.h"
#include "picturewriter.h"
#include "provincepixels.h"
#include "provincetools.h"
#include "statuspanels.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <map>
#include <set>

using namespace ts;

namespace {

using Place = std::pair<int, int>;

struct Seen {
    std::string name;
    std::int32_t terrain;
    std::set<Place> links;
    bool operator==(const Seen&) const = default;
};

Place placeOf(const MapDocument& doc, int p) { return {doc.Provinces[p].ProvinceX, doc.Provinces[p].ProvinceY}; }

// Every province by where it stands on the picture.
std::map<Place, Seen> byPlace(const MapDocument& doc) {
    std::map<Place, Seen> seen;
    for (int p = 1; p <= doc.ProvinceCount; ++p) {
        Seen& s = seen[placeOf(doc, p)];
        s.name = doc.Provinces[p].LandName.str();
        s.terrain = doc.Provinces[p].Terrain;
        for (const std::int16_t n : doc.Provinces[p].Neighbours)
            if (n > 0) s.links.insert(placeOf(doc, n));
    }
    return seen;
}

} // namespace

class ProvinceToolsEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void addRemoveSaveAndReopenKeepsEveryUntouchedProvince() {
        Editor e;
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        ModalWatcher watcher([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                QTimer::singleShot(0, box, [box] { box->defaultButton() ? box->defaultButton()->click() : box->accept(); });
        });
        const QImage pictureBefore = e.w->mapImage().source();
        const int countBefore = doc.ProvinceCount;

        // Two linked provinces with a free spot between them, and a third to remove.
        int a = 0, b = 0;
        QPoint spot;
        for (int p = 1; p <= doc.ProvinceCount && !a; ++p)
            for (const std::int16_t n : doc.Provinces[p].Neighbours) {
                if (n <= p) continue;
                const QPoint mid((doc.Provinces[p].ProvinceX + doc.Provinces[n].ProvinceX) / 2,
                                 (doc.Provinces[p].ProvinceY + doc.Provinces[n].ProvinceY) / 2 - 1);
                if (planInsert(doc, pictureBefore, mid).ok()) {
                    a = p;
                    b = n;
                    spot = mid;
                    break;
                }
            }
        QVERIFY(a && b);
        const Place placeA = placeOf(doc, a), placeB = placeOf(doc, b);
        int c = doc.ProvinceCount / 2;
        while (c == a || c == b) ++c;
        const Place removed = placeOf(doc, c);
        std::map<Place, Seen> expected = byPlace(doc);

        // Insert waits for its click, Escape lets it go, a click then links as ever.
        e.rightClick(a);
        e.get<QAction>("mnuInsertProvince")->trigger();
        QCOMPARE(e.w->mapView().cursor().shape(), Qt::CrossCursor);
        QTest::mouseMove(&e.w->mapView(), spot + QPoint(3, 3)); // the map's own hints wait
        QVERIFY(e.w->statusPanels().text(QStringLiteral("MESSAGE")).startsWith(QStringLiteral("Insert Province")));
        QTest::keyClick(&e.w->mapView(), Qt::Key_Escape);
        QCOMPARE(e.w->mapView().cursor().shape(), Qt::ArrowCursor);
        e.get<QAction>("mnuInsertProvince")->trigger();
        Clipboard& clipboard = e.w->commanderPanels().clipboard();
        doc.CurCommander = 1;
        clipboard.copy(ClipCommander);
        QCOMPARE(clipboard.state().ClipProvince, int(doc.CurProvince));
        QTest::mouseClick(&e.w->mapView(), Qt::LeftButton, Qt::NoModifier, spot);
        QCOMPARE(int(doc.ProvinceCount), countBefore + 1);
        // What was copied went with the old numbers: nothing is offered to paste.
        QVERIFY(!clipboard.canPaste(ClipCommander));
        QCOMPARE(e.get<QAction>("mnuUndo")->text(), QStringLiteral("Undo Insert Province"));
        const Place added{spot.x(), spot.y() + 1};
        QCOMPARE(placeOf(doc, doc.CurProvince), added); // the new province is the selected one

        const auto numberAt = [&doc](Place place) {
            for (int p = 1; p <= doc.ProvinceCount; ++p)
                if (placeOf(doc, p) == place) return p;
            return 0;
        };
        e.rightClick(numberAt(removed));
        e.get<QAction>("mnuRemoveProvince")->trigger();
        QCOMPARE(int(doc.ProvinceCount), countBefore);
        QCOMPARE(numberAt(removed), 0);
        // The tools in use: the new province between its two neighbours, about to move.
        e.rightClick(numberAt(added));
        e.get<QAction>("mnuMoveProvince")->trigger();
#ifdef TESSARY_SCREENSHOT_DIR
        shoot(*e.w, "tessary-province-tools.png");
#endif
        QTest::keyClick(&e.w->mapView(), Qt::Key_Escape);

        e.get<QAction>("mnuSave")->trigger();
        QVERIFY(!doc.MapModified);
        e.w->lifecycle().openMapFile(e.map);
        QCOMPARE(int(doc.ProvinceCount), countBefore);

        expected.erase(removed);
        for (auto& [place, seen] : expected) seen.links.erase(removed);
        expected[added] = Seen{"", -1, {}};
        const std::map<Place, Seen> reopened = byPlace(doc);
        for (const auto& [place, seen] : expected) {
            const auto it = reopened.find(place);
            QVERIFY2(it != reopened.end(), qPrintable(QStringLiteral("%1,%2").arg(place.first).arg(place.second)));
            if (place == added) {
                QVERIFY(it->second.name.empty() && it->second.links.empty());
                continue;
            }
            // The saved terrain is rebuilt from the flags, which an unset mask does not hold.
            QCOMPARE(it->second.name, seen.name);
            QCOMPARE(std::max(it->second.terrain, 0), std::max(seen.terrain, 0));
            QVERIFY(it->second.links == seen.links);
        }
        QCOMPARE(reopened.size(), expected.size());
        QVERIFY(reopened.at(placeA).links.count(placeB));

        // The picture on disk differs in the two pixels only.
        const QImage saved = decodeMapImage(e.home.file("maps/aelfheim.tga"), false).image;
        QCOMPARE(saved.size(), pictureBefore.size());
        int differing = 0;
        for (int y = 0; y < saved.height(); ++y)
            for (int x = 0; x < saved.width(); ++x) differing += saved.pixel(x, y) != pictureBefore.pixel(x, y);
        QCOMPARE(differing, 2);
        QCOMPARE(saved.pixel(spot), qRgb(255, 255, 255));

        // The picture changed outside Tessary (the removed province's pixel painted white again): the
        // map opens with the question, and Renumber (the default) gives the pixel an empty province.
        QImage painted = saved;
        const QPoint again(removed.first, removed.second - 1);
        painted.setPixel(again, qRgb(255, 255, 255));
        const QString picture = e.home.file("maps/aelfheim.tga");
        QCOMPARE(patchTarga(picture, picture, painted, {again}), QString());
        const std::string bareName = doc.Provinces[numberAt(placeA)].LandName.str();
        e.w->lifecycle().openMapFile(e.map);
        QCOMPARE(int(doc.ProvinceCount), countBefore + 1);
        QVERIFY(doc.MapModified);
        QCOMPARE(doc.Provinces[numberAt(removed)].LandName.str(), std::string());
        QCOMPARE(doc.Provinces[numberAt(placeA)].LandName.str(), bareName);
        QCOMPARE(e.get<QAction>("mnuUndo")->text(), QStringLiteral("Undo Renumber for Changed Picture"));
    }
};

QTEST_MAIN(ProvinceToolsEndToEndTest)
#include "provincetools_endtoend_test.moc"
