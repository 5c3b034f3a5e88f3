#include "optionsdialog.h"

#include "markers.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace ts {

namespace {
// The same beat as the main window's flashing selection, so the preview shows what the map will do.
constexpr int kFlashMs = 500;
constexpr int kPreviewWidth = 170;
constexpr int kPreviewHeight = 110;

Color colorOf(std::int32_t v) {
    return static_cast<Color>(v);
}

QIcon swatch(std::int32_t value) {
    QPixmap pixmap(16, 16);
    pixmap.fill(toQColor(colorOf(value)));
    // Framed, so that white and the button face can be told apart.
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

QString swatchStyle(std::int32_t value) {
    const QColor c = toQColor(colorOf(value));
    const QColor text = c.lightness() < 128 ? Qt::white : Qt::black;
    return QStringLiteral("QLabel { background-color: %1; color: %2; border: 1px solid gray; padding: 2px; }")
        .arg(c.name(), text.name());
}

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

OptionsDialog::OptionsDialog(Settings& live, QString programFolder, UserInterface& ui, QWidget* parent)
    : QDialog(parent), mLive(live), mEdited(live), mProgramFolder(std::move(programFolder)), mUi(ui) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));

    mFlashTimer = new QTimer(this);
    mFlashTimer->setObjectName(QStringLiteral("tmrPreview"));
    mFlashTimer->setInterval(kFlashMs);
    connect(mFlashTimer, &QTimer::timeout, this, &OptionsDialog::tick);

    auto* ok = button(QStringLiteral("OK"), QStringLiteral("cmdOk"), this);
    ok->setDefault(true);
    auto* cancel = button(QStringLiteral("Cancel"), QStringLiteral("cmdCancel"), this);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* lower = new QHBoxLayout;
    lower->addWidget(buildMarkers(), 1);
    lower->addWidget(buildPreview());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFolders());
    layout->addLayout(lower);
    layout->addLayout(buttons);

    reload();
}

