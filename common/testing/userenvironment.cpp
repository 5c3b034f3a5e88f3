#include "userenvironment.h"

#include <QtGlobal>

namespace ts {

namespace {
void setOrUnset(const char* name, const QByteArray& value) {
    if (value.isEmpty())
        qunsetenv(name);
    else
        qputenv(name, value);
}
} // namespace

UserEnvironment::UserEnvironment(const QString& config, const QString& data, const QString& home)
    : mConfig(qgetenv("XDG_CONFIG_HOME")), mData(qgetenv("XDG_DATA_HOME")), mHome(qgetenv("HOME")) {
    setOrUnset("XDG_CONFIG_HOME", config.toUtf8());
    setOrUnset("XDG_DATA_HOME", data.toUtf8());
    setOrUnset("HOME", home.toUtf8());
}

UserEnvironment::~UserEnvironment() {
    setOrUnset("XDG_CONFIG_HOME", mConfig);
    setOrUnset("XDG_DATA_HOME", mData);
    setOrUnset("HOME", mHome);
}

} // namespace ts
