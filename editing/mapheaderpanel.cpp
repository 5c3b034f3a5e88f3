#include "mapheaderpanel.h"

#include "boxtext.h"
#include "panelhints.h"
#include "userinterface.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ts {

namespace {

const char* const kImageHint =
    "The image file of the map in Targa (.tga) or SGI (.rgb) format. The file should be at least 256x256 pixels "
    "large and saved in 24 or 32 bit color, uncompressed or RLE. A suitable size for a map might be about "
    "1600x1200 pixels.";
const char* const kColorHint =
    "The color of the province names on the map: red, green, blue and alpha from 0.0 to 1.0. Click the color to "
    "choose it; an empty red box leaves the color to the game.";
const char* const kColorBoxes[4] = {"txtRed", "txtGreen", "txtBlue", "txtAlpha"};
const char* const kColorCaption = "Map Text Color";

QColor toQColor(Color c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

} // namespace

MapHeaderPanel::MapHeaderPanel(UserInterface& ui, QWidget* parent)
    : QWidget(parent), mUi(ui), mHints(new PanelHints(this)) {
    setObjectName(QStringLiteral("pnlMapHeader"));
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);

    mTitle = new QLineEdit(this);
    mTitle->setObjectName(QStringLiteral("txtThx2Title"));
    mHints->add(mTitle, QStringLiteral("The title of the map, shown when the map is chosen in game setup."));
    connect(mTitle, &QLineEdit::textEdited, this, [this] { userEdited(); });
    connect(mTitle, &QLineEdit::editingFinished, this, [this] {
        if (finished) finished();
    });
    form->addRow(QStringLiteral("Title"), mTitle);

    auto* imageRow = new QHBoxLayout;
    mImageFile = new QLineEdit(this);
    mImageFile->setObjectName(QStringLiteral("txtImageFile"));
    // The picture is chosen with the button, which loads it at once; a typed name would not be.
    mImageFile->setReadOnly(true);
    mBrowse = new QPushButton(QStringLiteral("..."), this);
    mBrowse->setObjectName(QStringLiteral("cmdBrowseImage"));
    mBrowse->setFixedWidth(32);
    mHints->add(mImageFile, QString::fromLatin1(kImageHint));
    mHints->add(mBrowse, QString::fromLatin1(kImageHint));
    connect(mBrowse, &QPushButton::clicked, this, [this] {
        if (browseImage) browseImage();
    });
    imageRow->addWidget(mImageFile, 1);
    imageRow->addWidget(mBrowse);
    form->addRow(QStringLiteral("Image file"), imageRow);

    mDescription = new QPlainTextEdit(this);
    mDescription->setObjectName(QStringLiteral("txtMapDescription"));
    mDescription->setFixedHeight(96);
    mDescription->setTabChangesFocus(true);
    mDescription->installEventFilter(this);
    mHints->add(mDescription, QStringLiteral("The description of the map, shown when the map is chosen in game setup."));
    connect(mDescription, &QPlainTextEdit::textChanged, this, [this] {
        if (!mFilling) userEdited();
    });
    form->addRow(QStringLiteral("Description"), mDescription);

    mScenario = checkBox("chkScenario", QStringLiteral("Scenario"),
                         QStringLiteral("Check to tag the map as a scenario. This will be indicated by a small burning "
                                        "star when selecting a map in game setup. It disables most game setup options, "
                                        "because those are intended to be determined by map commands in the scenario "
                                        "map file."));
    mWrapAround = checkBox("chkWraparound", QStringLiteral("Wrap around"),
                           QStringLiteral("Check to enable wrap around connection in game (north-south, east-west "
                                          "connections with no corners). No preview available."));
    connect(mWrapAround, &QCheckBox::clicked, this, [this] {
        if (wrapAroundChanged) wrapAroundChanged();
    });
    mNoHomelandNames =
        checkBox("chkNoHomelandNames", QStringLiteral("No homeland names"),
                 QStringLiteral("When checked, homelands are no longer named after the nations that start there."));
    auto* switches = new QHBoxLayout;
    for (QCheckBox* box : {mScenario, mWrapAround, mNoHomelandNames}) switches->addWidget(box);
    switches->addStretch(1);
    form->addRow(switches);

    mFrequency = numberBox("txtFeaturesFrequency",
                           QStringLiteral("Sets the magic site frequency. Default is 45 for an Early Era game, 40 for a "
                                          "Middle Era game and 35 for a Late Era game. This command will override the "
                                          "site frequency specified in the game setup screen."),
                           [](const QString& t) { return ClampedIntText(t, 0, kFeaturesFrequencyMax); });
    form->addRow(QStringLiteral("Site frequency"), mFrequency);
    mZoom = numberBox("txtDefaultMapZoom",
                      QStringLiteral("Sets the default zoom level on the map. This command adjusts the displayed size "
                                     "of forts, flags, temples etc relative to the map image file. If the default view "
                                     "looks too small or large, adjust this value until it looks right. <0.0-2.0>"),
                      [](const QString& t) { return ClampedSingleText(t, 0.0f, kDefaultMapZoomMax); });
    form->addRow(QStringLiteral("Default zoom"), mZoom);

