#include "pagescripting.h"
#include "skinselect.h"

#include <QImage>
#include <QtTest>

// The plain rules behind pages and the skin dialog: the external object's names, the
// keys kept from pages, the preview page's addresses and the dialog's shape.
class TestScriptingRules : public QObject
{
    Q_OBJECT

private slots:
    void externalNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<bool>("allKnown");
        QTest::newRow("none") << QStringList() << QList<int>() << true;
        QTest::newRow("all seven in order")
            << QStringList{"CB_IsOurCustomBrowser", "CB_Close", "CB_CustomFunction", "CB_CustomFunctionWithParams",
                           "CB_OpenWindow", "CB_ShowModalDialog", "CB_ShowModelessDialog"}
            << QList<int>{1, 2, 3, 4, 5, 6, 7} << true;
        QTest::newRow("unknown first, the rest still resolved")
            << QStringList{"Nothing", "CB_Close"} << QList<int>{-1, 2} << false;
        QTest::newRow("case counts") << QStringList{"cb_close", "CB_CLOSE"} << QList<int>{-1, -1} << false;
        QTest::newRow("no blanks taken off") << QStringList{" CB_Close"} << QList<int>{-1} << false;
    }
    void externalNames()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<int>, ids);
        QFETCH(bool, allKnown);
        QList<int> got{99};
        const CExternalDispatch::Result result = CExternalDispatch::GetIDsOfNames(names, &got);
        QCOMPARE(got, ids);
        QCOMPARE(result, allKnown ? CExternalDispatch::Result::Ok : CExternalDispatch::Result::UnknownName);
    }

    void keptKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("kept");
        QTest::newRow("F5") << int(Qt::Key_F5) << 0 << true;
        QTest::newRow("Ctrl+F5") << int(Qt::Key_F5) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+Shift+P") << int(Qt::Key_P) << int(Qt::ControlModifier | Qt::ShiftModifier) << true;
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << true;
        QTest::newRow("N alone") << int(Qt::Key_N) << 0 << false;
        QTest::newRow("Alt+O") << int(Qt::Key_O) << int(Qt::AltModifier) << false;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << false;
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << false;
        QTest::newRow("F4") << int(Qt::Key_F4) << 0 << false;
    }
    void keptKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, kept);
        QCOMPARE(TranslateAccelerator(key, Qt::KeyboardModifiers(modifiers)), kept);
    }

    void appAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("choice");
        using SkinSelect::Action;
        QTest::newRow("close") << "app:closewindow@@@" << int(Action::Close) << "";
        QTest::newRow("close anywhere after app:") << "app:x/closewindow@@@y" << int(Action::Close) << "";
        QTest::newRow("change") << "app:OnChangeSurface@@@sky/skin.ini@@@SC@@@sky" << int(Action::Change)
                                << "sky/skin.ini@@@SC@@@sky";
        QTest::newRow("close wins over change") << "app:closewindow@@@OnChangeSurface@@@a@@@SC@@@b"
                                                << int(Action::Close) << "";
        QTest::newRow("neither") << "app:hello" << int(Action::Nothing) << "";
        QTest::newRow("bare app:") << "app:" << int(Action::Nothing) << "";
        QTest::newRow("case of the marker counts") << "app:onchangesurface@@@a@@@SC@@@b" << int(Action::Nothing)
                                                   << "";
        QTest::newRow("not beginning with app:") << "http://x/app:OnChangeSurface@@@a@@@SC@@@b"
                                                 << int(Action::Navigate) << "";
        QTest::newRow("upper-case scheme is not app:") << "APP:closewindow@@@" << int(Action::Navigate) << "";
    }
    void appAddresses()
    {
        QFETCH(QString, address);
        QFETCH(int, action);
        QFETCH(QString, choice);
        const SkinSelect::AppAddress parsed = SkinSelect::ParseAddress(address);
        QCOMPARE(int(parsed.action), action);
        QCOMPARE(parsed.choice, choice);
    }

    void choices_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("definition");
        QTest::addColumn<QString>("id");
        QTest::newRow("whole") << "/opt/l/skin/sky/skin.ini@@@SC@@@sky" << "/opt/l/skin/sky/skin.ini" << "sky";
        QTest::newRow("identifier with @@@") << "/s/a.ini@@@SC@@@x@@@y" << "/s/a.ini" << "x@@@y";
        QTest::newRow("no marker") << "/s/a.ini" << "" << "";
        QTest::newRow("other @@@ first") << "/s/a@@@b@@@SC@@@c" << "/s/a" << "c";
    }
    void choices()
    {
        QFETCH(QString, text);
        QFETCH(QString, definition);
        QFETCH(QString, id);
        const SkinSelect::Choice c = SkinSelect::SplitChoice(text);
        QCOMPARE(c.definition, definition);
        QCOMPARE(c.id, id);
    }

    void windowShapeLeavesOutMagenta()
    {
        // 5 x 3: a magenta corner top left, a magenta hole in the middle row, a
        // nearly-magenta pixel that stays.
        QImage picture(5, 3, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const QRgb magenta = qRgb(255, 0, 255);
        picture.setPixel(0, 0, magenta);
        picture.setPixel(1, 0, magenta);
        picture.setPixel(2, 1, magenta);
        picture.setPixel(4, 2, qRgb(254, 0, 255));
        const QRegion shape = SkinSelect::WindowShape(picture);
        QRegion expected;
        expected += QRect(2, 0, 3, 1);
        expected += QRect(0, 1, 2, 1);
        expected += QRect(3, 1, 2, 1);
        expected += QRect(0, 2, 5, 1);
        QCOMPARE(shape, expected);
        QVERIFY(SkinSelect::WindowShape(QImage()).isEmpty());
        QImage allMagenta(4, 4, QImage::Format_RGB32);
        allMagenta.fill(magenta);
        QVERIFY(SkinSelect::WindowShape(allMagenta).isEmpty());
    }
};

QTEST_MAIN(TestScriptingRules)
#include "tst_scriptingrules.moc"
