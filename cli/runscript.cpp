#include "runscript.h"

#include "mapdocument.h"
#include "mapimage.h"
#include "mapwriter.h"
#include "scriptprocess.h"
#include "userinterface.h"

namespace ts {

int runScriptCommand(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const MapImage& image,
                     const QString& scriptPath, const QString& outPath) {
    // Without its picture a map has no provinces to select; a loader that failed has said why.
    if (!image.isLoaded()) {
        if (doc.ImageFileName.empty())
            ui.messageBox(
                QStringLiteral("No Map Image"),
                QStringLiteral("The map names no image, so no provinces are located to run the script on."));
        return 2;
    }
    const ScriptRunResult result = z_ScriptProcess(doc, ref, ui, scriptPath);
    // What the blocks before an error changed stays, as it does in the editor.
    if (!z_WriteMapFile(doc, ref, ui, outPath)) return 2;
    return result.completed ? 0 : 1;
}

} // namespace ts
