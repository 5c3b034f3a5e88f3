#include "headerrules.h"

#include "boxtext.h"
#include "cp1252.h"
#include "mapdocument.h"
#include "paths.h"
#include "valuerules.h"

#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace ts {

namespace {

QString shown(const Text& text) { return fromCp1252(text.view()); }

Color byteAt(float fraction, int shift) {
    const long v = std::lround(std::clamp(fraction, 0.0f, 1.0f) * 255.0f);
    return static_cast<Color>(v) << shift;
}

} // namespace

MapHeaderFields ShowMapHeader(const MapDocument& doc) {
    MapHeaderFields f;
    f.title = shown(doc.MapTitle);
    f.imageFile = shown(doc.ImageFileName);
    // The document keeps the file's CR LF; the box breaks lines with LF alone.
    f.description = shown(doc.MapDescription).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    f.scenario = doc.ScenarioFlag;
    f.wrapAround = doc.WrapAround;
    f.noHomelandNames = doc.NoHomelandNames;
    if (doc.FeaturesFrequency >= 0) f.featuresFrequency = QString::number(doc.FeaturesFrequency);
    if (doc.DefaultMapZoom > -1.0f) f.defaultMapZoom = SingleText(doc.DefaultMapZoom);
    if (MapTextColorShown(doc))
        for (int k = 0; k < 4; ++k) f.textColor[k] = SingleText(doc.MapTextColor[k]);
    return f;
}

void CommitMapHeader(MapDocument& doc, const MapHeaderFields& f) {
    doc.MapTitle = toCp1252(f.title);
    doc.ImageFileName = toCp1252(f.imageFile);
    QString description = f.description;
    description.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    doc.MapDescription = toCp1252(description.replace(u'\n', QStringLiteral("\r\n")));
    doc.DefaultMapZoom =
        f.defaultMapZoom.trimmed().isEmpty() ? -1.0f : ClampSingle(f.defaultMapZoom, 0.0f, kDefaultMapZoomMax);
    doc.FeaturesFrequency =
        f.featuresFrequency.trimmed().isEmpty() ? -1 : ClampInt(f.featuresFrequency, 0, kFeaturesFrequencyMax);
    const bool colorSet = !f.textColor[0].trimmed().isEmpty();
    for (int k = 0; k < 4; ++k) doc.MapTextColor[k] = colorSet ? ClampSingle(f.textColor[k], 0.0f, 1.0f) : -1.0f;
    doc.ScenarioFlag = f.scenario;
    doc.WrapAround = f.wrapAround;
    doc.NoHomelandNames = f.noHomelandNames;
}

bool MapTextColorShown(const MapDocument& doc) {
    float sum = 0.0f;
    for (float c : doc.MapTextColor) sum += c;
    return sum > 0.0f;
}

Color MapTextColorOf(const MapHeaderFields& f) {
    return byteAt(ClampSingle(f.textColor[0], 0.0f, 1.0f), 0) | byteAt(ClampSingle(f.textColor[1], 0.0f, 1.0f), 8) |
           byteAt(ClampSingle(f.textColor[2], 0.0f, 1.0f), 16);
}

void SetPickedTextColor(MapHeaderFields& f, Color picked) {
    for (int k = 0; k < 3; ++k) {
        const double fraction = static_cast<double>((picked >> (8 * k)) & 0xFF) / 255.0;
        f.textColor[k] = QString::number(fraction, 'g', QLocale::FloatingPointShortest);
    }
}

std::optional<QString> BrowseMapImage(UserInterface& ui, const QString& mapsDirectory,
                                      const QString& currentImageFile) {
    const QString proposed = currentImageFile.isEmpty() ? QString() : joinPath(mapsDirectory, currentImageFile);
    const auto chosen = ui.openFileDialog(QString::fromLatin1(kMapImageFilter), mapsDirectory, proposed);
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    return QFileInfo(*chosen).fileName();
}

} // namespace ts
