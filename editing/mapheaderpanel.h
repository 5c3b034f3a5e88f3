#pragma once

#include "headerrules.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ts {

class PanelHints;
class UserInterface;

// The controls of the map header frame (fraMap): title, picture, description, the three switches,
// site frequency, default zoom and the province-name text colour. It copies MapHeaderFields to and
// from its controls and reports edits; the rules live in headerrules.
class MapHeaderPanel : public QWidget {
public:
    MapHeaderPanel(UserInterface& ui, QWidget* parent = nullptr);

    // A control changed: the header holds edits the records do not have yet.
    std::function<void()> edited;
    // An edit is complete (a box was left, a switch clicked): time to commit it.
    std::function<void()> finished;
    // The picture button was clicked.
    std::function<void()> browseImage;
    // The wrap-around switch was clicked and committed.
    std::function<void()> wrapAroundChanged;

    void show(const MapHeaderFields& fields);
    MapHeaderFields fields() const;
    // The picture button chose a new file: the box takes it as an edit of the user.
    void setImageFile(const QString& fileName);

    PanelHints& hints() { return *mHints; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* numberBox(const char* name, const QString& hint, std::function<QString(const QString&)> clamp);
    QCheckBox* checkBox(const char* name, const QString& caption, const QString& hint);
    void userEdited();
    void pickTextColor();
    void paintColorLabel();

    UserInterface& mUi;
    PanelHints* mHints;
    QLineEdit* mTitle;
    QLineEdit* mImageFile;
    QPushButton* mBrowse;
    QPlainTextEdit* mDescription;
    QCheckBox* mScenario;
    QCheckBox* mWrapAround;
    QCheckBox* mNoHomelandNames;
    QLineEdit* mFrequency;
    QLineEdit* mZoom;
    QLabel* mColorLabel;
    QLineEdit* mColor[4];
    bool mFilling = false;
};

} // namespace ts
