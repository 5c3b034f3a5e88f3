// The three finder windows as a panel uses them: opened for a slot, narrowed, a choice made and
// handed back (or not). They run against a copy of the shipped data in a throw-away program folder.
#include "fakeuserinterface.h"
#include "finderstesting.h"
#include "itemfinder.h"
#include "sitefinder.h"
#include "tempfolder.h"
#include "unitfilter.h"
#include "unitfinder.h"
#include "unittext.h"
#include "cp1252.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace ts;
using namespace ts::testing;

namespace {

template <typename T>
T* child(QWidget& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no child %s", name);
    return found;
}

void click(QWidget& w, const char* button) { child<QPushButton>(w, button)->click(); }

// Chooses the list entry whose item value is number.
void choose(QComboBox* list, int number) {
    const int index = list->findData(number);
    QVERIFY(index >= 0);
    list->setCurrentIndex(index);
}

// A text as a text box shows it: one line break per line.
QString shown(const std::string& text) { return fromCp1252(text).remove(QLatin1Char('\r')); }

// A slot as the commander panel shows an empty one.
std::unique_ptr<QLabel> emptySlot() {
    auto slot = std::make_unique<QLabel>();
    slot->setProperty("tag", QStringLiteral("-1"));
    return slot;
}

} // namespace

class FindersTest : public QObject {
    Q_OBJECT

    TempFolder mHome;
    FakeUserInterface mUi;

    std::unique_ptr<UnitFinder> unitFinder() {
        return std::make_unique<UnitFinder>(shippedTables(), shippedLists(), mHome.path(), mUi);
    }

private slots:
    void initTestCase() { mHome.copyTreeFrom(shippedProgramFolder()); }

    void init() { mUi.messages.clear(); }

    void unitFilterBoxesEnableTheirListsAndNarrowTheList() {
        auto finder = unitFinder();
        QComboBox* units = child<QComboBox>(*finder, "cboUnitFound");
        QCOMPARE(units->itemText(0), QStringLiteral("None"));
        QCOMPARE(units->count(), int(shippedLists().unitFinderUnits.size()));
        QCOMPARE(units->currentIndex(), -1);

        QComboBox* size = child<QComboBox>(*finder, "cboUSize");
        QVERIFY(!size->isEnabled());
        child<QCheckBox>(*finder, "chkUSize")->setChecked(true);
        QVERIFY(size->isEnabled());
        size->setCurrentIndex(2);
        child<QCheckBox>(*finder, "chkUHero")->setChecked(true);
        child<QComboBox>(*finder, "cboUHero")->setCurrentIndex(0);
        click(*finder, "cmdUApplyFilters");

        UnitFilter expected;
        expected.size = 2;
        expected.hero = 0;
        const std::vector<int> kept = FilterUnits(shippedTables(), expected);
        QCOMPARE(units->count(), int(kept.size()) + 1);
        for (int i = 1; i < units->count(); ++i) {
            const UnitDataType& u = shippedTables().UnitData[units->itemData(i).toInt()];
            QCOMPARE(u.size, std::int16_t(3));
            QCOMPARE(units->itemText(i), fromCp1252(u.name));
        }
        QCOMPARE(units->currentIndex(), -1);

        child<QCheckBox>(*finder, "chkUStealth")->setChecked(true);
        child<QComboBox>(*finder, "cboUStealth")->setCurrentIndex(0); // "None"
        click(*finder, "cmdUApplyFilters");
        QCOMPARE(units->count(), 1);
    }

