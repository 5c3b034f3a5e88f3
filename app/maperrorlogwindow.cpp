#include "maperrorlogwindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace ts {

MapErrorLogWindow::MapErrorLogWindow(const MapErrorLogView& log,
                                     const std::function<void(const QString&, int)>& openInEditor,
                                     const std::function<void()>& saveLog, QWidget* parent)
    : QDialog(parent), mSaveLog(saveLog) {
    setObjectName(QStringLiteral("frmMapErrorLog"));
    setWindowTitle(QStringLiteral("Map Error Log"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    resize(760, 420);

    auto* text = new QTextEdit(this);
    text->setObjectName(QStringLiteral("rtbLog"));
    text->setReadOnly(true);
    text->setLineWrapMode(QTextEdit::NoWrap);
    text->setFontFamily(QStringLiteral("monospace"));
    text->setPlainText(log.text);

    auto* open = new QPushButton(QStringLiteral("Open Map File"), this);
    open->setObjectName(QStringLiteral("cmdOpenMapFile"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    const QString path = log.mapFilePath;
    const int line = log.firstErrorLine;
    connect(open, &QPushButton::clicked, this, [openInEditor, path, line] {
        if (openInEditor) openInEditor(path, line);
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(open);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
}

bool MapErrorLogWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !mSaved) {
        mSaved = true;
        if (mSaveLog) mSaveLog();
    }
    return QDialog::event(e);
}

} // namespace ts
