#include "generated.h"
#include "styleworld.h"

#include <FreeImage.h>

#include <QFile>

#include <algorithm>
#include <map>
#include <set>

using namespace ts::datagen;
using ts::datagen::testing::generatedData;

namespace {

// Every command word of the map parser's tables.
const QByteArrayList kParserCommands =
    QByteArray("#thx2title #imagefile #thxversion #thx2version #thx3version #scenario #description "
               "#maptextcol #defaultmapzoom #features #nohomelandnames #victorycondition #victorypoints "
               "#wraparound #start #nostart #specstart #allowedplayer #computerplayer #allies #cannotwin "
               "#dominionstr #scale_chaos #scale_lazy #scale_cold #scale_death #scale_unluck #scale_unmagic "
               "#god #land #setland #landname #terrain #poptype #owner #killfeatures #feature #knownfeature "
               "#fort #temple #lab #unrest #population #defence #skybox #batmap #groundcol #rockcol #fogcol "
               "#neighbour #commander #comname #bodyguards #units #clearmagic #mag_fire #mag_air #mag_water "
               "#mag_earth #mag_astral #mag_death #mag_nature #mag_blood #mag_priest #xp #randomequip "
               "#additem")
        .split(' ');

QByteArrayList mapLines() {
    QFile file(generatedData().file(QStringLiteral("maps/aelfheim.map")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().split('\n');
}

// The pure white pixels of a generated picture, top-left origin, in the editor's scan order (rows
// from the bottom, left to right); pure red and blue pixels are counted into reserved.
std::vector<QPoint> whitePixels(const QString& relative, int& width, int& height, int* reserved = nullptr) {
    FreeImage_Initialise(FALSE);
    const QString picture = generatedData().file(relative);
    FIBITMAP* bitmap = FreeImage_Load(FIF_TARGA, QFile::encodeName(picture).constData(), 0);
    EXPECT_NE(bitmap, nullptr) << relative.toStdString();
    if (!bitmap) return {};
    width = int(FreeImage_GetWidth(bitmap));
    height = int(FreeImage_GetHeight(bitmap));
    const int bytes = int(FreeImage_GetBPP(bitmap)) / 8;
    EXPECT_GE(bytes, 3);
    std::vector<QPoint> white;
    for (int row = 0; bytes >= 3 && row < height; ++row) {
        const BYTE* line = FreeImage_GetScanLine(bitmap, row);
        for (int x = 0; x < width; ++x) {
            const BYTE* c = line + x * bytes;
            const int red = c[FI_RGBA_RED], green = c[FI_RGBA_GREEN], blue = c[FI_RGBA_BLUE];
            if (red == 255 && green == 255 && blue == 255)
                white.emplace_back(x, height - 1 - row);
            else if (reserved && green == 0 && red + blue == 255 && (red == 0 || blue == 0))
                ++*reserved;
        }
    }
    FreeImage_Unload(bitmap);
    return white;
}

TEST(SampleMap, OneWhitePixelPerProvinceClearOfTheEdgesAndNeighboursClose) {
    int width = 0, height = 0;
    const std::vector<QPoint> white = whitePixels(QStringLiteral("maps/aelfheim.tga"), width, height);
    const QByteArrayList lines = mapLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const QByteArray& l) { return l.startsWith("#terrain "); }),
              qsizetype(white.size()));
    EXPECT_GE(white.size(), 200u);
    for (const QPoint& at : white)
        EXPECT_TRUE(at.x() >= 12 && at.y() >= 12 && at.x() < width - 12 && at.y() < height - 12)
            << at.x() << "," << at.y();
    std::map<int, int> degree;
    for (const QByteArray& line : lines) {
        const QByteArrayList parts = line.split(' ');
        if (parts[0] != "#neighbour") continue;
        const std::size_t a = parts[1].toUInt(), b = parts[2].toUInt();
        ASSERT_TRUE(a >= 1 && a <= white.size() && b >= 1 && b <= white.size()) << line.toStdString();
        const QPoint gap = white[a - 1] - white[b - 1];
        EXPECT_TRUE(std::abs(gap.x()) < 100 && std::abs(gap.y()) < 100) << line.toStdString();
        ++degree[int(a)];
        ++degree[int(b)];
    }
    for (int p = 1; p <= int(white.size()); ++p)
        EXPECT_GE(degree[p], 2) << p;
}

// Every style map: as many white pixels as provinces, each where the generator put it, and no pure
// red or blue that the exact guess would take for a border.
TEST(StyleMaps, TheProvincePixelsAreTheOnlyReservedColours) {
    for (const ArtStyle style : {ArtStyle::Painted, ArtStyle::Tiles, ArtStyle::Borders, ArtStyle::Rivers}) {
        const StyleWorld world = makeStyleWorld(style, 3);
        const QString name = QStringLiteral("maps/%1.tga").arg(QString::fromLatin1(styleMapName(style)));
        int width = 0, height = 0, reserved = 0;
        const std::vector<QPoint> white = whitePixels(name, width, height, &reserved);
        EXPECT_EQ(reserved, 0) << name.toStdString();
        std::set<std::pair<int, int>> expected, found;
        for (std::size_t p = 0; p < world.layout.x.size(); ++p)
            expected.insert({world.layout.x[p], world.layout.y[p]});
        for (const QPoint& at : white)
            found.insert({at.x(), at.y()});
        EXPECT_EQ(found, expected) << name.toStdString();
    }
}

TEST(SampleMap, UsesEveryParserCommandAndNoOther) {
    // Joined into one text so that a failure names the words.
    const auto joined = [](const std::set<QByteArray>& words) {
        return QByteArrayList(words.begin(), words.end()).join(' ').toStdString();
    };
    std::set<QByteArray> used;
    for (const QByteArray& line : mapLines())
        if (line.startsWith('#') && !line.startsWith("##")) used.insert(line.split(' ').first());
    EXPECT_EQ(joined(used), joined({kParserCommands.begin(), kParserCommands.end()}));
    // The generator's own list is the same one.
    QByteArrayList generatorWords;
    for (const QString& word : mapCommandWords())
        generatorWords << word.toLatin1();
    EXPECT_EQ(generatorWords.join(' ').toStdString(), kParserCommands.join(' ').toStdString());
}

} // namespace
