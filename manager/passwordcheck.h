#pragma once

#include "configrecord.h"

#include <QByteArray>
#include <QString>

// The parents' password rules. Passwords are taken exactly as typed (never trimmed) and
// compared through their hash, byte for byte.

// The stored form of a typed password: the MD5 of its UTF-8 bytes in lower-case hex.
QByteArray PasswordHash(const QString& typed);
// The hash kept in the record, read no further than the field's end.
QByteArray StoredPasswordHash(const ConfigRecord& record);
// Writes the hash of `typed` into the record and marks a password as set.
void StorePassword(ConfigRecord& record, const QString& typed);

enum class FirstPasswordCheck { EmptyFirst, Mismatch, Accepted };
// The first entry must not be empty and both entries must be the same bytes.
FirstPasswordCheck CheckFirstPassword(const QString& first, const QString& second);

enum class LoginCheck { Empty, Wrong, Accepted };
LoginCheck CheckLogin(const QString& typed, const ConfigRecord& record);
