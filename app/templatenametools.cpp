#include "templatenametools.h"

#include "panelhints.h"

#include "cp1252.h"
#include "mapdocument.h"
#include "mapview.h"
#include "navigator.h"
#include "templates.h"
#include "toolpanel.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace ts {

namespace {

const QString kButtonHint = QStringLiteral("Incomplete!");
const QString kNoTemplateHint = QStringLiteral("No template is active: F3 chooses one, F2 saves the province as one.");


} // namespace

TemplateNameTools::TemplateNameTools(MapDocument& doc, UserInterface& ui, Navigator& navigator, MapView& map,
                                     ToolPanel& barTool, Window window)
    : mDoc(doc), mUi(ui), mNavigator(navigator), mMap(map), mWindow(std::move(window)),
      mTemplates(std::make_unique<ProvinceTemplates>(
          ui, [this] { return templatesFolder(mWindow.programFolder()); },
          [this] { return shippedTemplatesFolder(mWindow.programFolder()); })) {
    setProvinceName = [this](const QString& name) { nameIntoRecord(name); };
    addButtons(barTool);
    mMap.keyHandlers.push_back([this](QKeyEvent* event) { return mapKey(event); });
}

TemplateNameTools::~TemplateNameTools() = default;

void TemplateNameTools::addButtons(ToolPanel& barTool) {
    auto* grid = qobject_cast<QGridLayout*>(barTool.body()->layout());
    if (!grid) grid = new QGridLayout(barTool.body());
    const int row = grid->rowCount();
    const struct {
        const char* name;
        const char* text;
        const char* tip;
        void (TemplateNameTools::*action)();
    } buttons[] = {{"cmdTemplateSave", "Save", "Save the province as a template (F2)", &TemplateNameTools::saveTemplate},
                   {"cmdTemplateSet", "Set", "Choose the active template (F3)", &TemplateNameTools::chooseTemplate},
                   {"cmdTemplateApply", "Apply", "Apply the active template to the province (F4)",
                    &TemplateNameTools::applyTemplate}};
    auto* hints = new PanelHints(barTool.body());
    hints->showHint = mWindow.showHint;
    int column = 0;
    for (const auto& b : buttons) {
        auto* button = new QToolButton(barTool.body());
        button->setObjectName(QLatin1String(b.name));
        button->setText(QLatin1String(b.text));
        button->setToolTip(QLatin1String(b.tip));
        button->setFocusPolicy(Qt::NoFocus);
        hints->add(button, kButtonHint);
        QObject::connect(button, &QToolButton::clicked, button, [this, action = b.action] { (this->*action)(); });
        grid->addWidget(button, row, column++);
    }
    mLabel = new QLabel(barTool.body());
    mLabel->setObjectName(QStringLiteral("lblTemplateActive"));
    hints->add(mLabel, kButtonHint);
    grid->addWidget(mLabel, row, column, 1, -1);
}

void TemplateNameTools::showActive() {
    mLabel->setText(mTemplates->name());
    mLabel->setToolTip(mTemplates->path());
}

void TemplateNameTools::focusMap() {
    if (!(mWindow.startingUp && mWindow.startingUp())) mMap.setFocus();
}

void TemplateNameTools::saveTemplate() {
    if (mDoc.CurProvince < 1) return;
    // The template holds what the panels show, edits not yet committed included.
    mNavigator.NodeClick();
    if (mTemplates->SaveTemplate(mDoc)) showActive();
    focusMap();
}

void TemplateNameTools::chooseTemplate() {
    if (mTemplates->ChooseTemplate()) showActive();
}

void TemplateNameTools::applyTemplate() {
    if (mDoc.CurProvince < 1) return;
    if (!mTemplates->hasTemplate()) {
        // Nothing to apply is no error, but the user should learn why nothing happened.
        if (mWindow.showHint) mWindow.showHint(kNoTemplateHint);
        return;
    }
    // Edits waiting in the panels reach the record before the merge, so neither overwrites the other.
    mNavigator.NodeClick();
    EditBracket bracket(mNavigator.model().journal,
                        {.provinces = {mDoc.CurProvince}, .startProvinces = true, .nations = true},
                        "Template in " + ProvinceTitle(mDoc, mDoc.CurProvince));
    if (!mTemplates->ApplyTemplate(mDoc)) return;
    commitRecordChange({ProvinceDirty, SitesDirty});
    mMap.markSpecial();
    focusMap();
}

void TemplateNameTools::randomProvinceName() {
    if (mDoc.CurProvince < 1) return;
    if (const std::optional<QString> name = RandomName("PROVINCE", mDoc, mUi, uniform, namesFolders(mWindow.programFolder()))) setProvinceName(*name);
}

QString TemplateNameTools::randomCommanderName(const QString& keep) {
    return RandomName("COMMANDER", mDoc, mUi, uniform, namesFolders(mWindow.programFolder())).value_or(keep);
}

void TemplateNameTools::nameIntoRecord(const QString& name) {
    const int p = mDoc.CurProvince;
    if (p < 1 || p > kMaxProvince) return;
    const EditBracket bracket(mNavigator.model().journal, {.provinces = {p}}, "Random Name in " + ProvinceTitle(mDoc, p));
    mDoc.Provinces[p].LandName = toCp1252(name);
    commitRecordChange({ProvinceDirty});
}

void TemplateNameTools::commitRecordChange(std::initializer_list<PanelDirtyFlag> panels) {
    mNavigator.RefreshProvinceNodes(mDoc.CurProvince);
    mNavigator.NodeClick(); // the panels show the changed record
    // ... and commit it as their edit: the map changed and its recovery copy is written.
    for (const PanelDirtyFlag flag : panels) mDoc.PanelDirty[flag] = true;
    mNavigator.NodeClick();
}

bool TemplateNameTools::mapKey(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    switch (event->key()) {
    case Qt::Key_F2:
        saveTemplate();
        return true;
    case Qt::Key_F3:
        chooseTemplate();
        return true;
    case Qt::Key_F4:
        applyTemplate();
        return true;
    default:
        break;
    }
    // The capital letter itself, so Caps Lock gives it as well as Shift.
    if (event->text() == QLatin1String("R")) {
        randomProvinceName();
        return true;
    }
    return false;
}

} // namespace ts
