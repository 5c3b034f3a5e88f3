#include "moresettings.h"

#include "settings.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ts {

namespace {
constexpr char kKeepUnknown[] = "KeepUnknown";
constexpr char kUnitReferenceAddress[] = "UnitReferenceAddress";
}

QString moreSettingsPath(const QString& configurationPath) {
    return QFileInfo(configurationPath).dir().filePath(QStringLiteral("Tessary.more"));
}

void ReadMoreSettings(Settings& s, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QByteArray name = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (name == kKeepUnknown && (value == "1" || value == "0")) s.KeepUnknown = value == "1";
        if (name == kUnitReferenceAddress) s.UnitReferenceAddress = QString::fromUtf8(value);
    }
}

bool WriteMoreSettings(const Settings& s, const QString& path) {
    QSaveFile f(path);
    QByteArray text = QByteArray(kKeepUnknown) + (s.KeepUnknown ? "=1\r\n" : "=0\r\n");
    if (!s.UnitReferenceAddress.isEmpty())
        text += QByteArray(kUnitReferenceAddress) + '=' + s.UnitReferenceAddress.toUtf8() + "\r\n";
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size() && f.commit();
}

} // namespace ts
