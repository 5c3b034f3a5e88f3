#include "generated.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <set>

using namespace ts::datagen;
using ts::datagen::testing::filesBelow;
using ts::datagen::testing::generatedData;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SampleData, ShippedDataIsWhatTheGeneratorWrites) {
    // The build copies data/ beside the programs; every generated file must be there, unchanged.
    const QString shipped = QStringLiteral(TESSARY_PROGRAM_DIR);
    const QStringList files = filesBelow(generatedData().path());
    ASSERT_GT(files.size(), 500);
    int different = 0;
    for (const QString& relative : files) {
        const QByteArray fresh = readAll(generatedData().file(relative));
        const QByteArray copy = readAll(QDir(shipped).filePath(relative));
        if (fresh != copy && ++different <= 10)
            ADD_FAILURE() << QDir(shipped).filePath(relative).toStdString() << " differs or is missing";
    }
    EXPECT_EQ(different, 0) << "regenerate with: tessary-datagen --out data --seed 3";
}

TEST(SampleData, SameSeedWritesTheSameBytes) {
    const ts::TempFolder again;
    ASSERT_TRUE(generateAll(again.path(), 3));
    const QStringList files = filesBelow(generatedData().path());
    EXPECT_EQ(filesBelow(again.path()), files);
    for (const QString& relative : files)
        EXPECT_EQ(readAll(again.file(relative)), readAll(generatedData().file(relative)))
            << relative.toStdString();
}

TEST(SamplePictures, EveryNamedIconExistsAndLoads) {
    std::set<QString> names;
    for (const IconEntry& icon : iconTable()) {
        EXPECT_TRUE(names.insert(icon.file).second) << "listed twice: " << icon.file.toStdString();
        const QImage image(generatedData().file(QStringLiteral("TSicons/") + icon.file));
        EXPECT_FALSE(image.isNull()) << icon.file.toStdString();
    }
    for (const QString& type : siteTypeWords()) {
        EXPECT_TRUE(names.count(QStringLiteral("site") + type + QStringLiteral(".bmp")))
            << type.toStdString();
        EXPECT_TRUE(names.count(QStringLiteral("bpath") + type + QStringLiteral(".bmp")))
            << type.toStdString();
        EXPECT_TRUE(names.count(QStringLiteral("path") + type + QStringLiteral(".bmp")))
            << type.toStdString();
    }
    for (const char* name :
         {"blank.bmp",     "fort.bmp",     "lab.bmp",       "temple.bmp",      "victorypoint.bmp",
          "nostart.bmp",   "small.bmp",    "large.bmp",     "sea.bmp",         "deepsea.bmp",
          "somewater.bmp", "mountain.bmp", "swamp.bmp",     "waste.bmp",       "forest.bmp",
          "farm.bmp",      "cave.bmp",     "manysites.bmp", "specialsite.bmp", "norecruitables.bmp",
          "Tessary.jpg"})
        EXPECT_TRUE(names.count(QString::fromLatin1(name))) << name;
    // Nothing in the folder that the table does not explain.
    EXPECT_EQ(filesBelow(generatedData().file(QStringLiteral("TSicons"))).size(),
              static_cast<qsizetype>(names.size()));
    EXPECT_EQ(QImage(generatedData().file(QStringLiteral("TSicons/Tessary.jpg"))).size(), QSize(1024, 768));
}

TEST(SamplePictures, FlagsForEveryNationAndSpritesByFourDigitNumber) {
    const ReferenceTables tables = makeReferenceTables(3);
    for (const NationRow& nation : tables.nations)
        EXPECT_FALSE(QImage(generatedData().file(QStringLiteral("TSflags/") + flagFileName(nation))).isNull())
            << flagFileName(nation).toStdString();
    EXPECT_EQ(flagFileName(NationRow{QStringLiteral("MA"), 5, QString(), QStringLiteral("Ælfheim")}),
              QStringLiteral("ma_ælfheim_icon.bmp"));
    EXPECT_EQ(spriteFileName(7), QStringLiteral("0007.jpg"));
    EXPECT_EQ(spriteFileName(-666), QStringLiteral("-0666.jpg"));
    const QStringList sprites = filesBelow(generatedData().file(QStringLiteral("TSsprites")));
    EXPECT_GT(sprites.size(), 200);
    EXPECT_TRUE(sprites.contains(QStringLiteral("NOIMAGE.jpg")));
    EXPECT_TRUE(sprites.contains(QStringLiteral("-0666.jpg")));
    for (const QString& sprite : sprites) {
        if (sprite == QLatin1String("NOIMAGE.jpg") || sprite == QLatin1String("-0666.jpg")) continue;
        ASSERT_NE(tables.unit(sprite.left(4).toInt()), nullptr) << sprite.toStdString();
    }
    for (const UnitRow* god : tables.unitsOfKind(UnitKind::God))
        EXPECT_TRUE(sprites.contains(spriteFileName(god->number))) << "every god has a picture";
}

