#pragma once

#include "panelwidgets.h"
#include "provincerules.h"

#include <QObject>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QVBoxLayout;

namespace ts {

struct ReferenceData;
struct ReferenceLists;

// The province panel (fraProvince) with its two floating tools: the terrain tool's check boxes and
// the fort tool's list. It shows one province and hands its values to the commit; the rules it
// applies live in provincerules.
class ProvincePanel : public QObject {
  public:
    ProvincePanel(QVBoxLayout* frame, QWidget* terrainTool, QWidget* fortTool, MapDocument& doc,
                  const ReferenceData& ref, const ReferenceLists& lists, UserInterface& ui, PanelHooks hooks);

    // Fills the panel from province p, blank for a number below 1.
    void ShowProvince(int province);
    // What the panel holds now.
    ProvinceForm form() const;
    // The commit hook of the navigator: writes the panel into the current province.
    void CommitProvince(int province, const NodeEdits& nodes);

    // The map's terrain keys: toggles a box with the rules of a click. Nothing happens while no
    // province is shown.
    void toggleTerrain(int box);
    void toggleSmall();
    void toggleLarge();
    void toggleNoStart();
    void toggleSiteTerrain(int box);

    // The game's maps folder, where the browsers start (battlemaps beside it).
    std::function<QString()> mapsFolder;
    // A click on the fort icon shows the fort tool.
    std::function<void()> showFortTool;
    // The terrain guessed for a province while a guess is reviewed, shown beside its terrain; empty
    // for none.
    std::function<QString(int province)> terrainProposal;
    // Shows the shown province's proposal anew.
    void showTerrainProposal();

    int shownProvince() const { return mShown; }

  private:
    void buildProvinceFrame(QVBoxLayout* frame);
    void buildTerrainTool(QWidget* tool);
    void buildFortTool(QWidget* tool);
    QLineEdit* addNumberBox(QWidget* parent, const char* name, const QString& hint, int min, int max,
                            bool longValue);
    void setBoxText(QLineEdit* box, const QString& text);
    void showRecruitables(int popType);
    void showIcons(int province);
    void selectPopType(int popType);
    void browse(QLineEdit* box, const QString& filter, bool battleMap);
    void terrainClicked(int box);
    void toggleTag(PictureLabel* icon, const QString& picture);
    void changed() { mHooks.changed(ProvinceDirty); }
    bool keysApply() const;

    MapDocument& mDoc;
    const ReferenceData& mRef;
    const ReferenceLists& mLists;
    UserInterface& mUi;
    PanelHooks mHooks;
    int mShown = -1;
    bool mRefreshing = false;
    bool mSameProvince = false; // the panel is being shown again after a commit

    QLabel* mNumber = nullptr;
    QLineEdit* mName = nullptr;
    QLineEdit* mPopulation = nullptr;
    QLineEdit* mUnrest = nullptr;
    QLineEdit* mDefence = nullptr;
    QComboBox* mPopType = nullptr;
    std::array<PictureLabel*, 8> mRecruits{};
    QLineEdit* mSkyBox = nullptr;
    QLineEdit* mBattleMap = nullptr;
    ColourSwatch* mGround = nullptr;
    ColourSwatch* mRock = nullptr;
    ColourSwatch* mFog = nullptr;
    PictureLabel* mFort = nullptr;
    PictureLabel* mLab = nullptr;
    PictureLabel* mTemple = nullptr;
    PictureLabel* mVictoryPoint = nullptr;
    PictureLabel* mOwner = nullptr;
    std::array<PictureLabel*, 8> mTerrainIcons{};
    QLabel* mTooMany = nullptr;
    QLabel* mOtherTerrain = nullptr;
    QLabel* mProposal = nullptr;
    QCheckBox* mClear = nullptr;
    std::array<QCheckBox*, kTerrainBoxes> mTerrain{};
    std::array<QCheckBox*, kSiteTerrainBoxes> mSiteTerrain{};
    QCheckBox* mSmall = nullptr;
    QCheckBox* mLarge = nullptr;
    QCheckBox* mNoStart = nullptr;
    QListWidget* mForts = nullptr;
};

} // namespace ts
