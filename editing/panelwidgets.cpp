#include "panelwidgets.h"

#include "paths.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>

namespace ts {

namespace {

// Shows a hint while the pointer is over the widget it watches.
class HintFilter : public QObject {
  public:
    HintFilter(QObject* parent, std::function<void(const QString&)> show, QString hint)
        : QObject(parent), mShow(std::move(show)), mHint(std::move(hint)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) && mShow) mShow(mHint);
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void(const QString&)> mShow;
    QString mHint;
};

QColor qColour(Color c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

} // namespace

void PanelHooks::changed(PanelDirtyFlag flag) const {
    if (panelChanged && panelChanged(flag) && commit) commit();
}

void PanelHooks::returnFocus() const {
    if (startingUp && startingUp()) return;
    if (focusMap) focusMap();
}

void PanelHooks::hintOn(QWidget* widget, const QString& hint) const {
    if (!showHint) return;
    widget->setMouseTracking(true);
    widget->installEventFilter(new HintFilter(widget, showHint, hint));
}

QString IconPath(const QString& programFolder, const QString& file) {
    return joinPath(programFolder, QStringLiteral("TSicons"), file);
}

QString FlagPath(const QString& programFolder, const std::string& era, const std::string& name) {
    const QString file = (QString::fromStdString(era) + QLatin1Char('_') + QString::fromLatin1(name.c_str()) +
                          QStringLiteral("_icon.bmp"))
                             .toLower();
    return joinPath(programFolder, QStringLiteral("TSflags"), file);
}

PictureLabel::PictureLabel(QWidget* parent, const QString& objectName, int size)
    : QLabel(parent), mSize(size) {
    setObjectName(objectName);
    setFixedSize(size, size);
    setAlignment(Qt::AlignCenter);
}

void PictureLabel::showPicture(const QString& path, const QString& tip) {
    QPixmap picture(path);
    if (!picture.isNull() && (picture.width() > mSize || picture.height() > mSize))
        picture = picture.scaled(mSize, mSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setPixmap(picture);
    setToolTip(tip);
    setProperty("picture", path);
}

void PictureLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && clicked) {
        clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

ColourSwatch::ColourSwatch(QWidget* parent, const QString& objectName, UserInterface& ui)
    : QLabel(parent), mUi(ui) {
    setObjectName(objectName);
    setFixedSize(36, 20);
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

void ColourSwatch::setValue(std::optional<Color> value) {
    mValue = value;
    update();
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Unset shows as light grey, which is what the dialog starts from.
        const std::optional<Color> chosen = mUi.colorDialog(mValue.value_or(0xE0E0E0));
        if (!chosen) return;
        mValue = chosen;
    } else if (event->button() == Qt::RightButton) {
        mValue.reset();
    } else {
        return;
    }
    update();
    if (changed) changed();
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    if (mValue) {
        p.fillRect(inside, qColour(*mValue));
    } else {
        p.fillRect(inside, QColor(224, 224, 224));
        p.fillRect(inside, QBrush(QColor(150, 150, 150), Qt::BDiagPattern));
    }
    p.end();
    QLabel::paintEvent(event);
}

} // namespace ts
