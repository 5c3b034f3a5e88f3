#include "picturesave.h"

#include "cp1252.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "paths.h"
#include "picturewriter.h"
#include "userinterface.h"

#include <QFileInfo>

namespace ts {

bool SaveChangedPicture(MapDocument& doc, const MapImage& image, const std::vector<QPoint>& touched, UserInterface& ui) {
    if (touched.empty() || !image.isLoaded()) return true;
    const QString name = fromCp1252(doc.ImageFileName.view());
    const QString target = MapImage::imagePathFor(doc, name);
    // After a Save As into another folder the picture is not there yet: it is made from the one loaded.
    const QString source = QFileInfo::exists(target) ? target : image.ImagePath();

    QString why;
    if (isSgiName(name)) {
        why = patchSgi(source, target, image.source(), touched);
    } else {
        why = targaPatchRefusal(source, image.source(), touched);
        if (why.isEmpty()) why = patchTarga(source, target, image.source(), touched);
    }
    if (why.isEmpty()) return true;

    const QString copy = targaBeside(target);
    if (const QString error = writeTarga24(image.source(), copy); !error.isEmpty()) {
        ui.messageBox(QStringLiteral("Picture Not Saved"),
                      QStringLiteral("The changed provinces could not be written into the picture ") + target +
                          QStringLiteral(": ") + error +
                          QStringLiteral(". The map was not saved either, so map and picture still agree."));
        return false;
    }
    const QString copyName = QFileInfo(copy).fileName();
    doc.ImageFileName = toCp1252(copyName);
    ui.messageBox(QStringLiteral("Picture Saved as Targa"),
                  QStringLiteral("The picture ") + name + QStringLiteral(" cannot take the changed provinces (") + why +
                      QStringLiteral("). It was saved as ") + copyName +
                      QStringLiteral(" beside the map, which now names that picture; ") + name +
                      QStringLiteral(" is left as it was."));
    return true;
}

} // namespace ts