QWidget* OptionsDialog::buildFolders() {
    auto* frame = new QGroupBox(QStringLiteral("Directories"), this);
    frame->setObjectName(QStringLiteral("fraDirectories"));
    auto* grid = new QGridLayout(frame);

    mMapsDirectory = new QLineEdit(frame);
    mMapsDirectory->setObjectName(QStringLiteral("txtMapsDirectory"));
    auto* browseMaps = button(QStringLiteral("Browse..."), QStringLiteral("cmdBrowseMaps"), frame);
    auto* defaultMaps = button(QStringLiteral("Default"), QStringLiteral("cmdDefaultMaps"), frame);
    connect(browseMaps, &QPushButton::clicked, this, &OptionsDialog::browseMaps);
    connect(defaultMaps, &QPushButton::clicked, this,
            [this] { mMapsDirectory->setText(Settings::defaultMapsDirectory()); });
    auto* mapsLabel = new QLabel(QStringLiteral("Maps directory"), frame);
    mapsLabel->setObjectName(QStringLiteral("lblMapsDirectory"));
    grid->addWidget(mapsLabel, 0, 0);
    grid->addWidget(mMapsDirectory, 0, 1);
    grid->addWidget(browseMaps, 0, 2);
    grid->addWidget(defaultMaps, 0, 3);

    mBackgroundImage = new QLineEdit(frame);
    mBackgroundImage->setObjectName(QStringLiteral("txtBackgroundImage"));
    auto* browseBackground =
        button(QStringLiteral("Browse..."), QStringLiteral("cmdBrowseBackground"), frame);
    auto* defaultBackground =
        button(QStringLiteral("Default"), QStringLiteral("cmdDefaultBackground"), frame);
    connect(browseBackground, &QPushButton::clicked, this, &OptionsDialog::browseBackground);
    connect(defaultBackground, &QPushButton::clicked, this,
            [this] { mBackgroundImage->setText(Settings::defaultBackgroundImage(mProgramFolder)); });
    auto* backgroundLabel = new QLabel(QStringLiteral("Background image"), frame);
    backgroundLabel->setObjectName(QStringLiteral("lblBackgroundImage"));
    grid->addWidget(backgroundLabel, 1, 0);
    grid->addWidget(mBackgroundImage, 1, 1);
    grid->addWidget(browseBackground, 1, 2);
    grid->addWidget(defaultBackground, 1, 3);
    mKeepUnknown = new QCheckBox(QStringLiteral("Keep what Tessary does not understand"), frame);
    mKeepUnknown->setObjectName(QStringLiteral("chkKeepUnknown"));
    mKeepUnknown->setToolTip(QStringLiteral(
        "Commands, numbers, units, sites and terrain bits of maps from later game versions or other data sets "
        "are kept and saved again. Off, they are dropped when the map is saved."));
    grid->addWidget(mKeepUnknown, 2, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    mMapsDirectory->setMinimumWidth(320);
    return frame;
}

QWidget* OptionsDialog::buildMarkers() {
    auto* frame = new QGroupBox(QStringLiteral("Map markers"), this);
    frame->setObjectName(QStringLiteral("fraMarkers"));

    auto* colors = new QGridLayout;
    colors->addWidget(addColorButton(QStringLiteral("Base Center"), QStringLiteral("cmdBaseCenter"),
                                     &Settings::ColorBaseCenter),
                      0, 0);
    colors->addWidget(
        addColorButton(QStringLiteral("Base Ring"), QStringLiteral("cmdBaseRing"), &Settings::ColorBaseRing),
        1, 0);
    colors->addWidget(addColorButton(QStringLiteral("Base Neighbor"), QStringLiteral("cmdBaseNeighbor"),
                                     &Settings::ColorBaseNeighbor),
                      2, 0);
    colors->addWidget(addColorButton(QStringLiteral("Selected Center"), QStringLiteral("cmdSelectedCenter"),
                                     &Settings::ColorSelectedCenter),
                      0, 1);
    colors->addWidget(addColorButton(QStringLiteral("Selected Ring"), QStringLiteral("cmdSelectedRing"),
                                     &Settings::ColorSelectedRing),
                      1, 1);
    colors->addWidget(addColorButton(QStringLiteral("Selected Neighbor"),
                                     QStringLiteral("cmdSelectedNeighbor"), &Settings::ColorSelectedNeighbor),
                      2, 1);
    colors->addWidget(
        addColorLabel(QStringLiteral("Visited"), QStringLiteral("lblColorVisited"), &Settings::ColorVisited),
        0, 2);
    colors->addWidget(
        addColorLabel(QStringLiteral("Starts"), QStringLiteral("lblColorStarts"), &Settings::ColorStarts), 1,
        2);
    colors->addWidget(addColorLabel(QStringLiteral("No starts"), QStringLiteral("lblColorNoStarts"),
                                    &Settings::ColorNoStarts),
                      2, 2);
    colors->addWidget(addColorLabel(QStringLiteral("Victory points"), QStringLiteral("lblColorVictoryPoints"),
                                    &Settings::ColorVictoryPoints),
                      3, 2);

    auto* sizes = new QGridLayout;
    addSize(sizes, 0, QStringLiteral("Ring width"), QStringLiteral("RingWidth"), &Settings::RingWidth, 10);
    addSize(sizes, 1, QStringLiteral("Ring radius"), QStringLiteral("RingRadius"), &Settings::RingRadius, 50);
    addSize(sizes, 2, QStringLiteral("Neighbor width"), QStringLiteral("NeighborWidth"),
            &Settings::NeighborWidth, 10);
    addSize(sizes, 3, QStringLiteral("Selection block w/h"), QStringLiteral("SelectionBlock"),
            &Settings::SelectionBlock, 50);

    auto* switches = new QGridLayout;
    switches->addWidget(addSwitch(QStringLiteral("Flash selection"), QStringLiteral("chkFlashSelection"),
                                  &Settings::FlashSelection),
                        0, 0);
    switches->addWidget(addSwitch(QStringLiteral("Show neighbors"), QStringLiteral("chkShowNeighbors"),
                                  &Settings::ShowNeighbors),
                        1, 0);
    switches->addWidget(
        addSwitch(QStringLiteral("Mark Visited"), QStringLiteral("chkMarkVisited"), &Settings::MarkVisited),
        2, 0);
    switches->addWidget(addSwitch(QStringLiteral("Center on selection"),
                                  QStringLiteral("chkCenterOnSelection"), &Settings::CenterOnSelection),
                        3, 0);
    switches->addWidget(
        addSwitch(QStringLiteral("Mark Starts"), QStringLiteral("chkMarkStarts"), &Settings::MarkStarts), 0,
        1);
    switches->addWidget(addSwitch(QStringLiteral("Mark NoStarts"), QStringLiteral("chkMarkNoStarts"),
                                  &Settings::MarkNoStarts),
                        1, 1);
    switches->addWidget(addSwitch(QStringLiteral("Mark SpStarts"), QStringLiteral("chkMarkSpecialStarts"),
                                  &Settings::MarkSpecialStarts),
                        2, 1);
    switches->addWidget(
        addSwitch(QStringLiteral("Mark Owners"), QStringLiteral("chkMarkOwners"), &Settings::MarkOwners), 3,
        1);
    switches->addWidget(addSwitch(QStringLiteral("Mark VicPts"), QStringLiteral("chkMarkVictoryPoints"),
                                  &Settings::MarkVictoryPoints),
                        4, 1);

    auto* defaults = button(QStringLiteral("Default"), QStringLiteral("cmdDefaultMarkers"), frame);
    connect(defaults, &QPushButton::clicked, this, &OptionsDialog::setMarkerDefaults);
    auto* defaultsRow = new QHBoxLayout;
    defaultsRow->addStretch();
    defaultsRow->addWidget(defaults);

    auto* upper = new QHBoxLayout;
    upper->addLayout(colors);
    upper->addSpacing(12);
    upper->addLayout(sizes);
    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(upper);
    layout->addLayout(switches);
    layout->addLayout(defaultsRow);
    return frame;
}

QWidget* OptionsDialog::buildPreview() {
    auto* frame = new QGroupBox(QStringLiteral("Preview"), this);
    frame->setObjectName(QStringLiteral("fraPreview"));
    mPreview = new QLabel(frame);
    mPreview->setObjectName(QStringLiteral("picPreview"));
    mPreview->setFixedSize(kPreviewWidth, kPreviewHeight);
    mSelected = new QCheckBox(QStringLiteral("Selected"), frame);
    mSelected->setObjectName(QStringLiteral("chkSelected"));
    mSelected->setChecked(true);
    connect(mSelected, &QCheckBox::toggled, this, [this] {
        mFlashOn = true;
        updatePreview();
    });
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(mPreview);
    layout->addWidget(mSelected);
    layout->addStretch();
    return frame;
}

void OptionsDialog::addSize(QGridLayout* grid, int row, const QString& text, const QString& name,
                            std::int16_t Settings::*field, int maximum) {
    auto* caption = new QLabel(text, this);
    auto* value = new QLabel(this);
    value->setObjectName(QStringLiteral("lbl") + name);
    value->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(28);
    auto* minus =
        button(QStringLiteral("\u2212"), QStringLiteral("cmd") + name + QStringLiteral("Minus"), this);
    auto* plus = button(QStringLiteral("+"), QStringLiteral("cmd") + name + QStringLiteral("Plus"), this);
    minus->setFixedWidth(28);
    plus->setFixedWidth(28);
    grid->addWidget(caption, row, 0);
    grid->addWidget(minus, row, 1);
    grid->addWidget(value, row, 2);
    grid->addWidget(plus, row, 3);
    mSizes.push_back({field, maximum, value});
    const SizeControl control = mSizes.back();
    connect(minus, &QPushButton::clicked, this, [this, control] { stepSize(control, -1); });
    connect(plus, &QPushButton::clicked, this, [this, control] { stepSize(control, +1); });
}

QPushButton* OptionsDialog::addColorButton(const QString& text, const QString& name,
                                           std::int32_t Settings::*field) {
    auto* b = button(text, name, this);
    mColors.push_back({field, b});
    const ColorControl control = mColors.back();
    connect(b, &QPushButton::clicked, this, [this, control] { chooseColor(control); });
    return b;
}

QLabel* OptionsDialog::addColorLabel(const QString& text, const QString& name,
                                     std::int32_t Settings::*field) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    mColors.push_back({field, label});
    return label;
}

