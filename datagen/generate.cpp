#include "datagen.h"
#include "imagewriters.h"
#include "pictures.h"
#include "styleworld.h"

#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ts::datagen {

namespace {

bool writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size())
        return true;
    if (error) *error = QStringLiteral("cannot write ") + path;
    return false;
}

bool writeFiles(const QString& outFolder, const FileSet& files, QString* error) {
    for (const auto& [relative, bytes] : files)
        if (!writeFile(joinPath(outFolder, relative), bytes, error)) return false;
    return true;
}

const QString kSampleTitle = QStringLiteral("Ælfheim and the Shattered Coast");
const QString kPaintedTitle = QStringLiteral("Ælfheim, Painted by Hand");

struct StyleMap {
    ArtStyle style;
    const char* name;
    const char* title;
    // The world the sample set holds, whatever its seed. Worlds differ in how hard they are to read:
    // on some, copying the terrain of the nearest-coloured province gets more right than it does on
    // real art (74 to 81% of the flags, 81 to 96% of sea or land). The sample keeps world 3 where it
    // is as hard as that, else the first from 1 up that is.
    std::uint64_t sampleWorld;
};

const StyleMap kStyleMaps[] = {
    {ArtStyle::Painted, "style_painted", "The Painted Isle", 1},
    {ArtStyle::Tiles, "style_tiles", "A World of Tiles", 4},
    {ArtStyle::Borders, "style_borders", "Inked Borders", 3},
    {ArtStyle::Rivers, "style_rivers", "Rivers and Roads", 3},
};

} // namespace

const char* styleMapName(ArtStyle style) {
    for (const StyleMap& map : kStyleMaps)
        if (map.style == style) return map.name;
    return "";
}

std::uint64_t sampleWorldOf(ArtStyle style) {
    for (const StyleMap& map : kStyleMaps)
        if (map.style == style) return map.sampleWorld;
    return 0;
}

namespace {

// Every style in the world of the given seed, or with no seed in the sample's own worlds.
bool writeStyleMaps(const QString& folder, std::optional<std::uint64_t> worldSeed, const ReferenceTables& tables,
                    QString* error) {
    QDir().mkpath(folder);
    for (const StyleMap& map : kStyleMaps) {
        const std::uint64_t seed = worldSeed.value_or(map.sampleWorld);
        const StyleWorld world = makeStyleWorld(map.style, seed);
        const QImage picture = map.style == ArtStyle::Tiles ? paintTileWorld(world, seed) : paintStyleWorld(world, seed);
        const QString name = QString::fromLatin1(map.name);
        if (!writeTarga(picture, joinPath(folder, name + QStringLiteral(".tga")), true, false)) {
            if (error) *error = QStringLiteral("cannot write the picture of ") + name + QStringLiteral(" in ") + folder;
            return false;
        }
        // None of these pictures continues across its edges.
        QByteArray text = makeMapText(seed + static_cast<std::uint64_t>(map.style) + 1, tables, world.layout,
                                      name + QStringLiteral(".tga"), QString::fromLatin1(map.title), false);
        text.replace("#wraparound\n", "");
        if (!writeFile(joinPath(folder, name + QStringLiteral(".map")), text, error)) return false;
    }
    return true;
}

} // namespace

bool generateStyleMaps(const QString& folder, std::optional<std::uint64_t> world, QString* error) {
    return writeStyleMaps(folder, world, makeReferenceTables(world.value_or(kSampleSeed)), error);
}

bool generateAll(const QString& outFolder, std::uint64_t seed, QString* error) {
    const ReferenceTables tables = makeReferenceTables(seed);
    if (!writeFiles(outFolder, tables.files, error)) return false;
    if (!writeIcons(joinPath(outFolder, QStringLiteral("TSicons")), seed, error)) return false;
    if (!writeFlags(joinPath(outFolder, QStringLiteral("TSflags")), tables, error)) return false;
    if (!writeSprites(joinPath(outFolder, QStringLiteral("TSsprites")), tables, error)) return false;
    for (const FileSet& files :
         {makeNameFiles(), makeScripts(tables), makeTemplates(tables), makePalettes(tables)})
        if (!writeFiles(outFolder, files, error)) return false;

    QImage picture;
    const MapLayout layout = makeMapLayout(seed, MapOptions{}, picture);
    const QString maps = joinPath(outFolder, QStringLiteral("maps"));
    QDir().mkpath(maps);
    const QString name = QString::fromLatin1(kSampleMapName);
    const QString targa = name + QStringLiteral(".tga");
    const QString sgi = name + QStringLiteral("_sgi.rgb");
    if (!writeTarga(picture, joinPath(maps, targa), true, false) ||
        !writeSgi(picture, joinPath(maps, sgi), true, false)) {
        if (error) *error = QStringLiteral("cannot write the map pictures in ") + maps;
        return false;
    }
    // The two map files differ only in the picture they name.
    if (!writeFile(joinPath(maps, name + QStringLiteral(".map")),
                   makeMapText(seed, tables, layout, targa, kSampleTitle, false), error) ||
        !writeFile(joinPath(maps, name + QStringLiteral("_sgi.map")),
                   makeMapText(seed, tables, layout, sgi, kSampleTitle, false), error))
        return false;

    QImage painted;
    const MapLayout paintedLayout = makePaintedLayout(seed, painted);
    const QString paintedName = QString::fromLatin1(kPaintedMapName);
    if (!writeTarga(painted, joinPath(maps, paintedName + QStringLiteral(".tga")), true, false)) {
        if (error) *error = QStringLiteral("cannot write the painted map picture in ") + maps;
        return false;
    }
    // Its picture does not continue across its edges, so the map does not say it wraps.
    QByteArray paintedText =
        makeMapText(seed, tables, paintedLayout, paintedName + QStringLiteral(".tga"), kPaintedTitle, false);
    paintedText.replace("#wraparound\n", "");
    return writeFile(joinPath(maps, paintedName + QStringLiteral(".map")), paintedText, error) &&
           writeStyleMaps(maps, std::nullopt, tables, error);
}

bool generateStress(const QString& folder, std::uint64_t seed, QString* error) {
    const ReferenceTables tables = makeReferenceTables(seed);
    MapOptions options;
    options.width = 4000;
    options.height = 3000;
    options.spacing = 65;
    options.spacingY = 69;
    options.jitter = 3;
    options.warp = 10;
    options.maxProvinces = 2599;
    options.stress = true;
    QImage picture;
    const MapLayout layout = makeMapLayout(seed + 1000, options, picture);
    QDir().mkpath(folder);
    if (!writeTarga(picture, joinPath(folder, QStringLiteral("stress.tga")), true, false)) {
        if (error) *error = QStringLiteral("cannot write the stress picture in ") + folder;
        return false;
    }
    return writeFile(joinPath(folder, QStringLiteral("stress.map")),
                     makeMapText(seed + 1000, tables, layout, QStringLiteral("stress.tga"),
                                 QStringLiteral("Stress: 2599 provinces"), true),
                     error);
}

} // namespace ts::datagen
