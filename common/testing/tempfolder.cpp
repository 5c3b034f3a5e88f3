#include "tempfolder.h"

#include "paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace ts {

TempFolder::TempFolder() {
    if (!mDir.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QString TempFolder::file(const QString& relative) const { return joinPath(mDir.path(), relative); }

QString TempFolder::write(const QString& relative, std::string_view bytes) const {
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write test file");
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return full;
}

std::string TempFolder::read(const QString& relative) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray all = f.readAll();
    return std::string(all.constData(), static_cast<std::size_t>(all.size()));
}

const TempFolder& TempFolder::makePortable() const {
    QDir().mkpath(file(QStringLiteral("TSdata")));
    return *this;
}

void TempFolder::copyTreeFrom(const QString& folder) const {
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = file(QDir(folder).relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::copy(from, to);
    }
}

} // namespace ts
