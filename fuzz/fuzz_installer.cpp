// The installer's entry point with random stacks of random strings: each node holds just
// the string size the installer gives, with or without an ending zero, so any read past
// it is caught. The two top strings leave the stack, the others stay, and a record is
// written exactly when both fit. The path is always one of ours, in some shape: the
// fuzzer must not write files elsewhere on this machine.

#include "fuzzsupport.h"

#include "configmanager.h"
#include "md5a.h"
#include "setparentpassword.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <cstring>

namespace {

// A node as the installer makes it: the pointer, then exactly `stringSize` bytes: the
// text, its ending zero and filler, cut at the size (so a long text has no zero).
QByteArray nodeBytes(const QByteArray& text, int stringSize)
{
    QByteArray bytes = text + '\0';
    if (bytes.size() < stringSize)
        bytes.append(QByteArray(stringSize - bytes.size(), 'x'));
    return bytes.left(std::max(stringSize, 0));
}

lorvane_stack_t* makeNode(const QByteArray& text, int stringSize, lorvane_stack_t* next)
{
    const QByteArray bytes = nodeBytes(text, stringSize);
    auto* node = static_cast<lorvane_stack_t*>(std::malloc(offsetof(lorvane_stack_t, text) + size_t(std::max<qsizetype>(bytes.size(), 1))));
    node->next = next;
    node->text[0] = 'x';
    std::memcpy(node->text, bytes.constData(), size_t(bytes.size()));
    return node;
}

// The text a node gives when read within its size and the 260-byte buffer, or nothing.
std::optional<QByteArray> readable(const QByteArray& text, int stringSize)
{
    const QByteArray bytes = nodeBytes(text, stringSize);
    const qsizetype end = bytes.indexOf('\0');
    if (end < 0 || end >= std::min(stringSize, 260))
        return std::nullopt;
    return bytes.left(end);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Fuzz::Parts parts(data, size);
    static const int kSizes[] = {0, -1, 1, 8, 33, 64, 259, 260, 261, 1024};
    const int stringSize = kSizes[parts.number(0) % std::size(kSizes)];
    const int pathShape = parts.number(0) / std::size(kSizes) % 4;

    const QString file = Fuzz::ScratchFolder() + QStringLiteral("/installer.cfg");
    QFile::remove(file);
    QFile::remove(file + QLatin1String(kLastGoodSuffix));
    QByteArray path = file.toLocal8Bit();
    if (pathShape == 1)
        path = "  " + path + " ";
    else if (pathShape == 2)
        path = path + "/" + QByteArray(300, 'a'); // too long for any record path
    else if (pathShape == 3)
        path.append('\0').append(parts.at(2)); // a zero, then whatever follows in the node

    // Bottom of the stack first: the strings below the two, then the path, then the password.
    QList<QByteArray> texts;
    for (int i = 3; i < parts.count(); ++i)
        texts << parts.at(i);
    const int below = int(texts.size());
    const bool twoStrings = parts.count() >= 2;
    if (twoStrings)
        texts << path << parts.at(1);
    lorvane_stack_t* stack = nullptr;
    for (const QByteArray& text : texts)
        stack = makeNode(text, stringSize, stack);

    SetParentPassword(nullptr, stringSize, nullptr, &stack);

    int left = 0;
    while (stack) {
        lorvane_stack_t* next = stack->next;
        std::free(stack);
        stack = next;
        ++left;
    }
    FUZZ_CHECK(left == (twoStrings ? below : 0), QStringLiteral("%1 strings left of %2").arg(left).arg(texts.size()));

    const std::optional<QByteArray> password = twoStrings ? readable(parts.at(1), stringSize) : std::nullopt;
    const std::optional<QByteArray> pathText = twoStrings ? readable(path, stringSize) : std::nullopt;
    const bool shouldWrite = password && pathText && pathShape != 2;
    FUZZ_CHECK(QFile::exists(file) == shouldWrite,
               QStringLiteral("record written: %1, expected %2 (size %3, shape %4)").arg(QFile::exists(file)).arg(shouldWrite).arg(stringSize).arg(pathShape));
    if (!shouldWrite)
        return 0;
    CConfigManager config;
    config.SetConfigPathName(file.toLocal8Bit().constData());
    FUZZ_CHECK(config.LoadConfigFromFile() && config.m_record.m_bPasswordSet == 1, QStringLiteral("record not readable"));
    FUZZ_CHECK(QByteArray(config.m_record.m_szPassword) == CMd5A().MDString(password->constData()),
               QStringLiteral("stored hash is not the password's"));
    return 0;
}
