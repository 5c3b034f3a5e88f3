#include "datagen.h"

#include <gtest/gtest.h>

#include <QByteArrayList>

#include <map>
#include <set>

using namespace ts::datagen;

namespace {

const ReferenceTables& tables() {
    static const ReferenceTables generated = makeReferenceTables(3);
    return generated;
}

std::vector<QByteArrayList> rows(const QString& file) {
    const QByteArray& bytes = tables().files.at(QStringLiteral("TSdata/") + file);
    std::vector<QByteArrayList> result;
    EXPECT_TRUE(bytes.endsWith("\r\n")) << file.toStdString();
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.isEmpty()) continue;
        EXPECT_TRUE(line.endsWith('\r')) << file.toStdString() << ": every line ends in CR LF";
        result.push_back(line.chopped(1).split('\t'));
    }
    return result;
}

bool isNumber(const QByteArray& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= -32768 && value <= 32767;
}

TEST(ReferenceTables, SameSeedSameBytesOtherSeedOtherData) {
    const ReferenceTables again = makeReferenceTables(3);
    const ReferenceTables other = makeReferenceTables(4);
    for (const auto& [name, bytes] : tables().files) {
        EXPECT_EQ(again.files.at(name), bytes) << name.toStdString();
        // The fort list is the game's own short list, the same for every seed.
        if (!name.endsWith(QLatin1String("FortData.txt"))) {
            EXPECT_NE(other.files.at(name), bytes) << name.toStdString();
        }
    }
}

TEST(ReferenceTables, RowsHaveTheirColumnCountsAndKeysInRange) {
    struct Shape {
        const char* file;
        int columns;
        int keyColumn;
        int slotCount;
        int minimumRows;
    };
    for (const Shape& shape :
         {Shape{"NationData.txt", 4, 1, 100, 75}, Shape{"PopData.txt", 10, 0, 100, 85},
          Shape{"SiteData.txt", kSiteColumns, 0, 750, 550}, Shape{"FortData.txt", 4, 0, 44, 10},
          Shape{"ItemData.txt", kItemColumns, 0, 350, 280},
          Shape{"UnitData.txt", kUnitColumns, 0, 3000, 2400}}) {
        SCOPED_TRACE(shape.file);
        const auto table = rows(QString::fromLatin1(shape.file));
        EXPECT_GE(static_cast<int>(table.size()), shape.minimumRows);
        int previous = -1;
        for (const QByteArrayList& row : table) {
            ASSERT_EQ(row.size(), shape.columns) << row.join('|').toStdString();
            const int key = row[shape.keyColumn].toInt();
            EXPECT_TRUE(isNumber(row[shape.keyColumn]));
            EXPECT_GE(key, 0);
            EXPECT_LT(key, shape.slotCount);
            EXPECT_GT(key, previous) << "keys ascend without repeats";
            previous = key;
        }
    }
}

TEST(ReferenceTables, ColumnsSurviveEachFilesMarkerStep) {
    // Site rows get no marker for blanks or stars: every integer column must hold a number.
    const std::set<int> siteTexts = {1,  6,  20, 23, 25, 27, 29, 31, 32, 34, 37, 40, 42, 43, 44,
                                     45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58};
    for (const QByteArrayList& row : rows(QStringLiteral("SiteData.txt")))
        for (int c = 0; c < kSiteColumns; ++c)
            if (!siteTexts.count(c)) {
                EXPECT_TRUE(isNumber(row[c])) << "site " << row[0].toStdString() << " column " << c;
            }
    // Population rows are read without any marker step.
    for (const QByteArrayList& row : rows(QStringLiteral("PopData.txt")))
        for (int c : {0, 2, 3, 4, 5, 6, 7, 8, 9})
            EXPECT_TRUE(isNumber(row[c])) << row[0].toStdString();
    // Unit integer columns: a number, empty (no value) or a star.
    const std::set<int> unitTexts = [] {
        std::set<int> texts = {1, 29, 32, 33, 36, 37, 40, 41, 44, 65, 131, 132};
        for (int c : unitFlagColumns())
            texts.insert(c);
        return texts;
    }();
    int stars = 0;
    for (const QByteArrayList& row : rows(QStringLiteral("UnitData.txt")))
        for (int c = 0; c < kUnitColumns; ++c) {
            if (unitTexts.count(c)) continue;
            if (row[c] == "*")
                ++stars;
            else if (!row[c].isEmpty()) {
                EXPECT_TRUE(isNumber(row[c])) << "unit " << row[0].toStdString() << " column " << c;
            }
        }
    EXPECT_GT(stars, 20);
}

TEST(ReferenceTables, SiteTerrainMasksDecodeWithoutRemainder) {
    int zeroMasks = 0;
    for (const QByteArrayList& row : rows(QStringLiteral("SiteData.txt"))) {
        long mask = row[4].toLong();
        if (mask <= 0) ++zeroMasks;
        for (long bit : {16384L, 1024L, 512L, 256L, 128L, 64L, 32L, 16L, 8L, 4L, 2L, 1L})
            if (mask >= bit && (mask & bit)) mask -= bit;
        EXPECT_EQ(mask, 0) << "site " << row[0].toStdString();
    }
    EXPECT_GT(zeroMasks, 0) << "some sites have no terrain";
}

