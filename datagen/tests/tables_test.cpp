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

TEST(ReferenceTables, EveryWordTheFindersFilterOnSelectsARow) {
    std::set<QByteArray> siteTypes, categories, paths;
    long terrainBits = 0;
    for (const QByteArrayList& row : rows(QStringLiteral("SiteData.txt"))) {
        siteTypes.insert(row[6]);
        const long mask = row[4].toLong();
        EXPECT_EQ(mask & ~0x47FFL, 0) << "site " << row[0].toStdString() << ": a terrain word for every bit";
        terrainBits |= mask;
    }
    EXPECT_EQ(terrainBits, 0x47FFL);
    for (const QByteArrayList& row : rows(QStringLiteral("ItemData.txt"))) {
        categories.insert(row[2]);
        paths.insert(row[4]);
        paths.insert(row[6]);
    }
    for (const auto& [words, seen] :
         {std::pair{&siteTypeWords(), &siteTypes}, std::pair{&itemCategories(), &categories},
          std::pair{&itemPathLetters(), &paths}})
        for (const QString& word : *words)
            EXPECT_TRUE(seen->count(word.toLatin1())) << word.toStdString();
    EXPECT_EQ(siteTypes.size(), siteTypeWords().size());
    EXPECT_EQ(categories.size(), itemCategories().size());
    // Unit abilities are text flags: each must be set on a few units.
    std::map<int, int> set;
    for (const QByteArrayList& row : rows(QStringLiteral("UnitData.txt")))
        for (int c : unitFlagColumns())
            set[c] += !row[c].trimmed().isEmpty();
    for (int c : unitFlagColumns())
        EXPECT_GE(set[c], 3) << "flag column " << c;
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
}

// The unit finder compares these columns with the words of its own lists, letter for letter.
TEST(ReferenceTables, UnitKindStealthSurvivalAndMovementHoldTheFindersWords) {
    const std::map<int, QByteArray> words = {
        {45, "Undead"}, {46, "Demon"},    {47, "Magic being"}, {48, "Animal"},    {49, "Spy"},
        {50, "Assassin"}, {51, "Glamour"}, {85, "Forest"},     {86, "Mountain"},  {87, "Waste"},
        {88, "Swamp"},  {89, "Aquatic"},  {90, "Amphibian"},   {91, "Poor Amphi"}, {92, "Flying"},
        {93, "Stormflyer"}, {94, "Sailing"}};
    for (const QByteArrayList& row : rows(QStringLiteral("UnitData.txt")))
        for (const auto& [column, word] : words) {
            if (!row[column].trimmed().isEmpty()) {
                EXPECT_EQ(row[column], word) << "unit " << row[0].toStdString();
            }
        }
}

} // namespace
