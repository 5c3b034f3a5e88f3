#pragma once

#include "maperrorlog.h"

#include <QDialog>
#include <functional>

class QTextEdit;

namespace ts {

// The map error log window: the log of the last read, saved as MapErrorLog.txt the first time the
// window is activated, with a button that opens the map in the external editor at the first error.
class MapErrorLogWindow : public QDialog {
public:
    MapErrorLogWindow(const MapErrorLogView& log, const std::function<void(const QString&, int)>& openInEditor,
                      const std::function<void()>& saveLog, QWidget* parent);

protected:
    bool event(QEvent* event) override;

private:
    std::function<void()> mSaveLog;
    bool mSaved = false;
};

} // namespace ts
