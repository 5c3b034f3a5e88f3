#pragma once

#include "referencelists.h"

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QPixmap;
class QPushButton;

namespace ts {

// What the three finders share: a modeless tool window that remembers which slot opened it, and
// OK, Cancel and close buttons. OK hides the window, writes the choice into the slot (handBack) and
// then runs afterHandBack; Cancel, the close button, the window's own close and Escape hide it and
// leave the slot as it was.
class FinderWindow : public QWidget {
public:
    // Run after an accepted choice was written into the slot; the main window commits the panel.
    std::function<void()> afterHandBack;

    // True after OK, false after Cancel or close.
    bool accepted() const { return mAccepted; }
    QLabel* callerSlot() const { return mCaller; }

protected:
    FinderWindow(const char* objectName, const QString& title, QWidget* parent);

    // Remembers the slot and shows the window in front.
    void openWindow(QLabel* callerSlot);
    // The row of OK and Cancel, with a named close button when the window has one.
    QBoxLayout* buttonRow(const char* closeButtonName = nullptr);
    // Writes the chosen entry into the caller slot.
    virtual void handBack(QLabel& callerSlot) = 0;

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void accept();
    void cancel();

    QPointer<QLabel> mCaller;
    bool mAccepted = false;
};

using ListEntries = std::vector<ReferenceLists::ListEntry>;

// A push button that runs onClick.
QPushButton* pushButton(QWidget* parent, const char* objectName, const QString& caption, std::function<void()> onClick);
// Two buttons side by side.
QBoxLayout* buttonPair(QPushButton* left, QPushButton* right);

// A combo box holding the entries (text, item value) with the given one selected.
QComboBox* listBox(QWidget* parent, const char* objectName, const ListEntries& entries, int selected);
// A check box that enables its list while ticked, as every filter row does; the list starts disabled.
QCheckBox* filterBox(QWidget* parent, const char* objectName, const QString& caption, QWidget* list = nullptr);
// Runs onClick when the label is clicked with the left button.
void onLabelClick(QLabel* label, std::function<void()> onClick);
// A picture label of a fixed size that shows its picture scaled down to fit, centred.
QLabel* pictureLabel(QWidget* parent, const char* objectName, int width, int height);
void showPicture(QLabel* label, const QString& path);
// Hands a slot its picture, number tag and name, as the panels read them back.
void setSlot(QLabel& slot, int number, const QString& name, const QString& picturePath);

} // namespace ts
