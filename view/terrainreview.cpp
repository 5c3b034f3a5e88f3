#include "terrainreview.h"

#include "edithistory.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "mapview.h"
#include "userinterface.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace ts {

namespace {

constexpr Color kBusyGreen = 0x008000;
constexpr int kBarMargin = 8;

// The proposals laid over the map picture, stretched to its shown size. A left click takes or skips
// the province under it; every other button goes on to the map below.
class ProposalOverlay : public QWidget {
public:
    ProposalOverlay(QWidget* mapPicture, std::function<void(QPoint shown)> clicked)
        : QWidget(mapPicture), mClicked(std::move(clicked)) {
        setObjectName(QStringLiteral("picTerrainOverlay"));
        setAttribute(Qt::WA_NoSystemBackground);
        mapPicture->installEventFilter(this);
        setGeometry(mapPicture->rect());
        hide();
    }
    void setPicture(QImage picture) {
        mPicture = std::move(picture);
        update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
        return QWidget::eventFilter(watched, event);
    }
    void paintEvent(QPaintEvent*) override {
        if (mPicture.isNull()) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(rect(), mPicture);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        mClicked(event->position().toPoint());
    }
    // Its press has toggled already; quick clicks are as many toggles as clicks.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) event->ignore();
    }

private:
    QImage mPicture;
    std::function<void(QPoint)> mClicked;
};

QString percentOf(float confidence) { return QString::number(qRound(confidence * 100)) + QLatin1Char('%'); }

} // namespace

