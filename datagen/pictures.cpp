#include "pictures.h"

#include "bitfont.h"
#include "rng.h"

#include "paths.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace ts::datagen {

namespace {

struct PathColour {
    const char* word;
    const char* letter;
    QColor colour;
};

const std::vector<PathColour>& pathColours() {
    static const std::vector<PathColour> paths = {
        {"Fire", "F", QColor(230, 80, 30)},    {"Air", "A", QColor(150, 210, 240)},
        {"Water", "W", QColor(40, 90, 220)},   {"Earth", "E", QColor(150, 100, 50)},
        {"Astral", "S", QColor(170, 80, 220)}, {"Death", "D", QColor(70, 70, 70)},
        {"Nature", "N", QColor(50, 170, 60)},  {"Blood", "B", QColor(150, 10, 20)},
        {"Holy", "H", QColor(240, 200, 60)}};
    return paths;
}

QColor textColourFor(QColor background) {
    return background.lightness() > 140 ? QColor(20, 20, 20) : QColor(250, 250, 250);
}

// A gem: a diamond in the path's colour with its letter.
QImage gemPicture(QColor colour, const QString& letter) {
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(QColor(40, 36, 32));
    {
        QPainter painter(&image);
        QPainterPath diamond;
        diamond.moveTo(12, 1);
        diamond.lineTo(23, 12);
        diamond.lineTo(12, 23);
        diamond.lineTo(1, 12);
        diamond.closeSubpath();
        painter.fillPath(diamond, colour);
    }
    drawCentredText(image, letter, textColourFor(colour), 2);
    return image;
}

QImage labelledTile(QColor colour, const QString& label, int size = 32) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    {
        QPainter painter(&image);
        painter.setPen(colour.darker(170));
        painter.drawRect(0, 0, size - 1, size - 1);
    }
    drawCentredText(image, label, textColourFor(colour), 3);
    return image;
}

bool saveImage(const QImage& picture, const QString& path, const char* format, QString* error) {
    // The default resolution comes from the screen when there is one; fix it so the bytes do not.
    QImage image = picture;
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    const bool ok = QString::fromLatin1(format) == QLatin1String("JPG") ? image.save(path, format, 85)
                                                                        : image.save(path, format);
    if (!ok && error) *error = QStringLiteral("cannot write ") + path;
    return ok;
}

QImage background(std::uint64_t seed) {
    Rng rng(seed ^ 0xF07E);
    QImage image(1024, 768, QImage::Format_RGB32);
    image.fill(QColor(14, 10, 8));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Forge glow rising from the bottom.
    QRadialGradient glow(QPointF(512, 700), 520);
    glow.setColorAt(0.0, QColor(255, 150, 40));
    glow.setColorAt(0.25, QColor(170, 60, 10));
    glow.setColorAt(0.6, QColor(50, 18, 6));
    glow.setColorAt(1.0, QColor(14, 10, 8));
    painter.fillRect(image.rect(), glow);
    // Anvil.
    QPainterPath anvil;
    anvil.moveTo(330, 560);
    anvil.lineTo(700, 560);
    anvil.quadTo(760, 565, 790, 540);
    anvil.lineTo(790, 590);
    anvil.lineTo(620, 600);
    anvil.lineTo(600, 650);
    anvil.lineTo(660, 700);
    anvil.lineTo(380, 700);
    anvil.lineTo(440, 650);
    anvil.lineTo(420, 600);
    anvil.lineTo(330, 590);
    anvil.closeSubpath();
    painter.fillPath(anvil, QColor(22, 20, 22));
    painter.setPen(QPen(QColor(120, 60, 20), 2));
    painter.drawPath(anvil);
    // Sparks.
    for (int i = 0; i < 260; ++i) {
        const double angle = -M_PI / 2 + (rng.unit() - 0.5) * 2.2;
        const double distance = 30 + rng.unit() * 420;
        const QPointF at(560 + std::cos(angle) * distance, 540 + std::sin(angle) * distance);
        const int heat = rng.range(120, 255);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, heat, heat / 4));
        const double radius = 0.8 + rng.unit() * 2.2;
        painter.drawEllipse(at, radius, radius);
    }
    painter.end();
    const QString word = QStringLiteral("Tessary");
    const int scale = 14;
    const int left = (image.width() - glyphTextWidth(word, scale)) / 2;
    drawGlyphText(image, left + 6, 126, word, scale, QColor(60, 20, 5));
    drawGlyphText(image, left, 120, word, scale, QColor(255, 190, 70));
    const QString subtitle = QStringLiteral("Map editor for Thraxis 3");
    drawGlyphText(image, (image.width() - glyphTextWidth(subtitle, 3)) / 2, 250, subtitle, 3,
                  QColor(220, 140, 60));
    return image;
}

