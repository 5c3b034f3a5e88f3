// The manual page and the shell completion of tessary-cli are written by hand; these tests hold
// them to what the program itself says in --help, so a new command or option cannot be forgotten.

#include "tempfolder.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace ts;

namespace {

// Plain strings, which a failure prints readably.
using Words = std::set<std::string>;

QString run(const QString& program, const QStringList& args, const QString& folder = QString()) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

struct Help {
    Words commands; // from the description, "  check MAP  read MAP, ..."
    Words options;  // every name of every option, "-h", "--help", ...
    Words exitCodes; // "Exit codes: 0 the map read ..., 1 errors ..."
};

Help cliHelp() {
    Help help;
    const QString text = run(QStringLiteral(TESSARY_CLI), {QStringLiteral("--help")});
    const qsizetype options = text.indexOf(QLatin1String("\nOptions:\n"));
    const qsizetype arguments = text.indexOf(QLatin1String("\nArguments:\n"));
    for (const auto& m : QRegularExpression(QStringLiteral("\n  ([a-z][a-z-]*)\\b")).globalMatch(text.left(options)))
        help.commands.insert(m.captured(1).toStdString());
    const qsizetype exits = text.indexOf(QLatin1String("Exit codes:"));
    const QString exitPart = text.mid(exits, text.indexOf(QLatin1String("\n\n"), exits) - exits);
    for (const auto& m : QRegularExpression(QStringLiteral("(?:: |, )(\\d+) ")).globalMatch(exitPart))
        help.exitCodes.insert(m.captured(1).toStdString());
    const QString optionPart = text.mid(options, arguments - options);
    for (const auto& m : QRegularExpression(QStringLiteral("(?:\n  |, )(--?[a-z][a-z-]*)")).globalMatch(optionPart))
        help.options.insert(m.captured(1).toStdString());
    return help;
}

// The words set in bold in the page (".B", ".BI", ".BR" lines), where commands and options are named.
Words boldWords(const QString& page) {
    Words words;
    QString text = page;
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String(".B")))
            for (QString word : line.mid(line.indexOf(QLatin1Char(' ')) + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                words.insert(word.remove(QLatin1Char('"')).remove(QLatin1Char(',')).toStdString());
    return words;
}

// What the completion offers for the words typed so far (the last one being completed), in folder.
Words complete(const QStringList& typed, const QString& folder) {
    const QString script = QStringLiteral(
        "source \"$0\"; COMP_WORDS=(tessary-cli \"$@\"); COMP_CWORD=$#; _tessary_cli; printf '%s\\n' \"${COMPREPLY[@]}\"");
    const QString out =
        run(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), script, QStringLiteral(COMPLETION)} + typed, folder);
    Words words;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) words.insert(line.toStdString());
    return words;
}

std::string missing(const Words& wanted, const Words& have) {
    std::string names;
    for (const std::string& w : wanted)
        if (!have.count(w)) names.append(1, ' ').append(w);
    return names;
}

} // namespace

TEST(CliDocumentation, ThePageNamesEveryCommandOptionAndExitCodeOfTheHelp) {
    const Help help = cliHelp();
    ASSERT_TRUE(help.commands.count("check") && help.options.count("--strict") && help.exitCodes.count("2"))
        << "the help text of tessary-cli is no longer read right";
    QFile page(QStringLiteral(MANUAL_PAGE));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const Words bold = boldWords(QString::fromUtf8(page.readAll()));
    EXPECT_EQ(missing(help.commands, bold), "") << "commands of tessary-cli --help missing from " MANUAL_PAGE;
    EXPECT_EQ(missing(help.options, bold), "") << "options of tessary-cli --help missing from " MANUAL_PAGE;
    EXPECT_EQ(missing(help.exitCodes, bold), "") << "exit codes of tessary-cli --help missing from " MANUAL_PAGE;
}

TEST(CliDocumentation, CompletionOffersTheHelpsWordsAndTheFilesEachArgumentTakes) {
    const Help help = cliHelp();
    TempFolder folder;
    for (const char* name : {"world.map", "OLD.MAP", "world.tga", "other.rgb", "farms.tss", "notes.txt", "maps/a.map"})
        folder.write(QString::fromLatin1(name), "");
    const auto offered = [&](const QStringList& typed) { return complete(typed, folder.path()); };

    const Words commands = offered({QString()});
    EXPECT_EQ(missing(help.commands, commands), "") << "commands of tessary-cli --help the completion does not offer";
    EXPECT_EQ(missing(commands, help.commands), "") << "commands the completion offers that tessary-cli lacks";
    const Words options = offered({QStringLiteral("-")});
    Words longOptions;
    for (const std::string& o : help.options)
        if (o.starts_with("--")) longOptions.insert(o);
    EXPECT_EQ(missing(longOptions, options), "") << "options of tessary-cli --help the completion does not offer";

    const Words maps{"world.map", "OLD.MAP", "maps"};
    EXPECT_EQ(offered({"check", ""}), maps);
    EXPECT_EQ(offered({"--strict", "write", "world.map", ""}), maps);
    EXPECT_EQ(offered({"locate", ""}), (Words{"world.map", "OLD.MAP", "world.tga", "other.rgb", "maps"}));
    EXPECT_EQ(offered({"--home", "maps", "run-script", "world.map", ""}), (Words{"farms.tss", "maps"}));
    EXPECT_EQ(offered({"run-script", "world.map", "farms.tss", "w"}), Words{"world.map"});
    EXPECT_EQ(offered({"guess-neighbours", "world.map", "out.map", ""}), Words{});
    EXPECT_EQ(offered({"--home", ""}), Words{"maps"});
}