    mColorLabel = new QLabel(QString::fromLatin1(kColorCaption), this);
    mColorLabel->setObjectName(QStringLiteral("lblMapTextColor"));
    mColorLabel->setAlignment(Qt::AlignCenter);
    mColorLabel->setMinimumHeight(24);
    mColorLabel->setAutoFillBackground(true);
    mColorLabel->setCursor(Qt::PointingHandCursor);
    mColorLabel->installEventFilter(this);
    mHints->add(mColorLabel, QString::fromLatin1(kColorHint));
    form->addRow(mColorLabel);
    auto* colorRow = new QHBoxLayout;
    const char* const letters[4] = {"R", "G", "B", "A"};
    for (int k = 0; k < 4; ++k) {
        mColor[k] = numberBox(kColorBoxes[k], QString::fromLatin1(kColorHint),
                              [](const QString& t) { return ClampedSingleText(t, 0.0f, 1.0f); });
        colorRow->addWidget(new QLabel(QString::fromLatin1(letters[k]), this));
        colorRow->addWidget(mColor[k]);
        connect(mColor[k], &QLineEdit::textChanged, this, [this] { paintColorLabel(); });
    }
    form->addRow(colorRow);
    paintColorLabel();
}

QLineEdit* MapHeaderPanel::numberBox(const char* name, const QString& hint,
                                     std::function<QString(const QString&)> clamp) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    mHints->add(box, hint);
    connect(box, &QLineEdit::textEdited, this, [this] { userEdited(); });
    // Leaving the box puts the number it stands for back into it.
    connect(box, &QLineEdit::editingFinished, this, [this, box, clamp] {
        const QString clamped = clamp(box->text());
        if (clamped != box->text()) {
            box->setText(clamped);
            userEdited();
        }
        if (finished) finished();
    });
    return box;
}

QCheckBox* MapHeaderPanel::checkBox(const char* name, const QString& caption, const QString& hint) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    mHints->add(box, hint);
    connect(box, &QCheckBox::clicked, this, [this] {
        userEdited();
        if (finished) finished();
    });
    return box;
}

void MapHeaderPanel::userEdited() {
    if (!mFilling && edited) edited();
}

void MapHeaderPanel::show(const MapHeaderFields& f) {
    mFilling = true;
    mTitle->setText(f.title);
    mImageFile->setText(f.imageFile);
    if (mDescription->toPlainText() != f.description) mDescription->setPlainText(f.description);
    mScenario->setChecked(f.scenario);
    mWrapAround->setChecked(f.wrapAround);
    mNoHomelandNames->setChecked(f.noHomelandNames);
    mFrequency->setText(f.featuresFrequency);
    mZoom->setText(f.defaultMapZoom);
    for (int k = 0; k < 4; ++k) mColor[k]->setText(f.textColor[k]);
    mFilling = false;
    paintColorLabel();
}

MapHeaderFields MapHeaderPanel::fields() const {
    MapHeaderFields f;
    f.title = mTitle->text();
    f.imageFile = mImageFile->text();
    f.description = mDescription->toPlainText();
    f.scenario = mScenario->isChecked();
    f.wrapAround = mWrapAround->isChecked();
    f.noHomelandNames = mNoHomelandNames->isChecked();
    f.featuresFrequency = mFrequency->text();
    f.defaultMapZoom = mZoom->text();
    for (int k = 0; k < 4; ++k) f.textColor[k] = mColor[k]->text();
    return f;
}

void MapHeaderPanel::setImageFile(const QString& fileName) {
    mImageFile->setText(fileName);
    userEdited();
}

void MapHeaderPanel::paintColorLabel() {
    const MapHeaderFields f = fields();
    QPalette pal = mColorLabel->palette();
    if (f.textColor[0].trimmed().isEmpty()) {
        // No colour of its own: the label looks like any other control.
        pal = QPalette();
    } else {
        const QColor c = toQColor(MapTextColorOf(f));
        pal.setColor(QPalette::Window, c);
        pal.setColor(QPalette::WindowText, c.lightness() < 128 ? Qt::white : Qt::black);
    }
    mColorLabel->setPalette(pal);
}

void MapHeaderPanel::pickTextColor() {
    MapHeaderFields f = fields();
    const auto picked = mUi.colorDialog(MapTextColorOf(f));
    if (!picked) return;
    SetPickedTextColor(f, *picked);
    for (int k = 0; k < 3; ++k) mColor[k]->setText(f.textColor[k]);
    mColorLabel->setText(QString::fromLatin1(kColorCaption));
    userEdited();
    if (finished) finished();
}

bool MapHeaderPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mColorLabel && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        pickTextColor();
        return true;
    }
    if (watched == mColorLabel && event->type() == QEvent::MouseButtonRelease) return true;
    if (watched == mDescription && event->type() == QEvent::FocusOut && finished) finished();
    return QWidget::eventFilter(watched, event);
}

} // namespace ts
