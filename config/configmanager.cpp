#include "configmanager.h"

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

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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
    ConfigRecord loaded;
    bool ok = false;
    if (FILE* f = std::fopen(m_szConfigPathName, "rb")) {
        const std::size_t n = std::fread(&loaded, 1, sizeof loaded, f);
        // Exactly one record: a shorter or longer file is not one of ours.
        ok = n == sizeof loaded && std::fgetc(f) == EOF && !std::ferror(f);
        std::fclose(f);
    }
    if (!ok) {
        std::memset(&m_record, 0, sizeof m_record);
        SetDefaultConfig();
        return false;
    }
    // Texts from the file are read with strlen later: make sure they end.
    loaded.m_szPassword[sizeof loaded.m_szPassword - 1] = '\0';
    loaded.m_szHomePage[sizeof loaded.m_szHomePage - 1] = '\0';
    m_record = loaded;
    return true;
}

bool CConfigManager::SaveConfigToFile()
{
    requirePath();
    const std::string target(m_szConfigPathName);
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    // The record holds the password hash: keep it to its owner.
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    const bool written = writeAll(fd, reinterpret_cast<const char*>(&m_record), sizeof m_record)
        && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself survive a crash.
    const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
