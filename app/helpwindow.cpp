#include "helpwindow.h"

#include "folders.h"
#include "userinterface.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace ts {

namespace {

struct KeyLine {
    const char* key;
    const char* action;
};

const KeyLine kMapKeys[] = {
    {"Right click", "Select the province under the cursor"},
    {"Left click", "Link or unlink the province under the cursor with the selected one"},
    {"Middle button, drag", "Move the map"},
    {"Arrow keys", "Scroll the map"},
    {"F5, F6, F7, F8", "Zoom 25%, 50%, 75%, 100%"},
    {"F9", "Mark the selected province"},
    {"M", "Map header"},
    {"A", "Allowed players"},
    {"G", "Gods and nations"},
    {"P", "Provinces"},
    {"Ctrl+G", "Show or hide the navigator"},
    {"Ctrl+T", "Show or hide the terrain tool"},
    {"Ctrl+F", "Show or hide the fort tool"},
    {"Ctrl+B", "Show or hide the bar tool"},
    {"Ctrl+N", "New map"},
    {"Ctrl+O", "Open a map"},
    {"Ctrl+S", "Save the map"},
    {"F1", "This list of shortcuts"},
};

const KeyLine kEditingKeys[] = {
    {"1", "Small province"},
    {"2", "Large province"},
    {"d", "Deep sea"},
    {"r", "Lake or river"},
    {"m", "Mountain"},
    {"b", "Border mountain"},
    {"c", "Cave"},
    {"s", "Swamp"},
    {"w", "Waste"},
    {"f", "Forest"},
    {"a", "Farm land"},
    {"n", "No start"},
    {"y", "Many sites"},
    {"Shift+R", "Random name for the selected province"},
    {"F2", "Save a province template"},
    {"F3", "Set the province template"},
    {"F4", "Apply the province template to the selected province"},
    {"Ctrl+C", "Copy the chosen commander, unit stack, bodyguard stack or site"},
    {"Ctrl+V", "Paste into the chosen slot"},
    {"Del", "Delete the chosen commander, unit stack, bodyguard stack or site"},
    {"Ctrl+Z", "Undo the last edit (Edit > Undo names it)"},
    {"Ctrl+Y", "Redo what was undone (also Ctrl+Shift+Z)"},
    {"Right click on a slot", "Cut, copy, paste and delete"},
};

template <std::size_t N>
QWidget* keyList(QWidget* parent, const char* name, const QString& title, const KeyLine (&lines)[N]) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(title, box);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    auto* table = new QTableWidget(static_cast<int>(N), 2, box);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Action")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < static_cast<int>(N); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(QString::fromLatin1(lines[row].key)));
        table->setItem(row, 1, new QTableWidgetItem(QString::fromLatin1(lines[row].action)));
    }
    table->resizeColumnToContents(0);
    layout->addWidget(table);
    return box;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Shortcuts"));
    resize(820, 560);
    auto* lists = new QHBoxLayout;
    lists->addWidget(keyList(this, "lstMapKeys", QStringLiteral("Map keys"), kMapKeys));
    lists->addWidget(keyList(this, "lstEditingKeys",
                             QStringLiteral("Editing keys (while the map has the focus)"), kEditingKeys));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(buttons);
}

void openManual(const QString& programFolder, UserInterface& ui) {
    const QString manual = manualFile(programFolder);
    const QString title = QStringLiteral("Local Help");
    if (!QFileInfo::exists(manual))
        ui.messageBox(title, QStringLiteral("The user manual is not installed: %1 is missing.").arg(manual));
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        ui.messageBox(title, QStringLiteral("No browser could be started to show the user manual, %1.").arg(manual));
}

} // namespace ts
