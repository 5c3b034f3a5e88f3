#pragma once

#include <QByteArray>
#include <QString>

namespace ts {

// Points the XDG folder variables and HOME into a test's own folder for the test's lifetime, so a test
// of the installed layout never touches the real user's files. An empty value unsets the variable.
class UserEnvironment {
public:
    UserEnvironment(const QString& config, const QString& data, const QString& home);
    ~UserEnvironment();
    UserEnvironment(const UserEnvironment&) = delete;
    UserEnvironment& operator=(const UserEnvironment&) = delete;

private:
    QByteArray mConfig, mData, mHome;
};

} // namespace ts
