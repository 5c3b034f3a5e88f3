#include "startup.h"

#include "referenceloader.h"
#include "userinterface.h"

namespace ts {

bool LoadStartUpData(UserInterface& ui, ReferenceData& ref, ReferenceLists& lists, const QString& programFolder) {
    ui.busyMessage(QStringLiteral("Initializing..."), QStringLiteral("Tessary: INITIALIZING..."), 255);
    return LoadReferenceData(ref, lists, programFolder, ui);
}

} // namespace ts
