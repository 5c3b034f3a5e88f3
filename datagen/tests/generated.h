#pragma once

#include "datagen.h"
#include "styleworld.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <QDirIterator>

namespace ts::datagen::testing {

// One run of the generator with the shipped seed, shared by every test of this program.
inline const TempFolder& generatedData() {
    static const TempFolder folder = [] {
        TempFolder made;
        QString error;
        EXPECT_TRUE(generateAll(made.path(), kSampleSeed, &error)) << error.toStdString();
        return made;
    }();
    return folder;
}

// The world of each style map of the shipped set, made once per test program.
inline const StyleWorld& styleWorld(ArtStyle style) {
    static const std::vector<StyleWorld> worlds = [] {
        std::vector<StyleWorld> made;
        for (const ArtStyle each : {ArtStyle::Painted, ArtStyle::Tiles, ArtStyle::Borders, ArtStyle::Rivers})
            made.push_back(makeStyleWorld(each, sampleWorldOf(each)));
        return made;
    }();
    return worlds[static_cast<std::size_t>(style)];
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