    void unitChoiceIsPreviewedAndHandedBack() {
        auto finder = unitFinder();
        int handBacks = 0;
        finder->afterHandBack = [&handBacks] { ++handBacks; };
        auto slot = emptySlot();
        finder->openFor(slot.get());
        QVERIFY(finder->isVisible());

        choose(child<QComboBox>(*finder, "cboUnitFound"), 6);
        QCOMPARE(child<QLabel>(*finder, "lblUnitNumber")->text(), QStringLiteral("6"));
        QCOMPARE(child<QLabel>(*finder, "lblUnitNumber")->toolTip(), QStringLiteral("Wyrm of Flames"));
        QCOMPARE(child<QGroupBox>(*finder, "fraUnitPreview")->title(), QStringLiteral("Wyrm of Flames"));
        QCOMPARE(child<QPlainTextEdit>(*finder, "txtUnitDescription")->toPlainText(),
                 shown(UnitFinderText(shippedTables(), 6)));
        QVERIFY(!child<QLabel>(*finder, "imgUnitPreview")->pixmap().isNull());

        // Cancel leaves the slot alone.
        click(*finder, "cmdCancel");
        QVERIFY(!finder->isVisible());
        QVERIFY(!finder->accepted());
        QCOMPARE(slot->property("tag").toString(), QStringLiteral("-1"));
        QCOMPARE(handBacks, 0);

        finder->openFor(slot.get());
        click(*finder, "cmdOk");
        QVERIFY(finder->accepted());
        QCOMPARE(slot->property("tag").toString(), QStringLiteral("6"));
        QCOMPARE(slot->toolTip(), QStringLiteral("Wyrm of Flames"));
        QVERIFY(!slot->pixmap().isNull());
        QCOMPARE(handBacks, 1);

        // "None" empties the slot.
        finder->openFor(slot.get());
        child<QComboBox>(*finder, "cboUnitFound")->setCurrentIndex(0);
        QVERIFY(child<QLabel>(*finder, "lblUnitNumber")->text().isEmpty());
        click(*finder, "cmdOk");
        QCOMPARE(slot->property("tag").toString(), QStringLiteral("-1"));
        QCOMPARE(slot->toolTip(), QString());
        QCOMPARE(handBacks, 2);

        // Closing the window is a cancel.
        finder->openFor(slot.get());
        choose(child<QComboBox>(*finder, "cboUnitFound"), 14);
        finder->close();
        QCOMPARE(slot->property("tag").toString(), QStringLiteral("-1"));
    }

    void unitWithoutPictureLeavesThePreviewEmptyAndTheSlotShowsNoImage() {
        // Most units have no sprite of their own in the sample set.
        auto finder = unitFinder();
        int without = 0;
        for (const auto& e : shippedLists().unitFinderUnits)
            if (e.value > 0 && !QFile::exists(mHome.file(QStringLiteral("TSsprites/%1.jpg").arg(e.value, 4, 10, QLatin1Char('0'))))) {
                without = e.value;
                break;
            }
        QVERIFY(without > 0);
        auto slot = emptySlot();
        finder->openFor(slot.get());
        choose(child<QComboBox>(*finder, "cboUnitFound"), without);
        QVERIFY(child<QLabel>(*finder, "imgUnitPreview")->pixmap().isNull());
        click(*finder, "cmdOk");
        QCOMPARE(slot->pixmap().toImage(), QPixmap(mHome.file("TSsprites/NOIMAGE.jpg")).toImage());
    }

