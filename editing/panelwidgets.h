#pragma once

#include "slotpictures.h"

#include "mapdocument.h"
#include "userinterface.h"

#include <QLabel>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace ts {

// What every editing panel needs from the window around it.
struct PanelHooks {
    // A control changed: marks the flag when the panels show a committed selection and says
    // whether it did; the panel then commits at once.
    std::function<bool(PanelDirtyFlag flag)> panelChanged;
    // The navigator's commit-and-refresh.
    std::function<void()> commit;
    // Whether the panels show a committed selection (no node click is filling them).
    std::function<bool()> ready;
    std::function<void(const QString& hint)> showHint;
    std::function<void()> focusMap;
    std::function<bool()> startingUp;
    // The folder the data folders (TSicons, TSsprites, TSflags) are found in.
    QString programFolder;

    // Marks the flag and commits, as every change event of a panel does.
    void changed(PanelDirtyFlag flag) const;
    // The map gets the keyboard back after a click on a panel picture, except while starting up.
    void returnFocus() const;
    // Shows hint in the status bar while the pointer rests on widget.
    void hintOn(QWidget* widget, const QString& hint) const;
};

// Picture files of the data folders.
QString IconPath(const QString& programFolder, const QString& file);
// TSflags/<era>_<name>_icon.bmp, lower-cased.
QString FlagPath(const QString& programFolder, const std::string& era, const std::string& name);

// A small picture that reacts to clicks; its tag holds the value it stands for.
class PictureLabel : public QLabel {
  public:
    PictureLabel(QWidget* parent, const QString& objectName, int size);
    void showPicture(const QString& path, const QString& tip = QString());

    std::function<void()> clicked;

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int mSize;
};

// A colour swatch: solid when set, hatched light grey when unset. A left click picks a colour, a
// right click unsets it.
class ColourSwatch : public QLabel {
  public:
    ColourSwatch(QWidget* parent, const QString& objectName, UserInterface& ui);

    std::optional<Color> value() const { return mValue; }
    void setValue(std::optional<Color> value);

    // The user changed the colour.
    std::function<void()> changed;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    UserInterface& mUi;
    std::optional<Color> mValue;
};

} // namespace ts
