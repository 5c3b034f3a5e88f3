// Tile art: the picture is a grid of small glyph tiles in high contrast, as in the world maps made
// from a game's tile set. Nothing marks a border; the tiles only tell the ground.

#include "styleworld.h"

#include <QPainter>
#include <QPainterPath>

#include <set>

namespace ts::datagen {

namespace {

enum Tile { Grass, Forest, Farm, Peak, Ruins, Reeds, Waves, DeepWaves, Pond, Stream, Islet, Cave, kTileKinds };
constexpr int kVariants = 4;

void outlined(QPainter& p, const QPainterPath& path, QColor fill) {
    p.setPen(QPen(QColor(20, 18, 16), 1));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

void waves(QPainter& p, Rng& rng, QColor line) {
    p.setPen(QPen(line, 1));
    for (int row = 0; row < 3; ++row) {
        const int y = 4 + row * 7 + rng.range(-1, 1), x = rng.range(0, 5);
        p.drawArc(QRect(x, y, 6, 4), 0, 180 * 16);
        p.drawArc(QRect(x + 6, y, 6, 4), 180 * 16, 180 * 16);
    }
}

QImage drawTile(Tile kind, Rng& rng, int tw, int th) {
    static const QColor grounds[kTileKinds] = {{98, 164, 66},  {62, 124, 52},  {204, 182, 92},  {150, 140, 122},
                                               {212, 190, 140}, {102, 122, 80}, {48, 98, 182},   {24, 52, 128},
                                               {72, 132, 204}, {62, 122, 212}, {48, 98, 182},   {128, 118, 104}};
    QImage tile(tw, th, QImage::Format_RGB32);
    tile.fill(grounds[kind]);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (kind) {
    case Grass:
        for (int k = 0; k < 4; ++k) {
            const int x = rng.range(1, tw - 5), y = rng.range(4, th - 3);
            p.setPen(QPen(k % 2 ? QColor(30, 92, 30) : QColor(170, 220, 100), 1));
            p.drawLine(x, y, x + 2, y - 3);
            p.drawLine(x + 2, y - 3, x + 4, y);
        }
        break;
    case Forest:
        for (int k = 0; k < 2; ++k) {
            const double x = 4 + k * 7 + rng.range(-1, 1), y = 4 + k * 9 + rng.range(0, 3);
            p.fillRect(QRectF(x - 0.5, y + 7, 2, 3), QColor(90, 56, 30));
            outlined(p, triangle({x, y}, {x - 4, y + 8}, {x + 4, y + 8}), QColor(22, 84, 34));
        }
        break;
    case Farm:
        p.setPen(QPen(QColor(150, 122, 52), 1));
        for (int y = rng.range(1, 3); y < th; y += 4)
            p.drawLine(0, y, tw, y);
        p.setPen(QPen(QColor(72, 110, 40), 1));
        p.drawLine(rng.range(5, 10), 0, rng.range(5, 10), th);
        break;
    case Peak: {
        const double top = rng.range(3, 7), cx = tw / 2.0 + rng.range(-1, 1);
        outlined(p, triangle({cx, top}, {1, th - 3.0}, {tw - 1.0, th - 3.0}), QColor(196, 186, 166));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(88, 78, 68));
        p.drawPath(triangle({cx, top + 1}, {cx + 1, th - 4.0}, {tw - 2.5, th - 4.0}));
        p.setBrush(QColor(236, 238, 240));
        p.drawPath(triangle({cx, top + 1}, {cx - 2.5, top + 5}, {cx + 2.5, top + 5}));
        break;
    }
    case Ruins:
        for (int k = 0; k < 3; ++k) {
            const int x = 2 + k * 4 + rng.range(0, 1), h = rng.range(4, 10);
            p.setPen(QPen(QColor(30, 26, 22), 1));
            p.setBrush(QColor(118, 108, 96));
            p.drawRect(x, th - 5 - h, 3, h);
        }
        p.fillRect(1, th - 5, tw - 2, 2, QColor(88, 80, 70));
        break;
    case Reeds:
        p.fillRect(rng.range(0, 6), rng.range(12, 16), 9, 4, QColor(64, 96, 98));
        p.setPen(QPen(QColor(34, 58, 26), 1));
        for (int k = 0; k < 4; ++k) {
            const int x = 2 + k * 4 + rng.range(-1, 1), y = rng.range(6, 10);
            p.drawLine(x, y, x, y + 8);
            p.fillRect(x, y - 2, 1, 3, QColor(110, 70, 36));
        }
        break;
    case Waves:
        waves(p, rng, QColor(150, 192, 236));
        break;
    case DeepWaves:
        waves(p, rng, QColor(72, 112, 182));
        break;
    case Pond:
        p.setPen(QPen(QColor(164, 206, 240), 1));
        p.drawLine(3, 8 + rng.range(0, 3), 9, 8 + rng.range(0, 3));
        p.drawLine(7, 16 + rng.range(0, 3), 13, 16 + rng.range(0, 3));
        break;
    case Stream:
        p.setPen(QPen(QColor(140, 190, 240), 1));
        for (int y = 3 + rng.range(0, 2); y < th; y += 6)
            p.drawLine(4 + (y % 4), y, 9 + (y % 4), y + 2);
        break;
    case Islet: {
        QPainterPath land;
        land.addEllipse(QRectF(2 + rng.range(0, 2), 7, 10, 9));
        outlined(p, land, QColor(220, 200, 140));
        p.fillRect(7, 9, 2, 4, QColor(40, 120, 44));
        break;
    }
    case Cave: {
        QPainterPath mouth;
        mouth.addEllipse(QRectF(3, 8, 10, 12));
        outlined(p, mouth, QColor(22, 18, 16));
        break;
    }
    default:
        break;
    }
    p.end();
    if (kind < Waves || kind == Cave) {
        // A darker seam at the right and bottom: land tiles meet with an edge everywhere.
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x)
                if (x == tw - 1 || y == th - 1) tile.setPixel(x, y, QColor(tile.pixel(x, y)).darker(130).rgb());
    }
    return tile;
}

// The tile set's land drawn in the climate and light of where it lies: bluish and pale in the cold,
// ochre in the dry heat, greener where it is wet. A tile keeps one tint, as tile art does.
void tintTile(QImage& image, const QRect& tile, const Climate& climate) {
    const QPoint c = tile.center();
    const double warm = climate.warmth(c.x(), c.y()), wet = climate.wetness(c.x(), c.y()), light = climate.light(c.x(), c.y());
    const double cold = 1 - std::clamp(warm * 2.5, 0.0, 1.0), hot = std::clamp((warm - 0.6) * 3, 0.0, 1.0);
    const double dry = std::clamp(0.6 - wet, 0.0, 0.6), green = std::clamp(wet - 0.4, 0.0, 0.6);
    const double kr = light * (1 - 0.2 * cold + 0.3 * hot * (0.4 + dry) - 0.18 * green);
    const double kg = light * (1 - 0.08 * cold + 0.03 * hot + 0.14 * green);
    const double kb = light * (1 + 0.16 * cold - 0.4 * hot * (0.4 + dry) - 0.08 * green);
    const double pale = 0.3 * cold;
    const auto wash = climate.wash(c.x(), c.y());
    for (int y = tile.top(); y <= tile.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = tile.left(); x <= tile.right(); ++x) {
            const QRgb p = row[x];
            auto channel = [&](int v, double k, double tint) {
                return static_cast<int>(std::lround(((v + tint) * k * (1 - pale) + 236 * pale) / 4)) * 4;
            };
            row[x] = clampPainted(channel(qRed(p), kr, wash[0]), channel(qGreen(p), kg, wash[1]),
                                  channel(qBlue(p), kb, wash[2]));
        }
    }
}

