#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QString>
#include <vector>

namespace ts {

// The status bar's six keyed panels. Each panel is a label whose objectName is its key, so the
// rest of the program (and tests) address a panel by key alone.
class StatusPanels {
public:
    struct Panel {
        const char* key;
        const char* initialText;
        const char* tooltip;
    };
    static const std::vector<Panel>& panels();

    explicit StatusPanels(QStatusBar* bar);

    // z_SetStatus: sets the text of the panel with that key; an unknown key is ignored.
    void setStatus(const QString& key, const QString& text);
    QString text(const QString& key) const;

private:
    QLabel* find(const QString& key) const;
    QStatusBar* mBar;
};

} // namespace ts
