#include "runscript.h"

#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "mapwriter.h"
#include "renumber.h"
#include "userinterface.h"

#include <QFileInfo>
#include <cstdio>

namespace ts {

namespace {

QString at(const ProvincePlace& p) { return QStringLiteral("%1 %2").arg(p.x).arg(p.y); }

} // namespace

int renumberCommand(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const MapImage& image,
                    const QString& oldPicturePath, const QString& outPath) {
    if (!image.isLoaded()) {
        if (doc.ImageFileName.empty())
            ui.messageBox(QStringLiteral("No Map Image"),
                          QStringLiteral("The map names no image, so there are no provinces to renumber."));
        return 2;
    }
    const QFileInfo old(oldPicturePath);
    const LocatedPixels located = locatePictureFile(old.absoluteFilePath(), isSgiName(old.fileName()), kMaxProvince);
    if (!located.error.isEmpty()) {
        reportUnloadableImage(ui, old.absoluteFilePath(), located.error);
        return 2;
    }
    std::vector<ProvincePlace> before;
    for (const QPoint& p : located.pixels) before.push_back({p.x(), p.y()});
    const std::vector<ProvincePlace> now = PlacesOf(doc);
    const Renumbering r = MatchPlaces(before, now);
    ApplyRenumbering(doc, r, now);

    const std::string summary = DescribeRenumbering(r);
    QString out = QStringLiteral("%1 provinces before, %2 now: %3\n")
                      .arg(r.oldCount)
                      .arg(r.newCount)
                      .arg(summary.empty() ? QStringLiteral("nothing changed") : QString::fromStdString(summary));
    for (const int p : r.added) out += QStringLiteral("added %1 at %2\n").arg(p).arg(at(now[p - 1]));
    for (const int p : r.removed) out += QStringLiteral("removed %1 at %2\n").arg(p).arg(at(before[p - 1]));
    for (const auto& [from, to] : r.moved)
        out += QStringLiteral("moved %1 to %2, from %3 to %4\n").arg(from).arg(to).arg(at(before[from - 1]), at(now[to - 1]));
    const QByteArray bytes = out.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);

    if (!z_WriteMapFile(doc, ref, ui, outPath)) return 2;
    return doc.MapErrorsFound ? 1 : 0;
}

} // namespace ts