QCheckBox* OptionsDialog::addSwitch(const QString& text, const QString& name, std::int16_t Settings::*field) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(name);
    mSwitches.push_back({field, box});
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
        mEdited.*field = on ? 1 : 0;
        if (field == &Settings::FlashSelection) {
            mFlashOn = true;
            updateFlashTimer();
        }
        updatePreview();
    });
    return box;
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (const ColorControl& c : mColors) {
            if (c.control == watched) {
                chooseColor(c);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::reload() {
    mEdited = mLive;
    mMapsDirectory->setText(mLive.MapsDirectory);
    mBackgroundImage->setText(mLive.BackgroundImage);
    mKeepUnknown->setChecked(mLive.KeepUnknown);
    mFlashOn = true;
    showValues();
    updateFlashTimer();
}

void OptionsDialog::showValues() {
    for (const SizeControl& c : mSizes)
        c.value->setText(QString::number(mEdited.*c.field));
    for (const ColorControl& c : mColors) {
        if (auto* b = qobject_cast<QPushButton*>(c.control))
            b->setIcon(swatch(mEdited.*c.field));
        else
            c.control->setStyleSheet(swatchStyle(mEdited.*c.field));
    }
    for (const SwitchControl& c : mSwitches) {
        const QSignalBlocker block(c.box);
        c.box->setChecked(mEdited.*c.field != 0);
    }
    updatePreview();
}

void OptionsDialog::browseMaps() {
    const auto chosen = mUi.openFileDialog(QStringLiteral("Map Files Directory (*.map)|*.map"),
                                           mMapsDirectory->text(), QString());
    if (!chosen || chosen->isEmpty()) return;
    // The dialog picks a file; the folder it lies in is what is kept, with its closing separator.
    QString folder = QFileInfo(*chosen).path();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    mMapsDirectory->setText(folder);
}

void OptionsDialog::browseBackground() {
    const QString current = mBackgroundImage->text();
    const QString folder = current.isEmpty() ? QString() : QFileInfo(current).path();
    const auto chosen = mUi.openFileDialog(
        QStringLiteral("Background Image (*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif"), folder, current);
    if (!chosen || chosen->isEmpty()) return;
    mBackgroundImage->setText(*chosen);
}

void OptionsDialog::chooseColor(const ColorControl& c) {
    const auto chosen = mUi.colorDialog(colorOf(mEdited.*c.field));
    if (!chosen) return;
    mEdited.*c.field = static_cast<std::int32_t>(*chosen & 0xFFFFFFu);
    showValues();
}

void OptionsDialog::stepSize(const SizeControl& c, int delta) {
    // Steps only move toward the range; a value from an edited file outside it is left until then.
    const int v = mEdited.*c.field;
    if (delta < 0 && v > 1) mEdited.*c.field = static_cast<std::int16_t>(v - 1);
    if (delta > 0 && v < c.maximum) mEdited.*c.field = static_cast<std::int16_t>(v + 1);
    showValues();
}

void OptionsDialog::setMarkerDefaults() {
    const Settings d;
    for (const SizeControl& c : mSizes)
        mEdited.*c.field = d.*c.field;
    for (const ColorControl& c : mColors)
        mEdited.*c.field = d.*c.field;
    for (const SwitchControl& c : mSwitches)
        mEdited.*c.field = d.*c.field;
    mFlashOn = true;
    showValues();
    updateFlashTimer();
}

void OptionsDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        mShown = true;
        reload();
    }
    QDialog::showEvent(event);
}

