#pragma once

#include "configrecord.h"
#include "lorvaneconfig_export.h"

#include <QByteArray>
#include <QString>

// The one check of a typed parents' password against the stored hash, for the
// browser's lock and exit dialogs and the control panel's login and password page.
// Passwords are taken exactly as typed: never trimmed, hashed over their UTF-8 bytes.

enum class PasswordCheck { Empty, Wrong, Accepted };

// The stored form of a password: the MD5 of its UTF-8 bytes in lower-case hex.
LORVANECONFIG_EXPORT QByteArray ParentPasswordHash(const QString& typed);
// The hash kept in the record, read no further than the field's end.
LORVANECONFIG_EXPORT QByteArray StoredPasswordHash(const ConfigRecord& record);
// Accepted when the typed text's hash equals the stored one exactly (an empty text
// too, when the stored hash is that of the empty password, as the installer may
// write it); otherwise Empty for empty text and Wrong for anything else.
LORVANECONFIG_EXPORT PasswordCheck CheckParentPassword(const QString& typed, const ConfigRecord& record);
