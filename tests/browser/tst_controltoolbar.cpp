#include "browserdata.h"
#include "browserids.h"
#include "controltoolbar.h"
#include "coolpngbutton.h"
#include "isolatedenvironment.h"
#include "paths.h"

#include <pellora/coolcombobox.h>

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestControlToolBar : public QObject
{
    Q_OBJECT

private slots:
    // Each button: its tip, the command it reports and its place on a 1280-pixel screen.
    void controlsTooltipsAndCommands_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QRect>("place");
        QTest::newRow("home") << BrowserIds::kCmdHome << "点击该按钮可以打开主页" << QRect(92, 14, 39, 46);
        QTest::newRow("favorites") << BrowserIds::kCmdAddFavor << "点击该按钮可以将本页面添加到收藏夹"
                                   << QRect(144, 14, 42, 46);
        QTest::newRow("back") << BrowserIds::kCmdBack << "后退到上一个页面" << QRect(195, 14, 42, 46);
        // Its number is also the tab strip's: nothing may mix the two up.
        QTest::newRow("forward") << BrowserIds::kCmdForward << "前进到下一页面" << QRect(248, 14, 42, 46);
        QTest::newRow("refresh") << BrowserIds::kCmdRefresh << "刷新当前页面" << QRect(1007, 12, 42, 46);
        QTest::newRow("stop") << BrowserIds::kCmdStop << "停止当前页面的更新" << QRect(1064, 12, 42, 46);
        QTest::newRow("print") << BrowserIds::kCmdPrint << "打印该页面的信息" << QRect(1121, 12, 42, 46);
        QTest::newRow("skin") << BrowserIds::kCmdSkin << "更换皮肤" << QRect(1178, 12, 42, 46);
        QTest::newRow("close has none") << BrowserIds::kCmdClose << "" << QRect(1250, 5, 25, 25);
    }
    void controlsTooltipsAndCommands()
    {
        QFETCH(int, id);
        QFETCH(QString, tip);
        QFETCH(QRect, place);
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        CControlToolBar bar;
        bar.show(); // a hidden widget hears of its size only when shown
        bar.resize(1280, bar.sizeHint().height());
        CCoolPngButton* button = bar.Button(id);
        QVERIFY(button);
        QCOMPARE(button->geometry(), place);
        QCOMPARE(button->toolTip(), tip);
        QSignalSpy commands(&bar, &CControlToolBar::command);
        button->click();
        QCOMPARE(commands.size(), 1);
        QCOMPARE(commands.first().first().toInt(), id);
        QCOMPARE(bar.AddressBox()->toolTip(), QStringLiteral("请在这里输入你要浏览的网址"));
    }

    // An installation missing its button pictures still gives working buttons, and tells
    // each picture it missed once.
    void missingPicturesAreReported()
    {
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        QTemporaryDir emptyInstallation;
        SetExeDirectoryOverride(emptyInstallation.path());
        static QStringList warnings;
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (type == QtWarningMsg && qstrcmp(context.category, "lorvane.browser") == 0)
                    warnings.append(text);
            });
        const auto restore = qScopeGuard([previous] {
            qInstallMessageHandler(previous);
            SetExeDirectoryOverride(QString());
        });
        CControlToolBar bar;
        // Three faces for each of the nine buttons, and the logo.
        QCOMPARE(warnings.size(), 9 * 3 + 1);
        QCOMPARE(warnings.filter(QStringLiteral("/Common/logo.png")).size(), 1);
        QCOMPARE(warnings.filter(QStringLiteral("/Common/homepagenm.png")).size(), 1);
        QSignalSpy commands(&bar, &CControlToolBar::command);
        bar.Button(BrowserIds::kCmdHome)->click();
        QCOMPARE(commands.size(), 1);
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

    void completionLearnsThePagesOfThisRun()
    {
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        QVERIFY(BrowserData::AddHistory("t", 3, "http://old.example/"));
        CControlToolBar bar;
        QAbstractItemModel* model = bar.AddressBox()->lineEdit()->completer()->model();
        const auto rows = [model] {
            QStringList out;
            for (int i = 0; i < model->rowCount(); ++i)
                out.append(model->index(i, 0).data().toString());
            return out;
        };
        bar.RememberAddress("http://seen.example/a");
        bar.RememberAddress("https://later.example/");
        bar.RememberAddress("about:blank");
        bar.RememberAddress("file:///opt/lorvane/data/html/warning.html#x");
        QCOMPARE(rows(), QStringList({"https://later.example/", "http://seen.example/a", "http://old.example/"}));
        // Seen again: it moves to the top, once.
        bar.RememberAddress("http://seen.example/a");
        QCOMPARE(rows(), QStringList({"http://seen.example/a", "https://later.example/", "http://old.example/"}));
        // Re-reading the history on focus keeps what was seen in this run.
        QVERIFY(BrowserData::AddHistory("t", 3, "http://written.example/"));
        QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(bar.AddressBox()->lineEdit(), &focus);
        QCOMPARE(rows(), QStringList({"http://seen.example/a", "https://later.example/", "http://written.example/",
                                      "http://old.example/"}));
    }

    void enterOnACompletionClosesTheList()
    {
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        QVERIFY(BrowserData::AddHistory("t", 3, "http://example.org/first"));
        QVERIFY(BrowserData::AddHistory("t", 3, "http://example.org/second"));
        CControlToolBar bar;
        bar.resize(1024, bar.sizeHint().height());
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QLineEdit* edit = bar.AddressBox()->lineEdit();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QSignalSpy entered(&bar, &CControlToolBar::addressEntered);
        // Keys go where the application sends them: the open list, else the focus.
        const auto target = [] {
            return QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                     : QApplication::focusWidget();
        };
        QTest::keyClicks(target(), "example");
        QAbstractItemView* list = edit->completer()->popup();
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(target(), Qt::Key_Down);
        QTest::keyClick(target(), Qt::Key_Down);
        QTest::keyClick(target(), Qt::Key_Return);
        QCOMPARE(entered.size(), 1);
        QCOMPARE(bar.AddressText(), QStringLiteral("http://example.org/first"));
        QVERIFY(!list->isVisible());
        // Enter in the field while the list is open closes it as well.
        edit->clear();
        QTest::keyClicks(target(), "second");
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(entered.size(), 2);
        QVERIFY(!list->isVisible());
    }

    void clickingIntoTheAddressBoxSelectsItsText_data()
    {
        QTest::addColumn<bool>("onTheField");
        QTest::newRow("on the field") << true;
        QTest::newRow("on the frame around it") << false;
    }
    void clickingIntoTheAddressBoxSelectsItsText()
    {
        QFETCH(bool, onTheField);
        IsolatedEnvironment env;
        BrowserData::SetDataBasePath(GetDataBasePathName());
        QWidget window;
        auto* bar = new CControlToolBar(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, bar->sizeHint().height() + 10);
        bar->resize(1024, bar->sizeHint().height());
        window.resize(1024, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        bar->SetAddressText("http://example.org/page");
        QLineEdit* edit = bar->AddressBox()->lineEdit();
        QVERIFY(!edit->hasSelectedText());
        if (onTheField)
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
        else
            QTest::mouseClick(bar->AddressBox(), Qt::LeftButton, {}, QPoint(3, bar->AddressBox()->height() / 2));
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), QStringLiteral("http://example.org/page"));
        // A second click, into the focused field, places the cursor as usual.
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
        QVERIFY(!edit->hasSelectedText());
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