TEST(ReferenceTables, EveryWordTheFindersFilterOnOccurs) {
    std::set<QByteArray> siteTypes, categories, paths, levels;
    for (const QByteArrayList& row : rows(QStringLiteral("SiteData.txt")))
        siteTypes.insert(row[6]);
    for (const QByteArrayList& row : rows(QStringLiteral("ItemData.txt"))) {
        categories.insert(row[2]);
        levels.insert(row[3]);
        paths.insert(row[4]);
        if (!row[6].isEmpty()) paths.insert(row[6]);
    }
    for (const QString& word : siteTypeWords())
        EXPECT_TRUE(siteTypes.count(word.toLatin1())) << word.toStdString();
    EXPECT_EQ(siteTypes.size(), siteTypeWords().size());
    for (const QString& word : itemCategories())
        EXPECT_TRUE(categories.count(word.toLatin1())) << word.toStdString();
    EXPECT_EQ(categories.size(), itemCategories().size());
    for (const QString& letter : itemPathLetters())
        EXPECT_TRUE(paths.count(letter.toLatin1())) << letter.toStdString();
    EXPECT_TRUE(levels.count("8")) << "artifacts";
    EXPECT_TRUE(levels.count("12")) << "special items";
}

TEST(ReferenceTables, EveryUnitPropertyOccurs) {
    const auto units = rows(QStringLiteral("UnitData.txt"));
    std::map<int, int> set, blank;
    int gods = 0, uniqueNames = 0, specials = 0, starSpecials = 0, randomMagic = 0;
    for (const QByteArrayList& row : units) {
        for (int c : unitFlagColumns()) {
            if (row[c] == " ")
                ++blank[c];
            else if (!row[c].isEmpty())
                ++set[c];
        }
        if (!row[6].isEmpty()) ++gods;
        if (!row[131].isEmpty()) ++uniqueNames;
        if (row[132] == "*")
            ++starSpecials;
        else if (!row[132].isEmpty())
            ++specials;
        if (!row[29].isEmpty()) ++randomMagic;
    }
    for (int c : unitFlagColumns())
        EXPECT_GE(set[c], 3) << "flag column " << c;
    EXPECT_FALSE(blank.empty()) << "a single blank also stands for an absent flag";
    EXPECT_GE(gods, 40);
    EXPECT_GE(uniqueNames, 20);
    EXPECT_GT(specials, 0);
    EXPECT_GT(starSpecials, 0);
    EXPECT_GT(randomMagic, 0);
    for (int path = 20; path <= 28; ++path) {
        bool seen = false;
        for (const QByteArrayList& row : units)
            seen = seen || row[path].toInt() > 0;
        EXPECT_TRUE(seen) << "path column " << path;
    }
}

TEST(ReferenceTables, ReferencesPointAtExistingUnitsAndForts) {
    std::map<int, QByteArray> unitNames;
    for (const QByteArrayList& row : rows(QStringLiteral("UnitData.txt")))
        unitNames[row[0].toInt()] = row[1];
    std::set<int> forts;
    for (const QByteArrayList& row : rows(QStringLiteral("FortData.txt")))
        forts.insert(row[0].toInt());
    for (const QByteArrayList& row : rows(QStringLiteral("PopData.txt")))
        for (int c = 2; c <= 9; ++c)
            if (row[c].toInt() != 0) {
                EXPECT_TRUE(unitNames.count(row[c].toInt())) << "pop " << row[0].toStdString();
            }
    for (const QByteArrayList& row : rows(QStringLiteral("SiteData.txt"))) {
        if (row[21] != "-666") {
            EXPECT_TRUE(forts.count(row[21].toInt()));
        }
        for (int c : {22, 24, 26, 28, 30, 33, 36, 39}) {
            if (row[c] == "-666") continue;
            ASSERT_TRUE(unitNames.count(row[c].toInt())) << "site " << row[0].toStdString();
            EXPECT_EQ(unitNames[row[c].toInt()], row[c + 1]) << "the name beside the number is the unit's";
        }
    }
}

TEST(ReferenceTables, TextsAreWindows1252WithoutLineBreakingBytes) {
    // Names reach map files, where bytes 127..159 end a command line; accented letters above 159 must
    // come through as single bytes.
    for (const auto& [name, bytes] : tables().files) {
        for (char c : bytes) {
            const auto code = static_cast<unsigned char>(c);
            EXPECT_FALSE(code >= 127 && code <= 159) << name.toStdString();
            EXPECT_NE(c, '\\') << name.toStdString();
        }
    }
    EXPECT_TRUE(tables().files.at(QStringLiteral("TSdata/NationData.txt")).contains("\xC6lfheim"));
    EXPECT_TRUE(tables().files.at(QStringLiteral("TSdata/NationData.txt")).contains("\xDEr\xFA\xF0vangr"));
    EXPECT_TRUE(tables().files.at(QStringLiteral("TSdata/UnitData.txt")).contains("\xC6lven"));
}

} // namespace
