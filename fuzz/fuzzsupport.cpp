#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

namespace ts::fuzz {

QString scratchFolder() {
    // Removed when libFuzzer leaves through exit(); a crash leaves it behind with the input in it.
    static QTemporaryDir dir;
    if (!dir.isValid()) std::abort();
    return dir.path();
}

QString writeScratch(const QString& relative, const std::uint8_t* data, std::size_t size) {
    const QString path = scratchFolder() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (size > 0 && file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
                        static_cast<qint64>(size))
        std::abort();
    return path;
}

} // namespace ts::fuzz
