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

void waves(QPainter& p, Rng& rng, QColor line, int tw, int th) {
    p.setPen(QPen(line, 1));
    for (int row = 0; row < 3; ++row) {
        const int y = 4 + row * 7 + rng.range(-1, 1), x = rng.range(0, 5);
        p.drawArc(QRect(x, y, 6, 4), 0, 180 * 16);
        p.drawArc(QRect(x + 6, y, 6, 4), 180 * 16, 180 * 16);
    }
    Q_UNUSED(tw);
    Q_UNUSED(th);
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
        waves(p, rng, QColor(150, 192, 236), tw, th);
        break;
    case DeepWaves:
        waves(p, rng, QColor(72, 112, 182), tw, th);
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

    QImage image(world.width, world.height, QImage::Format_RGB32);
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
                // A province shows its ground on most of its tiles, grass or a wood here and there.
                static const Tile byGround[] = {Grass, Forest, Farm, Peak, Ruins, Reeds};
                kind = byGround[static_cast<int>(world.ground[p])];
                if (kind == Grass ? roll < 0.1 : roll < 0.2) kind = kind == Grass ? Forest : Grass;
                if (caves.count({tx, ty})) kind = Cave;
                break;
            }
            }
            painter.drawImage(tx * tw, ty * th, tiles[static_cast<std::size_t>(kind * kVariants + rng.range(0, kVariants - 1))]);
        }
    painter.end();
    for (std::size_t p = 0; p < world.layout.x.size(); ++p)
        image.setPixel(world.layout.x[p], world.layout.y[p], qRgb(255, 255, 255));
    return image;
}

} // namespace ts::datagen
