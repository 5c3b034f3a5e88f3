#include "cp1252.h"
#include "generated.h"
#include "imagewriters.h"

#include <FreeImage.h>

#include <QFile>

#include <map>
#include <set>

using namespace ts::datagen;
using ts::datagen::testing::generatedData;

namespace {

// Every command word of the map parser's tables.
const std::vector<QByteArray> kParserCommands = {"#thx2title",
                                                 "#imagefile",
                                                 "#thxversion",
                                                 "#thx2version",
                                                 "#thx3version",
                                                 "#scenario",
                                                 "#description",
                                                 "#maptextcol",
                                                 "#defaultmapzoom",
                                                 "#features",
                                                 "#nohomelandnames",
                                                 "#victorycondition",
                                                 "#victorypoints",
                                                 "#wraparound",
                                                 "#start",
                                                 "#nostart",
                                                 "#specstart",
                                                 "#allowedplayer",
                                                 "#computerplayer",
                                                 "#allies",
                                                 "#cannotwin",
                                                 "#dominionstr",
                                                 "#scale_chaos",
                                                 "#scale_lazy",
                                                 "#scale_cold",
                                                 "#scale_death",
                                                 "#scale_unluck",
                                                 "#scale_unmagic",
                                                 "#god",
                                                 "#land",
                                                 "#setland",
                                                 "#landname",
                                                 "#terrain",
                                                 "#poptype",
                                                 "#owner",
                                                 "#killfeatures",
                                                 "#feature",
                                                 "#knownfeature",
                                                 "#fort",
                                                 "#temple",
                                                 "#lab",
                                                 "#unrest",
                                                 "#population",
                                                 "#defence",
                                                 "#skybox",
                                                 "#batmap",
                                                 "#groundcol",
                                                 "#rockcol",
                                                 "#fogcol",
                                                 "#neighbour",
                                                 "#commander",
                                                 "#comname",
                                                 "#bodyguards",
                                                 "#units",
                                                 "#clearmagic",
                                                 "#mag_fire",
                                                 "#mag_air",
                                                 "#mag_water",
                                                 "#mag_earth",
                                                 "#mag_astral",
                                                 "#mag_death",
                                                 "#mag_nature",
                                                 "#mag_blood",
                                                 "#mag_priest",
                                                 "#xp",
                                                 "#randomequip",
                                                 "#additem"};

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<QPoint> white; // in the editor's numbering order, top-left coordinates
    int pureYellow = 0;
};

// Scans like the editor: rows from the bottom, left to right.
Pixels scan(const QString& path, FREE_IMAGE_FORMAT format) {
    Pixels result;
    FreeImage_Initialise(FALSE);
    FIBITMAP* bitmap = FreeImage_Load(format, QFile::encodeName(path).constData(), 0);
    EXPECT_NE(bitmap, nullptr) << path.toStdString();
    if (!bitmap) return result;
    result.width = static_cast<int>(FreeImage_GetWidth(bitmap));
    result.height = static_cast<int>(FreeImage_GetHeight(bitmap));
    for (int row = 0; row < result.height; ++row)
        for (int x = 0; x < result.width; ++x) {
            RGBQUAD c;
            FreeImage_GetPixelColor(bitmap, static_cast<unsigned>(x), static_cast<unsigned>(row), &c);
            if (c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 255)
                result.white.emplace_back(x, result.height - 1 - row);
            if (c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 0) ++result.pureYellow;
        }
    FreeImage_Unload(bitmap);
    return result;
}

