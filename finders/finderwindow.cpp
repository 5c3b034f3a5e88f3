#include "finderwindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace ts {

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> onClick) : QObject(parent), mOnClick(std::move(onClick)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            mOnClick();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> mOnClick;
};

} // namespace

FinderWindow::FinderWindow(const char* objectName, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Tool) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(title);
}

void FinderWindow::openWindow(QLabel* callerSlot) {
    mCaller = callerSlot;
    mAccepted = false;
    show();
    raise();
    activateWindow();
}

QBoxLayout* FinderWindow::buttonRow(const char* closeButtonName) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* ok = pushButton(this, "cmdOk", QStringLiteral("OK"), [this] { accept(); });
    ok->setDefault(true);
    row->addWidget(ok);
    row->addWidget(pushButton(this, "cmdCancel", QStringLiteral("Cancel"), [this] { cancel(); }));
    if (closeButtonName)
        row->addWidget(pushButton(this, closeButtonName, QStringLiteral("Close"), [this] { cancel(); }));
    return row;
}

void FinderWindow::accept() {
    mAccepted = true;
    hide();
    if (!mCaller) return;
    handBack(*mCaller);
    if (afterHandBack) afterHandBack();
}

void FinderWindow::cancel() {
    mAccepted = false;
    hide();
}

void FinderWindow::closeEvent(QCloseEvent* event) {
    mAccepted = false;
    QWidget::closeEvent(event);
}

void FinderWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

QPushButton* pushButton(QWidget* parent, const char* objectName, const QString& caption, std::function<void()> onClick) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    QObject::connect(button, &QPushButton::clicked, parent, std::move(onClick));
    return button;
}

QBoxLayout* buttonPair(QPushButton* left, QPushButton* right) {
    auto* row = new QHBoxLayout;
    row->addWidget(left);
    row->addWidget(right);
    return row;
}

QComboBox* listBox(QWidget* parent, const char* objectName, const ListEntries& entries, int selected) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    for (const auto& e : entries) box->addItem(e.text, e.value);
    box->setCurrentIndex(selected);
    return box;
}

QCheckBox* filterBox(QWidget* parent, const char* objectName, const QString& caption, QWidget* list) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(objectName));
    if (list) {
        list->setEnabled(false);
        QObject::connect(box, &QCheckBox::toggled, list, &QWidget::setEnabled);
    }
    return box;
}

void onLabelClick(QLabel* label, std::function<void()> onClick) {
    label->installEventFilter(new ClickFilter(label, std::move(onClick)));
    label->setCursor(Qt::PointingHandCursor);
}

QLabel* pictureLabel(QWidget* parent, const char* objectName, int width, int height) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setFixedSize(width, height);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void showPicture(QLabel* label, const QString& path) {
    QPixmap picture(path);
    if (!picture.isNull() && (picture.width() > label->width() || picture.height() > label->height()))
        picture = picture.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    label->setPixmap(picture);
}

void setSlot(QLabel& slot, int number, const QString& name, const QString& picturePath) {
    slot.setProperty("tag", QString::number(number));
    slot.setToolTip(name);
    slot.setPixmap(QPixmap(picturePath));
}

} // namespace ts
