#pragma once

#include <QByteArray>
#include <QString>

#include <concepts>

// One value bound to a statement parameter: NULL, an integer or a text. Texts are
// kept as UTF-8 bytes, so a value never becomes part of the statement text.
class SqlValue
{
public:
    enum class Kind { Null, Integer, Text };

    SqlValue() = default;
    SqlValue(std::nullptr_t) {}
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    SqlValue(T value)
        : m_kind(Kind::Integer)
        , m_integer(static_cast<qint64>(value))
    {
    }
    SqlValue(const QString& text)
        : m_kind(Kind::Text)
        , m_text(text.toUtf8())
    {
    }
    // UTF-8 bytes.
    SqlValue(const QByteArray& utf8)
        : m_kind(Kind::Text)
        , m_text(utf8.isNull() ? QByteArray("") : utf8)
    {
    }
    SqlValue(const char* utf8)
        : SqlValue(QByteArray(utf8 ? utf8 : ""))
    {
    }

    Kind kind() const { return m_kind; }
    qint64 integer() const { return m_integer; }
    const QByteArray& text() const { return m_text; }

private:
    Kind m_kind = Kind::Null;
    qint64 m_integer = 0;
    QByteArray m_text;
};
