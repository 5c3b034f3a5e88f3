#pragma once

#include "datagen.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <QDirIterator>

namespace ts::datagen::testing {

// One run of the generator with the shipped seed, shared by every test of this program.
inline const TempFolder& generatedData() {
    static const TempFolder folder = [] {
        TempFolder made;
        QString error;
        EXPECT_TRUE(generateAll(made.path(), 3, &error)) << error.toStdString();
        return made;
    }();
    return folder;
}

inline QStringList filesBelow(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(root.size() + 1);
    files.sort();
    return files;
}

} // namespace ts::datagen::testing
