#pragma once

#include "configrecord.h"
#include "parentpassword.h"

#include <QByteArray>
#include <QString>

// The control panel's password rules. Passwords are taken exactly as typed (never
// trimmed); the check against the stored hash is the configuration library's one.

// The stored form of a typed password.
inline QByteArray PasswordHash(const QString& typed)
{
    return ParentPasswordHash(typed);
}
// Writes the hash of `typed` into the record and marks a password as set.
void StorePassword(ConfigRecord& record, const QString& typed);

enum class FirstPasswordCheck { EmptyFirst, Mismatch, Accepted };
// The first entry must not be empty and both entries must be the same bytes.
FirstPasswordCheck CheckFirstPassword(const QString& first, const QString& second);

using LoginCheck = PasswordCheck;
inline LoginCheck CheckLogin(const QString& typed, const ConfigRecord& record)
{
    return CheckParentPassword(typed, record);
}
