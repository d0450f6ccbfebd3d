#pragma once

#include "lorvanecommon_export.h"

#include <QByteArray>
#include <QString>

// The parents' password hash: MD5 of the text's bytes, as 32 lower-case hexadecimal
// digits. Stored hashes are compared with this text exactly, case included.
class LORVANECOMMON_EXPORT CMd5A
{
public:
    // The bytes are hashed as given (a typed password is its UTF-8 form).
    QByteArray MDString(const QByteArray& bytes) const;
    QByteArray MDString(const char* text) const;
    QByteArray MDString(const QString& text) const { return MDString(text.toUtf8()); }
};
