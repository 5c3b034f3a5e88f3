#include "provincetools.h"

#include "cp1252.h"
#include "edithistory.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "mapview.h"
#include "userinterface.h"

#include <QKeyEvent>

namespace ts {

namespace {
const QString kMessagePanel = QStringLiteral("MESSAGE");
} // namespace

ProvinceTools::ProvinceTools(MapView& view, MapImage& image, MapDocument& doc, EditJournal& journal, UserInterface& ui)
    : mView(view), mImage(image), mDoc(doc), mJournal(journal), mUi(ui) {
    mView.takeLeftClick = [this](QPointF shown) { return click(shown); };
    mView.keyHandlers.push_back([this](QKeyEvent* event) { return keyPressed(event->key()); });
    // The map's own hint would replace the tool's at the first move of the mouse.
    mView.setStatus = [this, shown = std::move(mView.setStatus)](const QString& key, const QString& text) {
        if (shown) shown(key, mMode != Mode::None && key == kMessagePanel ? mHint : text);
    };
}

void ProvinceTools::arm(Mode mode, const QString& hint) {
    mMode = mode;
    mHint = hint + QStringLiteral(" Escape cancels.");
    mView.setCursor(Qt::CrossCursor);
    if (setStatus) setStatus(kMessagePanel, mHint);
}

void ProvinceTools::armInsert() {
    if (!mImage.isLoaded()) return;
    arm(Mode::Insert, QStringLiteral("Insert Province: left click the spot for the new province."));
}

void ProvinceTools::armMove() {
    if (!mImage.isLoaded()) return;
    if (mDoc.CurProvince < 1 || mDoc.CurProvince > mDoc.ProvinceCount) {
        mUi.messageBox(QStringLiteral("Move Province"), QStringLiteral("Select the province to move first (right click)."));
        return;
    }
    arm(Mode::Move, QStringLiteral("Move Province: left click the new spot for ") +
                        fromCp1252(ProvinceTitle(mDoc, mDoc.CurProvince)) + QLatin1Char('.'));
}

void ProvinceTools::cancel() {
    if (mMode == Mode::None) return;
    mMode = Mode::None;
    mView.unsetCursor();
    if (setStatus) setStatus(kMessagePanel, QString());
}

void ProvinceTools::forgetPicture() {
    cancel();
    mTouched.clear();
}

bool ProvinceTools::keyPressed(int key) {
    if (key != Qt::Key_Escape || mMode == Mode::None) return false;
    cancel();
    return true;
}

bool ProvinceTools::click(QPointF shown) {
    if (mMode == Mode::None) return false;
    const Mode mode = mMode;
    cancel();
    const QPoint pixel = pictureSpotAt(static_cast<float>(shown.x()), static_cast<float>(shown.y()), mImage.ZoomScale());
    if (mode == Mode::Insert) insertAt(pixel);
    else moveTo(pixel);
    return true;
}

bool ProvinceTools::insertAt(QPoint pixel) {
    if (beforeEdit) beforeEdit();
    return run(planInsert(mDoc, mImage.source(), pixel), QStringLiteral("Insert Province"), "Insert Province");
}

bool ProvinceTools::moveTo(QPoint pixel) {
    if (beforeEdit) beforeEdit();
    const int province = mDoc.CurProvince;
    return run(planMove(mDoc, mImage.source(), province, pixel), QStringLiteral("Move Province"),
               "Move " + ProvinceTitle(mDoc, province));
}

void ProvinceTools::removeSelected() {
    cancel();
    if (!mImage.isLoaded()) return;
    if (beforeEdit) beforeEdit();
    const int province = mDoc.CurProvince;
    run(planRemove(mDoc, mImage.source(), province), QStringLiteral("Remove Province"),
        "Remove " + ProvinceTitle(mDoc, province));
}

bool ProvinceTools::run(const ProvincePixelEdit& edit, const QString& title, std::string text) {
    if (!edit.ok()) {
        mUi.messageBox(title, edit.refusal);
        return false;
    }
    auto change = edit.change([this](int x, int y, std::uint32_t rgb) {
        mImage.setSourcePixel(x, y, rgb);
        mTouched.insert(QPoint(x, y));
    });
    change->apply(mDoc);
    // The province the tool made or moved is the one the user goes on with.
    if (edit.renumbering.removed.empty() && edit.province >= 1) mDoc.CurProvince = static_cast<std::int16_t>(edit.province);
    mJournal.record(EditStep::of(std::move(change), std::move(text)));
    if (renumbered) renumbered();
    return true;
}

} // namespace ts
