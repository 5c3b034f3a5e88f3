#include "documenttesting.h"
#include "maperrorlog.h"
#include "mapreader.h"

using namespace ts;

namespace {

struct ReaderTest : ts::testing::DocumentTest {
    std::vector<std::pair<QString, QString>> imageLoads;
    MapReadOptions options{[this](const QString& name, const QString& path) { imageLoads.emplace_back(name, path); },
                           nullptr};

    void read(std::string_view bytes, const QString& name = QStringLiteral("test.map")) {
        ui = FakeUserInterface{};
        z_ReadMapFile(*doc, *ref, ui, folder.write(name, bytes), options);
    }
};

// An LF both ends the line and counts before the line is parsed, so in an LF file a command is
// logged with the number of the line after it; a CR ends the line before its LF is counted.
TEST_F(ReaderTest, CrLfAndLfFilesReadAlikeAndOnlyLfCountsLines) {
    for (const auto& [file, logged] : {std::pair{"#land 5\r\n#landname 5 \"Ash\"\r\n#owner 3\r\n#bogus\r\n", 4},
                                       std::pair{"#land 5\n#landname 5 \"Ash\"\n#owner 3\n#bogus\n", 5}}) {
        SCOPED_TRACE(file);
        ResetMapDocument(*doc, *ref, ui);
        read(file);
        EXPECT_EQ(prov(5).LandName, "Ash");
        EXPECT_EQ(prov(5).Owner, 3);
        EXPECT_EQ(errors(), std::vector<std::string>{"Error in z_ParseCommand: Unrecognized map command '#bogus'  - "
                                                     "Map Line# " + std::to_string(logged) + " : #bogus"});
        EXPECT_EQ(doc->FirstErrorLine, logged);
        EXPECT_EQ(doc->MapLineNumber, 5);
    }
    // Every line feed shows the busy message with the line count.
    ASSERT_EQ(ui.busy.size(), 4u);
    EXPECT_EQ(ui.busy[3].message, QStringLiteral("Loading Map Data...5"));
    EXPECT_EQ(ui.busy[3].color, 5u * 255u);
    EXPECT_EQ(ui.eventRuns, 4);

    // A window that is not ready to show progress is not sent it, and what it is sent is current.
    ResetMapDocument(*doc, *ref, ui);
    ui = FakeUserInterface{};
    ui.progressEvery = 2;
    z_ReadMapFile(*doc, *ref, ui, folder.write(QStringLiteral("test.map"), "#land 5\n#owner 3\n#land 6\n#owner 4\n\n"),
                  options);
    ASSERT_EQ(ui.busy.size(), 2u);
    EXPECT_EQ(ui.busy[1].message, QStringLiteral("Loading Map Data...5"));
    EXPECT_EQ(ui.eventRuns, 2);
    EXPECT_EQ(prov(6).Owner, 4);
}

// Outside quotes a line ends at any code below 32, at 127 to 159 and at a backslash; lines that do
// not begin with '#' are skipped whole.
TEST_F(ReaderTest, SkippedLinesAndLineEndingCharacters) {
    read("   #land 5\n"
         "\t#land 6\n"
         "-#land 7\n"
         "## #land 8\n"
         "x #land 9\n"
         "#owner 2\\#land 10\x7f#land 11\x80#land 12\x9f#land 13\x01#land 14\n"
         "#imagefile maps\\isle.tga\n");
    EXPECT_FALSE(prov(5).LandFlag || prov(7).LandFlag || prov(8).LandFlag || prov(9).LandFlag);
    EXPECT_TRUE(prov(6).LandFlag && prov(10).LandFlag && prov(11).LandFlag && prov(12).LandFlag &&
                prov(13).LandFlag && prov(14).LandFlag);
    EXPECT_EQ(prov(6).Owner, 2);
    EXPECT_EQ(doc->ImageFileName, "maps");
    EXPECT_FALSE(doc->MapErrorsFound) << doc->ErrorLog; // "isle.tga" was skipped
}

TEST_F(ReaderTest, CommentsAreCutExceptOnTheDescription) {
    read("#land 5\n"
         "#landname 5 \"Bad--lands\"\n"
         "#terrain 5 3   // plains and more\n"
         "#owner 4## note\n"
         "#description \"Keep -- this ## and // this\"\n");
    EXPECT_EQ(prov(5).LandName, "Ba"); // the name lost its closing quote with the comment
    EXPECT_EQ(prov(5).Terrain, 3);
    EXPECT_EQ(prov(5).Owner, 4);
    EXPECT_EQ(doc->MapDescription, "Keep -- this ## and // this");
    EXPECT_FALSE(doc->MapErrorsFound) << doc->ErrorLog;

    // A quote in a comment swallows everything up to the next quote.
    read("-- the \"old\" way\n-- don't \"use\n#land 7\n#owner 9\n\"\n#land 6\n");
    EXPECT_FALSE(prov(7).LandFlag);
    EXPECT_TRUE(prov(6).LandFlag);
}

TEST_F(ReaderTest, QuotedTextSpansLinesKeepsEveryByteAndMustBeClosed) {
    // The last quote may be the file's last byte.
    read("#description \"One\r\n\tTwo\\ \x80\x9f\xe9\nThree\"\n#land 5\n#landname 5 \"\xc6sir \x8a\"");
    EXPECT_EQ(doc->MapDescription, "One\r\n\tTwo\\ \x80\x9f\xe9\r\nThree");
    EXPECT_EQ(prov(5).LandName, "\xc6sir \x8a");
    EXPECT_FALSE(doc->MapErrorsFound) << doc->ErrorLog;
    EXPECT_TRUE(ui.messages.empty());

    read("#land 6\n#description \"Never\nclosed\n");
    EXPECT_EQ(ui.titles(), QStringList{QStringLiteral("Oops!")});
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Missing quote in map file.  EOF reached while getting string."));
    EXPECT_EQ(errors(), std::vector<std::string>{
                            "z_ReadMapFile error: Missing quote in map file.  EOF reached while getting string."});
    EXPECT_EQ(doc->FirstErrorLine, 4);
    EXPECT_TRUE(prov(6).LandFlag);
}

TEST_F(ReaderTest, AfterTheLinesGodsArePlacedTheImageLoadedAndNothingIsCurrent) {
    read("#imagefile isle.tga\n#specstart 3 12\n#god 3 7\n#land 20\n#commander 4\n#bodyguards 1 2\n#additem "
         "\"X\"\n",
         QStringLiteral("maps/isle.map"));
    EXPECT_EQ(prov(12).Commanders[0].UnitName, "Unit 7");
    EXPECT_EQ(prov(12).CommanderCount, 1);
    ASSERT_EQ(imageLoads.size(), 1u);
    EXPECT_EQ(imageLoads[0].first, QStringLiteral("isle.tga"));
    EXPECT_EQ(imageLoads[0].second, folder.file(QStringLiteral("maps/isle.tga")));
    for (std::int16_t i : {doc->CurProvince, doc->CurSiteSlot, doc->CurKnownSiteSlot, doc->CurCommander,
                           doc->CurBodyguardSlot, doc->CurUnitSlot, doc->CurItemSlot, doc->CurGodNation})
        EXPECT_EQ(i, kNone);

    // The image is looked for beside the map even when its recovery copy is the file read.
    doc->MapFilePath = folder.file(QStringLiteral("maps/isle.map")).toStdString();
    doc->MapFileTitle = "isle.map";
    read("#imagefile other.tga\n", QStringLiteral("elsewhere/isle.ore"));
    EXPECT_EQ(imageLoads.back().second, folder.file(QStringLiteral("maps/other.tga")));

    imageLoads.clear();
    ResetMapDocument(*doc, *ref, ui);
    read("#land 1\n");
    EXPECT_TRUE(imageLoads.empty());

    // Each naming of the image is told at its line, before the lines after it are read, so the
    // picture can be decoded meanwhile; the load at the end is of the last one named.
    std::vector<std::pair<QString, int>> named;
    options.imageNamed = [&](const QString& name, const QString& path) {
        EXPECT_EQ(path, folder.file(QStringLiteral("maps/") + name));
        named.emplace_back(name, doc->CurProvince); // which #land lines were read by then
    };
    ResetMapDocument(*doc, *ref, ui);
    read("#thx2title Isle\n#imagefile first.tga\n#land 1\n#imagefile second.tga\n#land 2\n",
         QStringLiteral("maps/isle.map"));
    EXPECT_EQ(named, (std::vector<std::pair<QString, int>>{{"first.tga", kNone}, {"second.tga", 1}}));
    EXPECT_EQ(imageLoads.back().first, QStringLiteral("second.tga"));
}

TEST_F(ReaderTest, AFileThatCannotBeReadIsReportedAndEndsTheRead) {
    doc->Nations[2].SpecStartProvince = 9; // a god to place and an image to load, were the read to go on
    doc->Nations[2].GodName = "Unit 3";
    doc->ImageFileName = "isle.tga";
    const QString path = folder.file(QStringLiteral("missing.map"));
    z_ReadMapFile(*doc, *ref, ui, path, options);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Oops!"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("z_ReadMapFile error: ")))
        << ui.messages[0].text.toStdString();
    EXPECT_EQ(doc->ErrorLog, "Map error log for: \r\n" + path.toStdString() + "\r\nz_ReadMapFile error: " +
                                 ui.messages[0].text.mid(21).toStdString() + "\r\n");
    EXPECT_TRUE(doc->MapErrorsFound);
    EXPECT_EQ(doc->FirstErrorLine, 1);
    EXPECT_TRUE(prov(9).Commanders[0].UnitName.empty()); // no god placement
    EXPECT_TRUE(imageLoads.empty());
}

TEST_F(ReaderTest, TheErrorLogIsSavedBesideTheProgramWithCrLf) {
    read("#land 1\r\n#nonsense 4\r\n");
    TempFolder program;
    program.makePortable();
    ASSERT_TRUE(WriteMapErrorLogFile(*doc, program.path()));
    const std::string saved = program.read(QStringLiteral("MapErrorLog.txt"));
    EXPECT_EQ(saved, "Map error log for: \r\n" + folder.file(QStringLiteral("test.map")).toStdString() +
                         "\r\nError in z_ParseCommand: Unrecognized map command '#nonsense'  - Map Line# 2 : "
                         "#nonsense 4\r\n");
    QString error;
    TempFolder blocked;
    blocked.makePortable();
    QDir().mkpath(blocked.file(QStringLiteral("MapErrorLog.txt"))); // a folder where the file must go
    EXPECT_FALSE(WriteMapErrorLogFile(*doc, blocked.path(), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