// A fixed value in [0, 1) per tile, for choices that must not change the order of the generator's draws.
double tileHash(int tx, int ty) {
    std::uint32_t h = static_cast<std::uint32_t>(tx) * 2654435761u ^ (static_cast<std::uint32_t>(ty) * 2246822519u + 97u);
    h = (h ^ (h >> 15)) * 2246822519u;
    return ((h ^ (h >> 13)) & 0xFFFFFF) / 16777216.0;
}

} // namespace

QImage paintTileWorld(const StyleWorld& world, std::uint64_t seed) {
    Rng rng(seed * 7919 + 17);
    const int tw = world.tileWidth, th = world.tileHeight;
    std::vector<QImage> tiles;
    for (int kind = 0; kind < kTileKinds; ++kind)
        for (int variant = 0; variant < kVariants; ++variant)
            tiles.push_back(drawTile(static_cast<Tile>(kind), rng, tw, th));
    std::set<std::pair<int, int>> caves;
    for (const QPoint& cave : world.caves)
        caves.insert({cave.x() / tw, cave.y() / th});

    Rng look = Rng(seed * 104729 + 17 * 31 + 7).fork(11);
    const Climate climate(look, world.width, world.height);
    QImage image(world.width, world.height, QImage::Format_RGB32);
    std::vector<QRect> tinted;
    QPainter painter(&image);
    for (int ty = 0; ty * th < world.height; ++ty)
        for (int tx = 0; tx * tw < world.width; ++tx) {
            const std::size_t centre = world.at(std::min(tx * tw + tw / 2, world.width - 1),
                                                std::min(ty * th + th / 2, world.height - 1));
            const auto p = static_cast<std::size_t>(world.label[centre]);
            const double roll = rng.unit();
            Tile kind = Grass;
            switch (world.surface[centre]) {
            case Surface::Sea:
                kind = world.ground[p] == Ground::Deep ? DeepWaves : Waves;
                // The tile set's sea, too, is drawn in the light and cold of where it lies.
                tinted.emplace_back(tx * tw, ty * th, std::min(tw, world.width - tx * tw), std::min(th, world.height - ty * th));
                break;
            case Surface::Parted:
            case Surface::Lake:
                kind = Pond;
                break;
            case Surface::River:
                kind = Stream;
                break;
            case Surface::Islet:
                kind = Islet;
                break;
            case Surface::Land: {
                // A province shows its ground on most of its tiles, others here and there: woods and
                // fields on grass, clearings in a forest, pasture and woods among fields, woods on a
                // mountain's foot, scrub in a waste, fields and meadows in a swamp.
                static const Tile byGround[] = {Grass, Forest, Farm, Peak, Ruins, Reeds};
                static const Tile firstOther[] = {Forest, Grass, Grass, Forest, Grass, Grass};
                static const Tile secondOther[] = {Farm, Grass, Forest, Grass, Grass, Farm};
                const int g = static_cast<int>(world.ground[p]);
                kind = byGround[g];
                if (world.second[p] != Ground::Plains && tileHash(ty + 7919, tx) < 0.45)
                    kind = byGround[static_cast<int>(world.second[p])];
                if (roll < 0.26) kind = tileHash(tx, ty) < 0.6 ? firstOther[g] : secondOther[g];
                if (caves.count({tx, ty})) kind = Cave;
                tinted.emplace_back(tx * tw, ty * th, std::min(tw, world.width - tx * tw), std::min(th, world.height - ty * th));
                break;
            }
            }
            painter.drawImage(tx * tw, ty * th, tiles[static_cast<std::size_t>(kind * kVariants + rng.range(0, kVariants - 1))]);
        }
    painter.end();
    for (const QRect& tile : tinted)
        tintTile(image, tile, climate);
    for (std::size_t p = 0; p < world.layout.x.size(); ++p)
        image.setPixel(world.layout.x[p], world.layout.y[p], qRgb(255, 255, 255));
    return image;
}

} // namespace ts::datagen
