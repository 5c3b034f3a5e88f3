#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ts {

std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.exists() ? file.errorString() : QStringLiteral("The file does not exist.");
        return std::nullopt;
    }
    if (file.size() > maxBytes) {
        error = QStringLiteral("The file is %1 bytes long, more than the %2 bytes such a file can hold.")
                    .arg(file.size())
                    .arg(maxBytes);
        return std::nullopt;
    }
    // Reading one byte more than allowed catches a file that grew, or a device that reports no size.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > maxBytes) {
        error = QStringLiteral("The file is longer than the %1 bytes such a file can hold.").arg(maxBytes);
        return std::nullopt;
    }
    return bytes;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(pos));
            break;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
    }
    return lines;
}

bool writeWholeFile(const QString& path, std::string_view bytes, QString& error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("The folder %1 cannot be made.").arg(folder);
        return false;
    }
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), size) != size || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace ts
