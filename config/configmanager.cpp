#include "configmanager.h"

#include "paths.h"

#include <QLoggingCategory>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char kConfigNoPathMessage[] =
    "调用CConfigManager这个类的其他方法的时候,请先调用SetConfigPathName这个函数，设置配置文件的路径!";
const char kDefaultHomePage[] = "https://www.wikipedia.org/";
const char kLastGoodSuffix[] = ".lastgood";

Q_LOGGING_CATEGORY(lcConfig, "lorvane.config")

CConfigPathException::CConfigPathException()
    : std::runtime_error(kConfigNoPathMessage)
{
}

namespace {

template <std::size_t N>
void copyText(char (&dest)[N], const char* text)
{
    std::memset(dest, 0, N);
    std::strncpy(dest, text, N - 1);
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

enum class ReadResult { Good, Missing, Bad };

// Reads exactly one record; `why` says what was wrong with a file that is there.
ReadResult readRecord(const std::string& path, ConfigRecord& out, std::string& why)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        const int error = errno;
        // Only a name that leads nowhere at all is missing; a dangling link or a
        // folder that cannot be searched is something there that cannot be read.
        struct stat st {};
        if (error == ENOENT && ::lstat(path.c_str(), &st) != 0 && errno == ENOENT)
            return ReadResult::Missing;
        why = std::strerror(error);
        return ReadResult::Bad;
    }
    const std::size_t n = std::fread(&out, 1, sizeof out, f);
    const int error = std::ferror(f) ? errno : 0;
    // Exactly one record: a shorter or longer file is not one of ours.
    const bool longer = !error && n == sizeof out && std::fgetc(f) != EOF;
    const bool failed = error || std::ferror(f);
    std::fclose(f);
    if (failed) {
        why = std::strerror(error ? error : EIO);
        return ReadResult::Bad;
    }
    if (n != sizeof out || longer) {
        why = longer ? "longer than one record" : std::to_string(n) + " bytes instead of one record";
        return ReadResult::Bad;
    }
    // Texts from the file are read with strlen later: make sure they end.
    out.m_szPassword[sizeof out.m_szPassword - 1] = '\0';
    out.m_szHomePage[sizeof out.m_szHomePage - 1] = '\0';
    return ReadResult::Good;
}

std::string describe(ReadResult result, const std::string& why)
{
    return result == ReadResult::Missing ? std::string("is missing") : "cannot be read (" + why + ")";
}

QFileDevice::Permissions recordPermissionsFor(const QString& path)
{
    // In a family install the parents' group saves the record and the child's browser
    // reads it; the folder's group is the parents'.
    if (IsFamilySharedFile(path))
        return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
            | QFileDevice::ReadOther;
    // The record holds the password hash: keep it to its owner.
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

// Writes the record beside `target` and puts it in place only when it is complete and
// on disk (an unnamed file until then, so a crash leaves nothing behind). On failure
// `target` is as it was and `why` says what went wrong.
bool writeRecordAtomically(const std::string& target, const ConfigRecord& record, QString* why)
{
    QSaveFile file(QString::fromLocal8Bit(target.c_str()));
    // Unbuffered, so that a short write (a full disk) shows at once rather than being lost in a flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *why = file.errorString();
        return false;
    }
    if (!file.setPermissions(recordPermissionsFor(file.fileName())))
        qCWarning(lcConfig) << "cannot set the permissions of" << target.c_str() << ":" << file.errorString();
    if (file.write(reinterpret_cast<const char*>(&record), sizeof record) != qint64(sizeof record)) {
        *why = file.errorString();
        file.cancelWriting();
        return false;
    }
    // QSaveFile ignores a failed sync and puts the file in place anyway; a record that
    // may not be on disk must not replace one that is.
    if (::fdatasync(file.handle()) != 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    // Make the rename itself survive a crash. The record is in place either way, so a
    // failure here is only logged.
    const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0 || ::fsync(dir) != 0)
        qCWarning(lcConfig, "cannot sync the folder of %s: %s", target.c_str(), std::strerror(errno));
    if (dir >= 0)
        ::close(dir);
    return true;
}

} // namespace

