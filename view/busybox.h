#pragma once

#include <QElapsedTimer>
#include <QLabel>

namespace ts {

// The coloured busy message shown in the middle of the map area during long operations. A long
// read calls it for every line, so repaints are throttled: the text is always stored, but the box
// is re-laid out and painted at most every kRepaintMs, except when the caption changes or the
// message is hidden, which always show at once.
class BusyBox : public QLabel {
public:
    static constexpr int kRepaintMs = 40;

    explicit BusyBox(QWidget* mapArea);

    // Returns true when the call painted (as opposed to being throttled).
    bool show(const QString& message, unsigned color, bool force);
    // Centres the box in the map area at its current size.
    void recentre();

private:
    QElapsedTimer mSincePaint;
};

} // namespace ts
