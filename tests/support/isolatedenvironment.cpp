#include "isolatedenvironment.h"

#include <QDir>
#include <QFile>

namespace {
const char* const kVariables[4] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"};
const char* const kFolders[4] = {"/config", "/data", "/cache", "/runtime"};
} // namespace

IsolatedEnvironment::IsolatedEnvironment()
{
    for (int i = 0; i < 4; ++i) {
        m_saved[i] = qgetenv(kVariables[i]);
        const QString folder = m_dir.path() + QLatin1String(kFolders[i]);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(kVariables[i], QFile::encodeName(folder));
    }
}

IsolatedEnvironment::~IsolatedEnvironment()
{
    for (int i = 0; i < 4; ++i) {
        if (m_saved[i].isNull())
            qunsetenv(kVariables[i]);
        else
            qputenv(kVariables[i], m_saved[i]);
    }
}