CConfigManager::CConfigManager()
{
    std::memset(&m_record, 0, sizeof m_record);
    std::memset(m_szConfigPathName, 0, sizeof m_szConfigPathName);
}

CConfigManager::~CConfigManager() = default;

int CConfigManager::SetConfigPathName(const char* path)
{
    std::memset(m_szConfigPathName, 0, sizeof m_szConfigPathName);
    if (!path)
        return -1;
    std::size_t begin = 0;
    std::size_t end = std::strlen(path);
    while (begin < end && path[begin] == ' ')
        ++begin;
    while (end > begin && path[end - 1] == ' ')
        --end;
    // A cut path would name another file: refuse it instead.
    if (end == begin || end - begin >= sizeof m_szConfigPathName)
        return -1;
    std::memcpy(m_szConfigPathName, path + begin, end - begin);
    return 0;
}

void CConfigManager::SetDefaultConfig()
{
    m_record.m_bOnlyChildSites = 0;
    m_record.m_bExitNeedPassword = 0;
    m_record.m_bLoginBeforeManage = 0;
    m_record.m_bLimitTime = 0;
    m_record.m_nLimitMinutes = 10;
    m_record.m_nReserved = 0;
    m_record.m_bUseOwnHomePage = 1;
    copyText(m_record.m_szHomePage, kDefaultHomePage);
}

void CConfigManager::requirePath() const
{
    if (m_szConfigPathName[0] == '\0')
        throw CConfigPathException();
}

bool CConfigManager::LoadConfigFromFile()
{
    requirePath();
    const std::string live(m_szConfigPathName);
    const std::string copy = live + kLastGoodSuffix;
    ConfigRecord loaded;
    std::string liveWhy;
    const ReadResult liveResult = readRecord(live, loaded, liveWhy);
    if (liveResult == ReadResult::Good) {
        m_record = loaded;
        m_loadedFrom = ConfigSource::File;
        return true;
    }
    std::string copyWhy;
    const ReadResult copyResult = readRecord(copy, loaded, copyWhy);
    if (copyResult == ReadResult::Good) {
        qCWarning(lcConfig, "configuration file %s %s; using the last good copy %s", live.c_str(),
                  describe(liveResult, liveWhy).c_str(), copy.c_str());
        m_record = loaded;
        m_loadedFrom = ConfigSource::LastGoodCopy;
        return true;
    }
    // Whole defaults, never a mix of file bytes and old values; no password.
    std::memset(&m_record, 0, sizeof m_record);
    SetDefaultConfig();
    if (liveResult == ReadResult::Missing && copyResult == ReadResult::Missing) {
        m_loadedFrom = ConfigSource::NoFile;
        return false;
    }
    qCWarning(lcConfig, "configuration file %s %s, and its last good copy %s %s; nothing of it can be used",
              live.c_str(), describe(liveResult, liveWhy).c_str(), copy.c_str(),
              describe(copyResult, copyWhy).c_str());
    m_loadedFrom = ConfigSource::Damaged;
    return false;
}

bool CConfigManager::SaveConfigToFile()
{
    requirePath();
    const std::string live(m_szConfigPathName);
    QString why;
    if (!writeRecordAtomically(live, m_record, &why)) {
        qCWarning(lcConfig) << "cannot save the configuration file" << live.c_str() << ":" << why;
        return false;
    }
    // The live file is safe; the copy only matters if that one is lost or damaged later.
    const std::string copy = live + kLastGoodSuffix;
    if (!writeRecordAtomically(copy, m_record, &why))
        qCWarning(lcConfig) << "cannot keep the last good copy" << copy.c_str() << ":" << why;
    return true;
}