    void unitNumberLeadsToItsReferencePage() {
        auto finder = unitFinder();
        QList<QUrl> opened;
        finder->openUrl = [&opened](const QUrl& url) { opened << url; };
        choose(child<QComboBox>(*finder, "cboUnitFound"), 6);
        QLabel* link = child<QLabel>(*finder, "lblUnitLink");
        QVERIFY(link->text().isEmpty());
        // No address set, no link.
        QTest::mouseClick(child<QLabel>(*finder, "lblUnitNumber"), Qt::LeftButton);
        QVERIFY(link->text().isEmpty());
        QString base = QStringLiteral("https://units.example/");
        finder->referenceBase = [&base] { return base; };
        QTest::mouseClick(child<QLabel>(*finder, "lblUnitNumber"), Qt::LeftButton);
        QCOMPARE(link->text(), QStringLiteral("https://units.example/00006.png"));
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{QUrl(link->text())});
    }

    void palettesAreMadeFilledAndEmptied() {
        TempFolder home;
        home.write("TSdata/UnitData.txt", ""); // portable: the palettes stay in the test folder
        FakeUserInterface ui;
        UnitFinder finder(shippedTables(), shippedLists(), home.path(), ui);
        QListWidget* palettes = child<QListWidget>(finder, "lstPalettes");
        QListWidget* units = child<QListWidget>(finder, "lstPaletteUnits");
        QCOMPARE(palettes->count(), 0);

        // Adding and removing without a chosen palette only says so.
        choose(child<QComboBox>(finder, "cboUnitFound"), 6);
        click(finder, "cmdAddUnit");
        click(finder, "cmdRemoveUnit");
        QCOMPARE(ui.titles(), (QStringList{"No Palette Selected!", "No Palette Selected!"}));
        QCOMPARE(ui.messages[0].text, QStringLiteral("You must select a Palette before adding units."));
        QCOMPARE(ui.messages[1].text, QStringLiteral("You must select a palette before removing units."));

        ui.inputs = {QStringLiteral("Wyrms")};
        click(finder, "cmdNewPalette");
        QCOMPARE(palettes->count(), 1);
        QCOMPARE(palettes->item(0)->text(), QStringLiteral("Wyrms"));
        QCOMPARE(palettes->currentRow(), 0); // the new palette is the chosen one
        QCOMPARE(units->count(), 0);

        click(finder, "cmdAddUnit");
        click(finder, "cmdAddUnit");
        choose(child<QComboBox>(finder, "cboUnitFound"), 14);
        click(finder, "cmdAddUnit");
        QCOMPARE(home.read("TSpalettes/Wyrms.upa"), std::string("6\r\n6\r\n14\r\n"));
        QCOMPARE(units->count(), 3);
        QCOMPARE(units->currentRow(), 2);

        units->setCurrentRow(0);
        click(finder, "cmdRemoveUnit");
        QCOMPARE(home.read("TSpalettes/Wyrms.upa"), std::string("6\r\n14\r\n"));
        QCOMPARE(units->count(), 2);

        // Choosing a palette unit makes it the one OK hands back.
        units->setCurrentRow(1);
        emit units->itemClicked(units->item(1));
        QCOMPARE(finder.currentUnit(), 14);
        QCOMPARE(child<QPlainTextEdit>(finder, "txtPaletteUnitDescription")->toPlainText(),
                 shown(UnitFinderText(shippedTables(), 14)));
        auto slot = emptySlot();
        finder.openFor(slot.get());
        click(finder, "cmdOk");
        QCOMPARE(slot->property("tag").toString(), QStringLiteral("14"));

        // A broken palette beside it says so and leaves both files as they were.
        home.write("TSpalettes/Broken.upa", "7\r\nseven\r\n");
        finder.refreshPalettes();
        QCOMPARE(palettes->count(), 2);
        palettes->setCurrentRow(0);
        QCOMPARE(ui.messages.back().title, QStringLiteral("Palette file error!"));
        QCOMPARE(ui.messages.back().text, QStringLiteral("Palette file data corrupted or not found: Broken.upa"));
        QCOMPARE(units->count(), 0);
        QCOMPARE(home.read("TSpalettes/Broken.upa"), std::string("7\r\nseven\r\n"));
        QCOMPARE(home.read("TSpalettes/Wyrms.upa"), std::string("6\r\n14\r\n"));

        // Deleting asks; Cancel keeps the palette.
        ui.answers = {Answer::Cancel, Answer::Ok};
        click(finder, "cmdDeletePalette");
        QCOMPARE(palettes->count(), 2);
        palettes->setCurrentRow(0);
        click(finder, "cmdDeletePalette");
        QCOMPARE(palettes->count(), 1);
        QVERIFY(!QFile::exists(home.file("TSpalettes/Broken.upa")));
    }

    void siteFiltersInvertAndTheSiteIsPreviewedAndHandedBack() {
        SiteFinder finder(shippedTables(), shippedLists(), mHome.path());
        QComboBox* sites = child<QComboBox>(finder, "cboFeature");
        QCOMPARE(sites->count(), int(shippedLists().siteFinderSites.size()));

        child<QCheckBox>(finder, "chkSStruct")->setChecked(true);
        child<QComboBox>(finder, "cboSStruct")->setCurrentIndex(1); // "Fort"
        click(finder, "cmdSApplyFilters");
        const int withFort = sites->count() - 1;
        QVERIFY(withFort > 0);
        for (int i = 1; i < sites->count(); ++i) QVERIFY(shippedTables().SiteData[sites->itemData(i).toInt()].fort >= 1);
        child<QCheckBox>(finder, "chkNotSStruct")->setChecked(true);
        click(finder, "cmdSApplyFilters");
        QCOMPARE(sites->count() - 1 + withFort, int(shippedLists().siteFinderSites.size()) - 1);

        child<QCheckBox>(finder, "chkSStruct")->setChecked(false);
        click(finder, "cmdSApplyFilters");
        auto slot = emptySlot();
        finder.openFor(slot.get());
        choose(sites, 2);
        QCOMPARE(child<QLabel>(finder, "lblSiteNumber")->text(), QStringLiteral("2"));
        QVERIFY(child<QPlainTextEdit>(finder, "txtSiteFinderDescription")->toPlainText().startsWith("2 Glowing Reef"));
        QCOMPARE(child<QLabel>(finder, "lblSiteFinderGem0")->text(), QStringLiteral("3"));
        QCOMPARE(child<QLabel>(finder, "lblSiteFinderGem1")->text(), QString());
        QCOMPARE(child<QLabel>(finder, "imgSiteFinderGem0")->pixmap().toImage(),
                 QPixmap(mHome.file("TSicons/pathFire.bmp")).toImage());
        QCOMPARE(child<QLabel>(finder, "imgSiteFinderGem1")->pixmap().toImage(),
                 QPixmap(mHome.file("TSicons/bpathAir.bmp")).toImage());
        // Site 2 summons two units and recruits none: its empty entries show the table's "no unit" picture.
        QCOMPARE(child<QLabel>(finder, "lblSiteFinderSummon0")->text(), fromCp1252("J\xf6tun Spirit"));
        QCOMPARE(child<QLabel>(finder, "imgSiteFinderRecruit0")->pixmap().toImage(),
                 QPixmap(mHome.file("TSsprites/-0666.jpg")).toImage());
        QCOMPARE(child<QLabel>(finder, "lblSiteFinderRecruit0")->text(), QString());
        QCOMPARE(child<QLabel>(finder, "imgSiteFinderPicture")->pixmap().toImage(),
                 QPixmap(mHome.file("TSicons/siteFire.bmp")).toImage());

        click(finder, "cmdCloseSiteFinder");
        QCOMPARE(slot->property("tag").toString(), QStringLiteral("-1"));
        finder.openFor(slot.get());
        click(finder, "cmdOk");
        QCOMPARE(slot->property("tag").toString(), QStringLiteral("2"));
        QCOMPARE(slot->toolTip(), QStringLiteral("Glowing Reef"));
        QVERIFY(!slot->pixmap().isNull());
    }

    void itemCategoryFollowsTheSlotAndChangesRefilterAtOnce() {
        ItemFinder finder(shippedTables(), shippedLists());
        QComboBox* category = child<QComboBox>(finder, "cboItemCategory");
        QComboBox* items = child<QComboBox>(finder, "cboItem");
        QLabel item2;
        item2.setObjectName(QStringLiteral("lblItem2"));
        // Unit 7 has two hand slots and one head slot, then body and foot.
        const struct {
            int slot;
            const char* category;
        } slots_[] = {{0, "1-h wpn"}, {1, "1-h wpn"}, {2, "helm"}, {3, "armor"}, {4, "boots"}, {5, "None"}};
        for (const auto& s : slots_) {
            QLabel label;
            label.setProperty("itemSlot", s.slot);
            finder.openFor(&label, 7);
            QCOMPARE(category->currentText(), QString::fromLatin1(s.category));
        }
        finder.openFor(&item2, 7);
        QCOMPARE(category->currentText(), QStringLiteral("helm"));
        QCOMPARE(items->itemText(0), QStringLiteral("No Item"));
        for (int i = 1; i < items->count(); ++i)
            QCOMPARE(shippedTables().ItemData[items->itemData(i).toInt()].category, std::string("helm"));

        category->setCurrentIndex(0);
        QCheckBox* artifacts = child<QCheckBox>(finder, "chkIArtifacts");
        QCheckBox* noArtifacts = child<QCheckBox>(finder, "chkINoArtifacts");
        noArtifacts->setChecked(true);
        artifacts->setChecked(true);
        QVERIFY(!noArtifacts->isChecked());
        QVERIFY(items->count() > 1);
        for (int i = 1; i < items->count(); ++i)
            QCOMPARE(shippedTables().ItemData[items->itemData(i).toInt()].itemLevel, std::int16_t(8));
        child<QCheckBox>(finder, "chkINoSpecial")->setChecked(true);
        child<QCheckBox>(finder, "chkISpecial")->setChecked(true);
        QVERIFY(!child<QCheckBox>(finder, "chkINoSpecial")->isChecked());
        QCOMPARE(items->count(), 1); // an item is an artifact or special, never both
        artifacts->setChecked(false);
        child<QCheckBox>(finder, "chkISpecial")->setChecked(false);

        QComboBox* level = child<QComboBox>(finder, "cboIL1");
        QVERIFY(!level->isEnabled());
        child<QCheckBox>(finder, "chkIP1")->setChecked(true);
        child<QCheckBox>(finder, "chkIL1")->setChecked(true);
        QVERIFY(level->isEnabled());
        level->setCurrentIndex(1);
        for (int i = 1; i < items->count(); ++i) {
            const ItemDataType& it = shippedTables().ItemData[items->itemData(i).toInt()];
            QCOMPARE(it.path1, std::string("F"));
            QVERIFY(it.path1Level <= 2);
        }

        items->setCurrentIndex(1);
        const QString chosen = items->currentText();
        click(finder, "cmdOk");
        QCOMPARE(item2.text(), chosen);
        finder.openFor(&item2, 7);
        items->setCurrentIndex(0);
        click(finder, "cmdOk");
        QCOMPARE(item2.text(), QString());
    }
};

QTEST_MAIN(FindersTest)
#include "finders_widget_test.moc"
