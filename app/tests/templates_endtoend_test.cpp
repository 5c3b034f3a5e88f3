// Templates and names as a user meets them on the sample map: a province picked with the mouse is
// saved as a template with F2 (the name typed into the real input box), another province picked,
// the template chosen with F3 in the real file dialog and applied with F4, Shift+R gives it a name,
// and the saved map holds both provinces alike apart from what the second one keeps of its own.
#include "cp1252.h"
#include "editorfixture.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "mapreader.h"
#include "mapview.h"
#include "modalwatcher.h"
#include "navigator.h"
#include "paths.h"
#include "refdatafixture.h"
#include "referencedata.h"
#include "templates.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {

// Answers the modal dialogs the way a user would: types the template name, picks the file, OKs messages.
class DialogAnswerer {
public:
    QString templateName;
    QString templateFile;
    QStringList seen;

private:
    void answer(QWidget* modal) {
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            seen << "input|" + input->windowTitle() + "|" + input->labelText() + "|" + input->textValue();
            input->setTextValue(templateName);
            QTimer::singleShot(0, input, [input] { input->accept(); });
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            seen << "files|" + files->directory().absolutePath();
            // Typed into the name field as a user would: selectFile leaves that field alone once it
            // has focus, and focus arrives whenever the window system gets to it, so accept would
            // then find no file and keep the dialog open.
            if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(templateFile);
            else
                files->selectFile(templateFile);
            QTimer::singleShot(0, files, [files] { static_cast<QDialog*>(files)->accept(); });
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << "message|" + box->windowTitle() + "|" + box->text();
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        }
    }

    ModalWatcher mWatcher{[this](QWidget* modal) { answer(modal); }};
};

QStringList templateLines(const ProvinceDataType& p) {
    return QString::fromLatin1(TemplateText(p)).split(QStringLiteral("\r\n"));
}

bool subsetOf(const ProvinceDataType& small, const ProvinceDataType& big) {
    for (int k = 0; k < kTerrainBits; ++k)
        if (small.TerrainBit[k] && !big.TerrainBit[k]) return false;
    return !small.TerrainPlain || big.TerrainPlain;
}

// Nothing but a name and terrain: every value a template holds past its terrain and name is unset.
bool bare(const ProvinceDataType& p) {
    auto empty = std::make_unique<ProvinceDataType>();
    return templateLines(p).mid(25) == templateLines(*empty).mid(25) && !p.SpecStart;
}

} // namespace

class TemplatesEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void saveChooseApplyNameAndSave() {
        DialogAnswerer answerer;
        Editor e;
        QVERIFY(e.open());
        MainWindow& w = *e.w;
        const TempFolder& home = e.home;
        const QString& map = e.map;
        MapDocument& doc = w.document();

        // A province with commanders to copy, and a bare one whose terrain is part of the first's.
        int from = 0, to = 0;
        for (int a = 1; a <= doc.ProvinceCount && !to; ++a) {
            const ProvinceDataType& pa = doc.Provinces[a];
            if (pa.SpecStart || pa.CommanderCount < 1 || pa.Commanders[0].UnitIndex > 0) continue;
            for (int b = 1; b <= doc.ProvinceCount && !to; ++b)
                if (b != a && bare(doc.Provinces[b]) && subsetOf(doc.Provinces[b], pa)) from = a, to = b;
        }
        QVERIFY2(to, "the sample map has a bare province beside one with commanders");

        MapView& view = w.mapView();
        auto pick = [&](int p) {
            QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier,
                              QPoint(doc.Provinces[p].ProvinceX, doc.Provinces[p].ProvinceY));
            QCOMPARE(int(doc.CurProvince), p);
        };
        pick(from);
        answerer.templateName = QStringLiteral("Copied");
        QTest::keyClick(&view, Qt::Key_F2);
        const QString file = joinPath(home.path(), "TStemplates", "Copied.ptf");
        QVERIFY(QFile::exists(file));
        QCOMPARE(answerer.seen.value(0), QStringLiteral("input|Save template as:|Enter a name for the province "
                                                        "template (ie 'NoIndys').|NewTemplate"));
        QCOMPARE(w.findChild<QLabel*>("lblTemplateActive")->text(), QStringLiteral("Copied"));

        pick(to);
        answerer.templateFile = file;
        QTest::keyClick(&view, Qt::Key_F3);
        QCOMPARE(answerer.seen.value(1), "files|" + QDir(joinPath(home.path(), "TStemplates")).absolutePath());
        QTest::keyClick(&view, Qt::Key_F4);
        QVERIFY(w.navigator().node(std::to_string(to) + " COMMANDERS"));
        QTest::keyClick(&view, 'R', Qt::ShiftModifier);
        const Text name = doc.Provinces[to].LandName;
        QVERIFY(!name.empty());
        QCOMPARE(w.navigator().node(std::to_string(to) + " PROV")->text(0),
                 QString::number(to) + " " + fromCp1252(name.view()));
        QVERIFY(doc.MapModified);

        w.findChild<QAction*>("mnuSave")->trigger();
        QVERIFY(!doc.MapModified);
        QCOMPARE(answerer.seen.size(), qsizetype(2)); // no message on the way

        auto back = std::make_unique<MapDocument>();
        back->MapFilePath = pathToText(map);
        back->MapFileTitle = "aelfheim.map";
        z_ReadMapFile(*back, referenceData(), w, map);
        QVERIFY2(!back->MapErrorsFound, back->ErrorLog.c_str());
        QStringList a = templateLines(back->Provinces[from]);
        QStringList b = templateLines(back->Provinces[to]);
        QCOMPARE(b[24], "\"" + fromCp1252(name.view()) + "\"");
        a.removeAt(24);
        b.removeAt(24);
        QCOMPARE(b, a);
        // What the template does not carry stays the second province's own.
        for (int k = 0; k < kNeighbourSlots; ++k)
            QCOMPARE(back->Provinces[to].Neighbours[k], doc.Provinces[to].Neighbours[k]);
        QVERIFY(w.close());
    }
};

QTEST_MAIN(TemplatesEndToEndTest)
#include "templates_endtoend_test.moc"
