#include "passwordcheck.h"

#include "md5a.h"

#include <cstring>

QByteArray PasswordHash(const QString& typed)
{
    return CMd5A().MDString(typed.toUtf8());
}

QByteArray StoredPasswordHash(const ConfigRecord& record)
{
    const char* p = record.m_szPassword;
    const std::size_t n = qstrnlen(p, sizeof record.m_szPassword);
    return QByteArray(p, qsizetype(n));
}

void StorePassword(ConfigRecord& record, const QString& typed)
{
    const QByteArray hash = PasswordHash(typed);
    std::memset(record.m_szPassword, 0, sizeof record.m_szPassword);
    std::memcpy(record.m_szPassword, hash.constData(),
                qMin<std::size_t>(std::size_t(hash.size()), sizeof record.m_szPassword - 1));
    record.m_bPasswordSet = 1;
}

FirstPasswordCheck CheckFirstPassword(const QString& first, const QString& second)
{
    if (first.isEmpty())
        return FirstPasswordCheck::EmptyFirst;
    if (first.toUtf8() != second.toUtf8())
        return FirstPasswordCheck::Mismatch;
    return FirstPasswordCheck::Accepted;
}

LoginCheck CheckLogin(const QString& typed, const ConfigRecord& record)
{
    if (typed.isEmpty())
        return LoginCheck::Empty;
    return PasswordHash(typed) == StoredPasswordHash(record) ? LoginCheck::Accepted : LoginCheck::Wrong;
}