void OptionsDialog::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        mShown = false;
        updateFlashTimer();
    }
    QDialog::hideEvent(event);
}

void OptionsDialog::updateFlashTimer() {
    if (mShown && mEdited.FlashSelection == 1) {
        if (!mFlashTimer->isActive()) mFlashTimer->start();
    } else {
        mFlashTimer->stop();
    }
}

void OptionsDialog::tick() {
    mFlashOn = !mFlashOn;
    updatePreview();
}

bool OptionsDialog::previewShowsSelection() const {
    return mSelected->isChecked() && (mEdited.FlashSelection != 1 || mFlashOn);
}

QImage OptionsDialog::previewImage() const {
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    image.fill(QColor(70, 96, 60));
    const QPoint centre(kPreviewWidth / 2, kPreviewHeight / 2);
    const QPoint neighbours[] = {{24, 22}, {kPreviewWidth - 28, kPreviewHeight - 20}};
    for (const QPoint& n : neighbours)
        drawMarker(image, n.x(), n.y(), colorOf(mEdited.ColorBaseCenter), colorOf(mEdited.ColorBaseRing),
                   mEdited);

    const bool selected = previewShowsSelection();
    drawMarker(image, centre.x(), centre.y(),
               colorOf(selected ? mEdited.ColorSelectedCenter : mEdited.ColorBaseCenter),
               colorOf(selected ? mEdited.ColorSelectedRing : mEdited.ColorBaseRing), mEdited);

    // On the map the neighbour lines lie above the markers, so they are drawn last here too.
    if (mEdited.ShowNeighbors == 1) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(
            QPen(toQColor(colorOf(selected ? mEdited.ColorSelectedNeighbor : mEdited.ColorBaseNeighbor)),
                 mEdited.NeighborWidth));
        for (const QPoint& n : neighbours)
            painter.drawLine(centre, n);
    }
    return image;
}

void OptionsDialog::updatePreview() {
    mPreview->setPixmap(QPixmap::fromImage(previewImage()));
}

void OptionsDialog::ok() {
    const Settings before = mLive;
    Settings after = mLive;
    after.MapsDirectory = mMapsDirectory->text();
    after.BackgroundImage = mBackgroundImage->text();
    after.KeepUnknown = mKeepUnknown->isChecked();
    for (const SwitchControl& c : mSwitches)
        after.*c.field = mEdited.*c.field;
    for (const SizeControl& c : mSizes)
        after.*c.field = mEdited.*c.field;
    for (const ColorControl& c : mColors)
        after.*c.field = mEdited.*c.field;
    mLive = after;
    mEdited = after;
    // A file that cannot be written has been reported; the values still apply to this session.
    WriteConfiguration(mLive, configurationPath(mProgramFolder), mUi);
    emit applied(before, mLive);
    accept();
}

} // namespace ts