TEST(SampleNames, NameFilesCoverEveryTerrainTagAndCommanders) {
    std::set<QByteArray> tags;
    const QStringList files = filesBelow(generatedData().file(QStringLiteral("TSnames")));
    for (const QString& file : files) {
        EXPECT_TRUE(file.endsWith(QLatin1String(".nam")));
        const QByteArray bytes = readAll(generatedData().file(QStringLiteral("TSnames/") + file));
        const QByteArrayList lines = bytes.split('\n');
        for (const QByteArray& tag : lines.first().trimmed().split(','))
            tags.insert(tag);
        // The first list holds the templates, and each bracketed name is a list of the file.
        ASSERT_GE(lines.size(), 4);
        EXPECT_EQ(lines[2].trimmed(), QByteArray(":templates"));
        for (const QByteArray& line : lines) {
            const QByteArray text = line.trimmed();
            if (text.startsWith('#') || text.startsWith(':') || text.isEmpty() || !text.contains('['))
                continue;
            qsizetype at = 0;
            while ((at = text.indexOf('[', at)) >= 0) {
                const qsizetype end = text.indexOf(']', at);
                EXPECT_TRUE(lines.contains(":" + text.mid(at + 1, end - at - 1) + "\r"))
                    << text.toStdString();
                at = end;
            }
        }
    }
    for (const QString& tag : provinceNameTags())
        EXPECT_TRUE(tags.count(tag.toLatin1())) << tag.toStdString();
    EXPECT_TRUE(tags.count("COMMANDER"));
}

TEST(SampleTools, ScriptsTemplatesAndPalettesHaveTheirShape) {
    for (const QString& script : filesBelow(generatedData().file(QStringLiteral("TSscripts")))) {
        const QByteArrayList lines =
            readAll(generatedData().file(QStringLiteral("TSscripts/") + script)).split('\n');
        ASSERT_GE(lines.size(), 3) << script.toStdString();
        EXPECT_EQ(lines[0].trimmed(), QByteArray(":TOOL"));
        EXPECT_FALSE(lines[1].trimmed().isEmpty()) << "title";
        EXPECT_TRUE(lines.contains(":END\r")) << script.toStdString();
    }
    const QStringList templates = filesBelow(generatedData().file(QStringLiteral("TStemplates")));
    EXPECT_GE(templates.size(), 2);
    for (const QString& name : templates) {
        const QByteArray bytes = readAll(generatedData().file(QStringLiteral("TStemplates/") + name));
        EXPECT_EQ(bytes.count("\r\n"), 3341) << name.toStdString();
        const QByteArrayList lines = bytes.split('\n');
        EXPECT_TRUE(lines[0] == "#TRUE#\r" || lines[0] == "#FALSE#\r");
        EXPECT_TRUE(lines[24].startsWith('"') && lines[24].endsWith("\"\r")) << "the name is line 25";
    }
    const ReferenceTables tables = makeReferenceTables(3);
    const QStringList palettes = filesBelow(generatedData().file(QStringLiteral("TSpalettes")));
    ASSERT_FALSE(palettes.isEmpty());
    for (const QString& name : palettes) {
        EXPECT_TRUE(name.endsWith(QLatin1String(".upa")));
        for (const QByteArray& line :
             readAll(generatedData().file(QStringLiteral("TSpalettes/") + name)).split('\n'))
            if (!line.isEmpty()) {
                EXPECT_NE(tables.unit(line.trimmed().toInt()), nullptr) << line.toStdString();
            }
    }
}

} // namespace
