#pragma once

#include "coarsetimer.h"

#include <QLabel>
#include <QTimer>

namespace ts {

// The coloured busy message shown in the middle of the map area during long operations. A long
// read calls it for every line, so it is throttled: between paints a message is only remembered (a
// label's text change alone costs more than reading the line), and the box takes the latest one,
// is re-laid out and painted at most every kRepaintMs, except when the caption changes or the
// message is hidden, which always show at once. A message left waiting when the calls stop is
// shown by a timer.
class BusyBox : public QLabel {
public:
    static constexpr int kRepaintMs = 40;

    explicit BusyBox(QWidget* mapArea);

    // Returns true when the call painted (as opposed to being throttled).
    bool show(const QString& message, unsigned color, bool force);
    // Centres the box in the map area at its current size.
    void recentre();

private:
    CoarseTimer mSincePaint;
    QString mWaiting;
    QTimer mShowWaiting;
};

} // namespace ts
