#include "tempfolder.h"

#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

using namespace ts;

namespace {

// A map of three provinces on a small picture, and a program folder with empty tables.
struct RunScriptCli : ::testing::Test {
    TempFolder home;
    QString map;

    RunScriptCli() {
        for (const char* table : {"NationData", "PopData", "SiteData", "FortData", "ItemData", "UnitData"})
            home.write(QStringLiteral("TSdata/%1.txt").arg(QLatin1String(table)), "");
        QImage picture(30, 10, QImage::Format_RGB32);
        picture.fill(QColor(20, 90, 20));
        for (int x : {5, 15, 25})
            picture.setPixelColor(x, 5, Qt::white);
        map = home.write("maps/three.map", "#imagefile three.png\n#land 2\n#owner 7\n#land 3\n#owner 10\n");
        EXPECT_TRUE(picture.save(home.file("maps/three.png")));
    }

    struct Outcome {
        int exitCode;
        QString err;
    };
    Outcome run(const QString& script, const QString& out) {
        QProcess process;
        process.start(QStringLiteral(TESSARY_CLI), {QStringLiteral("--home"), home.path(),
                                                    QStringLiteral("run-script"), map, script, out});
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
    }
};

TEST_F(RunScriptCli, RunsTheScriptOnTheLocatedProvincesAndWritesTheResult) {
    const QString script = home.write("TSscripts/temples.tss", ":SELECT PROVINCES WHERE\nowner > 5\n:THEN\n"
                                                               "temple = TRUE\n:END\n");
    const Outcome r = run(script, home.file("maps/out_three.map"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const std::string written = home.read("maps/out_three.map");
    EXPECT_NE(written.find("#land 2\n--------------------------------\n#owner 7\n#temple\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("#land 3\n--------------------------------\n#owner 10\n\n"), std::string::npos);
}

TEST_F(RunScriptCli, AScriptThatStopsOnAnErrorStillWritesWhatItChanged) {
    std::string text;
    for (int k = 0; k < 52; ++k)
        text += ":SELECT ALL PROVINCES\n:THEN\nunrest = " + std::to_string(k) + "\n:END\n";
    const QString script = home.write("TSscripts/long.tss", text);
    Outcome r = run(script, home.file("maps/out_long.map"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("Error processing script: Error processing long.tss Error: more than 51 "
                                    "blocks (line 205)\n"));
    EXPECT_NE(home.read("maps/out_long.map").find("#unrest 50\n"), std::string::npos);

    r = run(home.file("TSscripts/none.tss"), home.file("maps/out_none.map"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Error processing script: ")) << r.err.toStdString();
    EXPECT_NE(home.read("maps/out_none.map").find("#owner 10\n"), std::string::npos);
}

TEST_F(RunScriptCli, AMapWithoutItsPictureIsRefused) {
    const QString script = home.write("TSscripts/t.tss", ":SELECT ALL PROVINCES\n:THEN\nlab = TRUE\n:END\n");
    QFile::remove(home.file("maps/three.png"));
    Outcome r = run(script, home.file("maps/out_a.map"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Map Image Not Found")) << r.err.toStdString();
    home.write("maps/three.map", "#land 2\n");
    r = run(script, home.file("maps/out_a.map"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("No Map Image")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(home.file("maps/out_a.map")));
}

} // namespace
