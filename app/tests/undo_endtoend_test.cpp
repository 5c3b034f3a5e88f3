// Undo and redo as a user meets them on the sample map: every kind of edit is one step that gives
// the records back exactly and takes them forward again, the saved state follows, and what is saved
// after undoing is what the user sees.
#include "checkmapwiring.h"
#include "commanderpanels.h"
#include "cp1252.h"
#include "edithistory.h"
#include "editorfixture.h"
#include "mapcheck.h"
#include "mapimage.h"
#include "modalwatcher.h"
#include "navigator.h"
#include "navigatormodel.h"
#include "panelframes.h"
#include "scriptrunner.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <functional>

using namespace ts;

namespace {

// Where the records differ, ignoring where provinces stand on the picture and how they are marked,
// and the terrain mask, which every write (the recovery copy too) computes again from the flags.
QString firstDifference(const MapDocument& doc, const MapDocument& want) {
    if (!(HeaderOf(doc) == HeaderOf(want))) return QStringLiteral("header");
    for (int n = 0; n < kNationCount; ++n)
        if (!(doc.Nations[n] == want.Nations[n])) return QStringLiteral("nation %1").arg(n);
    for (int p = 0; p < kProvinceSlots; ++p) {
        ProvinceDataType wanted = want.Provinces[p];
        const ProvinceDataType& is = doc.Provinces[p];
        wanted.ProvinceX = is.ProvinceX;
        wanted.ProvinceY = is.ProvinceY;
        wanted.MarkerFlag = is.MarkerFlag;
        wanted.MarkerColor = is.MarkerColor;
        wanted.MarkerColor2 = is.MarkerColor2;
        wanted.Visited = is.Visited;
        wanted.Marked = is.Marked;
        wanted.Terrain = is.Terrain;
        if (!(is == wanted)) return QStringLiteral("province %1").arg(p);
    }
    return {};
}

// The tree as shown against the tree the records give, both as sorted "parent|key|caption" lines.
// Opening every branch first makes the provinces' branches the tree has not made yet.
QStringList shownTree(Navigator& tree) {
    tree.expandAll();
    QStringList lines;
    std::function<void(const QTreeWidgetItem*)> walk = [&](const QTreeWidgetItem* item) {
        const QString parent = item->parent() ? Navigator::keyOf(item->parent()) : QString();
        lines << parent + "|" + Navigator::keyOf(item) + "|" + item->text(0);
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i) walk(tree.topLevelItem(i));
    lines.sort();
    return lines;
}

QStringList recordsTree(const MapDocument& doc) {
    auto copy = std::make_unique<MapDocument>(doc); // building the nodes names them in the records
    QStringList lines;
    for (const NavigatorNode& n : BuildNavigatorNodes(*copy, referenceData()))
        lines << fromCp1252(n.parentKey) + "|" + fromCp1252(n.key) + "|" + fromCp1252(n.caption);
    lines.sort();
    return lines;
}

bool linked(const ProvinceDataType& p, int other) {
    return std::find(std::begin(p.Neighbours), std::end(p.Neighbours), other) != std::end(p.Neighbours);
}

} // namespace

class UndoEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void everyKindOfEditIsOneStepUndoneAndRedoneExactly() {
        Editor e;
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        MapView& view = e.w->mapView();
        QAction* undo = e.get<QAction>("mnuUndo");
        QAction* redo = e.get<QAction>("mnuRedo");
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());

        // A bare province, one far from it, and one with a commander in slot 1.
        int bare = 0, far = 0, held = 0;
        for (int p = 2; p <= doc.ProvinceCount; ++p) {
            const ProvinceDataType& q = doc.Provinces[p];
            if (!bare && q.CommanderCount == 0 && !q.SpecStart && q.Owner < 0 && q.Fort < 1) bare = p;
            if (!held && !q.SpecStart && !q.Commanders[1].UnitName.empty()) held = p;
        }
        for (int p = doc.ProvinceCount; p >= 1 && !far; --p)
            if (p != bare && !linked(doc.Provinces[bare], p)) far = p;
        QVERIFY(bare && far && held);
        // A nation whose god stands at its special start.
        int godNation = -1;
        for (int n = 0; n < kNationCount && godNation < 0; ++n)
            if (doc.Nations[n].SpecStartProvince > 0 && doc.Nations[n].God.UnitIndex > 0) godNation = n;
        QVERIFY(godNation >= 0);
        // The records before each edit; an edit that needs a step of its own first takes it anew.
        std::unique_ptr<MapDocument> before;
        QString undoBefore;
        bool modifiedBefore = false;

        QString templateName = QStringLiteral("UndoTemplate");
        ModalWatcher watcher([&templateName](QWidget* modal) {
            if (auto* input = qobject_cast<QInputDialog*>(modal)) {
                input->setTextValue(templateName);
                QTimer::singleShot(0, input, [input] { input->accept(); });
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                QTimer::singleShot(0, box, [box] { box->defaultButton() ? box->defaultButton()->click() : box->accept(); });
            }
        });
        CommanderPanels& panels = e.w->commanderPanels();
        const auto slotMenu = [&](const char* slot, int entry) {
            QTest::mouseClick(e.w->panelFrames().findChild<QLabel*>(QString::fromLatin1(slot)), Qt::RightButton);
            panels.menuEntry(entry)->trigger();
            panels.slotMenu().close();
        };
        const auto typeInto = [&](const char* box, const QString& text) {
            auto* b = e.get<QLineEdit>(box);
            b->setFocus();
            b->selectAll();
            QTest::keyClicks(b, text);
            QTest::keyClick(b, Qt::Key_Return);
            view.setFocus();
        };

        const struct {
            const char* kind;
            std::function<void()> edit;
            const char* menuText; // what Undo says afterwards; null: not fixed by the sample data
        } edits[] = {
            {"a number typed into the province panel", [&] { e.rightClick(bare); typeInto("txtPopulation", "1234"); },
             nullptr},
            {"a terrain key on the map", [&] { e.rightClick(bare); QTest::keyClick(&view, 'f'); }, nullptr},
            {"the owner chosen", [&] {
                 e.rightClick(bare);
                 auto* owner = e.get<QComboBox>("cboOwner");
                 owner->setCurrentIndex(owner->findData(7));
                 Q_EMIT owner->activated(owner->currentIndex());
             }, nullptr},
            {"the map title", [&] {
                 QTest::keyClick(&view, 'M', Qt::ShiftModifier);
                 typeInto("txtThx2Title", QStringLiteral("Undone Isles"));
                 e.rightClick(bare);
             }, "Undo Map Settings"},
            {"a nation made a computer player", [&] {
                 e.w->navigator().NodeClick("2 NATION");
                 QTest::mouseClick(e.get<QCheckBox>("chkAIPlayer"), Qt::LeftButton);
                 e.rightClick(bare);
             }, nullptr},
            {"a link made by a click", [&] {
                 e.rightClick(bare);
                 const ProvinceDataType& p = doc.Provinces[far];
                 QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(p.ProvinceX, p.ProvinceY));
             }, nullptr},
            {"Find Neighbors", [&] { e.get<QAction>("mnuFindNeighbors")->trigger(); }, "Undo Find Neighbors"},
            {"Find Neighbors (Regions)", [&] {
                 e.get<QAction>("mnuFindNeighborsRegions")->trigger();
                 e.get<QPushButton>("cmdAcceptRegions")->click();
             }, "Undo Find Neighbors (Regions)"},
            {"a script", [&] { runScriptInEditor(*e.w, e.home.file("TSscripts/farmtemples.tss")); },
             "Undo Script farmtemples"},
            {"a template applied", [&] {
                 e.rightClick(held);
                 QTest::keyClick(&view, Qt::Key_F2);
                 e.rightClick(bare);
                 QTest::keyClick(&view, Qt::Key_F4);
             }, nullptr},
            {"a random name", [&] { e.rightClick(bare); QTest::keyClick(&view, 'R', Qt::ShiftModifier); }, nullptr},
            {"a commander cut and pasted", [&] {
                 e.rightClick(held);
                 slotMenu("imgCommander1", 0);
                 e.rightClick(bare);
                 slotMenu("imgCommander1", 2);
             }, nullptr},
            {"a commander deleted", [&] { e.rightClick(held); slotMenu("imgCommander1", 3); }, nullptr},
            {"a fix of the map check", [&] {
                 for (const MapFinding& f : CheckMap(doc, referenceData(), e.w->mapImage().sourceSize()))
                     if (f.kind == FindingKind::NotMutual) {
                         QVERIFY(applyMapFix(*e.w, f));
                         break;
                     }
             }, nullptr},
            {"a god moved to a new special start", [&] {
                 // Owned by the nation first (a step of its own), then made its special start.
                 e.rightClick(bare);
                 auto* owner = e.get<QComboBox>("cboOwner");
                 owner->setCurrentIndex(owner->findData(godNation));
                 Q_EMIT owner->activated(owner->currentIndex());
                 e.rightClick(far);
                 before = std::make_unique<MapDocument>(doc);
                 undoBefore = undo->text();
                 modifiedBefore = doc.MapModified;
                 e.rightClick(bare);
                 e.get<QRadioButton>("optStart3")->click();
                 e.rightClick(far);
                 QCOMPARE(int(doc.Nations[godNation].SpecStartProvince), bare);
                 QVERIFY(!doc.Provinces[bare].Commanders[0].UnitName.empty());
             }, nullptr},
        };

        // A link one side of which was lost, for the check to find.
        doc.Provinces[far].Neighbours[kNeighbourSlots - 1] = static_cast<std::int16_t>(bare);

        for (const auto& edit : edits) {
            const QByteArray kind(edit.kind);
            before = std::make_unique<MapDocument>(doc);
            undoBefore = undo->text();
            modifiedBefore = doc.MapModified;
            edit.edit();
            QVERIFY2(undo->isEnabled(), kind);
            QVERIFY2(doc.MapModified, kind);
            if (edit.menuText) QCOMPARE(undo->text(), QString::fromLatin1(edit.menuText));
            const auto after = std::make_unique<MapDocument>(doc);
            QVERIFY2(!firstDifference(doc, *before).isEmpty(), kind + " changed nothing");

            undo->trigger();
            QVERIFY2(firstDifference(doc, *before).isEmpty(),
                     (kind + " undone: " + firstDifference(doc, *before).toUtf8()).constData());
            QVERIFY2(undo->text() == undoBefore, kind + " took more than one step");
            QVERIFY2(doc.MapModified == modifiedBefore, kind + ": the saved state as before");
            QVERIFY2(redo->isEnabled(), kind);
            QVERIFY2(shownTree(e.w->navigator()) == recordsTree(doc), kind + ": the tree follows the records");

            redo->trigger();
            QVERIFY2(firstDifference(doc, *after).isEmpty(),
                     (kind + " redone: " + firstDifference(doc, *after).toUtf8()).constData());
            QVERIFY2(doc.MapModified, kind);
            QVERIFY2(shownTree(e.w->navigator()) == recordsTree(doc), kind + ": the tree follows the records");
            undo->trigger();
        }
        e.w->close();
    }

    void nameFortTerrainAndLinkThenUndoThreeRedoOneAndSave() {
        Editor e;
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        MapView& view = e.w->mapView();
        int province = 0, other = 0;
        for (int p = 2; p <= doc.ProvinceCount && !province; ++p) {
            const ProvinceDataType& q = doc.Provinces[p];
            if (!q.TerrainBit[7] && q.Fort < 1 && !q.SpecStart) province = p;
        }
        for (int p = doc.ProvinceCount; p >= 1 && !other; --p)
            if (p != province && !linked(doc.Provinces[province], p)) other = p;
        QVERIFY(province && other);
        const Text otherName = doc.Provinces[other].LandName;

        e.rightClick(province);
        auto* name = e.get<QLineEdit>("txtLandName");
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "Reedfen");
        view.setFocus();

        QTest::mouseClick(e.get<QWidget>("imgFort"), Qt::LeftButton);
        auto* forts = e.get<QListWidget>("lstForts");
        QListWidgetItem* fort = forts->item(3);
        QTest::mouseClick(forts->viewport(), Qt::LeftButton, Qt::NoModifier, forts->visualItemRect(fort).center());
        const int fortNumber = fort->data(Qt::UserRole).toInt();
        QCOMPARE(int(doc.Provinces[province].Fort), fortNumber);
        view.setFocus();
        QTest::keyClick(&view, 'f');
        QVERIFY(doc.Provinces[province].TerrainBit[7]);
        const ProvinceDataType& o = doc.Provinces[other];
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(o.ProvinceX, o.ProvinceY));
        QVERIFY(linked(doc.Provinces[province], other) && linked(doc.Provinces[other], province));

        QAction* undo = e.get<QAction>("mnuUndo");
        QAction* redo = e.get<QAction>("mnuRedo");
        QCOMPARE(undo->text(), "Undo Link Reedfen and " + fromCp1252(otherName.view()));
        // An undo keeps a recovery copy as any edit does.
        const QString recovery = MapLifecycle::recoveryPath(e.map);
        QVERIFY(QFile::remove(recovery));
        // The keys, pressed on the map.
        e.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.w.get()));
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!linked(doc.Provinces[province], other));
        QVERIFY(QFile::exists(recovery));
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(linked(doc.Provinces[province], other));
        QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY2(linked(doc.Provinces[province], other), "nothing left to redo");
        undo->trigger();
        QVERIFY(!linked(doc.Provinces[province], other) && !linked(doc.Provinces[other], province));
        QCOMPARE(undo->text(), QStringLiteral("Undo Terrain in Reedfen"));
        undo->trigger();
        QVERIFY(!doc.Provinces[province].TerrainBit[7]);
        QVERIFY(!e.get<QCheckBox>("chkTerrain8")->isChecked());
        QCOMPARE(undo->text(), QStringLiteral("Undo Fort in Reedfen"));
        undo->trigger();
        QCOMPARE(int(doc.Provinces[province].Fort), -1);
        // The name was typed letter by letter: one step, and the panel shows it.
        QCOMPARE(undo->text(), QStringLiteral("Undo Name in Reedfen"));
        QCOMPARE(name->text(), QStringLiteral("Reedfen"));
        QCOMPARE(redo->text(), QStringLiteral("Redo Fort in Reedfen"));
        redo->trigger();
        QCOMPARE(int(doc.Provinces[province].Fort), fortNumber);
        QVERIFY(e.w->navigator().node(std::to_string(province) + " FORT"));

        e.get<QAction>("mnuSave")->trigger();
        QVERIFY(!doc.MapModified);
        const auto back = e.readBack();
        const ProvinceDataType& saved = back->Provinces[province];
        QCOMPARE(saved.LandName.str(), std::string("Reedfen"));
        QCOMPARE(int(saved.Fort), fortNumber);
        QVERIFY(!saved.TerrainBit[7]);
        QVERIFY(!linked(saved, other));
        // Undoing past the save makes the map changed again; redoing back to it, unchanged.
        undo->trigger();
        QVERIFY(doc.MapModified);
        redo->trigger();
        QVERIFY(!doc.MapModified);
        // Opening a map starts an empty history.
        e.w->lifecycle().openMapFile(e.map);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("Undo"));
        e.w->close();
    }
};

QTEST_MAIN(UndoEndToEndTest)
#include "undo_endtoend_test.moc"
