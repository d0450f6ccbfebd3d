#include "inioperater.h"

#include "commonlog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

struct IniLine {
    QByteArray text;   // without the line ending
    QByteArray ending; // "\r\n", "\n" or "" for a last line without one
};

// No INI file of the programs comes near this; anything larger is not one.
constexpr qint64 kMaxIniBytes = 1 << 20;

QList<IniLine> readLines(const QString& path)
{
    QList<IniLine> lines;
    // Only a regular file is read: a FIFO would never end and a device could be
    // endless.
    const QFileInfo info(path);
    if (!info.exists())
        return lines;
    if (!info.isFile() || info.size() > kMaxIniBytes) {
        qCWarning(lcCommon) << "not read as an INI file (not a regular file, or over" << kMaxIniBytes
                            << "bytes):" << path;
        return lines;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcCommon) << "cannot read" << path << ":" << file.errorString();
        return lines;
    }
    const QByteArray data = file.read(kMaxIniBytes + 1);
    if (data.size() > kMaxIniBytes) {
        qCWarning(lcCommon) << "not read as an INI file (it grew over" << kMaxIniBytes << "bytes):" << path;
        return lines;
    }
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.append({data.mid(start), QByteArray()});
            break;
        }
        qsizetype end = nl;
        QByteArray ending("\n");
        if (end > start && data.at(end - 1) == '\r') {
            --end;
            ending = "\r\n";
        }
        lines.append({data.mid(start, end - start), ending});
        start = nl + 1;
    }
    return lines;
}

// UTF-8 text as it stands: a byte-order mark at the start of a value or name is kept, as
// it was written (the plain conversion would drop it).
QString decode(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// A name as the file's names are compared: without surrounding blanks and without
// byte-order marks in front (an editor may leave one before any line).
QString normalName(QString name)
{
    name = name.trimmed();
    while (name.startsWith(QChar(0xFEFF)))
        name = name.mid(1).trimmed();
    return name;
}

// The section name when the line opens a section.
bool sectionName(const QByteArray& line, QString* name)
{
    QByteArray t = line.trimmed();
    if (t.startsWith("\xEF\xBB\xBF"))
        t = t.mid(3).trimmed(); // a UTF-8 byte-order mark before the first section
    if (!t.startsWith('['))
        return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return false;
    *name = normalName(decode(t.mid(1, close - 1)));
    return true;
}

bool keyValue(const QByteArray& line, QString* key, QString* value)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#'))
        return false;
    const qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return false;
    *key = normalName(decode(t.left(eq)));
    if (value)
        *value = decode(t.mid(eq + 1)).trimmed();
    return true;
}

QString unquote(const QString& v)
{
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\''))
        && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// An asked name as it reads back once written: through UTF-8 and normalised as every
// name read from the file is. Otherwise a name written with a blank or a byte-order
// mark at its start could never be found again.
QString asStored(const QString& name)
{
    return normalName(decode(name.toUtf8()));
}

QByteArray joinLines(const QList<IniLine>& lines)
{
    QByteArray out;
    for (const IniLine& l : lines)
        out += l.text + l.ending;
    return out;
}

} // namespace

CINIOperater::CINIOperater(const QString& pathName)
    : m_strPathName(pathName)
{
}

bool CINIOperater::IsWritableEntry(const QString& section, const QString& key, const QString& value)
{
    const auto breaksLine = [](const QString& text) {
        return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    };
    // Judged as they will read back, so that a byte-order mark cannot hide a leading "[".
    const QString k = normalName(key);
    return !normalName(section).isEmpty() && !section.contains(QLatin1Char(']')) && !breaksLine(section)
        && !k.isEmpty() && !k.contains(QLatin1Char('=')) && !k.startsWith(QLatin1Char('['))
        && !k.startsWith(QLatin1Char(';')) && !k.startsWith(QLatin1Char('#')) && !breaksLine(key)
        && !breaksLine(value);
}

const QList<CINIOperater::Section>& CINIOperater::sections() const
{
    if (m_bRead)
        return m_sections;
    m_bRead = true;
    m_sections.clear();
    for (const IniLine& line : readLines(m_strPathName)) {
        QString name;
        if (sectionName(line.text, &name)) {
            m_sections.append({name, {}});
            continue;
        }
        QString k, v;
        if (!m_sections.isEmpty() && keyValue(line.text, &k, &v))
            m_sections.last().keys.append({k, unquote(v)});
    }
    return m_sections;
}

QString CINIOperater::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    // Only the first section of a name counts, and in it the first key of a name.
    const QString sectionName = asStored(section);
    const QString keyName = asStored(key);
    for (const Section& s : sections()) {
        if (!sameName(s.name, sectionName))
            continue;
        for (const auto& [k, v] : s.keys) {
            if (sameName(k, keyName))
                return v;
        }
        break;
    }
    return defaultValue;
}

bool CINIOperater::WriteString(const QString& section, const QString& key, const QString& value)
{
    if (!IsWritableEntry(section, key, value)) {
        qCWarning(lcCommon) << "refused to write" << section.left(40) << key.left(40)
                            << "into" << m_strPathName << ": a name or value would break the file's lines";
        return false;
    }
    const QFileInfo info(m_strPathName);
    if (info.exists() && (!info.isFile() || info.size() > kMaxIniBytes)) {
        qCWarning(lcCommon) << "refused to rewrite" << m_strPathName << ": not a regular INI file";
        return false;
    }
    QList<IniLine> lines = readLines(m_strPathName);
    QByteArray eol("\n");
    for (const IniLine& l : lines) {
        if (!l.ending.isEmpty()) {
            eol = l.ending;
            break;
        }
    }
    const QByteArray newLine = key.toUtf8() + '=' + value.toUtf8();

    const QString wantedSection = asStored(section);
    const QString wantedKey = asStored(key);
    qsizetype sectionAt = -1;
    qsizetype insertAt = -1; // after the last key line of the section
    qsizetype i = 0;
    for (; i < lines.size(); ++i) {
        QString name;
        if (sectionName(lines[i].text, &name)) {
            if (sectionAt >= 0)
                break;
            if (sameName(name, wantedSection)) {
                sectionAt = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        QString k;
        if (keyValue(lines[i].text, &k, nullptr)) {
            if (sameName(k, wantedKey)) {
                // Keep the line's own indentation and the spelling of its key.
                const QByteArray& old = lines[i].text;
                const qsizetype eq = old.indexOf('=');
                lines[i].text = old.left(eq + 1) + value.toUtf8();
                insertAt = -2;
                break;
            }
            insertAt = i + 1;
        }
    }

    if (insertAt >= 0) {
        if (insertAt > 0 && lines[insertAt - 1].ending.isEmpty())
            lines[insertAt - 1].ending = eol;
        lines.insert(insertAt, {newLine, eol});
    } else if (sectionAt < 0) {
        if (!lines.isEmpty() && lines.last().ending.isEmpty())
            lines.last().ending = eol;
        lines.append({'[' + section.toUtf8() + ']', eol});
        lines.append({newLine, eol});
    }

    QSaveFile file(m_strPathName);
    const QByteArray data = joinLines(lines);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        qCWarning(lcCommon) << "cannot write" << m_strPathName << ":" << file.errorString();
        file.cancelWriting();
        return false;
    }
    m_bRead = false;
    return true;
}

void CINIOperater::ReadSections(QStringList& list) const
{
    list = ReadSections();
}

QStringList CINIOperater::ReadSections() const
{
    QStringList out;
    for (const Section& s : sections())
        out.append(s.name);
    return out;
}
