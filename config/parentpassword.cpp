#include "parentpassword.h"

#include "md5a.h"

QByteArray ParentPasswordHash(const QString& typed)
{
    return CMd5A().MDString(typed.toUtf8());
}

QByteArray StoredPasswordHash(const ConfigRecord& record)
{
    const char* p = record.m_szPassword;
    return QByteArray(p, qsizetype(qstrnlen(p, sizeof record.m_szPassword)));
}

PasswordCheck CheckParentPassword(const QString& typed, const ConfigRecord& record)
{
    if (ParentPasswordHash(typed) == StoredPasswordHash(record))
        return PasswordCheck::Accepted;
    return typed.isEmpty() ? PasswordCheck::Empty : PasswordCheck::Wrong;
}
