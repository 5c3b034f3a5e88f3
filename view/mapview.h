#pragma once

#include "mapdocument.h"
#include "settings.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

namespace ts {

class MapImage;
class UserInterface;

// The map picture (pbMap) inside the map area, with its eight wrap-around copies, the neighbour
// lines drawn over it, the flashing selection and all mouse and key input on the map. The pixels
// live in MapImage; this widget shows them and draws markers and the selection into them.
class MapView : public QWidget {
public:
    struct NeighbourLine {
        QPointF from, to;
        int width = 0;
        Color color = 0;
        bool visible = false;
        QString tag; // the neighbour's number, "" when the line is free
    };

    MapView(QWidget* mapArea, MapDocument& doc, const Settings& settings, MapImage& image, UserInterface& ui);

    // Called with the province a map click selected, to select its navigator node. Without one the
    // province simply becomes the current one.
    std::function<void(int province)> onMapSelection;
    // Width of the navigator panel, which the centring leaves room for.
    std::function<int()> navigatorWidth;
    // Neighbour lists changed on the map (a link toggled, or the guess); the map then has unsaved work.
    std::function<void()> onNeighboursChanged;
    // ... and they are about to: the lists as they are now can be kept for undo.
    std::function<void()> onNeighboursChanging;
    // A province tool waiting for its spot takes the next left click, instead of the linking, when
    // it returns true.
    std::function<bool(QPointF shown)> takeLeftClick;
    // Status bar panels, by key.
    std::function<void(const QString& key, const QString& text)> setStatus;
    // Further keys while the map has the focus (clipboard, terrain, templates, names): each handler is
    // asked in turn before the map's own keys and returns whether it took the key.
    std::vector<std::function<bool(QKeyEvent* event)>> keyHandlers;
    // A handler for one key combination (a keypad digit counts as the main block's).
    void bindKey(QKeyCombination key, std::function<void()> action);
    // A handler for one typed character, whatever produced it (Shift or Caps Lock for a capital).
    void bindCharacter(QChar typed, std::function<void()> action);

    // mnuZoomPercent_Click: redraws the picture from the source at menu index 0..3, selects the last
    // province again, redraws all markers and marks, and shows the map and its wrap copies.
    void zoom(int index);
    // z_Select_Province, at a shown position.
    void z_Select_Province(float x0, float y0, bool clickedMap);
    // Selects a province by number as the navigator and the zoom do.
    void selectProvince(int province, bool clickedMap);
    // z_MarkSpecial2 over all provinces, then a repaint.
    void markSpecial();
    // Tools > "Find Neighbors".
    void findNeighbours();
    // Hides the picture, its copies and the lines, as when no map is open.
    void unload();

    // Scrolls the map so the province sits in the middle of the map area beside the navigator.
    void centreOn(int province);
    // Nothing is selected any more: the flashing stops and the last selection gets its normal look.
    void stopSelection();

    // Places the eight copies around the map picture and shows or hides them by WrapAround.
    void placeWrapCopies();
    // Moves the picture inside the map area (drag, arrow keys, centring) and its copies with it.
    void moveMap(int left, int top);

    int lastActiveProv() const { return mLastActiveProv; }
    // The provinces were renumbered: the selection goes on under its new number (below 1: none).
    void setLastActiveProv(int province) { mLastActiveProv = province; }
    const std::array<NeighbourLine, kNeighbourSlots>& neighbourLines() const { return mLines; }
    QTimer& flashTimer() { return mTimer1; }
    void flashTick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointF shown(int province) const;
    void drawProvince(int province, Color fill, Color ring);
    void drawNormalLook(int province);
    // The picture to draw every marker into, with the source kept under each of them.
    QImage& canvasForAllMarkers();
    // The selection and every marker over a picture just redrawn from the source.
    void redrawOverPicture(bool asClicked);
    void layOutLines(int province);
    void setLineColor(Color color);
    void repaintAll();

    MapDocument& mDoc;
    const Settings& mSettings;
    MapImage& mImage;
    UserInterface& mUi;
    std::array<QWidget*, 8> mWrap{};
    std::array<NeighbourLine, kNeighbourSlots> mLines{};
    QTimer mTimer1;
    int mLastActiveProv = 0;
    bool mFlashShowsSelection = true;
    bool mDragging = false;
    QPoint mDragStart;
    float mZoomOfLastCentring = -1.0f;
};

} // namespace ts
