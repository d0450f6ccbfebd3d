#include "translations.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void standardButtonsSpeakChinese_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("ok") << int(QMessageBox::Ok) << QStringLiteral("OK") << QStringLiteral("确定");
        QTest::newRow("yes") << int(QMessageBox::Yes) << QStringLiteral("Yes") << QStringLiteral("是");
        QTest::newRow("no") << int(QMessageBox::No) << QStringLiteral("No") << QStringLiteral("否");
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << QStringLiteral("Cancel") << QStringLiteral("取消");
    }

    // Runs first, before anything is installed, then with the product's catalogues.
    void standardButtonsSpeakChinese()
    {
        QFETCH(int, button);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        const auto which = QMessageBox::StandardButton(button);
        {
            QMessageBox before(QMessageBox::Question, QStringLiteral("询问"), QStringLiteral("q"), which);
            QVERIFY(before.button(which));
            QCOMPARE(before.button(which)->text().remove(QLatin1Char('&')), english);
        }
        QCOMPARE(InstallQtTranslations(QCoreApplication::instance()), 2);
        QMessageBox after(QMessageBox::Question, QStringLiteral("询问"), QStringLiteral("q"), which);
        QVERIFY(after.button(which));
        QVERIFY2(after.button(which)->text().startsWith(chinese), qPrintable(after.button(which)->text()));
        removeInstalled();
    }

    void missingCataloguesAreLoggedNotFatal()
    {
        QTemporaryDir empty;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no qtbase translation")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no qtwebengine translation")));
        QCOMPARE(InstallQtTranslations(QCoreApplication::instance(), ProductLocale(), empty.path()), 0);
        QCOMPARE(QCoreApplication::instance()->findChildren<QTranslator*>().size(), 0);
        QMessageBox box(QMessageBox::Question, QStringLiteral("询问"), QStringLiteral("q"), QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text().remove(QLatin1Char('&')), QStringLiteral("OK"));
    }

    void engineLanguageFlag_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("none") << QByteArray() << QByteArray("--lang=zh-CN");
        QTest::newRow("others kept") << QByteArray("--disable-gpu") << QByteArray("--disable-gpu --lang=zh-CN");
        QTest::newRow("own choice kept") << QByteArray("--lang=en-US --disable-gpu")
                                         << QByteArray("--lang=en-US --disable-gpu");
    }

    void engineLanguageFlag()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QByteArray saved = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (before.isNull())
            qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        else
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", before);
        RequestEngineLanguage();
        RequestEngineLanguage(); // asking twice adds nothing
        const QByteArray got = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", saved);
        QCOMPARE(got, after);
        QCOMPARE(ProductLocale().name(), QStringLiteral("zh_CN"));
    }

private:
    static void removeInstalled()
    {
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
