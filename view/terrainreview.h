#pragma once

#include "terrainguess.h"

#include <QFrame>
#include <functional>

class QCheckBox;
class QLabel;

namespace ts {

struct MapDocument;
class EditJournal;
class MapImage;
class MapView;
class UserInterface;

// Tools > "Guess Terrain" and the review that follows it. Each proposed province is shaded over the
// map in the colour of its proposed terrain, doubtful ones striped red; a left click on a province
// takes or skips it. Nothing changes in the map until the user accepts, and accepting is one step.
class TerrainReview : public QFrame {
public:
    TerrainReview(MapView& view, MapImage& image, MapDocument& doc, UserInterface& ui);

    // Where accepting records its step; null records none.
    EditJournal* journal = nullptr;
    // After accepting changed the map: the panels, marks and recovery copy follow.
    std::function<void()> applied;
    // The proposals or their take and skip changed; the province panel shows its province's.
    std::function<void()> proposalsChanged;

    // Guesses from the open map's picture and starts the review; the provinces without terrain, or
    // all of them when none lacks any or the bar's box asks for all.
    void guess();
    // The taken proposals become the provinces' terrain.
    void accept();
    // The guess is dropped; the map stays as it was.
    void discard();
    // The map is closed: whatever was guessed belongs to it and goes with it.
    void forget();
    // Takes a proposed province that was skipped, skips one that was taken; false when the province
    // has no proposal.
    bool toggle(int province);

    bool reviewing() const { return isVisible(); }
    const TerrainGuess& lastGuess() const { return mGuess; }
    bool taken(int province) const;
    // The province's proposal for the province panel ("Forest (82%)", "skipped"); empty when none.
    QString proposalText(int province) const;

private:
    void run(bool all);
    void refresh();
    void placeBar();
    int indexOf(int province) const;

    MapView& mView;
    MapImage& mImage;
    MapDocument& mDoc;
    UserInterface& mUi;
    QWidget* mOverlay;
    QLabel* mText;
    QCheckBox* mAll;
    TerrainGuess mGuess;
    std::vector<bool> mTaken;
    qint64 mPictureKey = 0; // the picture the guess was made on
};

} // namespace ts