QByteArrayList mapLines(const QString& relative) {
    QFile file(generatedData().file(relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
    return file.readAll().split('\n');
}

QByteArray commandOf(const QByteArray& line) {
    const qsizetype space = line.indexOf(' ');
    return space < 0 ? line : line.left(space);
}

const Pixels& samplePixels() {
    static const Pixels pixels = scan(generatedData().file(QStringLiteral("maps/aelfheim.tga")), FIF_TARGA);
    return pixels;
}

TEST(SampleMap, PictureHasOneWhitePixelPerProvinceClearOfTheEdges) {
    const Pixels& pixels = samplePixels();
    int provinces = 0;
    for (const QByteArray& line : mapLines(QStringLiteral("maps/aelfheim.map")))
        if (line.startsWith("#terrain ")) ++provinces;
    EXPECT_GE(provinces, 200);
    EXPECT_EQ(static_cast<int>(pixels.white.size()), provinces);
    EXPECT_NEAR(pixels.width, 1600, 100);
    EXPECT_NEAR(pixels.height, 1200, 100);
    for (const QPoint& at : pixels.white) {
        EXPECT_GE(at.x(), 12);
        EXPECT_GE(at.y(), 12);
        EXPECT_LT(at.x(), pixels.width - 12);
        EXPECT_LT(at.y(), pixels.height - 12);
    }
    EXPECT_EQ(pixels.pureYellow, 0);
}

TEST(SampleMap, NeighboursAreCloseAndEveryProvinceHasSome) {
    const Pixels& pixels = samplePixels();
    const int count = static_cast<int>(pixels.white.size());
    std::map<int, int> degree;
    std::set<std::pair<int, int>> seen;
    for (const QByteArray& line : mapLines(QStringLiteral("maps/aelfheim.map"))) {
        if (!line.startsWith("#neighbour ")) continue;
        const QByteArrayList parts = line.split(' ');
        const int a = parts[1].toInt(), b = parts[2].toInt();
        ASSERT_TRUE(a >= 1 && a <= count && b >= 1 && b <= count) << line.toStdString();
        EXPECT_TRUE(seen.insert({std::min(a, b), std::max(a, b)}).second)
            << "listed twice: " << line.toStdString();
        const QPoint pa = pixels.white[static_cast<std::size_t>(a - 1)],
                     pb = pixels.white[static_cast<std::size_t>(b - 1)];
        EXPECT_LT(std::abs(pa.x() - pb.x()), 100) << line.toStdString();
        EXPECT_LT(std::abs(pa.y() - pb.y()), 100) << line.toStdString();
        ++degree[a];
        ++degree[b];
    }
    for (int p = 1; p <= count; ++p) {
        EXPECT_GE(degree[p], 2) << p;
        EXPECT_LE(degree[p], 20) << p;
    }
}

TEST(SampleMap, UsesEveryParserCommandAndNoOther) {
    std::map<QByteArray, int> used;
    for (const QByteArray& line : mapLines(QStringLiteral("maps/aelfheim.map")))
        if (line.startsWith('#') && !line.startsWith("##")) ++used[commandOf(line)];
    for (const QByteArray& command : kParserCommands)
        EXPECT_GT(used[command], 0) << command.toStdString();
    const std::set<QByteArray> known(kParserCommands.begin(), kParserCommands.end());
    for (const auto& [command, times] : used)
        EXPECT_TRUE(known.count(command)) << command.toStdString();
    // The generator's own list is the same one.
    ASSERT_EQ(mapCommandWords().size(), kParserCommands.size());
    for (std::size_t i = 0; i < kParserCommands.size(); ++i)
        EXPECT_EQ(mapCommandWords()[i].toLatin1(), kParserCommands[i]);
}

TEST(SampleMap, TextIsWindows1252WithLfAndNamesFromTheTables) {
    QFile file(generatedData().file(QStringLiteral("maps/aelfheim.map")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.contains('\r'));
    EXPECT_FALSE(bytes.contains('\t'));
    EXPECT_FALSE(bytes.contains('\\'));
    for (char c : bytes)
        EXPECT_FALSE(static_cast<unsigned char>(c) >= 127 && static_cast<unsigned char>(c) <= 159);
    EXPECT_TRUE(bytes.contains("\xDEr\xFA\xF0vangr"));

    const ReferenceTables tables = makeReferenceTables(3);
    std::map<QByteArray, int> unitNames, siteNames;
    for (const UnitRow& unit : tables.units)
        ++unitNames[QByteArray::fromStdString(ts::toCp1252(unit.name)).toUpper()];
    for (const SiteRow& site : tables.sites)
        ++siteNames[QByteArray::fromStdString(ts::toCp1252(site.name)).toUpper()];
    int quoted = 0, numbered = 0;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray command = commandOf(line);
        const bool unitRef =
            command == "#commander" || command == "#god" || command == "#bodyguards" || command == "#units";
        const bool siteRef = command == "#feature" || command == "#knownfeature";
        if (!unitRef && !siteRef) continue;
        // The reference is the last argument the parser splits off.
        const int skip = command == "#commander" || siteRef ? 1 : 2;
        QByteArray ref = line;
        for (int i = 0; i < skip; ++i)
            ref = ref.mid(ref.indexOf(' ') + 1);
        const qsizetype comment = ref.indexOf("--");
        if (comment >= 0) ref = ref.left(comment).trimmed();
        if (ref.startsWith('"')) {
            ++quoted;
            const QByteArray name = ref.mid(1, ref.size() - 2).toUpper();
            EXPECT_EQ((unitRef ? unitNames : siteNames)[name], 1) << line.toStdString();
        } else {
            ++numbered;
            const int number = ref.toInt();
            const bool known = unitRef ? tables.unit(number) != nullptr
                                       : std::any_of(tables.sites.begin(), tables.sites.end(),
                                                     [&](const SiteRow& s) { return s.number == number; });
            EXPECT_TRUE(known) << line.toStdString();
        }
    }
    EXPECT_GT(quoted, 10);
    EXPECT_GT(numbered, 50);
}

TEST(SampleMap, SgiTwinHasTheSamePixelsAndDiffersOnlyInItsImageLine) {
    const Pixels sgi = scan(generatedData().file(QStringLiteral("maps/aelfheim_sgi.rgb")), FIF_SGI);
    EXPECT_EQ(sgi.white, samplePixels().white);
    EXPECT_EQ(sgi.width, samplePixels().width);
    const QByteArrayList targaLines = mapLines(QStringLiteral("maps/aelfheim.map"));
    const QByteArrayList sgiLines = mapLines(QStringLiteral("maps/aelfheim_sgi.map"));
    ASSERT_EQ(targaLines.size(), sgiLines.size());
    for (qsizetype i = 0; i < targaLines.size(); ++i) {
        if (targaLines[i].startsWith("#imagefile ")) {
            EXPECT_EQ(targaLines[i], QByteArray("#imagefile aelfheim.tga"));
            EXPECT_EQ(sgiLines[i], QByteArray("#imagefile aelfheim_sgi.rgb"));
        } else {
            EXPECT_EQ(targaLines[i], sgiLines[i]);
        }
    }
}

TEST(StressMap, HasTheMostProvincesAMapCanHoldEachWithDetails) {
    const ts::TempFolder& folder = ts::datagen::testing::generatedStress();
    const Pixels pixels = scan(folder.file(QStringLiteral("stress.tga")), FIF_TARGA);
    EXPECT_EQ(pixels.width, 4000);
    EXPECT_EQ(pixels.height, 3000);
    EXPECT_EQ(pixels.white.size(), 2599u);
    QFile file(folder.file(QStringLiteral("stress.map")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<QByteArray, int> used;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith('#')) ++used[commandOf(line)];
    EXPECT_EQ(used["#terrain"], 2599);
    EXPECT_EQ(used["#landname"], 2599);
    EXPECT_EQ(used["#land"] + used["#setland"], 2599);
    EXPECT_GE(used["#commander"], 3 * 2599);
    EXPECT_GE(used["#owner"], 2599);
    EXPECT_GT(used["#feature"], 2599);
    EXPECT_GT(used["#bodyguards"], 2599);
    EXPECT_GT(used["#additem"], 2599);
}

} // namespace
