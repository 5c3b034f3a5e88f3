#include "mapview.h"

#include "mapgeometry.h"
#include "mapimage.h"
#include "mapinput.h"
#include "markers.h"
#include "neighbourguess.h"
#include "userinterface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ts {

namespace {

// One of the eight copies of the map picture around it. It shows the map picture's pixels as they
// are (markers and guessed lines included) and takes no input.
class WrapCopy : public QWidget {
public:
    WrapCopy(QWidget* area, const MapImage& image, int index) : QWidget(area), mImage(image) {
        setObjectName(QStringLiteral("pbMapWrap%1").arg(index));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        hide();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.drawImage(event->rect(), mImage.picture(), event->rect());
    }

private:
    const MapImage& mImage;
};

constexpr int kFlashMs = 500;
constexpr int kArrowStep = 20;

Color c(std::int32_t v) { return static_cast<Color>(v); }

} // namespace

MapView::MapView(QWidget* mapArea, MapDocument& doc, const Settings& settings, MapImage& image, UserInterface& ui)
    : QWidget(mapArea), mDoc(doc), mSettings(settings), mImage(image), mUi(ui) {
    setObjectName(QStringLiteral("pbMap"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    for (int k = 0; k < kWrapCopies; ++k) mWrap[static_cast<std::size_t>(k)] = new WrapCopy(mapArea, image, k);
    mTimer1.setObjectName(QStringLiteral("Timer1"));
    mTimer1.setInterval(kFlashMs);
    connect(&mTimer1, &QTimer::timeout, this, [this] { flashTick(); });
    hide();
}

QPointF MapView::shown(int province) const {
    const ProvinceDataType& p = mDoc.Provinces[province];
    return shownPosition(p.ProvinceX, p.ProvinceY, mImage.ZoomScale());
}

void MapView::drawProvince(int province, Color fill, Color ring) {
    const QPointF at = shown(province);
    mImage.keepSourceUnder(markerArea(at, mSettings));
    drawMarker(mImage.canvas(), at.x(), at.y(), fill, ring, mSettings);
}

QImage& MapView::canvasForAllMarkers() {
    for (int n = 1; n <= mDoc.ProvinceCount && n < kProvinceSlots; ++n)
        mImage.keepSourceUnder(markerArea(shown(n), mSettings));
    return mImage.canvas();
}

void MapView::drawNormalLook(int province) {
    const ProvinceDataType& p = mDoc.Provinces[province];
    if (p.MarkerFlag) drawProvince(province, p.MarkerColor, p.MarkerColor2);
    else drawProvince(province, c(mSettings.ColorBaseCenter), c(mSettings.ColorBaseRing));
}

void MapView::zoom(int index) {
    if (!mImage.isLoaded()) return;
    mImage.setZoom(index);
    hide();
    for (QWidget* w : mWrap) w->hide();
    resize(mImage.picture().size());
    redrawOverPicture(true);
    show();
    placeWrapCopies();
    repaintAll();
}

void MapView::redrawOverPicture(bool asClicked) {
    if (mLastActiveProv < 1) mLastActiveProv = 1;
    if (mLastActiveProv <= mDoc.ProvinceCount) {
        const QPointF at = shown(mLastActiveProv);
        z_Select_Province(static_cast<float>(at.x()), static_cast<float>(at.y()), asClicked);
    }
    z_MarkSpecial2(mDoc, mSettings, canvasForAllMarkers(), mImage.ZoomScale(), mDoc.ProvinceCount);
}

void MapView::z_Select_Province(float x0, float y0, bool clickedMap) {
    const int hit = provinceAt(mDoc, x0, y0, mSettings.SelectionBlock, mImage.ZoomScale());
    if (hit < 1) return;

    const int previous = mLastActiveProv;
    if (previous >= 1 && previous <= mDoc.ProvinceCount) {
        if (!clickedMap) {
            drawProvince(previous, c(mSettings.ColorBaseCenter), c(mSettings.ColorBaseRing));
        } else {
            mTimer1.stop();
            ProvinceDataType& p = mDoc.Provinces[previous];
            if (mSettings.MarkVisited == 0) {
                drawNormalLook(previous);
            } else {
                drawProvince(previous, c(mSettings.ColorVisited), c(mSettings.ColorBaseRing));
                p.Visited = true;
                p.MarkerFlag = true;
                p.MarkerColor = c(mSettings.ColorVisited);
            }
        }
    }

    drawProvince(hit, c(mSettings.ColorSelectedCenter), c(mSettings.ColorSelectedRing));
    layOutLines(hit);
    mFlashShowsSelection = true;
    if (!mTimer1.isActive()) mTimer1.start();
    mLastActiveProv = hit;

    if (clickedMap) {
        if (onMapSelection) onMapSelection(hit);
        else mDoc.CurProvince = static_cast<std::int16_t>(hit);
        if (mSettings.CenterOnSelection == 1 || mImage.ZoomScale() != mZoomOfLastCentring) {
            centreOn(hit);
            mZoomOfLastCentring = mImage.ZoomScale();
        }
    }
    repaintAll();
}

void MapView::selectProvince(int province, bool clickedMap) {
    if (province < 1 || province > mDoc.ProvinceCount) return;
    const QPointF at = shown(province);
    z_Select_Province(static_cast<float>(at.x()), static_cast<float>(at.y()), clickedMap);
}

void MapView::layOutLines(int province) {
    const ProvinceDataType& p = mDoc.Provinces[province];
    for (int k = 0; k < kNeighbourSlots; ++k) {
        NeighbourLine& line = mLines[static_cast<std::size_t>(k)];
        const int n = p.Neighbours[k];
        if (n > 0 && n < kProvinceSlots) {
            line.from = shown(province);
            line.to = shown(n);
            line.width = mSettings.NeighborWidth;
            line.color = c(mSettings.ColorSelectedNeighbor);
            line.visible = mSettings.ShowNeighbors == 1;
            line.tag = QString::number(n);
        } else {
            line.visible = false;
            line.tag.clear();
        }
    }
}

void MapView::setLineColor(Color color) {
    for (NeighbourLine& line : mLines) {
        line.color = color;
        line.width = mSettings.NeighborWidth;
    }
}

void MapView::flashTick() {
    const int n = mLastActiveProv;
    if (n < 1 || n > mDoc.ProvinceCount) return;
    if (mSettings.FlashSelection == 1 && !mFlashShowsSelection) {
        drawProvince(n, c(mSettings.ColorSelectedCenter), c(mSettings.ColorSelectedRing));
        setLineColor(c(mSettings.ColorSelectedNeighbor));
        mFlashShowsSelection = true;
    } else {
        drawNormalLook(n);
        setLineColor(c(mSettings.ColorBaseNeighbor));
        mFlashShowsSelection = false;
    }
    repaintAll();
}

void MapView::centreOn(int province) {
    const QWidget* area = parentWidget();
    const ProvinceDataType& p = mDoc.Provinces[province];
    const float zoom = mImage.ZoomScale();
    const int navWidth = navigatorWidth ? navigatorWidth() : 0;
    const int top = static_cast<int>(area->height() / 2.0 - p.ProvinceY * zoom);
    const int left = static_cast<int>(area->width() / 2.0 + navWidth / 2.0 - p.ProvinceX * zoom);
    moveMap(left, top);
}

void MapView::stopSelection() {
    mTimer1.stop();
    if (mLastActiveProv >= 1 && mLastActiveProv <= mDoc.ProvinceCount) drawNormalLook(mLastActiveProv);
    setLineColor(c(mSettings.ColorBaseNeighbor));
    repaintAll();
}

void MapView::moveMap(int left, int top) {
    move(left, top);
    placeWrapCopies();
}

void MapView::placeWrapCopies() {
    const auto positions = wrapCopyPositions(pos(), size());
    for (int k = 0; k < kWrapCopies; ++k) {
        QWidget* w = mWrap[static_cast<std::size_t>(k)];
        w->setGeometry(QRect(positions[static_cast<std::size_t>(k)], size()));
        w->setVisible(mDoc.WrapAround && isVisible());
    }
}

void MapView::markSpecial() {
    if (!mImage.isLoaded()) return;
    z_MarkSpecial2(mDoc, mSettings, canvasForAllMarkers(), mImage.ZoomScale(), mDoc.ProvinceCount);
    repaintAll();
}

void MapView::findNeighbours() {
    if (!mImage.isLoaded()) return;
    if (onNeighboursChanging) onNeighboursChanging();
    z_Guess_Neighbors(mDoc, mImage.wholePictureToDrawIn(), mImage.ZoomScale(), mUi, [this] { repaintAll(); });
    if (mLastActiveProv >= 1 && mLastActiveProv <= mDoc.ProvinceCount) layOutLines(mLastActiveProv);
    repaintAll();
    if (onNeighboursChanged) onNeighboursChanged();
}

void MapView::unload() {
    mTimer1.stop();
    hide();
    for (QWidget* w : mWrap) w->hide();
    for (NeighbourLine& line : mLines) line = NeighbourLine{};
    mLastActiveProv = 0;
    mZoomOfLastCentring = -1.0f;
}

void MapView::repaintAll() {
    update();
    if (mDoc.WrapAround)
        for (QWidget* w : mWrap) w->update();
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Only what is exposed: at 100% a big map is many screens large.
    painter.drawImage(event->rect(), mImage.picture(), event->rect());
    // The lines are drawn over the picture, never into it, so the guess never reads them.
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const NeighbourLine& line : mLines) {
        if (!line.visible) continue;
        painter.setPen(QPen(toQColor(line.color), line.width));
        painter.drawLine(line.from, line.to);
    }
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    const float x = static_cast<float>(at.x());
    const float y = static_cast<float>(at.y());
    switch (event->button()) {
    case Qt::RightButton:
        z_Select_Province(x, y, true);
        placeWrapCopies();
        break;
    case Qt::LeftButton: {
        if (takeLeftClick && takeLeftClick(at)) break;
        const int current = mDoc.CurProvince;
        if (current < 1) break;
        const int hit = provinceAt(mDoc, x, y, mSettings.SelectionBlock, mImage.ZoomScale());
        if (hit < 1 || hit == current) break;
        if (onNeighboursChanging) onNeighboursChanging();
        toggleNeighbourLink(mDoc, current, hit);
        selectProvince(current, false);
        if (onNeighboursChanged) onNeighboursChanged();
        break;
    }
    case Qt::MiddleButton:
        mDragging = true;
        mDragStart = at.toPoint();
        break;
    default:
        break;
    }
}

void MapView::mouseReleaseEvent(QMouseEvent*) { mDragging = false; }

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (mDragging) {
        // The picture moves under the cursor, so the cursor keeps its place on the map.
        moveMap(x() - (mDragStart.x() - static_cast<int>(at.x())), y() - (mDragStart.y() - static_cast<int>(at.y())));
    }
    if (!setStatus) return;
    const CursorStatus s = cursorStatus(mDoc, static_cast<float>(at.x()), static_cast<float>(at.y()),
                                        mSettings.SelectionBlock, mImage.ZoomScale());
    setStatus(QStringLiteral("CURPOS"), s.position);
    setStatus(QStringLiteral("PROVNUM"), s.number);
    setStatus(QStringLiteral("PROVNAME"), s.name);
    setStatus(QStringLiteral("NATION"), s.nation);
    setStatus(QStringLiteral("MESSAGE"), s.message);
}

void MapView::keyPressEvent(QKeyEvent* event) {
    for (const auto& handler : keyHandlers)
        if (handler && handler(event)) return;
    switch (event->key()) {
    case Qt::Key_Left:
        moveMap(x() + kArrowStep, y());
        break;
    case Qt::Key_Right:
        moveMap(x() - kArrowStep, y());
        break;
    case Qt::Key_Up:
        moveMap(x(), y() + kArrowStep);
        break;
    case Qt::Key_Down:
        moveMap(x(), y() - kArrowStep);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MapView::bindKey(QKeyCombination key, std::function<void()> action) {
    keyHandlers.push_back([key, action = std::move(action)](QKeyEvent* event) {
        // A digit from the keypad is the same key as one from the main block.
        const QKeyCombination pressed(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
        if (pressed != key || !action) return false;
        action();
        return true;
    });
}

void MapView::bindCharacter(QChar typed, std::function<void()> action) {
    keyHandlers.push_back([typed, action = std::move(action)](QKeyEvent* event) {
        const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (command || event->text() != QString(typed) || !action) return false;
        action();
        return true;
    });
}

} // namespace ts
