#pragma once

#include "lorvanecommon_export.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Reads and writes one INI file with the semantics Windows profile files have:
// section and key names compare without case and without surrounding blanks, the first section and key of a name
// win, a missing section or key gives the default, and surrounding blanks and one
// pair of matching quotes are taken off a value. Writing a key changes only that
// key's line (or adds one line, or a section at the end) and keeps every other byte
// of the file as it was. Texts are UTF-8.
//
// Only a regular file of at most 1 MiB is read; anything else reads as empty (logged).
// An object reads its file once, at its first read, and answers every later read from
// what it found then: a skin's hundred keys cost one read of the file. Its own writes
// are seen at once; a change made by anyone else is seen by a new object.
class LORVANECOMMON_EXPORT CINIOperater
{
public:
    explicit CINIOperater(const QString& pathName);

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
    // False when the file could not be written, or when the entry would break the
    // file's lines (see IsWritableEntry); the old file then stays as it was.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    // Every section name in file order.
    void ReadSections(QStringList& list) const;
    QStringList ReadSections() const;

    const QString& PathName() const { return m_strPathName; }

    // Whether an entry can be written as exactly one key line in one section: a
    // section name without "]" or line breaks, a key without "=", line breaks or a
    // leading "[", ";" or "#", a value without line breaks; names not blank.
    static bool IsWritableEntry(const QString& section, const QString& key, const QString& value);

private:
    struct Section {
        QString name;
        QList<QPair<QString, QString>> keys; // in file order, values already unquoted
    };
    const QList<Section>& sections() const;

    QString m_strPathName;
    mutable QList<Section> m_sections;
    mutable bool m_bRead = false;
};