QImage flagPicture(const NationRow& nation) {
    Rng rng(static_cast<std::uint64_t>(nation.number) * 7919 + 17);
    QImage image(40, 26, QImage::Format_RGB32);
    const QColor first = QColor::fromHsv(rng.range(0, 359), rng.range(120, 230), rng.range(110, 220));
    const QColor second = QColor::fromHsv(rng.range(0, 359), rng.range(60, 200), rng.range(150, 240));
    image.fill(first);
    {
        QPainter painter(&image);
        switch (nation.number % 3) {
        case 0:
            painter.fillRect(0, 13, 40, 13, second);
            break;
        case 1:
            painter.fillRect(20, 0, 20, 26, second);
            break;
        default:
            painter.fillRect(14, 0, 10, 26, second);
            painter.fillRect(0, 9, 40, 8, second);
            break;
        }
        // Era band along the top: green for early, amber for middle, red for late.
        const QColor era = nation.era == QLatin1String("EA")   ? QColor(40, 160, 40)
                           : nation.era == QLatin1String("MA") ? QColor(220, 160, 30)
                                                               : QColor(180, 30, 30);
        painter.fillRect(0, 0, 40, 3, era);
        painter.setPen(QColor(10, 10, 10));
        painter.drawRect(0, 0, 39, 25);
    }
    QImage letterBox(18, 18, QImage::Format_RGB32);
    letterBox.fill(first.darker(150));
    drawCentredText(letterBox, nation.name.left(1), QColor(250, 250, 240), 2);
    QPainter(&image).drawImage(3, 5, letterBox);
    return image;
}

QImage spritePicture(const UnitRow& unit) {
    Rng rng(static_cast<std::uint64_t>(unit.number) * 104729 + 3);
    QImage image(48, 48, QImage::Format_RGB32);
    const QColor back = unit.kind == UnitKind::God         ? QColor(120, 90, 20)
                        : unit.kind == UnitKind::Commander ? QColor(30, 50, 100)
                                                           : QColor(70, 70, 70);
    image.fill(back);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor body = QColor::fromHsv(rng.range(0, 359), rng.range(80, 220), rng.range(140, 240));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    QPainterPath torso;
    torso.moveTo(14, 44);
    torso.lineTo(18, 22);
    torso.lineTo(30, 22);
    torso.lineTo(34, 44);
    torso.closeSubpath();
    painter.drawPath(torso);
    painter.setBrush(QColor(230, 190, 150));
    painter.drawEllipse(QPointF(24, 14), 7, 7);
    if (unit.kind != UnitKind::Troop) {
        painter.setBrush(QColor(250, 210, 60));
        painter.drawRect(18, 4, 12, 3);
    }
    painter.end();
    drawGlyphText(image, 2, 2, unit.name.left(1), 1, QColor(255, 255, 255));
    return image;
}

} // namespace

const std::vector<IconEntry>& iconTable() {
    static const std::vector<IconEntry> table = [] {
        std::vector<IconEntry> list;
        for (const PathColour& p : pathColours()) {
            list.push_back({QStringLiteral("path%1.bmp").arg(QLatin1String(p.word)),
                            QStringLiteral("gem row with gems; commander magic icons")});
            list.push_back({QStringLiteral("bpath%1.bmp").arg(QLatin1String(p.word)),
                            QStringLiteral("gem row without gems; commander magic icons when unset")});
        }
        for (const PathColour& p : pathColours())
            list.push_back({QStringLiteral("site%1.bmp").arg(QLatin1String(p.word)),
                            QStringLiteral("site picture: \"site\" + site type word")});
        const char* panel[][2] = {{"blank.bmp", "empty site, unit and icon slots"},
                                  {"fort.bmp", "province fort icon"},
                                  {"lab.bmp", "province lab icon"},
                                  {"temple.bmp", "province temple icon"},
                                  {"victorypoint.bmp", "province victory-point icon"},
                                  {"nostart.bmp", "terrain icon: no start"},
                                  {"small.bmp", "terrain icon: small province"},
                                  {"large.bmp", "terrain icon: large province"},
                                  {"sea.bmp", "terrain icon: sea"},
                                  {"deepsea.bmp", "terrain icon: deep sea"},
                                  {"somewater.bmp", "terrain icon: fresh water"},
                                  {"mountain.bmp", "terrain icon: mountains or border mountains"},
                                  {"swamp.bmp", "terrain icon: swamp"},
                                  {"waste.bmp", "terrain icon: wasteland"},
                                  {"forest.bmp", "terrain icon: forest"},
                                  {"farm.bmp", "terrain icon: farm land"},
                                  {"cave.bmp", "terrain icon: cave"},
                                  {"manysites.bmp", "terrain icon: many sites"},
                                  {"specialsite.bmp", "terrain icon: a site-type flag is set"},
                                  {"norecruitables.bmp", "population type with nothing to recruit"},
                                  {"Tessary.jpg", "background behind the map area (default setting)"}};
        for (const auto& entry : panel)
            list.push_back({QString::fromLatin1(entry[0]), QString::fromLatin1(entry[1])});
        return list;
    }();
    return table;
}

QString flagFileName(const NationRow& nation) {
    return nation.era.toLower() + QLatin1Char('_') + nation.name.toLower() + QStringLiteral("_icon.bmp");
}

