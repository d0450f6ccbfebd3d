#pragma once

#include <QString>
#include <QTemporaryDir>

// Points the user's XDG folders (configuration, data, cache, runtime) into a fresh
// temporary folder for as long as it lives, so a test never touches the real ones.
class IsolatedEnvironment
{
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();
    IsolatedEnvironment(const IsolatedEnvironment&) = delete;
    IsolatedEnvironment& operator=(const IsolatedEnvironment&) = delete;

    QString root() const { return m_dir.path(); }
    QString configHome() const { return m_dir.path() + QStringLiteral("/config"); }
    QString dataHome() const { return m_dir.path() + QStringLiteral("/data"); }
    QString runtimeDir() const { return m_dir.path() + QStringLiteral("/runtime"); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved[4];
};
