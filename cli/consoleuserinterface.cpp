#include "consoleuserinterface.h"

#include <cstdio>

namespace ts {

Answer ConsoleUserInterface::messageBox(const QString& title, const QString& text, Buttons) {
    ++mMessages;
    const QByteArray line = (title + QStringLiteral(": ") + text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
    return Answer::Ok;
}

std::optional<QString> ConsoleUserInterface::inputBox(const QString&, const QString&,
                                                      const QString& proposed) {
    return proposed;
}

std::optional<QString> ConsoleUserInterface::openFileDialog(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> ConsoleUserInterface::saveFileDialog(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

std::optional<Color> ConsoleUserInterface::colorDialog(Color) {
    return std::nullopt;
}

} // namespace ts
