#pragma once

#include "configrecord.h"
#include "parentpassword.h"

#include <QByteArray>
#include <QString>

// The control panel's password rules, and the gate they make at start-up. Passwords are
// taken exactly as typed (never trimmed); the check against the stored hash is the
// configuration library's one.

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

// Which dialog the control panel opens with, as the stored configuration says: the first
// password when none is stored (whatever else is set), the login when the parents want it,
// else the control panel itself.
enum class StartDialog { SetPassword, Login, ControlPanel };
StartDialog ChooseStartDialog(const ConfigRecord& record);
