#include "tempfolder.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <gtest/gtest.h>

using namespace ts;

namespace {

struct Result {
    int exitCode;
    QString out;
    QString err;
};

// tessary-cli in a program folder with empty reference tables, so maps naming no units read cleanly.
class MapCommands : public ::testing::Test {
protected:
    TempFolder home;

    MapCommands() {
        for (const char* table : {"NationData", "PopData", "SiteData", "FortData", "ItemData", "UnitData"})
            home.write(QStringLiteral("TSdata/%1.txt").arg(QLatin1String(table)), "");
    }

    Result cli(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(TESSARY_CLI), QStringList{QStringLiteral("--home"), home.path()} + args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // Three provinces in a row, the first two split by a pure red line and the last two by a dark
    // painted one. The first two lie 130 px apart, beyond the exact guess's reach; the painted line
    // is no border to it.
    void writeThreeProvinces(const char* mapText) {
        QImage picture(240, 60, QImage::Format_RGB32);
        picture.fill(QColor(150, 186, 104));
        {
            QPainter painter(&picture);
            painter.fillRect(130, 0, 2, 60, QColor(255, 0, 0));
            painter.fillRect(190, 0, 2, 60, QColor(60, 45, 40));
        }
        for (const QPoint at : {QPoint(20, 30), QPoint(150, 30), QPoint(220, 30)})
            picture.setPixelColor(at, Qt::white);
        home.write(QStringLiteral("maps/row.map"), mapText);
        ASSERT_TRUE(picture.save(home.file(QStringLiteral("maps/row.png"))));
    }

    std::string neighbourLines(const QString& file) {
        std::string lines;
        const std::string text = home.read(file);
        for (std::size_t at = text.find("#neighbour "); at != std::string::npos; at = text.find("#neighbour ", at + 1))
            lines += text.substr(at, text.find('\n', at) - at + 1);
        return lines;
    }
};

TEST_F(MapCommands, CheckSummarisesTheMapAndItsFindingsBeforeItsErrorLog) {
    writeThreeProvinces("");
    const struct {
        const char* map;
        const char* summary;
        int exitCode;
    } cases[] = {
        {"#thx2title Row\n#imagefile row.png\n#landname 2 \"Middle\"\n#neighbour 1 2\n#terrain 3 4\n",
         "title: Row\nimage file: row.png\nprovinces located: 3\nprovinces described: 3\nnations in use: 0\n"
         "neighbour pairs: 1\nerrors logged: 0\nfindings: 1\n  Province 3 has no neighbour\n",
         0},
        {"#thx2title Lost\n#imagefile gone.tga\n#land 4\n#bogus\n",
         "title: Lost\nimage file: gone.tga\nprovinces located: picture not found\nprovinces described: 1\n"
         "nations in use: 0\nneighbour pairs: 0\nerrors logged: 1\nfindings: 0\n",
         1},
        {"#land 1\n", "title: \nimage file: \nprovinces located: no picture named\nprovinces described: 1\n"
                      "nations in use: 0\nneighbour pairs: 0\nerrors logged: 0\nfindings: 0\n",
         0},
        // One of each finding a map file can hold without a larger picture; the map as a whole first.
        {"#imagefile row.png\n#allowedplayer 6\n#specstart 5 1\n#specstart 5 2\n#neighbour 1 2\n"
         "#neighbour 2 3\n#neighbour 3 9\n#land 2\n#commander \"Lost One\"\n#additem \"Glass Crown\"\n",
         "title: \nimage file: row.png\nprovinces located: 3\nprovinces described: 4\nnations in use: 1\n"
         "neighbour pairs: 2\nerrors logged: 1\nfindings: 6\n"
         "  Fewer start provinces (0) than allowed players without a special start (1)\n"
         "  Nation 5 has 2 special starts: 1, 2\n"
         "  Province 2, commander 1: unit \"Lost One\" is not in the unit table\n"
         "  Province 2, commander 1: item \"Glass Crown\" is not in the item table\n"
         "  Province 3 lists 9 as a neighbour, which is not on the picture\n"
         "  Province 9 is in the map file, but the picture has 3 provinces\n",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.map);
        const QString map = home.write(QStringLiteral("maps/check.map"), c.map);
        const Result r = cli({QStringLiteral("check"), map});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QLatin1String(c.summary) + QStringLiteral("Map error log for: \n") + map))
            << r.out.toStdString();
    }
}

TEST_F(MapCommands, GuessNeighboursReplacesEveryListByTheChosenGuess) {
    writeThreeProvinces("#imagefile row.png\n#neighbour 1 3\n");
    const QString map = home.file(QStringLiteral("maps/row.map"));
    const QString out = home.file(QStringLiteral("maps/out.map"));
    const struct {
        QStringList options;
        const char* lines;
    } cases[] = {
        {{}, "#neighbour 2 3\n"},
        {{QStringLiteral("--regions")}, "#neighbour 1 2\n#neighbour 2 3\n"},
        // The pair linked by hand stays beside the guess.
        {{QStringLiteral("--regions"), QStringLiteral("--keep")}, "#neighbour 1 3\n#neighbour 1 2\n#neighbour 2 3\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const Result r = cli(QStringList{QStringLiteral("guess-neighbours"), map, out} + c.options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(neighbourLines(QStringLiteral("maps/out.map")), c.lines);
    }
}

TEST_F(MapCommands, GuessNeighboursExitCodes) {
    writeThreeProvinces("#imagefile row.png\n#bogus 1\n");
    home.write(QStringLiteral("maps/nopicture.map"), "#land 1\n");
    home.write(QStringLiteral("maps/lostpicture.map"), "#imagefile gone.png\n");
    const struct {
        const char* map;
        const char* out;
        int exitCode;
        const char* err;
    } cases[] = {
        {"maps/row.map", "maps/out.map", 1, "'#bogus'"}, // logged (kept, by default) and written all the same
        {"maps/nopicture.map", "maps/out2.map", 2, "the map names no picture"},
        {"maps/lostpicture.map", "maps/out3.map", 2, "Map Image Not Found"},
        {"maps/row.map", "no/such/folder/out.map", 2, "Map file not saved!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.map);
        const Result r = cli({QStringLiteral("guess-neighbours"), home.file(QLatin1String(c.map)),
                              home.file(QLatin1String(c.out))});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.err))) << r.err.toStdString();
        EXPECT_EQ(QFile::exists(home.file(QLatin1String(c.out))), c.exitCode < 2);
    }
    EXPECT_EQ(neighbourLines(QStringLiteral("maps/out.map")), "#neighbour 2 3\n");
}

} // namespace