TerrainReview::TerrainReview(MapView& view, MapImage& image, MapDocument& doc, UserInterface& ui)
    : QFrame(view.parentWidget()), mView(view), mImage(image), mDoc(doc), mUi(ui),
      mOverlay(new ProposalOverlay(&view, [this](QPoint shown) {
          const float scale = mImage.ZoomScale() > 0 ? mImage.ZoomScale() : 1.0f;
          toggle(mGuess.regions.atPixel(static_cast<int>(shown.x() / scale), static_cast<int>(shown.y() / scale)));
      })),
      mText(new QLabel(this)), mAll(new QCheckBox(QStringLiteral("All provinces"), this)) {
    setObjectName(QStringLiteral("fraTerrainReview"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // The map area around it is dark; the bar keeps the light look of a dialog so its text reads.
    setStyleSheet(QStringLiteral("#fraTerrainReview { background: #f0f0f0; border: 1px solid #808080; }"
                                 "#fraTerrainReview QLabel, #fraTerrainReview QCheckBox { color: black; }"));
    mText->setObjectName(QStringLiteral("lblTerrainReview"));
    mText->setWordWrap(true);
    mAll->setObjectName(QStringLiteral("chkGuessAllTerrain"));
    mAll->setToolTip(QStringLiteral("Also propose terrain for the provinces that have some, each learnt from the others"));
    auto* accept = new QPushButton(QStringLiteral("Accept"), this);
    accept->setObjectName(QStringLiteral("cmdAcceptTerrain"));
    auto* discard = new QPushButton(QStringLiteral("Discard"), this);
    discard->setObjectName(QStringLiteral("cmdDiscardTerrain"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(mText, 1);
    row->addWidget(mAll);
    row->addWidget(accept);
    row->addWidget(discard);
    connect(accept, &QPushButton::clicked, this, [this] { this->accept(); });
    connect(discard, &QPushButton::clicked, this, [this] { this->discard(); });
    connect(mAll, &QCheckBox::clicked, this, [this](bool all) { run(all); });
    hide();
}

void TerrainReview::guess() {
    if (!mImage.isLoaded() || mDoc.ProvinceCount < 1) return;
    const std::vector<std::int32_t> known = knownTerrain(mDoc);
    // With every province set already there is nothing else to propose for.
    run(std::find(known.begin(), known.end(), -1) == known.end());
}

void TerrainReview::run(bool all) {
    const QString caption = window()->windowTitle();
    mUi.busyMessage(QStringLiteral("Guessing Terrain..."), caption, kBusyGreen);
    mUi.processEvents();
    mGuess = guessTerrain(mDoc, mImage.source(), all);
    mPictureKey = mImage.sourceKey();
    mUi.busyMessage(QString(), caption, kBusyGreen);
    mTaken.assign(mGuess.proposals.size(), true);
    mAll->setChecked(all);
    if (mGuess.seaLandOnly)
        mUi.messageBox(QStringLiteral("Guess Terrain"),
                       QStringLiteral("The terrain guess learns from the provinces whose terrain is set: it needs at "
                                      "least %1, and the map has %2. Only sea and land are proposed, from the water "
                                      "in the picture.")
                           .arg(kTerrainMinExamples)
                           .arg(mGuess.examples));
    refresh();
    mOverlay->show();
    mOverlay->raise();
    placeBar();
    show();
    raise();
}

void TerrainReview::refresh() {
    int taken = 0, doubtful = 0;
    for (std::size_t i = 0; i < mTaken.size(); ++i) {
        taken += mTaken[i] ? 1 : 0;
        doubtful += mGuess.proposals[i].confidence < kTerrainLowConfidence ? 1 : 0;
    }
    QString from = mGuess.seaLandOnly ? QStringLiteral("sea and land from the water in the picture")
                                      : QStringLiteral("from %1 provinces with terrain").arg(mGuess.examples);
    if (mGuess.seaFromPicture) from += QStringLiteral(" (none of them sea: sea from the water in the picture)");
    mText->setText(QStringLiteral("Terrain for %1 provinces, %2; %3 doubtful (striped red). %4 taken: click a "
                                  "province to take or skip it, Accept to set the taken ones.")
                       .arg(mGuess.proposals.size())
                       .arg(from)
                       .arg(doubtful)
                       .arg(taken));
    static_cast<ProposalOverlay*>(mOverlay)->setPicture(terrainOverlay(mGuess, mTaken));
    if (proposalsChanged) proposalsChanged();
}

void TerrainReview::accept() {
    hide();
    mOverlay->hide();
    // A guess made on another picture (the map was closed or its picture changed) is not applied.
    if (mGuess.proposals.empty() || mImage.sourceKey() != mPictureKey) return forget();
    EditScope scope;
    for (std::size_t i = 0; i < mTaken.size(); ++i)
        if (mTaken[i]) scope.provinces.push_back(mGuess.proposals[i].province);
    int changed = 0;
    {
        const EditBracket bracket(journal, scope, "Guess Terrain");
        changed = applyTerrainGuess(mDoc, mGuess, mTaken);
        if (changed > 0) mDoc.MapModified = true;
    }
    forget();
    if (changed > 0 && applied) applied();
}

void TerrainReview::discard() {
    hide();
    mOverlay->hide();
    forget();
}

void TerrainReview::forget() {
    hide();
    mOverlay->hide();
    mGuess = TerrainGuess();
    mTaken.clear();
    mPictureKey = 0;
    static_cast<ProposalOverlay*>(mOverlay)->setPicture(QImage());
    if (proposalsChanged) proposalsChanged();
}

int TerrainReview::indexOf(int province) const {
    for (std::size_t i = 0; i < mGuess.proposals.size(); ++i)
        if (mGuess.proposals[i].province == province) return static_cast<int>(i);
    return -1;
}

bool TerrainReview::toggle(int province) {
    const int i = indexOf(province);
    if (i < 0 || !reviewing()) return false;
    mTaken[static_cast<std::size_t>(i)] = !mTaken[static_cast<std::size_t>(i)];
    refresh();
    return true;
}

bool TerrainReview::taken(int province) const {
    const int i = indexOf(province);
    return i >= 0 && mTaken[static_cast<std::size_t>(i)];
}

QString TerrainReview::proposalText(int province) const {
    const int i = indexOf(province);
    if (i < 0) return QString();
    const TerrainProposal& p = mGuess.proposals[static_cast<std::size_t>(i)];
    QStringList words;
    for (const char* word : terrainWords(p.mask)) words << QString::fromLatin1(word);
    return QStringLiteral("Guess: %1 (%2)%3")
        .arg(words.join(QStringLiteral(", ")), percentOf(p.confidence),
             mTaken[static_cast<std::size_t>(i)] ? QString() : QStringLiteral(", skipped"));
}

void TerrainReview::placeBar() {
    const QWidget* area = parentWidget();
    // Right of the navigator, so neither hides the other.
    const int left = (mView.navigatorWidth ? mView.navigatorWidth() : 0) + kBarMargin;
    const int width = std::max(300, std::min(area->width() - left - kBarMargin, 900));
    resize(width, heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height());
    move(left, area->height() - height() - kBarMargin);
}

} // namespace ts
