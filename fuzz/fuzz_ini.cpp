// The INI reader and writer: any file reads without harm, and a write either refuses
// and leaves the file byte for byte, or is read back exactly by a new reader without
// disturbing the file's other sections.

#include "fuzzsupport.h"

#include "inioperater.h"

#include <QFile>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A value that reads back as written: no surrounding blanks, no pair of quotes to strip.
bool readsBackAsIs(const QString& value)
{
    if (value != value.trimmed())
        return false;
    return !(value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Fuzz::Parts parts(data, size);
    const QString path = Fuzz::ScratchFolder() + QStringLiteral("/fuzz.ini");
    Fuzz::WriteFile(path, parts.at(0));
    const QString section = QString::fromUtf8(parts.at(1));
    const QString key = QString::fromUtf8(parts.at(2));
    const QString value = QString::fromUtf8(parts.at(3));

    const CINIOperater before(path);
    const QStringList sections = before.ReadSections();
    const QString old = before.ReadString(section, key, QStringLiteral("\x01missing"));
    const QByteArray oldBytes = fileBytes(path);

    CINIOperater writer(path);
    const bool written = writer.WriteString(section, key, value);
    if (!written) {
        FUZZ_CHECK(fileBytes(path) == oldBytes, QStringLiteral("a refused write changed the file"));
        return 0;
    }
    FUZZ_CHECK(CINIOperater::IsWritableEntry(section, key, value), QStringLiteral("an unwritable entry was written"));
    const CINIOperater after(path);
    if (readsBackAsIs(value))
        FUZZ_CHECK(after.ReadString(section, key) == value,
                   QStringLiteral("wrote [%1] %2=%3, read back '%4' (before '%5')")
                       .arg(section, key, value, after.ReadString(section, key), old));
    FUZZ_CHECK(writer.ReadString(section, key) == after.ReadString(section, key),
               QStringLiteral("the writer sees its own write differently from a new reader"));
    // One key line at most, in an old section or a new one at the end.
    QStringList expected = sections;
    const QStringList now = after.ReadSections();
    if (now.size() == sections.size() + 1)
        expected << now.back();
    FUZZ_CHECK(now == expected, QStringLiteral("sections before: %1; after: %2").arg(sections.join(u'|'), now.join(u'|')));
    return 0;
}
