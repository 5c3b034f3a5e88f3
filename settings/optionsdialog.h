#pragma once

#include "settings.h"
#include "userinterface.h"

#include <QDialog>
#include <QImage>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace ts {

// Options (frmOptions): edits a copy of the settings of the maps directory, the background picture,
// the markers and the mark switches; the panel positions are not its business. OK stores the copy
// into the live settings and writes Tessary.cfg, Cancel forgets it. File and colour dialogs go
// through the UserInterface so the whole dialog can be driven headless.
class OptionsDialog : public QDialog {
    Q_OBJECT

  public:
    OptionsDialog(Settings& live, QString programFolder, UserInterface& ui, QWidget* parent = nullptr);

    // The values as the dialog currently holds them (the path fields are only read on OK).
    const Settings& edited() const { return mEdited; }
    // Refills every control from the live settings; also done each time the dialog is shown, since
    // the Mark menu changes the live switches behind its back.
    void reload();
    // The picture the preview shows at the moment, for the preview label and for tests.
    QImage previewImage() const;
    bool previewShowsSelection() const;

  signals:
    // After OK has stored the values and written the file: the main window loads a changed
    // background picture, sets the Mark menu check marks and redraws the map.
    void applied(const Settings& before, const Settings& after);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct SizeControl {
        std::int16_t Settings::*field;
        int maximum;
        QLabel* value;
    };
    struct ColorControl {
        std::int32_t Settings::*field;
        QWidget* control;
    };
    struct SwitchControl {
        std::int16_t Settings::*field;
        QCheckBox* box;
    };

    QWidget* buildFolders();
    QWidget* buildMarkers();
    QWidget* buildPreview();
    void addSize(QGridLayout* grid, int row, const QString& text, const QString& name,
                 std::int16_t Settings::*field, int maximum);
    QPushButton* addColorButton(const QString& text, const QString& name, std::int32_t Settings::*field);
    QLabel* addColorLabel(const QString& text, const QString& name, std::int32_t Settings::*field);
    QCheckBox* addSwitch(const QString& text, const QString& name, std::int16_t Settings::*field);

    void browseMaps();
    void browseBackground();
    void chooseColor(const ColorControl& c);
    void stepSize(const SizeControl& c, int delta);
    void setMarkerDefaults();
    void showValues();
    void updateFlashTimer();
    void tick();
    void updatePreview();
    void ok();

    Settings& mLive;
    Settings mEdited;
    QString mProgramFolder;
    UserInterface& mUi;

    QLineEdit* mMapsDirectory = nullptr;
    QLineEdit* mBackgroundImage = nullptr;
    QCheckBox* mKeepUnknown = nullptr;
    QCheckBox* mSelected = nullptr;
    QLabel* mPreview = nullptr;
    QTimer* mFlashTimer = nullptr;
    bool mShown = false;
    std::vector<SizeControl> mSizes;
    std::vector<ColorControl> mColors;
    std::vector<SwitchControl> mSwitches;
    // Flip side of the preview's flashing: true while the selection look is shown.
    bool mFlashOn = true;
};

} // namespace ts
