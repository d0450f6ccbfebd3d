#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

Parts::Parts(const uint8_t* data, size_t size)
    : m_parts(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
{
}

int Parts::number(int index) const
{
    const QByteArray part = at(index);
    return part.isEmpty() ? 0 : static_cast<unsigned char>(part.at(0));
}

QString ScratchFolder()
{
    // In memory where the machine has it: saves sync their files, and a disk would make
    // every input cost milliseconds.
    static const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir folder(base + QStringLiteral("/lorvane-fuzz-XXXXXX"));
    if (!folder.isValid())
        Fail("folder.isValid()", __FILE__, __LINE__, folder.errorString());
    return folder.path();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Fail("file written", __FILE__, __LINE__, path + QStringLiteral(": ") + file.errorString());
}

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

// Every harness, with or without an application object.
[[maybe_unused]] const bool kQuiet = (qInstallMessageHandler(quietHandler), true);

} // namespace

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lorvane-fuzz";
    static char* argv[] = {name, nullptr};
    // Never destroyed: harnesses run until the process ends.
    new QGuiApplication(argc, argv);
}

void Fail(const char* condition, const char* file, int line, const QString& detail)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n  %s\n", file, line, condition, qPrintable(detail));
    std::abort();
}

} // namespace Fuzz
