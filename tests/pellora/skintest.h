#pragma once

// Helpers of the skin library's tests: small skin files in a temporary folder, mouse
// moves without a button held and the warnings the library logs.

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QMouseEvent>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

namespace SkinTest {

// A bitmap of one colour; returns its path.
inline QString writeSolid(const QString& folder, const QString& name, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = QDir(folder).filePath(name);
    image.save(path, "BMP");
    return path;
}

// A bitmap drawn by the caller.
inline QString writeImage(const QString& folder, const QString& name, const QImage& image)
{
    const QString path = QDir(folder).filePath(name);
    image.save(path, "BMP");
    return path;
}

inline QString writeText(const QString& folder, const QString& name, const QByteArray& text)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

inline bool sameColor(QRgb pixel, QColor expected, int tolerance = 2)
{
    return qAbs(qRed(pixel) - expected.red()) <= tolerance && qAbs(qGreen(pixel) - expected.green()) <= tolerance
        && qAbs(qBlue(pixel) - expected.blue()) <= tolerance;
}

// A temporary folder to write a test's skin bitmaps into.
struct Folder {
    QTemporaryDir dir;
    QString path() const { return dir.path(); }
    QString bmp(const QString& name, QSize size, QColor color) const { return writeSolid(dir.path(), name, size, color); }
};

// The mouse moving over `widget` with no button held.
inline void hover(QWidget* widget, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Records the warnings logged while it lives, with their categories; the test's own
// message handling comes back when it goes.
class LoggedWarnings
{
public:
    LoggedWarnings()
        : m_previous(qInstallMessageHandler(&LoggedWarnings::record))
    {
        s_current = this;
    }
    ~LoggedWarnings()
    {
        s_current = nullptr;
        qInstallMessageHandler(m_previous);
    }
    LoggedWarnings(const LoggedWarnings&) = delete;
    LoggedWarnings& operator=(const LoggedWarnings&) = delete;

    // The texts of the warnings logged in `category`, oldest first.
    QStringList in(const QString& category) const
    {
        QStringList texts;
        for (const auto& [from, text] : m_warnings) {
            if (from == category)
                texts.append(text);
        }
        return texts;
    }
    void clear() { m_warnings.clear(); }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (s_current && type == QtWarningMsg)
            s_current->m_warnings.append({QString::fromUtf8(context.category), text});
    }

    inline static LoggedWarnings* s_current = nullptr;
    QtMessageHandler m_previous;
    QList<std::pair<QString, QString>> m_warnings;
};

} // namespace SkinTest
