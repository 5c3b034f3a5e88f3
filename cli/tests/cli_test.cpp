#include "tempfolder.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

using namespace ts;

namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

// A program folder whose reference tables are present but empty: enough for maps that name no units.
struct CliTest : ::testing::Test {
    TempFolder home;

    CliTest() {
        for (const char* table : {"NationData", "PopData", "SiteData", "FortData", "ItemData", "UnitData"})
            home.write(QStringLiteral("TSdata/%1.txt").arg(QLatin1String(table)), "");
    }

    Outcome run(QStringList args, bool withHome = true) {
        if (withHome) args = QStringList{QStringLiteral("--home"), home.path()} + args;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TESSARY_CLI), args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }
};

TEST_F(CliTest, CheckPrintsTheErrorLogAndWriteRewritesTheMap) {
    const QString clean = home.write(QStringLiteral("maps/clean.map"), "#thx2title Isle\n#imagefile isle.tga\n"
                                                                       "#land 3\n#landname 3 \"North \xe9\"\n");
    Outcome r = run({QStringLiteral("check"), clean});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("title: Isle\n")) &&
                r.out.endsWith(QStringLiteral("errors logged: 0\nfindings: 0\nMap error log for: \n") + clean + QLatin1Char('\n')))
        << r.out.toStdString();

    const QString broken = home.write(QStringLiteral("maps/broken.map"), "#land 3\r\n#bogus 1\r\n#land 9999\r\n");
    r = run({QStringLiteral("--strict"), QStringLiteral("check"), broken});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Unrecognized map command '#bogus'  - Map Line# 2 : #bogus 1\n")) &&
                r.out.contains(QStringLiteral("Map Line# 3 : #land 9999\n")))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    r = run({QStringLiteral("write"), clean, home.file(QStringLiteral("maps/out.map"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::string written = home.read(QStringLiteral("maps/out.map"));
    EXPECT_NE(written.find("#thx2title Isle\n#imagefile isle.tga\n"), std::string::npos);
    EXPECT_NE(written.find("\n#land 3\n--------------------------------\n#landname 3 \"North \xe9\"\n"),
              std::string::npos);
}

TEST_F(CliTest, FailuresGoToStderrWithAFailingExitCode) {
    const QString map = home.write(QStringLiteral("maps/in.map"), "#land 3\n");
    TempFolder empty;
    const std::pair<QStringList, QString> cases[] = {
        {{QStringLiteral("check"), home.file(QStringLiteral("maps/none.map"))}, "Oops!: z_ReadMapFile error: "},
        {{QStringLiteral("write"), map, home.file(QStringLiteral("no/such/folder/out.map"))},
         "Map file not saved!: Map file not saved! Map: "},
        {{QStringLiteral("--home"), empty.path(), QStringLiteral("check"), map}, "cannot load the reference tables"},
        {{QStringLiteral("frobnicate"), map}, ""},
    };
    for (const auto& [args, error] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const Outcome r = run(args, !args.contains(QStringLiteral("--home")));
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(error)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
}

TEST_F(CliTest, EveryCommandKeepsWhatItDoesNotUnderstandUnlessStrict) {
    const QString later = home.write(QStringLiteral("maps/later.map"), "#land 3\n#bogus 1\n#land 9999\n");
    Outcome r = run({QStringLiteral("check"), later});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Kept 1 line of the unknown command '#bogus' - first at Map Line# 3")) &&
                r.out.contains(QStringLiteral("Kept 1 line '#land' with a number beyond Tessary's limits")))
        << r.out.toStdString();
    const QString out = home.file(QStringLiteral("maps/out.map"));
    for (const bool strict : {false, true}) {
        QStringList args{QStringLiteral("write"), later, out};
        if (strict) args.prepend(QStringLiteral("--strict"));
        r = run(args);
        EXPECT_EQ(r.exitCode, 1);
        const std::string written = home.read(QStringLiteral("maps/out.map"));
        EXPECT_EQ(written.find("\n#land 3\n--------------------------------\n#bogus 1\n#land 9999\n") !=
                      std::string::npos,
                  !strict)
            << written;
        EXPECT_EQ(r.err.contains(QStringLiteral("Unrecognized map command")), strict) << r.err.toStdString();
    }
}

// check and locate read the tables only when the map first names a unit or a site.
TEST_F(CliTest, TablesReadOnFirstNeedStillResolveEveryName) {
    home.write(QStringLiteral("TSdata/UnitData.txt"), "7\tSun Thane\r\n");
    home.write(QStringLiteral("TSdata/SiteData.txt"), "2\tGlowing Reef\r\n");
    const struct {
        const char* map;
        const char* errors;
    } cases[] = {
        {"#land 3\n#feature \"Glowing Reef\"\n#feature 2\n", "errors logged: 0\n"},
        {"#land 3\n#commander \"sun thane\"\n#units 5 7\n", "errors logged: 0\n"},
        {"#land 3\n#commander 8\n", "errors logged: 1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.map);
        const Outcome r = run({QStringLiteral("check"), home.write(QStringLiteral("maps/named.map"), c.map)});
        EXPECT_TRUE(r.out.contains(QLatin1String(c.errors))) << r.out.toStdString() << r.err.toStdString();
    }

    // A table that cannot be read stops the check when it is first needed, before anything is printed;
    // a map that needs none is checked all the same.
    home.write(QStringLiteral("TSdata/UnitData.txt"), "7\tSun Thane\r\nx\tbad\r\n");
    Outcome r = run({QStringLiteral("check"), home.write(QStringLiteral("maps/named.map"), "#land 3\n#commander 7\n")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("UnitData.txt, line 2, column 0")) &&
                r.err.contains(QStringLiteral("cannot load the reference tables")))
        << r.err.toStdString();
    r = run({QStringLiteral("check"), home.write(QStringLiteral("maps/plain.map"), "#land 3\n")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

// The picture libraries cost more than the whole check of a map without a picture: they are opened
// only when the map names a picture that is there.
TEST_F(CliTest, PictureLibrariesOpenOnlyForAMapNamingAPicture) {
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    home.write(QStringLiteral("maps/one.map"), ""); // makes the folder
    ASSERT_TRUE(picture.save(home.file("maps/tiny.png")));
    const struct {
        const char* map;
        bool module;    // the picture module, and Qt's picture support with it
        bool freeImage; // opened when a picture is decoded
    } cases[] = {{"#land 3\n", false, false},
                 {"#imagefile none.png\n", true, false},
                 {"#imagefile tiny.png\n", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.map);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TESSARY_CLI), {QStringLiteral("--home"), home.path(), QStringLiteral("check"),
                                                    home.write(QStringLiteral("maps/one.map"), c.map)});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString opened = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_EQ(opened.contains(QLatin1String("tessary-cli-pictures.so")), c.module);
        EXPECT_EQ(opened.contains(QLatin1String("libQt6Gui")), c.module);
        EXPECT_EQ(opened.contains(QLatin1String("libfreeimage")), c.freeImage);
        EXPECT_TRUE(QString::fromLocal8Bit(process.readAllStandardOutput()).contains(QLatin1String("errors logged: 0")));
    }
}

} // namespace

TEST_F(CliTest, LocateListsTheProvincesOfTheMapsPicture) {
    // Two white pixels: the bottom row is scanned first, and the top row's y is 1.
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(20, 90, 20));
    picture.setPixelColor(5, 0, Qt::white);
    picture.setPixelColor(30, 29, Qt::white);
    home.write("maps/tiny.map", "#imagefile tiny.png\n#landname 2 \"Up\"\n");
    ASSERT_TRUE(picture.save(home.file("maps/tiny.png")));

    const Outcome located = run({QStringLiteral("locate"), home.file("maps/tiny.map")});
    EXPECT_EQ(located.exitCode, 0) << located.err.toStdString();
    EXPECT_EQ(located.out, QStringLiteral("2 provinces\n1 30 30\n2 5 1 Up\n"));
    EXPECT_EQ(run({QStringLiteral("locate"), home.file("maps/tiny.png")}).out,
              QStringLiteral("2 provinces\n1 30 30\n2 5 1\n"));
    const Outcome missing = run({QStringLiteral("locate"), home.file("maps/none.png")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Map Image Not Found"))) << missing.err.toStdString();
}

// A small wrapping map with no text on it: links (one across the edge, one listed on one side only)
// and a start, a no-start and a special start. The reference picture was drawn by this program and
// checked by eye; any change of the look shows up pixel for pixel.
struct RenderTest : CliTest {
    QString map;
    RenderTest() {
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(QColor(40, 110, 60));
        for (const QPoint at : {QPoint(5, 35), QPoint(55, 20), QPoint(30, 5)}) picture.setPixelColor(at, Qt::white);
        map = home.write("maps/tiny.map", "#imagefile tiny.png\n#wraparound\n#start 1\n#nostart 3\n#specstart 5 2\n"
                                          "#neighbour 1 2\n#neighbour 2 3\n#land 3\n#landname 3 \"Top\"\n");
        EXPECT_TRUE(picture.save(home.file("maps/tiny.png")));
    }
    QImage render(QStringList options) {
        const QString out = home.file("out/tiny.png");
        QFile::remove(out);
        const Outcome r = run(QStringList{QStringLiteral("render"), map, out} + options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(RenderTest, LinksAndMarkersMatchTheReferencePixelForPixel) {
    home.write("out/keep", "");
    const QImage drawn = render({QStringLiteral("--scale"), QStringLiteral("2"), QStringLiteral("--links"),
                                 QStringLiteral("--starts")});
    const QImage reference = QImage(QStringLiteral(TESSARY_CLI_GOLDEN_DIR "/render-links-starts.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), QSize(120, 80));
    EXPECT_TRUE(drawn == reference) << "compare " << home.file("out/tiny.png").toStdString();
}

TEST_F(RenderTest, TextTakesTheScaleAndBadRequestsExitWithTwo) {
    home.write("out/keep", "");
    const QImage plain = render({QStringLiteral("--scale"), QStringLiteral("0.5")});
    const QImage labelled = render({QStringLiteral("--scale"), QStringLiteral("0.5"), QStringLiteral("--numbers"),
                                    QStringLiteral("--names")});
    EXPECT_EQ(plain.size(), QSize(30, 20));
    EXPECT_EQ(labelled.size(), QSize(30, 20));
    EXPECT_NE(plain, labelled);
    EXPECT_EQ(render({}).size(), QSize(60, 40));

    const QString out = home.file("out/bad.png");
    const struct {
        QStringList args;
        const char* says;
    } bad[] = {
        {{QStringLiteral("render"), map, out, QStringLiteral("--scale"), QStringLiteral("3")}, "--scale takes"},
        {{QStringLiteral("render"), map, out, QStringLiteral("--scale"), QStringLiteral("big")}, "--scale takes"},
        {{QStringLiteral("render"), home.file("maps/none.map"), out}, "No such file"},
        {{QStringLiteral("render"), home.write("maps/blind.map", "#land 1\n"), out}, "names no picture"},
        {{QStringLiteral("render"), map, home.file("nowhere/out.png")}, "Cannot write"},
        {{QStringLiteral("render"), map}, "expected"},
        {{QStringLiteral("report"), map, QStringLiteral("--html"), home.file("nowhere/r.html")}, "cannot write"},
    };
    for (const auto& b : bad) {
        const Outcome r = run(b.args);
        EXPECT_EQ(r.exitCode, 2) << b.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(b.says))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(RenderTest, ReportPrintsTheFiguresAndWritesOnePage) {
    const QString html = home.file("out/report.html");
    home.write("out/keep", "");
    const Outcome r = run({QStringLiteral("report"), map, QStringLiteral("--html"), html});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Map report: tiny.map\nprovinces: 3\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nStarts: 2\n"))) << r.out.toStdString();
    const std::string page = home.read("out/report.html");
    EXPECT_NE(page.find("data:image/png;base64,"), std::string::npos);
    EXPECT_EQ(run({QStringLiteral("report"), map}).out, r.out);
}

TEST_F(CliTest, GuessTerrainSetsTheProvincesWithoutTerrainAndSaysHowWellItGuesses) {
    // Four columns of provinces, numbered from the bottom row: two of sea, one of forest, one of farms.
    const QRgb ground[] = {qRgb(30, 70, 160), qRgb(30, 70, 160), qRgb(30, 110, 40), qRgb(210, 190, 90)};
    QImage picture(120, 90, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int grain = (x * 7 + y * 13) % 9 - 4;
            const QRgb c = ground[x / 30];
            picture.setPixel(x, y, qRgb(qRed(c) + grain, qGreen(c) + grain, qBlue(c) + grain));
        }
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) picture.setPixel(column * 30 + 15, row * 30 + 15, qRgb(255, 255, 255));
    home.write("maps/isle.map", "");
    ASSERT_TRUE(picture.save(home.file("maps/isle.png")));
    const std::string someSet = "#thx2title Isle\n#imagefile isle.png\n#terrain 1 4\n#terrain 2 4\n#terrain 3 128\n#terrain 4 256\n"
                            "#terrain 5 4\n#terrain 7 1152\n#terrain 8 258\n";
    const QString out = home.file("maps/out.map");

    Outcome r = run({"guess-terrain", home.write("maps/isle.map", someSet), out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "7 examples, 5 provinces guessed, 5 set (flags: sea, forest, farm)\n");
    std::string written = home.read("maps/out.map");
    // Sizes and sites are the map maker's: never guessed, kept where set.
    for (const char* line : {"#terrain 6 4\n", "#terrain 9 4\n", "#terrain 10 4\n", "#terrain 11 128\n",
                             "#terrain 12 256\n", "#terrain 7 1152\n", "#terrain 8 258\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line;

    // Every province known: the accuracy figures, and with --all each province guessed from the others.
    r = run({"guess-terrain", home.write("maps/isle.map", written), out, "--all"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("12 examples, 12 provinces guessed, 0 set")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("with 20% of the provinces as examples (5 draws, seeds 1 to 5): sea/land right "))
        << r.out.toStdString();
    // Any run of draws can be scored again; the misses are counted by flag.
    r = run({"guess-terrain", home.file("maps/isle.map"), out, "--draws", "20", "--seed", "41"});
    EXPECT_TRUE(r.out.contains("(20 draws, seeds 41 to 60)")) << r.out.toStdString();
    // Two examples of twelve, half of them sea: some draws hold no sea example and are counted apart.
    EXPECT_TRUE(r.out.contains("\ndraws without a sea example: ")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\nprovinces wrong a draw, of 10.0: ")) << r.out.toStdString();
    for (const auto& [option, value] : {std::pair{"--draws", "0"}, {"--draws", "1001"}, {"--seed", "0"}})
        EXPECT_EQ(run({"guess-terrain", home.file("maps/isle.map"), out, option, value}).exitCode, 2) << option << value;

    // Examples of land alone: sea from the water in the picture, said so.
    r = run({"guess-terrain", home.write("maps/isle.map", "#imagefile isle.png\n#terrain 3 128\n#terrain 4 256\n"
                                                          "#terrain 7 128\n#terrain 8 256\n#terrain 11 128\n"), out});
    EXPECT_EQ(r.out, "no example is sea, so sea was guessed from the water in the picture\n"
                     "5 examples, 7 provinces guessed, 7 set (flags: sea, forest, farm)\n");
    EXPECT_NE(home.read("maps/out.map").find("#terrain 10 4\n"), std::string::npos);

    // Too few examples: sea and land alone, said so.
    r = run({"guess-terrain", home.write("maps/isle.map", "#imagefile isle.png\n#terrain 3 128\n"), out});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("1 provinces have terrain; the guess needs 5 to learn from")) << r.out.toStdString();
    written = home.read("maps/out.map");
    EXPECT_NE(written.find("#terrain 9 4\n"), std::string::npos);
    EXPECT_NE(written.find("#terrain 12 0\n"), std::string::npos);

    // Errors in the map: OUT still written, exit 1; no picture at all: exit 2.
    QFile::remove(out);
    r = run({"--strict", "guess-terrain", home.write("maps/isle.map", someSet + "#bogus 1\n"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(QFile::exists(out));
    r = run({"guess-terrain", home.write("maps/isle.map", "#terrain 1 4\n"), out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("the map names no picture")) << r.err.toStdString();
}

TEST_F(CliTest, RenumberFollowsTheProvincesFromTheOldPicture) {
    // Before: Cee (30,29) is 1, Bee (20,10) is 2, Ay (5,0) is 3. Now Cee is gone, Bee moved two
    // pixels and a province was added at (10,5): Bee is 1, the new one 2, Ay 3.
    QImage old(40, 30, QImage::Format_RGB32);
    old.fill(QColor(20, 90, 20));
    QImage now = old;
    for (const QPoint p : {QPoint(30, 29), QPoint(20, 10), QPoint(5, 0)}) old.setPixelColor(p, Qt::white);
    for (const QPoint p : {QPoint(22, 12), QPoint(10, 5), QPoint(5, 0)}) now.setPixelColor(p, Qt::white);
    const QString map = home.write("maps/w.map", "#imagefile w.png\n#landname 1 \"Cee\"\n#landname 2 \"Bee\"\n"
                                                 "#landname 3 \"Ay\"\n#neighbour 1 2\n#neighbour 2 3\n");
    ASSERT_TRUE(old.save(home.file("maps/old.png")));
    ASSERT_TRUE(now.save(home.file("maps/w.png")));
    const QString out = home.file("maps/out.map");

    Outcome r = run({QStringLiteral("renumber"), map, home.file("maps/old.png"), out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("3 provinces before, 3 now: 1 province added, 1 removed, 1 moved\n"
                                    "added 2 at 10 6\nremoved 1 at 30 30\nmoved 2 to 1, from 20 11 to 22 13\n"));
    const std::string written = home.read("maps/out.map");
    EXPECT_NE(written.find("#landname 1 \"Bee\"\n"), std::string::npos) << written;
    EXPECT_NE(written.find("#landname 3 \"Ay\"\n"), std::string::npos) << written;
    EXPECT_EQ(written.find("Cee"), std::string::npos) << written;
    EXPECT_NE(written.find("#neighbour 1 3\n"), std::string::npos) << written;
    EXPECT_EQ(written.find("#neighbour 1 2"), std::string::npos) << written;

    // A map that logged errors is still renumbered and written; a missing old picture writes nothing.
    home.write("maps/w.map", "#imagefile w.png\n#bogus\n#landname 2 \"Bee\"\n");
    r = run({QStringLiteral("--strict"), QStringLiteral("renumber"), map, home.file("maps/old.png"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(home.read("maps/out.map").find("#landname 1 \"Bee\"\n"), std::string::npos);
    QFile::remove(out);
    r = run({QStringLiteral("renumber"), map, home.file("maps/none.png"), out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Map Image Not Found"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}
