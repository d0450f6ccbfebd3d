#include "browserdata.h"
#include "browserids.h"
#include "controltoolbar.h"
#include "coolcombobox.h"
#include "coolpngbutton.h"
#include "isolatedenvironment.h"
#include "paths.h"

#include <QAbstractItemModel>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class TestControlToolBar : public QObject
{
    Q_OBJECT

private slots:
    void controlsTooltipsAndCommands_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("tip");
        QTest::newRow("home") << BrowserIds::kCmdHome << "点击该按钮可以打开主页";
        QTest::newRow("favorites") << BrowserIds::kCmdAddFavor << "点击该按钮可以将本页面添加到收藏夹";
        QTest::newRow("back") << BrowserIds::kCmdBack << "后退到上一个页面";
        QTest::newRow("forward") << BrowserIds::kCmdForward << "前进到下一页面";
        QTest::newRow("refresh") << BrowserIds::kCmdRefresh << "刷新当前页面";
        QTest::newRow("stop") << BrowserIds::kCmdStop << "停止当前页面的更新";
        QTest::newRow("print") << BrowserIds::kCmdPrint << "打印该页面的信息";
        QTest::newRow("skin") << BrowserIds::kCmdSkin << "更换皮肤";
        QTest::newRow("close has none") << BrowserIds::kCmdClose << "";
    }
    void controlsTooltipsAndCommands()
    {
        QFETCH(int, id);
        QFETCH(QString, tip);
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        CControlToolBar bar;
        CCoolPngButton* button = bar.Button(id);
        QVERIFY(button);
        QCOMPARE(button->toolTip(), tip);
        QSignalSpy commands(&bar, &CControlToolBar::command);
        button->click();
        QCOMPARE(commands.size(), 1);
        QCOMPARE(commands.first().first().toInt(), id);
        QCOMPARE(bar.AddressBox()->toolTip(), QStringLiteral("请在这里输入你要浏览的网址"));
    }

    void completionOffersTheHistoryNewestFirst()
    {
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        QVERIFY(BrowserData::AddHistory("t", 0, "打开Lorvane"));
        QVERIFY(BrowserData::AddHistory("t", 3, "http://old.example/"));
        QVERIFY(BrowserData::AddHistory("t", 3, "http://new.example/"));
        CControlToolBar bar;
        QAbstractItemModel* model = bar.AddressBox()->lineEdit()->completer()->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("http://new.example/"));
        QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("http://old.example/"));
    }

    void unreadableDatabaseLeavesCompletionEmpty()
    {
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        QFile junk(GetDataBasePathName());
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, '\x5a'));
        junk.close();
        CControlToolBar bar;
        QCOMPARE(bar.AddressBox()->lineEdit()->completer()->model()->rowCount(), 0);
    }

    void narrowingKeepsTheRightButtonsInPlace()
    {
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        CControlToolBar bar;
        bar.show(); // a hidden widget hears of its size only when shown
        bar.resize(1280, bar.sizeHint().height());
        const QPoint skin = bar.Button(BrowserIds::kCmdSkin)->pos();
        const QPoint refresh = bar.Button(BrowserIds::kCmdRefresh)->pos();
        QCOMPARE(bar.Button(BrowserIds::kCmdClose)->size(), QSize(25, 25));
        QVERIFY(bar.AddressBox()->geometry().right() < refresh.x());
        bar.resize(40, bar.sizeHint().height());
        QCOMPARE(bar.Button(BrowserIds::kCmdSkin)->pos(), skin);
        QCOMPARE(bar.Button(BrowserIds::kCmdRefresh)->pos(), refresh);
    }
};

QTEST_MAIN(TestControlToolBar)
#include "tst_controltoolbar.moc"
