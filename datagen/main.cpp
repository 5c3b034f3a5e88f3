// tessary-datagen: writes the sample data set (reference tables, pictures, name files, scripts,
// templates, palettes and a sample map) or, on demand, a stress map with the most provinces a
// map can have.

#include "datagen.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing needs a GUI application but no screen.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes Tessary's sample data set."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Write the data folders into <dir>."),
                                 QStringLiteral("dir"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the data (default %1).").arg(ts::datagen::kSampleSeed),
                                  QStringLiteral("n"), QString::number(ts::datagen::kSampleSeed));
    const QCommandLineOption stress(
        QStringLiteral("stress"), QStringLiteral("Write the stress map into <dir>."), QStringLiteral("dir"));
    const QCommandLineOption styles(QStringLiteral("styles"),
                                    QStringLiteral("Write only the art-style test maps into <dir> (with --seed, that seed's world "
                                                   "of each style)."),
                                    QStringLiteral("dir"));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Write a PNG of the sample map picture, 800 px wide."),
                                     QStringLiteral("file"));
    parser.addOptions({out, seed, stress, styles, preview});
    parser.process(app);

    bool seedOk = false;
    const auto seedValue = static_cast<std::uint64_t>(parser.value(seed).toULongLong(&seedOk));
    if (!seedOk || (!parser.isSet(out) && !parser.isSet(stress) && !parser.isSet(styles) && !parser.isSet(preview))) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    QString error;
    if (parser.isSet(out) && !ts::datagen::generateAll(parser.value(out), seedValue, &error)) {
        std::fprintf(stderr, "tessary-datagen: %s\n", qPrintable(error));
        return 1;
    }
    if (parser.isSet(stress) && !ts::datagen::generateStress(parser.value(stress), seedValue, &error)) {
        std::fprintf(stderr, "tessary-datagen: %s\n", qPrintable(error));
        return 1;
    }
    // Without a seed, the style maps of the shipped set; with one, that seed's world of every style.
    const auto world = parser.isSet(seed) ? std::optional<std::uint64_t>(seedValue) : std::nullopt;
    if (parser.isSet(styles) && !ts::datagen::generateStyleMaps(parser.value(styles), world, &error)) {
        std::fprintf(stderr, "tessary-datagen: %s\n", qPrintable(error));
        return 1;
    }
    if (parser.isSet(preview)) {
        QImage picture;
        ts::datagen::makeMapLayout(seedValue, ts::datagen::MapOptions{}, picture);
        if (!picture.scaledToWidth(800, Qt::SmoothTransformation).save(parser.value(preview), "PNG")) {
            std::fprintf(stderr, "tessary-datagen: cannot write %s\n", qPrintable(parser.value(preview)));
            return 1;
        }
    }
    return 0;
}
