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

// Compares every file below one folder with its namesake below another, reporting the first few.
int differences(const QString& fresh, const QString& other) {
    const QStringList files = filesBelow(fresh);
    EXPECT_GT(files.size(), 500);
    int different = 0;
    for (const QString& relative : files)
        if (readAll(QDir(fresh).filePath(relative)) != readAll(QDir(other).filePath(relative)) &&
            ++different <= 10)
            ADD_FAILURE() << QDir(other).filePath(relative).toStdString() << " differs or is missing";
    return different;
}

TEST(SampleData, TheShippedDataIsAFreshRunOfTheSameSeed) {
    // The shipped files were written by another run, so this also finds any draw that is not
    // fixed by the seed. The build copies data/ beside the programs; every generated file must be
    // there, unchanged.
    EXPECT_EQ(differences(generatedData().path(), QStringLiteral(TESSARY_PROGRAM_DIR)), 0)
        << "regenerate with: tessary-datagen --out data --seed 3";
}

TEST(SamplePictures, EveryIconFlagAndGodSpriteExists) {
    std::set<QString> names;
    for (const IconEntry& icon : iconTable()) {
        EXPECT_TRUE(names.insert(icon.file).second) << "listed twice: " << icon.file.toStdString();
        EXPECT_FALSE(QImage(generatedData().file("TSicons/" + icon.file)).isNull())
            << icon.file.toStdString();
    }
    for (const QString& type : siteTypeWords())
        for (const char* prefix : {"site", "bpath", "path"})
            EXPECT_TRUE(names.count(prefix + type + ".bmp")) << prefix << type.toStdString();
    for (const char* name :
         {"fort.bmp", "lab.bmp", "temple.bmp", "victorypoint.bmp", "nostart.bmp", "Tessary.jpg"})
        EXPECT_TRUE(names.count(QString::fromLatin1(name))) << name;
    EXPECT_EQ(QImage(generatedData().file(QStringLiteral("TSicons/Tessary.jpg"))).size(), QSize(1024, 768));

    const ReferenceTables tables = makeReferenceTables(3);
    for (const NationRow& nation : tables.nations)
        EXPECT_FALSE(QImage(generatedData().file("TSflags/" + flagFileName(nation))).isNull())
            << flagFileName(nation).toStdString();
    const QStringList sprites = filesBelow(generatedData().file(QStringLiteral("TSsprites")));
    EXPECT_TRUE(sprites.contains(QStringLiteral("NOIMAGE.jpg")));
    for (const UnitRow* god : tables.unitsOfKind(UnitKind::God))
        EXPECT_TRUE(sprites.contains(spriteFileName(god->number))) << "every god has a picture";
}

TEST(SampleNames, NameFilesCoverEveryTerrainTagAndCommanders) {
    std::set<QByteArray> tags;
    for (const QString& file : filesBelow(generatedData().file(QStringLiteral("TSnames")))) {
        const QByteArrayList lines = readAll(generatedData().file("TSnames/" + file)).split('\n');
        for (const QByteArray& tag : lines.first().trimmed().split(','))
            tags.insert(tag);
        // Each bracketed name in a template is a list of the same file.
        for (const QByteArray& line : lines)
            for (qsizetype at = line.indexOf('['); !line.startsWith('#') && at >= 0;
                 at = line.indexOf('[', at + 1))
                EXPECT_TRUE(lines.contains(":" + line.mid(at + 1, line.indexOf(']', at) - at - 1) + "\r"))
                    << file.toStdString() << ": " << line.toStdString();
    }
    for (const QString& tag : provinceNameTags())
        EXPECT_TRUE(tags.count(tag.toLatin1())) << tag.toStdString();
    EXPECT_TRUE(tags.count("COMMANDER"));
}

} // namespace
