#pragma once

#include <QString>
#include <QtTest>

// Texts that once pasted into a statement would end the literal, change the
// statement or be read as a format, and texts that test the engine's limits. Each
// must read back exactly as it was written. Adds a QString column named "value".
inline void addHostileValueRows()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("single quote") << QStringLiteral("it's O'Brien's page");
    QTest::newRow("doubled quotes") << QStringLiteral("''");
    QTest::newRow("printf text") << QStringLiteral("%s");
    QTest::newRow("printf integer") << QStringLiteral("%d%d%n%x");
    QTest::newRow("semicolon") << QStringLiteral("a;b;");
    QTest::newRow("statement injection") << QStringLiteral("'); drop table sites; --");
    QTest::newRow("question mark") << QStringLiteral("http://a.com/?q=1&r=?");
    QTest::newRow("backslashes and newlines") << QStringLiteral("C:\\dir\\x\n\r\t\\'");
    QTest::newRow("chinese") << QStringLiteral("儿童网站 打开Lorvane");
    QTest::newRow("emoji and combining marks") << QStringLiteral("😀 e\u0301 \u202Eabc");
    QTest::newRow("embedded nul") << QString(QStringLiteral("before")).append(QChar(0)).append(u"after");
    QTest::newRow("empty") << QString(QLatin1String(""));
    QTest::newRow("100 KB") << QString(100 * 1024, QLatin1Char('x')).replace(500, 3, QStringLiteral("'%s"));
}
