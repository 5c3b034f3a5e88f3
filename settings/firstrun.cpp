#include "firstrun.h"

#include "folders.h"

#include <QDir>
#include <QFileInfo>

namespace ts {

QString welcomeTitle() {
    return QStringLiteral("Welcome to Tessary!");
}

QString welcomeText() {
    return QStringLiteral("No configuration file found. If this is the first run you will need to specify "
                          "directory information in the options form. This form should open automatically "
                          "when you click OK.");
}

bool LoadOrWelcome(Settings& s, const QString& programFolder, UserInterface& ui,
                   const std::function<void()>& openOptions, const std::function<void()>& showBackground) {
    // An installed program keeps its settings in the user's folder, which may not exist yet.
    QDir().mkpath(configFolder(programFolder));
    const QString path = configurationPath(programFolder);
    if (QFileInfo::exists(path)) {
        ReadConfiguration(s, path, ui);
        return true;
    }
    s = Settings::defaults(programFolder);
    if (showBackground) showBackground();
    ui.messageBox(welcomeTitle(), welcomeText());
    if (openOptions) openOptions();
    return false;
}

} // namespace ts