QString spriteFileName(int unitNumber) {
    // The four-digit form of Format "0000": a negative number keeps its sign before the digits.
    if (unitNumber < 0)
        return QStringLiteral("-") + QStringLiteral("%1").arg(-unitNumber, 4, 10, QLatin1Char('0')) +
               QStringLiteral(".jpg");
    return QStringLiteral("%1.jpg").arg(unitNumber, 4, 10, QLatin1Char('0'));
}

bool writeIcons(const QString& folder, std::uint64_t seed, QString* error) {
    QDir().mkpath(folder);
    struct Look {
        const char* file;
        QColor colour;
        const char* label;
    };
    const std::vector<Look> looks = {{"blank.bmp", QColor(90, 90, 90), ""},
                                     {"fort.bmp", QColor(130, 120, 110), "FT"},
                                     {"lab.bmp", QColor(90, 60, 160), "LB"},
                                     {"temple.bmp", QColor(230, 220, 180), "TP"},
                                     {"victorypoint.bmp", QColor(240, 200, 40), "VP"},
                                     {"nostart.bmp", QColor(200, 40, 40), "NS"},
                                     {"small.bmp", QColor(200, 200, 160), "SM"},
                                     {"large.bmp", QColor(160, 160, 110), "LG"},
                                     {"sea.bmp", QColor(60, 110, 190), "SE"},
                                     {"deepsea.bmp", QColor(20, 40, 110), "DS"},
                                     {"somewater.bmp", QColor(110, 170, 230), "FW"},
                                     {"mountain.bmp", QColor(140, 130, 120), "MT"},
                                     {"swamp.bmp", QColor(90, 110, 70), "SW"},
                                     {"waste.bmp", QColor(210, 180, 120), "WS"},
                                     {"forest.bmp", QColor(40, 110, 50), "FO"},
                                     {"farm.bmp", QColor(190, 200, 80), "FA"},
                                     {"cave.bmp", QColor(60, 50, 45), "CV"},
                                     {"manysites.bmp", QColor(180, 120, 220), "MS"},
                                     {"specialsite.bmp", QColor(220, 120, 180), "SP"},
                                     {"norecruitables.bmp", QColor(60, 60, 60), "NR"}};
    for (const Look& look : looks) {
        const QImage image = labelledTile(look.colour, QString::fromLatin1(look.label));
        if (!saveImage(image, joinPath(folder, QString::fromLatin1(look.file)), "BMP", error)) return false;
    }
    for (const PathColour& p : pathColours()) {
        const QString word = QString::fromLatin1(p.word);
        const QString letter = QString::fromLatin1(p.letter);
        if (!saveImage(gemPicture(p.colour, letter),
                       joinPath(folder, QStringLiteral("path") + word + QStringLiteral(".bmp")), "BMP",
                       error))
            return false;
        const int grey = qGray(p.colour.rgb()) / 2 + 60;
        if (!saveImage(gemPicture(QColor(grey, grey, grey), letter),
                       joinPath(folder, QStringLiteral("bpath") + word + QStringLiteral(".bmp")), "BMP",
                       error))
            return false;
        // Site pictures: a framed tile in the path colour with the type's first two letters.
        QImage site = labelledTile(p.colour.darker(120), word.left(2).toUpper());
        {
            QPainter painter(&site);
            painter.setPen(QPen(p.colour.lighter(150), 2));
            painter.drawEllipse(3, 3, 25, 25);
        }
        if (!saveImage(site, joinPath(folder, QStringLiteral("site") + word + QStringLiteral(".bmp")), "BMP",
                       error))
            return false;
    }
    return saveImage(background(seed), joinPath(folder, QStringLiteral("Tessary.jpg")), "JPG", error);
}

bool writeFlags(const QString& folder, const ReferenceTables& tables, QString* error) {
    QDir().mkpath(folder);
    for (const NationRow& nation : tables.nations)
        if (!saveImage(flagPicture(nation), joinPath(folder, flagFileName(nation)), "BMP", error))
            return false;
    return true;
}

std::vector<int> spriteUnits(const ReferenceTables& tables) {
    std::vector<int> numbers;
    for (const UnitRow& unit : tables.units)
        if (unit.kind == UnitKind::God || unit.number % 8 == 0) numbers.push_back(unit.number);
    return numbers;
}

bool writeSprites(const QString& folder, const ReferenceTables& tables, QString* error) {
    QDir().mkpath(folder);
    for (int number : spriteUnits(tables))
        if (!saveImage(spritePicture(*tables.unit(number)), joinPath(folder, spriteFileName(number)), "JPG",
                       error))
            return false;
    QImage none(48, 48, QImage::Format_RGB32);
    none.fill(QColor(50, 50, 50));
    drawCentredText(none, QStringLiteral("?"), QColor(200, 200, 200), 4);
    if (!saveImage(none, joinPath(folder, QStringLiteral("NOIMAGE.jpg")), "JPG", error)) return false;
    // The empty recruit slot of the site table (-666) asks for this name.
    QImage empty(48, 48, QImage::Format_RGB32);
    empty.fill(QColor(30, 30, 30));
    drawCentredText(empty, QStringLiteral("-"), QColor(120, 120, 120), 4);
    return saveImage(empty, joinPath(folder, spriteFileName(-666)), "JPG", error);
}

} // namespace ts::datagen
