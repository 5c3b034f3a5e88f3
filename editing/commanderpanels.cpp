#include "commanderpanels.h"

#include "commanderdetail.h"
#include "commanderrules.h"
#include "commanderstrip.h"
#include "cp1252.h"
#include "godplacement.h"
#include "navigator.h"
#include "panelframes.h"
#include "siterules.h"
#include "sitespanel.h"
#include "slotlabel.h"
#include "unittext.h"
#include "userinterface.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

namespace ts {

namespace {

bool validProvince(int p) { return p >= 1 && p <= kMaxProvince; }

const char* const kMenuCaptions[4] = {"Cut", "Copy", "Paste", "Delete"};

} // namespace

CommanderPanels::CommanderPanels(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, Navigator& navigator,
                                 PanelFrames& frames, const QString& programFolder, QObject* parent)
    : QObject(parent), mDoc(doc), mRef(ref), mUi(ui), mNavigator(navigator), mHints(new HintEvents(this)),
      mClipboard(doc, ui) {
    mHints->show = [this](const QString& hint) {
        if (showHint) showHint(hint);
    };
    QVBoxLayout* stripFrame = frames.frameLayout(QString::fromLatin1(kFraProvinceCommanders1.data()));
    mStrip = new CommanderStrip(doc, programFolder, *mHints);
    stripFrame->addWidget(mStrip);
    mDetail = new CommanderDetail(doc, programFolder, *mHints,
                                  frames.frameLayout(QString::fromLatin1(kFraCommander.data())),
                                  frames.frameLayout(QString::fromLatin1(kFraCommanderBodyGuards.data())),
                                  frames.frameLayout(QString::fromLatin1(kFraCommanderUnits.data())), this);
    mSites = new SitesPanel(doc, ref, programFolder, *mHints);
    frames.frameLayout(QString::fromLatin1(kFraSites.data()))->addWidget(mSites);

    mMenu = new QMenu(&frames);
    mMenu->setObjectName(QStringLiteral("picMenu"));
    for (int i = 0; i < 4; ++i) {
        mEntries[i] = mMenu->addAction(QString::fromLatin1(kMenuCaptions[i]));
        mEntries[i]->setObjectName(QStringLiteral("lblMenu%1").arg(i));
        connect(mEntries[i], &QAction::triggered, this, [this, i] { menuAction(i); });
    }

    mClipboard.nodes = nodeEdits();
    mClipboard.showStartAndOwner = [this] {
        if (showStartAndOwner) showStartAndOwner();
    };

    NavigatorModel::Hooks& hooks = mNavigator.model().hooks;
    hooks.commit.commanderStrip = [this] { commitStrip(); };
    hooks.commit.commanderDetail = [this] { commitDetail(); };
    hooks.commit.sites = [this] { commitSites(); };
    hooks.hideSelectionFrames = [this] {
        mStrip->hideSelection();
        mDetail->hideStackSelection();
    };
    // The province panel fills its own controls; these frames are filled beside it.
    auto province = frames.hooks.fill.province;
    frames.hooks.fill.province = [this, province](int p) {
        if (province) province(p);
        ShowProvinceSlots(p);
    };
    // A nation shows its god in the commander frames; with a start province the god's slot follows.
    auto nation = frames.hooks.fill.nation;
    frames.hooks.fill.nation = [this, nation](int n) {
        mDetail->ShowGodDetail(n);
        if (n >= 0 && n < kNationCount) describeUnit(mDoc.Nations[n].God);
        if (nation) nation(n);
    };
    auto detail = frames.hooks.fill.commanderDetail;
    frames.hooks.fill.commanderDetail = [this, detail](int p, int c) {
        if (detail) detail(p, c);
        ShowCommanderDetail(p, c);
    };

    wireStrip();
    wireDetail();
    wireSites();
}

CommanderPanels::~CommanderPanels() = default;

NavigatorNodeEdits CommanderPanels::nodeEdits() {
    NavigatorNodeEdits e;
    e.add = [this](std::string_view parent, std::string_view key, std::string_view caption) {
        mNavigator.AddNavigatorNode(parent, key, caption);
    };
    e.remove = [this](std::string_view key) { mNavigator.RemoveNavigatorNode(key); };
    e.expand = [this](std::string_view key) {
        if (QTreeWidgetItem* item = mNavigator.node(key)) item->setExpanded(true);
    };
    e.refreshNation = [this](int nation) { mNavigator.RefreshNationNode(nation); };
    return e;
}

void CommanderPanels::ShowProvinceSlots(int province) {
    mStrip->ShowCommanderStrip(province);
    mSites->ShowSites(province);
}

void CommanderPanels::ShowCommanderDetail(int province, int slot) {
    mDetail->ShowCommanderDetail(province, slot);
    if (validProvince(province) && slot >= 0 && slot < kCommanderSlots)
        describeUnit(CommanderShown(mDoc, province, slot));
    else
        mDetail->showUnitDescription(QString());
}

void CommanderPanels::describeUnit(const CommanderDataType& shown) {
    // The stack picked last is described; otherwise the commander itself.
    int unit = shown.UnitName.empty() ? -1 : shown.UnitIndex;
    const int guard = mDoc.CurBodyguardSlot, stack = mDoc.CurUnitSlot;
    if (mPickedKind == ClipBodyguard && guard >= 0 && guard < kBodyguardSlots) unit = shown.BodyguardIndex[guard];
    if (mPickedKind == ClipUnit && stack >= 0 && stack < kUnitStackSlots) unit = shown.UnitsIndex[stack];
    const QString text = unit >= 1 ? fromCp1252(UnitDescriptionText(mRef, unit)) : QString();
    mDetail->showUnitDescription(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CommanderPanels::commitNow() {
    mNavigator.NodeClick();
}

void CommanderPanels::changed(PanelDirtyFlag flag) {
    if (mNavigator.model().PanelChanged(flag)) commitNow();
}

void CommanderPanels::commitStrip() {
    const int p = mStrip->shownProvince();
    if (!validProvince(p)) return;
    const NavigatorNodeEdits nodes = nodeEdits();
    // Every slot whose picture no longer shows what the record holds is written back, so a hand-back
    // arriving after another slot was picked still lands in its own slot.
    for (int c = 0; c < kCommanderSlots; ++c) {
        QLabel* slot = mStrip->slot(c);
        const CommanderDataType& com = CommanderShown(mDoc, p, c);
        const int shown = SlotTagNumber(slotTag(slot));
        const int held = com.UnitName.empty() ? -1 : com.UnitIndex;
        if (shown != held || (shown >= 0 && toCp1252(slot->toolTip()) != com.UnitName.view()))
            CommitCommanderSlot(mDoc, p, c, slotTag(slot), slot->toolTip(), nodes);
    }
}

void CommanderPanels::commitDetail() {
    if (mDetail->shownNation() >= 0) return CommitGodDetail(mDoc, mDetail->shownNation(), mDetail->input());
    CommitCommanderDetail(mDoc, mDetail->shownProvince(), mDetail->shownCommander(), mDetail->input());
}

void CommanderPanels::commitSites() {
    CommitSites(mDoc, mSites->shownProvince(), mSites->killFeatures(), mSites->slotInputs(), nodeEdits());
}

void CommanderPanels::selectCommander(int slot, int stackKind, int stack) {
    const int p = mStrip->shownProvince();
    if (!validProvince(p) || slot < 0 || slot >= kCommanderSlots) return;
    NavigatorModel::SlotPicks& picks = mNavigator.model().slotPicks();
    picks.bodyguard = stackKind == ClipBodyguard;
    picks.unit = stackKind == ClipUnit;
    if (stackKind == ClipBodyguard) mDoc.CurBodyguardSlot = static_cast<std::int16_t>(stack);
    if (stackKind == ClipUnit) mDoc.CurUnitSlot = static_cast<std::int16_t>(stack);
    if (stackKind == ClipBodyguard) mDoc.CurUnitSlot = kNone;
    if (stackKind == ClipUnit) mDoc.CurBodyguardSlot = kNone;
    mPickedKind = stackKind == ClipNone ? ClipCommander : stackKind;
    mNavigator.NodeClick(CommanderNodeKey(p, slot));
}

void CommanderPanels::wireStrip() {
    SlotEvents& e = mStrip->events();
    e.clicked = [this](QLabel* slot) { selectCommander(mStrip->slotOf(slot), ClipNone, -1); };
    e.doubleClicked = [this](QLabel* slot) {
        const int c = mStrip->slotOf(slot);
        selectCommander(c, ClipNone, -1);
        if (c == 0 && SpecialStartNationOf(mDoc, mStrip->shownProvince()) < 0) {
            // Only a god goes there: through the province's special start, or pasted.
            mUi.beep();
            if (showHint) showHint(QString::fromLatin1(CommanderStrip::kStatusText));
            return;
        }
        mNavigator.model().PanelChanged(CommanderDirty);
        if (openUnitFinder) openUnitFinder(mStrip->slot(mStrip->slotOf(slot)));
    };
    e.rightClicked = [this](QLabel* slot) {
        selectCommander(mStrip->slotOf(slot), ClipNone, -1);
        openMenu(ClipCommander, slot);
    };
}

void CommanderPanels::wireDetail() {
    mDetail->changed = [this] { mNavigator.model().PanelChanged(CommanderDetailDirty); };
    mDetail->editFinished = [this] {
        if (mDoc.PanelDirty[CommanderDetailDirty]) commitNow();
    };
    mDetail->insideCastlePressed = [this](bool inside) {
        ApplyInsideCastle(mDoc, mDetail->shownProvince(), mDetail->shownCommander(), inside);
        changed(CommanderDetailDirty);
    };
    mDetail->randomNamePressed = [this] {
        if (!randomCommanderName) return;
        mDetail->nameBox()->setText(randomCommanderName());
        changed(CommanderDetailDirty);
    };

    SlotEvents& stacks = mDetail->stackEvents();
    const auto pick = [this](QLabel* picture, int& kind, int& k) {
        if (!mDetail->stackOf(picture, kind, k)) return false;
        selectCommander(mDetail->shownCommander(), kind, k);
        return true;
    };
    stacks.clicked = [pick](QLabel* picture) {
        int kind = 0, k = 0;
        pick(picture, kind, k);
    };
    stacks.doubleClicked = [this, pick](QLabel* picture) {
        int kind = 0, k = 0;
        if (!pick(picture, kind, k)) return;
        QLineEdit* count = kind == ClipBodyguard ? mDetail->bodyguardCount(k) : mDetail->unitCount(k);
        // The finder's choice becomes a stack of one on the next commit.
        if (count->text().trimmed().isEmpty()) count->setText(QStringLiteral("0"));
        mNavigator.model().PanelChanged(CommanderDetailDirty);
        if (openUnitFinder) openUnitFinder(picture);
    };
    stacks.rightClicked = [this, pick](QLabel* picture) {
        int kind = 0, k = 0;
        if (pick(picture, kind, k)) openMenu(kind, picture);
    };

    SlotEvents& items = mDetail->itemEvents();
    items.clicked = [this](QLabel* label) {
        const int i = slotIndex(label, QStringLiteral("lblItem"));
        const int p = mDetail->shownProvince(), c = mDetail->shownCommander(), n = mDetail->shownNation();
        if (i < 0 || ((!validProvince(p) || c < 0) && n < 0)) return;
        mDoc.CurItemSlot = static_cast<std::int16_t>(i);
        mNavigator.model().PanelChanged(CommanderDetailDirty);
        const int unit = n >= 0 ? mDoc.Nations[n].God.UnitIndex : CommanderShown(mDoc, p, c).UnitIndex;
        if (openItemFinder) openItemFinder(label, unit);
    };
    items.rightClicked = [this](QLabel* label) {
        if (label->text().isEmpty()) return;
        label->clear();
        changed(CommanderDetailDirty);
    };
}

void CommanderPanels::wireSites() {
    mSites->changed = [this] { changed(SitesDirty); };
    SlotEvents& e = mSites->events();
    e.clicked = [this](QLabel* slot) {
        const int s = mSites->slotOf(slot);
        if (s < 0 || !validProvince(mSites->shownProvince())) return;
        if (slot->toolTip().isEmpty()) commitNow();
        mDoc.CurSiteSlot = static_cast<std::int16_t>(s);
        mPickedKind = ClipSite;
        mNavigator.model().PanelChanged(SitesDirty);
        if (openSiteFinder) openSiteFinder(slot);
    };
    e.rightClicked = [this](QLabel* slot) {
        const int s = mSites->slotOf(slot);
        const int p = mSites->shownProvince();
        if (s < 0 || !validProvince(p)) return;
        const bool known = mSites->known(s)->isChecked();
        if (slot->toolTip().isEmpty())
            commitNow();
        else
            mNavigator.NodeClick(SiteNodeKey(p, s, known));
        mDoc.CurSiteSlot = static_cast<std::int16_t>(s);
        mDoc.CurKnownSiteSlot = known ? static_cast<std::int16_t>(s) : kNone;
        mPickedKind = ClipSite;
        openMenu(ClipSite, slot);
    };
}

void CommanderPanels::handBack(QLabel* slot) {
    int kind = 0, k = 0;
    PanelDirtyFlag flag;
    if (mStrip->slotOf(slot) >= 0)
        flag = CommanderDirty;
    else if (mSites->slotOf(slot) >= 0)
        flag = SitesDirty;
    else if (mDetail->stackOf(slot, kind, k) || slotIndex(slot, QStringLiteral("lblItem")) >= 0)
        flag = CommanderDetailDirty;
    else
        return;
    if (flag == SitesDirty) mSites->showSummary();
    mDoc.PanelDirty[flag] = true;
    commitNow();
}

void CommanderPanels::openMenu(int kind, QLabel* near) {
    const Clipboard::MenuState state = mClipboard.menuOpened(kind);
    mEntries[0]->setEnabled(state.cut);
    mEntries[1]->setEnabled(state.copy);
    mEntries[2]->setEnabled(state.paste);
    mEntries[3]->setEnabled(state.del);
    mMenu->popup(near->mapToGlobal(QPoint(near->width(), 0)));
}

void CommanderPanels::menuAction(int entry) {
    const int kind = mClipboard.state().ClipKind;
    commitNow();
    switch (entry) {
    case 0:
        mClipboard.cut(kind);
        break;
    case 1:
        mClipboard.copy(kind);
        break;
    case 2:
        clipboardEdit("Paste", kind, &Clipboard::paste);
        break;
    case 3:
        clipboardEdit("Delete", kind, &Clipboard::remove);
        break;
    default:
        break;
    }
}

void CommanderPanels::clipboardEdit(const char* verb, int kind, bool (Clipboard::*edit)(int)) {
    // A paste after a cut empties the slot it came from, so that province is kept for undo too.
    const int p = mDoc.CurProvince;
    EditBracket bracket(mNavigator.model().journal,
                        {.provinces = {p, mClipboard.state().ClipProvince}, .startProvinces = true, .nations = true});
    if (!(mClipboard.*edit)(kind)) return;
    static const char* const kinds[] = {"", "Commander", "Bodyguard", "Units", "Site"};
    const char* what = kind >= ClipCommander && kind <= ClipSite ? kinds[kind] : "";
    bracket.setText(std::string(verb) + " " + what + " in " + ProvinceTitle(mDoc, p));
    afterDocumentChange();
}

void CommanderPanels::afterDocumentChange() {
    // The clipboard wrote the records directly; the panels show them again, and the map is changed.
    commitNow();
    mDoc.MapModified = true;
    const NavigatorModel::Hooks& hooks = mNavigator.model().hooks;
    if (hooks.commit.redrawSpecialMarks) hooks.commit.redrawSpecialMarks();
    if (hooks.writeRecoveryFile) hooks.writeRecoveryFile();
}

bool CommanderPanels::mapKey(int key, Qt::KeyboardModifiers modifiers) {
    const int kind = mPickedKind;
    if (kind == ClipNone || !validProvince(mDoc.CurProvince)) return false;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (ctrl && key == Qt::Key_C) {
        commitNow();
        if (!mClipboard.currentSlotEmpty(kind)) mClipboard.copy(kind);
        return true;
    }
    if (ctrl && key == Qt::Key_V) {
        if (!mClipboard.canPaste(kind)) return true;
        commitNow();
        clipboardEdit("Paste", kind, &Clipboard::paste);
        return true;
    }
    if (key == Qt::Key_Delete && !ctrl) {
        commitNow();
        clipboardEdit("Delete", kind, &Clipboard::remove);
        return true;
    }
    return false;
}

} // namespace ts
