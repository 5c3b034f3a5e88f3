#pragma once

#include "provincepixels.h"

#include <QPoint>
#include <QPointF>
#include <QString>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ts {

class EditJournal;
class EditStep;
class MapImage;
class MapView;
class UserInterface;
struct MapDocument;

// Tools > "Insert Province", "Remove Province" and "Move Province". Insert and Move wait for one
// left click on the map (the cursor and the status bar say so; Escape cancels); Remove acts on the
// selected province at once. Each changes the picture's white pixels, renumbers the provinces in
// scan order with every number in the document, and is one undo step.
class ProvinceTools {
public:
    enum class Mode { None, Insert, Move };

    ProvinceTools(MapView& view, MapImage& image, MapDocument& doc, EditJournal& journal, UserInterface& ui);

    void armInsert();
    void armMove();
    void removeSelected();
    void cancel();
    Mode mode() const { return mMode; }

    // The tools on a picture pixel, as a click would run them.
    bool insertAt(QPoint pixel);
    bool moveTo(QPoint pixel);

    // The pixels changed since the picture was loaded or last written, for the save.
    std::vector<QPoint> touchedPixels() const { return {mTouched.begin(), mTouched.end()}; }
    void pictureWritten() { mTouched.clear(); }
    // Another map or picture: nothing is touched, no tool waits.
    void forgetPicture();

    // Before a tool changes the document: an edit still waiting in a panel is committed first.
    std::function<void()> beforeEdit;
    // After a tool's step was recorded: the window shows the renumbered map.
    std::function<void()> renumbered;
    std::function<void(const QString& key, const QString& text)> setStatus;

private:
    void arm(Mode mode, const QString& hint);
    bool click(QPointF shown);
    bool run(const ProvincePixelEdit& edit, const QString& title, std::string text);
    bool keyPressed(int key);

    MapView& mView;
    MapImage& mImage;
    MapDocument& mDoc;
    EditJournal& mJournal;
    UserInterface& mUi;
    Mode mMode = Mode::None;
    QString mHint;
    struct PointLess {
        bool operator()(QPoint a, QPoint b) const { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); }
    };
    std::set<QPoint, PointLess> mTouched;
};

} // namespace ts
