#include "translations.h"

#include <QApplication>
#include <QTcpServer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

// The web engine's own pages follow the language asked for before it starts.
class TestEngineLanguage : public QObject
{
    Q_OBJECT

private slots:
    void errorPageSpeaksChinese()
    {
        // A port that was free a moment ago: nothing answers there.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();

        QWebEngineView view;
        QSignalSpy finished(&view, &QWebEngineView::loadFinished);
        view.load(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, 30000);
        QString text;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                view.page()->toPlainText([&text](const QString& t) { text = t; });
                return text.contains(QStringLiteral("无法访问此网站"));
            }(),
            15000);
        QVERIFY(!text.contains(QStringLiteral("This site can")));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    RequestEngineLanguage();
    QApplication app(argc, argv);
    TestEngineLanguage test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_enginelanguage.moc"
