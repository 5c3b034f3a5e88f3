#include "picturecommands.h"

#include "paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <dlfcn.h>

namespace ts {

namespace {

const PictureCommands* open() {
    // render opens the module before there is an application object to ask.
    const QString program = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                         : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const QString name = QStringLiteral("tessary-cli-pictures.so");
    QString path = joinPath(program, name); // portable, and the build folder
    if (!QFile::exists(path)) path = joinPath(program, QStringLiteral(TESSARY_PICTURES_FROM_PROGRAM), name);
    void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = module ? reinterpret_cast<PictureCommandsEntry>(dlsym(module, kPictureCommandsEntry)) : nullptr;
    if (!entry) {
        const QByteArray why = QStringLiteral("tessary-cli: cannot open the picture support %1: %2\n")
                                   .arg(path, QString::fromLocal8Bit(dlerror()))
                                   .toLocal8Bit();
        std::fwrite(why.constData(), 1, static_cast<std::size_t>(why.size()), stderr);
        return nullptr;
    }
    return entry(); // the module stays open until the process ends
}

} // namespace

const PictureCommands* pictureCommands() {
    static const PictureCommands* const commands = open();
    return commands;
}

} // namespace ts
