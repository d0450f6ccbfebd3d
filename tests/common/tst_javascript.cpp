#include "javascript.h"

#include <QWebEnginePage>
#include <QtTest>

class TestJavaScript : public QObject
{
    Q_OBJECT

private slots:
    void formatScriptCall_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("expected");
        QTest::newRow("six texts") << "AddPrevBox(%s,%s,%s,%s,%s,%s)" << QStringList{"1", "2", "3", "4", "5", "6"}
                                   << "AddPrevBox(1,2,3,4,5,6)";
        QTest::newRow("one text") << "SetBackgroundImage(%s)" << QStringList{"'a.bmp'"} << "SetBackgroundImage('a.bmp')";
        QTest::newRow("percent in a text is not a mark") << "f(%s,%s)" << QStringList{"'%s'", "'%d'"}
                                                         << "f('%s','%d')";
        QTest::newRow("escaped percent") << "f('100%%',%s)" << QStringList{"1"} << "f('100%',1)";
        QTest::newRow("fewer texts than marks") << "f(%s,%s)" << QStringList{"1"} << "f(1,)";
        QTest::newRow("other marks stay as they are") << "f(%d,%s)" << QStringList{"1"} << "f(%d,1)";
        QTest::newRow("lone percent at the end") << "f()%" << QStringList{} << "f()%";
    }
    void formatScriptCall()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, texts);
        QFETCH(QString, expected);
        QCOMPARE(FormatScriptCall(format, texts), expected);
    }

    // A quoted text goes through a real page and comes back unchanged.
    void quotedTextRoundTripsThroughAPage()
    {
        // Declared before the page: the page may still call back while it is destroyed.
        QVariant got;
        bool answered = false;
        QWebEnginePage page;
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.setHtml(QStringLiteral("<html><body><script>function put(a,b){window.got=a+'|'+b;}</script></body></html>"));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 20000);

        const QString hostile = QStringLiteral("it's \"quoted\" \\ </script><b>%s</b>\n\u2028第二行");
        CallJavaScritpFunction(&page, QStringLiteral("put(%s,%s)"),
                               {JavaScriptStringLiteral(hostile), JavaScriptStringLiteral(QStringLiteral("x"))});
        page.runJavaScript(QStringLiteral("window.got"), [&](const QVariant& v) {
            got = v;
            answered = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(answered, 20000);
        QCOMPARE(got.toString(), hostile + QStringLiteral("|x"));
    }
};

QTEST_MAIN(TestJavaScript)
#include "tst_javascript.moc"
