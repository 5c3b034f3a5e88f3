#include "exportpicturedialog.h"

#include "mapgeometry.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace ts {

std::optional<RenderOptions> askRenderOptions(QWidget* parent, QSize pictureSize, const RenderOptions& proposed) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmExportPicture"));
    dialog.setWindowTitle(QStringLiteral("Export Picture"));
    auto* scale = new QDoubleSpinBox(&dialog);
    scale->setObjectName(QStringLiteral("spnScale"));
    scale->setRange(kMinRenderScale, kMaxRenderScale);
    scale->setSingleStep(0.25);
    scale->setDecimals(2);
    scale->setValue(proposed.scale);
    auto* size = new QLabel(&dialog);
    size->setObjectName(QStringLiteral("lblSize"));
    auto box = [&dialog](const char* name, const QString& caption, bool on) {
        auto* b = new QCheckBox(caption, &dialog);
        b->setObjectName(QString::fromLatin1(name));
        b->setChecked(on);
        return b;
    };
    QCheckBox* numbers = box("chkNumbers", QStringLiteral("Province numbers"), proposed.numbers);
    QCheckBox* names = box("chkNames", QStringLiteral("Province names"), proposed.names);
    QCheckBox* links = box("chkLinks", QStringLiteral("Neighbour links"), proposed.links);
    QCheckBox* starts = box("chkStarts", QStringLiteral("Start, no-start and special-start markers"), proposed.starts);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));

    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Scale:"), scale);
    form->addRow(QStringLiteral("Picture:"), size);
    for (QCheckBox* b : {numbers, names, links, starts}) form->addRow(b);
    form->addRow(buttons);
    auto showSize = [&] {
        const QSize s = shownSize(static_cast<float>(pictureSize.width()), static_cast<float>(pictureSize.height()),
                                  static_cast<float>(scale->value()));
        size->setText(QStringLiteral("%1 x %2 pixels").arg(s.width()).arg(s.height()));
    };
    showSize();
    QObject::connect(scale, &QDoubleSpinBox::valueChanged, &dialog, showSize);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return RenderOptions{scale->value(), numbers->isChecked(), names->isChecked(), links->isChecked(), starts->isChecked()};
}

} // namespace ts
