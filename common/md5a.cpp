#include "md5a.h"

#include <QCryptographicHash>

#include <cstring>

QByteArray CMd5A::MDString(const QByteArray& bytes) const
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

QByteArray CMd5A::MDString(const char* text) const
{
    return MDString(QByteArray(text ? text : "", text ? qsizetype(std::strlen(text)) : 0));
}
