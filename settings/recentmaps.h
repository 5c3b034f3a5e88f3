#pragma once

#include <QString>
#include <QStringList>

namespace ts {

// The maps opened last, newest first, kept in a file of their own beside Tessary.cfg so that the
// configuration file keeps its fixed 39 fields. One path per line.
class RecentMaps {
public:
    static constexpr int kMaximum = 8;

    static QString filePath(const QString& programFolder);

    // A missing or unreadable file is an empty list; the list is a convenience, never an error.
    void load(const QString& path);
    bool save(const QString& path) const;

    // Moves the map to the front, dropping an older entry of the same file and the oldest beyond eight.
    void add(const QString& mapPath);
    void remove(const QString& mapPath);
    const QStringList& paths() const { return mPaths; }

private:
    QStringList mPaths;
};

} // namespace ts
